// What a keyboard player meets at the desk: every run sees the songs of the
// moment, the song-start option in sight, a run stopped only when the user
// says so, settings windows below the menu that explain themselves, texts
// naming buttons as shown, questions that replace nothing by default, and a
// window that shows focus, progress and the new outputs.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCompleter>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QtTest>
#include <filesystem>

#include "MessageDisplay.h"
#include "SetupBytes.h"
#include "SongBuilder.h"
#include "StandardMidifile.h"
#include "TurnClocks.h"
#include "WindowFixture.h"
#include "WindowLook.h"
#include "widgets/LedNumber.h"

namespace fs = std::filesystem;
using tonalux::testing::Bytes;
using tonalux::testing::ReadFile;
using tonalux::testing::SetupBytes;
using tonalux::testing::SongBuilder;
using tonalux::testing::TempDir;
using tonalux::testing::Track;
using tonalux::testing::WriteFile;

namespace {

// A song whose first note lies at tick `firstNote`; `notes` notes in all.
Bytes Song(std::uint32_t firstNote = 0, int notes = 1) {
    Track track;
    track.Note(firstNote, 0x90, 60, 100).Note(24, 0x80, 60, 0);
    for (int i = 1; i < notes; ++i) track.Note(0, 0x90, 60, 100).Note(24, 0x80, 60, 0);
    track.End();
    return SongBuilder(0, 96).AddTrack(track).Bytes();
}

void MakeSongs(const TempDir& dir, const std::vector<std::string>& names, const Bytes& song = Song()) {
    fs::create_directories(dir.Path() / "Midifile");
    fs::create_directories(dir.Path() / "Convert");
    for (const auto& name : names) WriteFile(dir.Path() / "Midifile" / name, song);
}

// Acts at the engine's first turn during a run, as a user would while a
// song is written, and records what the window shows at every turn.
class TurnHost : public tonalux::EngineHost {
public:
    TurnHost(TForm1& window, std::function<void()> atFirstTurn)
        : window_(window), first_(std::move(atFirstTurn)), clock_(&tonalux::testing::RacingClock) {
        tonalux::SetEngineHost(this);
    }
    ~TurnHost() override { tonalux::SetEngineHost(&window_); }
    void ShowMessage(const std::string& text) override { window_.ShowMessage(text); }
    void ProcessMessages() override {
        if (++turns == 1 && first_) first_();
        progressShown = progressShown && window_.Progress->isVisible();
        progressMaximum = window_.Progress->maximum();
        window_.ProcessMessages();
    }
    int turns = 0;
    bool progressShown = true;
    int progressMaximum = 0;

private:
    TForm1& window_;
    std::function<void()> first_;
    tonalux::testing::TurnClockFor clock_;
};

}  // namespace

class DeskFaultsTest : public QObject {
    Q_OBJECT
private slots:
    void aRunConvertsTheSongsAddedSinceTheStart();
    void songStartOptionIsInSightSwitchableAndInTheSummary();
    void closingDuringARunAsksAndNoGoesOn();
    void settingsWindowsOpenBelowTheMenuAndCloseWithEscape();
    void placementKeepsTheMenuBarClear_data();
    void placementKeepsTheMenuBarClear();
    void textsNameButtonsAsTheUserSeesThem();
    void channelMessagesUseTheBoxesValues();
    void replacingAFileIsNotTheDefaultAnswer();
    void velocityDisplayShowsItsFocus();
    void progressBarRunsAndTheRightListFollowsTheOutputs();
    void noCompleterIsLeftOverTheListsAfterAFolderIsChosen();
};

void DeskFaultsTest::aRunConvertsTheSongsAddedSinceTheStart() {
    WindowSet w([](const TempDir& dir) { MakeSongs(dir, {"A.mid"}); });
    QCOMPARE(w.main->ListBox1->count(), 1);
    WriteFile(w.File("Midifile/Later.mid"), Song());
    w.main->BConvert->click();
    QVERIFY(fs::exists(w.File("Convert/Later_NO-VOC.mid")));
    QCOMPARE(w.main->LastRun().size(), std::size_t{2});
    QCOMPARE(w.main->ListBox1->count(), 2);
}

void DeskFaultsTest::songStartOptionIsInSightSwitchableAndInTheSummary() {
    {
        WindowSet w([](const TempDir& dir) { MakeSongs(dir, {"Late.mid"}, Song(960)); });
        w.main->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.main.get()));
        WriteFile(w.File("start.set"), SetupBytes().StartAtFirstNote(true).FormatZero(true).Bytes());
        w.dialogAnswer = QString::fromStdString(w.File("start.set"));
        w.main->SetupLaden1->trigger();
        QVERIFY(w.main->CFastPlay->isVisible() && w.main->CFastPlay->isEnabled() && w.main->CFastPlay->isChecked());
        w.main->BConvert->click();
        QVERIFY(w.main->RunState->text().contains(QStringLiteral("Start auf Tatkt 1: on")));

        // Switched off, the next run leaves the song's start where it is, and
        // a restart remembers it.
        QTest::mouseClick(w.main->CFastPlay, Qt::LeftButton);
        QVERIFY(!w.main->CFastPlay->isChecked());
        QCOMPARE(w.information->Block.FastPlay, std::uint8_t{0});
        w.main->BConvert->click();
        QVERIFY(!w.main->RunState->text().contains(QStringLiteral("Start auf Tatkt 1")));
        tonalux::Component owner(nullptr);
        tonalux::StandardMidifile song(&owner);
        QVERIFY(song.LoadMidifile(w.File("Convert/Late_NO-VOC.mid")));
        QCOMPARE(song.GetMidievent(0, 0).Tick, 960u);
    }
    WindowSet restarted{WindowSet::KeepRemembered{}};
    QVERIFY(!restarted.main->CFastPlay->isChecked());
}

void DeskFaultsTest::closingDuringARunAsksAndNoGoesOn() {
    WindowSet w([](const TempDir& dir) {
        MakeSongs(dir, {"A.mid"}, Song(0, 1500));
        MakeSongs(dir, {"B.mid", "C.mid"});
    });
    w.main->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.main.get()));
    w.answer = false;
    {
        TurnHost host(*w.main, [&w] { w.main->close(); });
        w.main->BConvert->click();
        QVERIFY(host.turns > 0);
    }
    QCOMPARE(w.questions.size(), 1);
    QVERIFY(w.questions.front().startsWith(QStringLiteral("Stop converting?")));
    QCOMPARE(w.main->LastRun().size(), std::size_t{3});
    QVERIFY(fs::exists(w.File("Convert/C_NO-VOC.mid")));
    QVERIFY(w.main->isVisible());
}

void DeskFaultsTest::settingsWindowsOpenBelowTheMenuAndCloseWithEscape() {
    // The program-change window with its twelve rows in one column is taller
    // than this screen: it is shortened below the menu bar, not moved over it.
    WindowSet w;
    w.main->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.main.get()));
    const int menuBottom = w.main->menuBar()->mapToGlobal(QPoint(0, w.main->menuBar()->height())).y();
    const QRect screen = w.main->screen()->availableGeometry();
    for (QAction* entry : {w.main->Soundaenderungen1, w.main->Zusatzinformationen1}) {
        entry->trigger();
        QWidget* window = entry == w.main->Soundaenderungen1 ? static_cast<QWidget*>(w.programs)
                                                               : static_cast<QWidget*>(w.information);
        QVERIFY(window->isVisible());
        QVERIFY(QTest::qWaitForWindowExposed(window));
        const QRect frame = window->frameGeometry();
        QVERIFY2(frame.top() > menuBottom || !frame.intersects(w.main->frameGeometry()), "over the menu bar");
        QVERIFY(frame.bottom() <= screen.bottom());
        QVERIFY(frame.width() > screen.width() || (frame.left() >= screen.left() && frame.right() <= screen.right()));
        QTest::keyClick(window, Qt::Key_Escape);
        QVERIFY(!window->isVisible());
    }
    // Closing the main window closes them too.
    w.main->Zusatzinformationen1->trigger();
    w.main->close();
    QVERIFY(!w.information->isVisible());
}

void DeskFaultsTest::placementKeepsTheMenuBarClear_data() {
    // A window manager adds the frame after a window is first shown; the
    // placement then runs again with the frame and must keep the rule.
    QTest::addColumn<QRect>("frame");
    QTest::addColumn<QRect>("keepClear");
    QTest::addColumn<QRect>("placed");
    const QRect screen(0, 0, 1280, 900);
    const QRect menu(259, 120, 486, 21);
    QTest::newRow("clear of the menu: only kept on the screen") << QRect(900, 300, 400, 200) << menu << QRect(880, 300, 400, 200);
    QTest::newRow("over the menu: moved below it") << QRect(191, 90, 462, 400) << menu << QRect(191, 141, 462, 400);
    QTest::newRow("too tall below the menu: shortened, not moved up") << QRect(191, 105, 462, 800) << menu
                                                                       << QRect(191, 141, 462, 759);
    QTest::newRow("nothing to keep clear") << QRect(191, 105, 462, 800) << QRect() << QRect(191, 100, 462, 800);
}

void DeskFaultsTest::placementKeepsTheMenuBarClear() {
    QFETCH(QRect, frame);
    QFETCH(QRect, keepClear);
    QFETCH(QRect, placed);
    QCOMPARE(ClearOf(frame, keepClear, QRect(0, 0, 1280, 900)), placed);
}

void DeskFaultsTest::textsNameButtonsAsTheUserSeesThem() {
    const QList<QPair<QString, QString>> captions{
        {"&FolderConvert", "FolderConvert"}, {"Rock && Roll", "Rock & Roll"}, {"ListeSpeichern", "ListeSpeichern"}};
    for (const auto& [caption, shown] : captions) QCOMPARE(ShownCaption(caption), shown);

    WindowSet w;  // no Convert/ and no Midifile/
    QVERIFY(w.main->RunState->text().contains(QStringLiteral("\"FolderConvert\" offers to create it")));
    w.main->SaveOutcomes1->trigger();
    QCOMPARE(w.messages.size(), 1);
    QVERIFY(w.messages.front().contains(QStringLiteral("\"FolderConvert\"")));
    for (const QString& text : QStringList{w.main->RunState->text(), w.messages.front()})
        QVERIFY2(!text.contains('&'), qPrintable(text));
}

void DeskFaultsTest::channelMessagesUseTheBoxesValues() {
    WindowSet w;
    const QList<QPair<std::int32_t, QString>> cases{
        {17, "Zusatzinformationen, KANALTAUSCHEN, pair 2, upper box: KANAL 17 is not between KANAL 1 and KANAL 16"},
        {-5, "Zusatzinformationen, KANALTAUSCHEN, pair 2, upper box: KANAL -5 is not between KANAL 1 and KANAL 16"},
    };
    for (const auto& [channel, expected] : cases) {
        w.messages.clear();
        WriteFile(w.File("bad.set"), SetupBytes().Swap(2, channel, 3).Bytes());
        w.dialogAnswer = QString::fromStdString(w.File("bad.set"));
        w.main->SetupLaden1->trigger();
        QCOMPARE(w.messages.size(), 1);
        QVERIFY2(w.messages.front().contains(expected), qPrintable(w.messages.front()));
        QVERIFY(!w.messages.front().contains(QStringLiteral("-1")));
    }
}

void DeskFaultsTest::replacingAFileIsNotTheDefaultAnswer() {
    WindowSet w([](const TempDir& dir) { MakeSongs(dir, {"A.mid"}); });
    WriteFile(w.File("Report.txt"), {'o', 'l', 'd'});
    w.dialogAnswer = QString::fromStdString(w.File("Report.txt"));
    SetQuestionHook({});  // the real question box, answered with Enter
    bool defaultIsNo = false;
    QTimer::singleShot(0, [&defaultIsNo] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        defaultIsNo = box->defaultButton() == box->button(QMessageBox::No);
        QTest::keyClick(box, Qt::Key_Return);
    });
    w.main->ListeSpeichern1->trigger();
    QVERIFY(defaultIsNo);
    QCOMPARE(ReadFile(w.File("Report.txt")), (Bytes{'o', 'l', 'd'}));
}

void DeskFaultsTest::velocityDisplayShowsItsFocus() {
    WindowSet w;
    w.main->show();
    QVERIFY(QTest::qWaitForWindowActive(w.main.get()));
    w.main->ListBox1->setFocus();
    const QImage without = w.main->VelPanel->grab().toImage();
    w.main->VelPanel->setFocus(Qt::TabFocusReason);
    QVERIFY(w.main->VelPanel->hasFocus());
    QVERIFY(w.main->VelPanel->grab().toImage() != without);
}

void DeskFaultsTest::progressBarRunsAndTheRightListFollowsTheOutputs() {
    WindowSet w([](const TempDir& dir) {
        MakeSongs(dir, {"A.mid"}, Song(0, 1500));
        MakeSongs(dir, {"B.mid"});
        // Older outputs that sort after the new ones fill the right list.
        for (int i = 0; i < 60; ++i) WriteFile(dir.Path() / "Convert" / ("Z" + std::to_string(i) + ".mid"), Song());
    });
    w.main->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.main.get()));
    QVERIFY(!w.main->Progress->isVisible());
    {
        TurnHost host(*w.main, {});
        w.main->BConvert->click();
        QVERIFY(host.turns > 0);
        QVERIFY(host.progressShown);
        QCOMPARE(host.progressMaximum, 2);
    }
    QVERIFY(!w.main->Progress->isVisible());
    QStringList selected;
    for (QListWidgetItem* item : w.main->ListBox2->selectedItems()) selected << item->text();
    selected.sort();
    QCOMPARE(selected, (QStringList{"A_NO-VOC.mid", "B_NO-VOC.mid"}));
    QCOMPARE(w.main->ListBox2->currentItem()->text(), QStringLiteral("B_NO-VOC.mid"));
}

void DeskFaultsTest::noCompleterIsLeftOverTheListsAfterAFolderIsChosen() {
    WindowSet w([](const TempDir& dir) { fs::create_directories(dir.Path() / "Other" / "Midifile"); });
    w.main->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.main.get()));
    QCompleter* completer = w.main->FolderDialog->findChild<QCompleter*>();
    QVERIFY(completer);
    // The user typed part of a name: the completer's list stood open when the dialog closed.
    w.main->SetDialogRunner([&](QFileDialog&) {
        completer->popup()->show();
        return QString::fromStdString(w.File("Other"));
    });
    w.main->ChooseFolder1->trigger();
    QVERIFY(!completer->popup()->isVisible());
}

QTEST_MAIN(DeskFaultsTest)
#include "DeskFaultsTest.moc"
