// The settings windows with their blocks, the setup files the main menu saves
// and loads, and the report of the converted files.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>
#include <filesystem>

#include "SongBuilder.h"
#include "WindowFixture.h"

namespace fs = std::filesystem;
using tonalux::testing::Bytes;
using tonalux::testing::Hex;
using tonalux::testing::ReadFile;
using tonalux::testing::WriteFile;

namespace {

void PutLE(Bytes& to, std::int32_t value) {
    for (int b = 0; b < 4; ++b) to.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> (8 * b)));
}

void PutText(Bytes& to, const std::string& text, std::size_t width) {
    Bytes field(width, 0);
    std::copy(text.begin(), text.end(), field.begin());
    to.insert(to.end(), field.begin(), field.end());
}

// Every value the windows show, in one list, so that a whole state compares at once.
QStringList Snapshot(const WindowSet& w) {
    QStringList values;
    for (int row = 0; row < 12; ++row)
        values << w.programs->MSBQ[row]->text() << w.programs->PRGQ[row]->text() << w.programs->MSBD[row]->text()
               << w.programs->PRGD[row]->text();
    values << w.information->ECopyright->text() << w.information->ETrackname->text();
    for (int pair = 0; pair < 8; ++pair)
        values << QString::number(w.information->CKanV[pair]->currentIndex()) + w.information->CKanV[pair]->currentText()
               << QString::number(w.information->CKanT[pair]->currentIndex()) + w.information->CKanT[pair]->currentText();
    values << QString::number(w.main->CFastPlay->isChecked()) << QString::number(w.main->CFormat->isChecked());
    return values;
}

}  // namespace

class SettingsWindowTest : public QObject {
    Q_OBJECT
private slots:
    void savingRightAfterStartWritesTheDefaults();
    void loadingAHandWrittenFileSetsEveryControl();
    void saveChangeLoadRestoresEveryField();
    void lastRecordCountsAndOddSizesAreRefused();
    void cancelledLoadRightAfterStartKeepsEveryControl();
    void invalidEntryStopsASaveAndIsNamed();
    void anExistingFileIsReplacedOnlyWhenTheUserAgrees();
    void failedSavesShowTheirMessagesAndKeepTheOldFile();
    void reportHoldsTheConvertedNames();
};

void SettingsWindowTest::savingRightAfterStartWritesTheDefaults() {
    WindowSet w;
    w.dialogAnswer = QString::fromStdString(w.File("start.set"));
    w.main->SetupSpeichern1->trigger();
    QVERIFY(w.messages.isEmpty());

    Bytes expected;
    for (int i = 0; i < 48; ++i) PutLE(expected, 999);
    PutText(expected, "", 25);
    PutText(expected, "", 26);  // the greyed "VELMOTRIX" is no text of the song
    expected.push_back(0);
    for (int i = 0; i < 16; ++i) PutLE(expected, 0);
    expected.insert(expected.end(), {0, 1, 0, 0});  // FastPlay 0, Format0 1
    QCOMPARE(QString::fromStdString(Hex(ReadFile(w.File("start.set")))), QString::fromStdString(Hex(expected)));

    // A name without a suffix gets ".set", so that the load dialog shows the file.
    w.dialogAnswer = QString::fromStdString(w.File("plain"));
    w.main->SetupSpeichern1->trigger();
    QVERIFY(w.messages.isEmpty());
    QVERIFY(!fs::exists(w.File("plain")));
    QCOMPARE(ReadFile(w.File("plain.set")), expected);
}

void SettingsWindowTest::loadingAHandWrittenFileSetsEveryControl() {
    Bytes file;
    for (int r = 1; r <= 12; ++r) PutLE(file, r);        // MSBQ
    for (int r = 1; r <= 12; ++r) PutLE(file, 100 + r);  // MSBD
    for (int r = 1; r <= 12; ++r) PutLE(file, 116 + r);  // PRGQ
    for (int r = 1; r <= 12; ++r) PutLE(file, 999);      // PRGD
    PutText(file, "ABCDEFGHIJKLMNOPQRSTUVWXY", 25);  // 25 characters: no zero of its own
    PutText(file, "VOCALS", 26);
    file.push_back(0x5A);
    for (int p = 0; p < 8; ++p) PutLE(file, p + 8);                 // KanV
    for (int p = 0; p < 8; ++p) PutLE(file, p - 1);                 // KanT: -1 selects nothing
    file.insert(file.end(), {1, 0, 0x5A, 0x5A});                   // FastPlay 1, Format0 0
    QCOMPARE(file.size(), std::size_t{312});

    WindowSet w;
    WriteFile(w.File("hand.set"), file);
    w.dialogAnswer = QString::fromStdString(w.File("hand.set"));
    w.main->SetupLaden1->trigger();
    QVERIFY(w.messages.isEmpty());

    for (int row = 0; row < 12; ++row) {
        QCOMPARE(w.programs->MSBQ[row]->text(), QString::number(row + 1));
        QCOMPARE(w.programs->MSBD[row]->text(), QString::number(101 + row));
        QCOMPARE(w.programs->PRGQ[row]->text(), QString::number(117 + row));
        QCOMPARE(w.programs->PRGD[row]->text(), QStringLiteral("-"));
    }
    QCOMPARE(w.information->ECopyright->text(), QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXY"));
    QCOMPARE(w.information->ETrackname->text(), QStringLiteral("VOCALS"));
    for (int p = 0; p < 8; ++p) {
        QCOMPARE(w.information->CKanV[p]->currentText(), QStringLiteral("KANAL %1").arg(p + 9));
        const int wanted = p - 1;
        QCOMPARE(w.information->CKanT[p]->currentIndex(), wanted);
        if (wanted < 0) QCOMPARE(w.information->CKanT[p]->currentText(), QString());
    }
    QVERIFY(w.main->CFastPlay->isChecked());
    QVERIFY(!w.main->CFormat->isChecked());

    // Saved again, the file comes back byte for byte: the leftover bytes are kept too.
    w.dialogAnswer = QString::fromStdString(w.File("again.set"));
    w.main->SetupSpeichern1->trigger();
    QCOMPARE(QString::fromStdString(Hex(ReadFile(w.File("again.set")))), QString::fromStdString(Hex(file)));

    // A file of the right size whose values lie outside their ranges is
    // refused with a message naming the field, and nothing changes.
    const QStringList before = Snapshot(w);
    const struct {
        std::size_t offset;
        std::uint8_t byte;
        const char* message;
    } refused[] = {
        {96 + 4 * 2, 0, "Sound\u00e4nderungen, row 3, Quell PRG: 0 is not between 1 and 128 (\"-\" for no value)"},
        {192 + 3, 0x07, "Zusatzinformationen, COPYRIGHT: the character 0x07 cannot be written into a song"},
        {276 + 4 * 5, 16, "Zusatzinformationen, KANALTAUSCHEN, pair 6, lower box: KANAL 17 is not between KANAL 1 and KANAL 16 "
                         "(an empty box for no channel)"},
        {308, 0x5A, "Zusatzinformationen, Start auf Tatkt 1: 90 is not between 0 and 1"},
    };
    for (const auto& bad : refused) {
        Bytes wrong = file;
        wrong[bad.offset] = bad.byte;
        WriteFile(w.File("wrong.set"), wrong);
        w.messages.clear();
        w.dialogAnswer = QString::fromStdString(w.File("wrong.set"));
        w.main->SetupLaden1->trigger();
        QCOMPARE(w.messages, QStringList{QStringLiteral("Not a valid setup file: %1\n").arg(w.dialogAnswer) +
                                         QString::fromUtf8(bad.message)});
        QCOMPARE(Snapshot(w), before);
    }
}

void SettingsWindowTest::saveChangeLoadRestoresEveryField() {
    WindowSet w;
    w.programs->MSBQ[0]->setText(QStringLiteral("999"));
    w.programs->PRGQ[4]->setText(QStringLiteral("128"));
    w.programs->MSBD[11]->setText(QStringLiteral("$1F"));
    w.programs->PRGD[6]->setText(QStringLiteral("127"));
    w.information->ECopyright->setText(QStringLiteral("1234567890123456789012345"));
    w.information->ETrackname->setText(QStringLiteral("Chor"));
    w.information->CKanV[2]->setCurrentIndex(15);
    w.information->CKanT[5]->setCurrentIndex(9);
    w.information->CKanT[7]->setEditText(QStringLiteral("KANAL 99"));  // no entry selected
    w.main->CFormat->setChecked(false);
    w.dialogAnswer = QString::fromStdString(w.File("mine.set"));
    w.main->SetupSpeichern1->trigger();
    QVERIFY(w.messages.isEmpty());
    QStringList saved = Snapshot(w);

    // Change everything, then load the file back.
    for (int row = 0; row < 12; ++row)
        for (QLineEdit* edit : {w.programs->MSBQ[row], w.programs->PRGQ[row], w.programs->MSBD[row], w.programs->PRGD[row]})
            edit->setText(QStringLiteral("7"));
    w.information->ECopyright->setText(QStringLiteral("other"));
    w.information->ETrackname->setText(QString());
    for (int pair = 0; pair < 8; ++pair) {
        w.information->CKanV[pair]->setCurrentIndex(3);
        w.information->CKanT[pair]->setCurrentIndex(4);
    }
    w.main->CFormat->setChecked(true);
    QVERIFY(Snapshot(w) != saved);
    w.main->SetupLaden1->trigger();
    QVERIFY(w.messages.isEmpty());

    // What was typed comes back in its stored form: 999 as "-", $1F as 31,
    // and the box without an entry empty.
    saved[0] = QStringLiteral("-");
    saved[4 * 11 + 2] = QStringLiteral("31");
    saved[48 + 2 + 2 * 7 + 1] = QStringLiteral("-1");
    QCOMPARE(Snapshot(w), saved);
    QCOMPARE(w.programs->PRGQ[4]->text(), QStringLiteral("128"));
    QCOMPARE(w.information->ECopyright->text(), QStringLiteral("1234567890123456789012345"));
    QCOMPARE(w.information->ETrackname->text(), QStringLiteral("Chor"));
    QCOMPARE(w.information->Block.KanT[7], -1);
    QVERIFY(!w.main->CFormat->isChecked());
}

void SettingsWindowTest::lastRecordCountsAndOddSizesAreRefused() {
    WindowSet w;
    w.programs->MSBQ[0]->setText(QStringLiteral("1"));
    w.dialogAnswer = QString::fromStdString(w.File("one.set"));
    w.main->SetupSpeichern1->trigger();
    w.programs->MSBQ[0]->setText(QStringLiteral("2"));
    w.dialogAnswer = QString::fromStdString(w.File("two.set"));
    w.main->SetupSpeichern1->trigger();

    Bytes both = ReadFile(w.File("one.set"));
    const Bytes second = ReadFile(w.File("two.set"));
    both.insert(both.end(), second.begin(), second.end());
    WriteFile(w.File("both.set"), both);
    w.programs->MSBQ[0]->setText(QStringLiteral("3"));
    w.dialogAnswer = QString::fromStdString(w.File("both.set"));
    w.main->SetupLaden1->trigger();
    QCOMPARE(w.programs->MSBQ[0]->text(), QStringLiteral("2"));

    const QStringList before = Snapshot(w);
    WriteFile(w.File("short.set"), Bytes(100, 0));
    w.dialogAnswer = QString::fromStdString(w.File("short.set"));
    w.main->SetupLaden1->trigger();
    QCOMPARE(w.messages, QStringList{QStringLiteral("Not a valid setup file: ") + w.dialogAnswer});
    QCOMPARE(Snapshot(w), before);

    // A file that cannot be read changes nothing and says nothing.
    w.dialogAnswer = QString::fromStdString(w.File("missing.set"));
    w.main->SetupLaden1->trigger();
    QCOMPARE(w.messages.size(), 1);
    QCOMPARE(Snapshot(w), before);
}

void SettingsWindowTest::cancelledLoadRightAfterStartKeepsEveryControl() {
    WindowSet w;
    const QStringList before = Snapshot(w);
    w.dialogAnswer.clear();
    w.main->SetupLaden1->trigger();
    QCOMPARE(Snapshot(w), before);
    QVERIFY(w.main->CFormat->isChecked());
}

void SettingsWindowTest::invalidEntryStopsASaveAndIsNamed() {
    WindowSet w([](const tonalux::testing::TempDir& dir) {
        fs::create_directories(dir.Path() / "Midifile");
        fs::create_directories(dir.Path() / "Convert");
        tonalux::testing::Track track;
        track.Note(0, 0x90, 60, 100).Note(96, 0x80, 60, 0).End();
        WriteFile(dir.Path() / "Midifile" / "A.mid", tonalux::testing::SongBuilder(0, 96).AddTrack(track).Bytes());
    });
    w.programs->MSBQ[0]->setText(QStringLiteral("11"));
    w.programs->MSBD[0]->setText(QStringLiteral("22"));
    w.messages.clear();
    const QColor entry = w.programs->PRGQ[1]->palette().color(QPalette::Text);
    // Typing behind the "-" of PRGQ2 gives "-x", which is no number: it is
    // marked in red, without a box at each keystroke.
    QTest::keyClicks(w.programs->PRGQ[1], QStringLiteral("x"));
    QVERIFY(w.messages.isEmpty());
    QCOMPARE(w.programs->PRGQ[1]->palette().color(QPalette::Text), QColor(255, 0, 0));
    QCOMPARE(w.programs->PRGQ[0]->palette().color(QPalette::Text), entry);
    // Deleting the "-" leaves an empty entry, which is no number either.
    QTest::keyClick(w.programs->PRGQ[2], Qt::Key_End);
    QTest::keyClick(w.programs->PRGQ[2], Qt::Key_Backspace);
    QVERIFY(w.messages.isEmpty());
    QVERIFY(!TFProgrammchange::IsEntryValid(w.programs->PRGQ[2]));
    QTest::keyClicks(w.programs->PRGQ[2], QStringLiteral("7"));
    QCOMPARE(w.programs->PRGQ[2]->palette().color(QPalette::Text), entry);
    w.programs->MSBD[0]->setText(QStringLiteral("33"));  // gathered only up to PRGQ2
    QVERIFY(w.messages.isEmpty());
    QCOMPARE(w.programs->Block.MSBQ[0], 11);
    QCOMPARE(w.programs->Block.MSBD[0], 22);

    // A save names the entry and brings its window forward; nothing is written.
    w.dialogAnswer = QString::fromStdString(w.File("never.set"));
    w.main->SetupSpeichern1->trigger();
    QCOMPARE(w.messages,
             QStringList{QStringLiteral("Sound\u00e4nderungen, row 2, Quell PRG: '-x' is not a whole number")});
    QVERIFY(w.programs->isVisible());
    QVERIFY(!fs::exists(w.File("never.set")));
    // A value outside its range would make a file that cannot be loaded again.
    w.messages.clear();
    w.programs->PRGQ[1]->setText(QStringLiteral("-5"));
    w.main->SetupSpeichern1->trigger();
    QCOMPARE(w.messages, QStringList{QStringLiteral("Sound\u00e4nderungen, row 2, Quell PRG: -5 is not between 1 "
                                                    "and 128 (\"-\" for no value)")});
    QVERIFY(!fs::exists(w.File("never.set")));
}

void SettingsWindowTest::anExistingFileIsReplacedOnlyWhenTheUserAgrees() {
    WindowSet w([](const tonalux::testing::TempDir& dir) { fs::create_directories(dir.Path() / "Convert"); });
    WriteFile(w.File("mine.set"), Bytes{1, 2, 3});
    WriteFile(w.File("Report.txt"), Bytes{4, 5});
    // ".set" is added after the dialog, so the window asks for "mine.set" itself.
    const struct {
        QAction* item;
        const char* chosen;
        const char* file;
    } saves[] = {{w.main->SetupSpeichern1, "mine", "mine.set"}, {w.main->ListeSpeichern1, "Report.txt", "Report.txt"}};
    for (const auto& save : saves) {
        const Bytes before = ReadFile(w.File(save.file));
        w.questions.clear();
        w.answer = false;
        w.dialogAnswer = QString::fromStdString(w.File(save.chosen));
        save.item->trigger();
        QCOMPARE(w.questions.size(), 1);
        QVERIFY(w.questions[0].startsWith(QString::fromStdString(w.File(save.file))));
        QCOMPARE(ReadFile(w.File(save.file)), before);
        w.answer = true;
        save.item->trigger();
        QVERIFY(ReadFile(w.File(save.file)) != before);
    }
    QVERIFY(w.messages.isEmpty());
}

void SettingsWindowTest::failedSavesShowTheirMessagesAndKeepTheOldFile() {
    WindowSet w;
    w.dialogAnswer = QString::fromStdString(w.File("no/such/folder/a.set"));
    w.main->SetupSpeichern1->trigger();
    QCOMPARE(w.messages, (QStringList{"Save Registration Error!", "Write Preset Error! #101"}));

    w.messages.clear();
    // A folder of the chosen name cannot be created as a file.
    fs::create_directory(w.File("folder.set"));
    w.dialogAnswer = QString::fromStdString(w.File("folder.set"));
    w.main->SetupSpeichern1->trigger();
    QCOMPARE(w.messages, (QStringList{"Save Registration Error!", "Write Preset Error! #101"}));
    QVERIFY(fs::is_directory(w.File("folder.set")));

    w.messages.clear();
    w.dialogAnswer = QString::fromStdString(w.File("missing/Report.txt"));
    w.main->ListeSpeichern1->trigger();
    QCOMPARE(w.messages, QStringList{QStringLiteral("Datei %1 kann nicht erstellt werden").arg(w.dialogAnswer)});
    QVERIFY(!fs::exists(w.File("missing")));
}

void SettingsWindowTest::reportHoldsTheConvertedNames() {
    WindowSet w([](const tonalux::testing::TempDir& dir) { fs::create_directories(dir.Path() / "Convert"); });
    w.dialogAnswer = QString::fromStdString(w.File("Report.txt"));
    w.main->ListeSpeichern1->trigger();
    QVERIFY(fs::exists(w.File("Report.txt")));
    QCOMPARE(fs::file_size(w.File("Report.txt")), std::uintmax_t{0});

    WriteFile(w.File("Convert/B_NO-VOC.mid"), {1});
    WriteFile(w.File("Convert/A_VOC-3.mid"), {1});
    w.main->Aktualisieren->click();
    w.main->ListeSpeichern1->trigger();
    QVERIFY(w.messages.isEmpty());
    QCOMPARE(QString::fromStdString(Hex(ReadFile(w.File("Report.txt")))),
             QString::fromStdString(Hex(Bytes{'A', '_', 'V', 'O', 'C', '-', '3', '.', 'm', 'i', 'd', 0x0D, 0x0A,
                                              'B', '_', 'N', 'O', '-', 'V', 'O', 'C', '.', 'm', 'i', 'd', 0x0D, 0x0A})));

    // A cancelled dialog writes nothing.
    fs::remove(w.File("Report.txt"));
    w.dialogAnswer.clear();
    w.main->ListeSpeichern1->trigger();
    QVERIFY(!fs::exists(w.File("Report.txt")));
}

QTEST_MAIN(SettingsWindowTest)
#include "SettingsWindowTest.moc"
