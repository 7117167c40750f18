// "Einstellungen anwenden": the check box of the main window, remembered
// between runs, shown in both settings windows, and what a folder conversion
// does with the settings when it is ticked and when it is not.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QtTest>
#include <filesystem>

#include "SetupBytes.h"
#include "SongBuilder.h"
#include "StandardMidifile.h"
#include "WindowFixture.h"

namespace fs = std::filesystem;
using tonalux::testing::Bytes;
using tonalux::testing::Hex;
using tonalux::testing::ReadFile;
using tonalux::testing::SetupBytes;
using tonalux::testing::SongBuilder;
using tonalux::testing::TempDir;
using tonalux::testing::Track;
using tonalux::testing::WriteFile;

namespace {

// Channel 3 is the vocoder part (quiet notes); channel 1 plays program 1 in
// bank 0 and channel 5 is empty.
Bytes Song() {
    Track track;
    track.Event(0, 0xB0, {0, 0}).Program(0, 0, 0);
    track.Note(0, 0x90, 60, 100).Note(0, 0x92, 64, 3);
    track.Note(96, 0x80, 60, 64).Note(0, 0x82, 64, 0);
    track.End();
    return SongBuilder(0, 96).AddTrack(track).Bytes();
}

void MakeFoldersWithSong(const TempDir& dir) {
    MakeFolders(dir);
    WriteFile(dir.Path() / "Midifile" / "A.mid", Song());
}

// Row 1: bank 0 program 1 to bank 8 program 5; "(c) T" and "Lied"; pair 1
// exchanges KANAL 3 and KANAL 5.
void EnterSettings(WindowSet& w) {
    w.programs->MSBQ[0]->setText("0");
    w.programs->PRGQ[0]->setText("1");
    w.programs->MSBD[0]->setText("8");
    w.programs->PRGD[0]->setText("5");
    w.information->ECopyright->setText("(c) T");
    w.information->ETrackname->setText("Lied");
    w.information->CKanV[0]->setCurrentIndex(2);
    w.information->CKanT[0]->setCurrentIndex(4);
}

}  // namespace

class ApplySettingsWindowTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void boxStartsUntickedAndIsRemembered();
    void aRestartKeepsTheSettingsTogetherWithTheBox();
    void untickedTheConversionIgnoresTheSettings();
    void tickedTheSettingsChangeEverySongBeforeTheAnalysis();
    void aValueOutsideItsRangeStopsTheRunBeforeTheFirstSong();
    void aStoredRecordThatFailsTheCheckIsNotLoadedAtRestart();

private:
    TempDir config_;
};

void ApplySettingsWindowTest::initTestCase() {
    // The remembered options of this test live in a folder of their own.
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(config_.Path().string()));
}

void ApplySettingsWindowTest::init() { QSettings(QStringLiteral("Tonalux"), QStringLiteral("Tonalux")).clear(); }

void ApplySettingsWindowTest::boxStartsUntickedAndIsRemembered() {
    {
        WindowSet w;
        QCheckBox* box = w.main->CApplySettings;
        QCOMPARE(box->text(), QStringLiteral("Einstellungen anwenden"));
        QVERIFY(!box->isChecked());
        // It stands in the strip under the given controls, overlapping none
        // of them, and inside the client area.
        for (QWidget* given : std::initializer_list<QWidget*>{w.main->Vocoder, w.main->BConvert, w.main->Aktualisieren,
                                                               w.main->ListBox1, w.main->ListBox2})
            QVERIFY(!box->geometry().intersects(given->geometry()));
        w.main->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.main.get()));
        QVERIFY(w.main->Client->rect().contains(box->geometry()));
        QVERIFY(box->isVisible());

        QVERIFY(w.programs->InEffect->text().startsWith(QStringLiteral("Not applied")));
        QVERIFY(w.information->InEffect->text().startsWith(QStringLiteral("Not applied")));
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
        QVERIFY(box->isChecked());
        QVERIFY(w.programs->InEffect->text().startsWith(QStringLiteral("Applied")));
        QVERIFY(w.information->InEffect->text().startsWith(QStringLiteral("Applied")));
    }
    {
        WindowSet w(WindowSet::KeepRemembered{});
        QVERIFY(w.main->CApplySettings->isChecked());
        QVERIFY(!w.programs->InEffect->text().contains(QStringLiteral("Not")));
        w.main->CApplySettings->setChecked(false);
    }
    WindowSet w(WindowSet::KeepRemembered{});
    QVERIFY(!w.main->CApplySettings->isChecked());
}

void ApplySettingsWindowTest::aRestartKeepsTheSettingsTogetherWithTheBox() {
    {
        WindowSet w(MakeFoldersWithSong);
        EnterSettings(w);
        w.main->CApplySettings->setChecked(true);
        w.main->CAddChords->setChecked(true);
        w.main->CKeyboardLyrics->setChecked(true);
        w.main->Vocoder->setChecked(false);
        w.main->MMSlider1->setValue(9);
        w.main->CFormat->setChecked(false);
        w.main->close();
    }
    WindowSet w([](const TempDir& dir) { MakeFoldersWithSong(dir); }, true);
    QVERIFY(w.main->CApplySettings->isChecked());
    QVERIFY(w.main->CAddChords->isChecked());
    QVERIFY(w.main->CKeyboardLyrics->isChecked());
    QVERIFY(!w.main->Vocoder->isChecked());
    QVERIFY(!w.main->CFormat->isChecked());
    QCOMPARE(w.main->VelocityThreshold(), 9);
    QCOMPARE(w.programs->MSBD[0]->text(), QStringLiteral("8"));
    QCOMPARE(w.information->ETrackname->text(), QStringLiteral("Lied"));
    QCOMPARE(w.information->CKanT[0]->currentIndex(), 4);
    // The restarted window converts with them: the swap and the texts as typed.
    w.main->CFormat->setChecked(true);
    w.main->BConvert->click();
    QCOMPARE(w.main->ConvertNames(), std::vector<std::string>{"A_VOC-5.mid"});
    const Bytes out = ReadFile(w.File("Convert/A_VOC-5.mid"));
    const std::string text(out.begin(), out.end());
    QVERIFY(text.find("Lied") != std::string::npos);
    QVERIFY(text.find("VELMOTRIX") == std::string::npos);
}

void ApplySettingsWindowTest::untickedTheConversionIgnoresTheSettings() {
    WindowSet w(MakeFoldersWithSong);
    EnterSettings(w);
    w.main->BConvert->click();
    QCOMPARE(w.main->ConvertNames(), std::vector<std::string>{"A_VOC-3.mid"});
    // The bytes of a conversion without any settings.
    tonalux::StandardMidifile song(nullptr);
    QVERIFY(song.LoadMidifile(w.File("Midifile/A.mid")));
    song.DeleteVocoderNachrichten();
    QVERIFY(song.SaveMidifile(0, w.File("plain.mid")));
    QCOMPARE(Hex(ReadFile(w.File("Convert/A_VOC-3.mid"))), Hex(ReadFile(w.File("plain.mid"))));
    QVERIFY(w.messages.isEmpty());
}

void ApplySettingsWindowTest::tickedTheSettingsChangeEverySongBeforeTheAnalysis() {
    WindowSet w(MakeFoldersWithSong);
    EnterSettings(w);
    w.main->CApplySettings->setChecked(true);
    w.main->BConvert->click();
    // The vocoder part moved from channel 3 to channel 5 before the analysis.
    QCOMPARE(w.main->ConvertNames(), std::vector<std::string>{"A_VOC-5.mid"});
    Track track;
    track.Text(0, 0x02, "(c) T").Text(0, 0x03, "Lied");
    track.Event(0, 0xB0, {0, 8}).Program(0, 0, 4).Note(0, 0x90, 60, 100).Note(0, 0x94, 64, 3);
    track.Note(96, 0x80, 60, 64).Note(0, 0x84, 64, 0).End();
    QCOMPARE(Hex(ReadFile(w.File("Convert/A_VOC-5.mid"))), Hex(SongBuilder(0, 96).AddTrack(track).Bytes()));
    QVERIFY(w.messages.isEmpty());
}

void ApplySettingsWindowTest::aValueOutsideItsRangeStopsTheRunBeforeTheFirstSong() {
    WindowSet w(MakeFoldersWithSong);
    EnterSettings(w);
    w.programs->PRGD[6]->setText("129");
    w.main->CApplySettings->setChecked(true);
    w.main->BConvert->click();
    QCOMPARE(w.messages, QStringList{QStringLiteral("Sound\u00e4nderungen, row 7, Ziel PRG: 129 is not between 1 and 128 "
                                                    "(\"-\" for no value)")});
    QVERIFY(fs::is_empty(w.File("Convert")));

    // Unticked, the same value is not in the way.
    w.messages.clear();
    w.main->CApplySettings->setChecked(false);
    w.main->BConvert->click();
    QCOMPARE(w.main->ConvertNames(), std::vector<std::string>{"A_VOC-3.mid"});
}

void ApplySettingsWindowTest::aStoredRecordThatFailsTheCheckIsNotLoadedAtRestart() {
    // A sound record with one field each the windows would refuse; the first
    // row is loaded whole, as a record that passes shows.
    const auto stored = [] { return SetupBytes().Row(1, 0, 1, 8, 5).Trackname("Lied").Swap(1, 3, 5); };
    struct Case {
        const char* name;
        SetupBytes record;
        bool loaded;
    };
    const std::vector<Case> cases{
        {"every field in range", stored(), true},
        {"a program of 129", stored().Row(7, 0, 1, 0, 129), false},
        {"a bank of 200", stored().Row(2, 200, 1, 0, 1), false},
        {"a control character in the track name", stored().Trackname("Li\x01" "ed"), false},
        {"KANAL 17", stored().Swap(2, 17, 1), false},
        {"an option of 2", stored().Int32(308, 2), false},
    };
    for (const auto& c : cases) {
        StoredOptions().clear();
        const Bytes bytes = c.record.Bytes();
        StoredOptions().setValue(kSetupKey, QByteArray(reinterpret_cast<const char*>(bytes.data()),
                                                       static_cast<qsizetype>(bytes.size())));
        WindowSet w(WindowSet::KeepRemembered{});
        const bool rowShown = w.programs->MSBD[0]->text() == QStringLiteral("8");
        QVERIFY2(rowShown == c.loaded, c.name);
        QVERIFY2((w.information->ETrackname->text() == QStringLiteral("Lied")) == c.loaded, c.name);
        QVERIFY2((w.programs->Block.PRGD[0] == 5) == c.loaded, c.name);
        QVERIFY2((w.information->Block.KanT[0] == 4) == c.loaded, c.name);
    }
}

QTEST_MAIN(ApplySettingsWindowTest)
#include "ApplySettingsWindowTest.moc"
