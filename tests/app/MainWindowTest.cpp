// The main window as the user first sees it, its velocity display and slider,
// the notification icon, and the settings windows it opens.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSlider>
#include <QSystemTrayIcon>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QtTest>
#include <cerrno>
#include <filesystem>

#include "OutcomeTexts.h"
#include "SettingsInEffect.h"
#include "SongBuilder.h"
#include "Translations.h"
#include "TrayIcon.h"
#include "WindowLook.h"
#include "WindowFixture.h"
#include "widgets/LedLamp.h"
#include "widgets/LedNumber.h"

namespace fs = std::filesystem;

namespace {


// The text a control shows: a window's title, a label's or a button's caption,
// an edit's text, or its greyed placeholder when it is empty.
QString Caption(const QWidget* widget) {
    if (widget->isWindow()) return widget->windowTitle();
    if (auto* label = qobject_cast<const QLabel*>(widget)) return label->text();
    if (auto* button = qobject_cast<const QAbstractButton*>(widget)) return button->text();
    if (auto* edit = qobject_cast<const QLineEdit*>(widget))
        return edit->text().isEmpty() ? edit->placeholderText() : edit->text();
    return QString();
}

struct GivenControl {
    QWidget* control;
    QRect place;      // within its parent; for a window its outer size at the given place
    QString caption;  // empty for a control without text
};

// The first control of the table that stands elsewhere or reads otherwise.
QString FirstDeparture(const QList<GivenControl>& table) {
    for (qsizetype row = 0; row < table.size(); ++row) {
        const GivenControl& given = table[row];
        // A window stands at its given place, moved just enough to lie whole on the screen.
        const bool window = given.control->isWindow();
        const QRect at = window ? QRect(given.control->pos(), given.control->size()) : given.control->geometry();
        const QRect wanted =
            window ? QRect(OnScreen(given.place, given.control->screen()->availableGeometry()), given.place.size())
                   : given.place;
        if (at != wanted || Caption(given.control) != given.caption)
            return QStringLiteral("row %1 (%2 \"%3\") stands at %4,%5 %6x%7")
                .arg(row).arg(given.control->metaObject()->className(), Caption(given.control))
                .arg(at.x()).arg(at.y()).arg(at.width()).arg(at.height());
    }
    return QString();
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void initialStates();
    void layoutAndCaptionsMatchTheGivenTable();
    void settingsWindowsControls();
    void listsShowMidiEntriesOfBothFoldersSorted();
    void firstStartNamesTheMissingFoldersAndCreatesThemOnlyWhenAsked();
    void workingFolderIsChosenAndRemembered();
    void velocityDisplayFollowsTheSliderAndIsATabStop();
    void windowLiesWholeOnTheScreenAndKeepsItsLayout();
    void minimiseAndTheNotificationIcon();
    void aTypoBlocksOnlyAConversionWithTheSettings();
    void germanDesktopGetsGermanTexts();
};

void MainWindowTest::initialStates() {
    WindowSet w;
    TForm1& f = *w.main;
    QCOMPARE(f.Vocoder->font().pixelSize(), 19);
    QCOMPARE(f.font().pixelSize(), 11);
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    QVERIFY(f.CFormat->isChecked() && f.Vocoder->isChecked());
    // The song-start option is always in sight and can be switched.
    QVERIFY(!f.CFastPlay->isChecked() && f.CFastPlay->isEnabled() && f.CFastPlay->isVisible());
    QVERIFY(!f.CApplySettings->isChecked() && !f.CAddChords->isChecked() && !f.CKeyboardLyrics->isChecked());
    // The boxes of the strip show their whole captions.
    for (QCheckBox* box : {f.CApplySettings, f.CAddChords, f.CKeyboardLyrics, f.CFastPlay})
        QVERIFY2(box->sizeHint().width() <= box->width(), qPrintable(box->text()));
    QVERIFY(!f.Panel1->isVisible() && f.Panel2->isVisible() && !f.Button1->isVisible());
    QVERIFY(!f.MMSlider1->isVisible());
    QVERIFY(!f.MMLED1->IsLit());
    QCOMPARE(f.VelPanel->intValue(), 5);
    QCOMPARE(f.VelPanel->digitCount(), 3);
    QCOMPARE(f.VelocityThreshold(), 5);
    QCOMPARE(f.MMSlider1->minimum(), 0);
    QCOMPARE(f.MMSlider1->maximum(), 127);
    QCOMPARE(f.MMSlider1->value(), 5);
    QVERIFY(f.CFormat->isChecked());
    QCOMPARE(f.ListBox1->count() + f.ListBox2->count(), 0);
    QCOMPARE(f.ListBox1->palette().color(QPalette::Text), QColor(0, 0, 128));
    QCOMPARE(f.ListBox2->palette().color(QPalette::Text), QColor(0, 128, 0));
    QVERIFY(!(f.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(f.windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(!f.windowIcon().isNull());
    QVERIFY(!w.programs->isVisible() && !w.information->isVisible());

    // Menu: each top-level caption ends in ten blanks; the main menu's given
    // items stand between separators, the added ones after them.
    const QString pad(10, QLatin1Char(' '));
    const QList<QAction*> top = f.menuBar()->actions();
    QCOMPARE(top.size(), 4);
    QCOMPARE(top[0]->text(), QStringLiteral("Hauptmen\u00fc") + pad);
    QCOMPARE(top[1]->text(), QStringLiteral("Sound\u00e4nderungen") + pad);
    QCOMPARE(top[2]->text(), QStringLiteral("Zusatzinformationen") + pad);
    QStringList items;
    for (QAction* item : top[0]->menu()->actions()) items << (item->isSeparator() ? QStringLiteral("|") : item->text());
    QCOMPARE(items, (QStringList{"|", "&Setup Laden", "|", "&Setup Speichern", "|", "ListeSpeichern", "|",
                                 f.ConvertSelected1->text(), f.SaveOutcomes1->text(), f.OpenConvert1->text(),
                                 f.ChooseFolder1->text(), f.Songbook1->text(), "|", f.Quit1->text()}));
    QCOMPARE(top[3]->menu()->actions(), (QList<QAction*>{f.Manual1, f.About1}));
    QCOMPARE(f.Quit1->shortcut(), QKeySequence(QKeySequence::Quit));
    QCOMPARE(f.Manual1->shortcut(), QKeySequence(Qt::Key_F1));

    // Dialogs: setup files and the report with its proposed name; the window
    // asks itself before a file is replaced.
    QCOMPARE(f.OpenDialog1->nameFilters(), QStringList{QStringLiteral("*.set (*.set)")});
    QCOMPARE(f.SaveDialog1->nameFilters(), QStringList{QStringLiteral("*.set (*.set)")});
    QVERIFY(f.SaveDialog1->defaultSuffix().isEmpty());
    QCOMPARE(f.SaveDialog2->nameFilters(), QStringList{QStringLiteral("*.txt (*.txt)")});
    QCOMPARE(f.SaveDialog2->selectedFiles().value(0).section(QLatin1Char('/'), -1), QStringLiteral("Report.txt"));
}

void MainWindowTest::layoutAndCaptionsMatchTheGivenTable() {
    // The given geometry and captions of the three windows: each control with
    // its parent's coordinates (x, y, width, height); the windows have no
    // frame on this platform. The settings windows are taller by the line
    // that says whether their settings are in effect.
    WindowSet w;
    TForm1& f = *w.main;
    TFProgrammchange& p = *w.programs;
    TFInformationen& i = *w.information;
    QList<GivenControl> table{
        {f.MMLED1, {181, 5, 284, 33}, ""},          {f.Label1, {146, 3, f.Label1->width(), 13}, "Vel."},
        {f.Panel1, {6, 5, 121, 33}, ""},            {f.CFastPlay, {9, 604, 162, 19}, "Start auf Tatkt 1"},
        {f.Panel2, {7, 5, 121, 33}, ""},            {f.CFormat, {5, 8, 97, 17}, "Midiformat 0"},
        {f.ListBox1, {6, 76, 230, 433}, ""},        {f.BConvert, {364, 544, 100, 33}, "&FolderConvert"},
        {f.Aktualisieren, {7, 514, 459, 25}, "&Midifiles Aktualisieren"},
        {f.Button1, {244, 544, 110, 33}, "&Single Convert"},
        {f.Panel3, {7, 48, 232, 24}, "Orginalfiles"}, {f.Panel4, {242, 48, 232, 24}, "Convertfiles"},
        {f.ListBox2, {240, 77, 230, 433}, ""},      {f.Vocoder, {9, 548, 291, 24}, "Yamaha Vocoder Sysex delete"},
        {f.VelPanel, {134, 16, 37, 22}, ""},
        {p.Panel1, {8, 8, 441, 32 + 12 * 52}, ""},
        {&i, {208, 462, 721, 198 + kInEffectRoom}, "Informationen"},
        {i.Panel1, {7, 8, 266, 46}, ""},            {i.Panel2, {275, 8, 431, 46}, ""},
        {i.Panel3, {5, 58, 704, 100}, ""},          {i.Label1, {7, 4, i.Label1->width(), i.Label1->height()}, "COPYRIGHT"},
        {i.Label2, {5, 4, i.Label2->width(), i.Label2->height()}, "TRACKNAME"},
        {i.Label3, {267, 5, i.Label3->width(), i.Label3->height()}, "KANALTAUSCHEN"},
        {i.ECopyright, {4, 20, 257, 21}, ""},       {i.ETrackname, {4, 20, 422, 21}, "VELMOTRIX"},
    };
    // The channel boxes: pairs 1 to 3 stand one pixel lower than pairs 4 to 8.
    constexpr int kUpperLefts[] = {3, 90, 177, 263, 352, 443, 530, 617};
    for (int pair = 0; pair < 8; ++pair) {
        table += {i.CKanV[pair], {kUpperLefts[pair], pair < 3 ? 21 : 20, 83, 21}, ""};
        table += {i.CKanT[pair], {kUpperLefts[pair] - 1, pair < 3 ? 69 : 68, 83, 21}, ""};
    }
    // Program-change rows 1 to 12 in one column; the four fields of every row
    // stand alike within it.
    for (int row = 0; row < 12; ++row) {
        table += {p.RowPanels[row], {32, 32 + 52 * row, 209, 49}, ""};
        table += {{p.MSBQ[row], {8, 24, 33, 21}, "-"}, {p.PRGQ[row], {48, 24, 33, 21}, "-"},
                  {p.MSBD[row], {128, 24, 33, 21}, "-"}, {p.PRGD[row], {168, 24, 33, 21}, "-"}};
    }
    QCOMPARE(FirstDeparture(table), QString());
    QCOMPARE(f.windowTitle(), QStringLiteral("Tonalux & Belvorta"));

    // The controls stand on the client area below the menu bar; no control
    // of the window overlaps another that is shown.
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    QCOMPARE(f.centralWidget()->geometry().top(), f.menuBar()->geometry().bottom() + 1);
    QCOMPARE(f.MMLED1->parentWidget(), f.Client);
    const QList<QWidget*> added{f.CApplySettings, f.CAddChords, f.CKeyboardLyrics, f.CFastPlay, f.RunState};
    for (QWidget* control : added)
        for (QWidget* other : f.Client->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
            if (other != control && other->isVisible()) QVERIFY(!control->geometry().intersects(other->geometry()));
}

void MainWindowTest::settingsWindowsControls() {
    WindowSet w;
    TForm1& f = *w.main;
    QCOMPARE(f.MMSlider1->size(), QSize(217, 32));
    QCOMPARE(f.CFastPlay->parentWidget(), f.Client);
    QCOMPARE(f.CFormat->parentWidget(), f.Panel2);

    TFProgrammchange& p = *w.programs;
    for (int row = 0; row < 12; ++row) {
        const QString number = QString::number(row + 1);
        QCOMPARE(p.MSBQ[row]->objectName(), QStringLiteral("MSBQ") + number);
        QCOMPARE(p.PRGD[row]->objectName(), QStringLiteral("PRGD") + number);
        for (QLineEdit* edit : {p.MSBQ[row], p.PRGQ[row], p.MSBD[row], p.PRGD[row]}) {
            QCOMPARE(edit->parentWidget(), p.RowPanels[row]);
            QCOMPARE(edit->text(), QStringLiteral("-"));
            QCOMPARE(edit->maxLength(), 3);
            QCOMPARE(edit->font().pixelSize(), 13);
            QCOMPARE(edit->palette().color(QPalette::Text), QColor(0, 0, 128));
        }
        QStringList labels;
        for (QLabel* label : p.RowPanels[row]->findChildren<QLabel*>()) labels << label->text();
        QCOMPARE(labels, (QStringList{"MSB", "PRG", "MSB", "PRG"}));
    }
    // Over the one column the headings, beside each row its number as the
    // messages say it, and a note on what the fields mean.
    QStringList headings;
    for (QLabel* label : p.Panel1->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (label == p.Note) continue;
        QVERIFY(label->font().bold());
        headings << QStringLiteral("%1@%2").arg(label->text()).arg(label->y());
    }
    QStringList expected{"Quell@16", "Ziel@16"};
    for (int row = 0; row < 12; ++row) expected << QStringLiteral("%1@%2").arg(row + 1).arg(32 + 52 * row + 24);
    QCOMPARE(headings, expected);
    QVERIFY(p.Note->text().contains(QStringLiteral("Quell MSB 128 stands for the drum kits of channel 10")));
    // Every field says what it takes.
    for (int row = 0; row < 12; ++row)
        for (QLineEdit* edit : {p.MSBQ[row], p.PRGQ[row], p.MSBD[row], p.PRGD[row]})
            QVERIFY(edit->toolTip().startsWith(QStringLiteral("Row %1, ").arg(row + 1)));
    QVERIFY(p.MSBQ[0]->toolTip().contains(QStringLiteral("128 for the drum kits of channel 10")));
    for (QWidget* field : QList<QWidget*>{w.information->ECopyright, w.information->ETrackname,
                                          w.information->CKanV[7], w.information->CKanT[0]})
        QVERIFY(!field->toolTip().isEmpty());

    TFInformationen& i = *w.information;
    QCOMPARE(i.Label3->font().pixelSize(), 9);
    // The initial track name is a greyed placeholder, never a text of its own.
    QCOMPARE(i.ETrackname->text(), QString());
    QCOMPARE(i.ETrackname->placeholderText(), QStringLiteral("VELMOTRIX"));
    QCOMPARE(i.ECopyright->text(), QString());
    for (QLineEdit* edit : {i.ECopyright, i.ETrackname}) {
        QCOMPARE(edit->maxLength(), 25);
        QVERIFY(edit->font().bold());
        QCOMPARE(edit->palette().color(QPalette::Text), QColor(0, 0, 255));
    }
    for (int pair = 0; pair < 8; ++pair) {
        for (QComboBox* box : {i.CKanV[pair], i.CKanT[pair]}) {
            QVERIFY(box->isEditable());
            QCOMPARE(box->count(), 16);
            QCOMPARE(box->itemText(0), QStringLiteral("KANAL 1"));
            QCOMPARE(box->itemText(15), QStringLiteral("KANAL 16"));
            QCOMPARE(box->currentIndex(), 0);
        }
    }
}

void MainWindowTest::listsShowMidiEntriesOfBothFoldersSorted() {
    using tonalux::testing::WriteFile;
    WindowSet w([](const tonalux::testing::TempDir& dir) {
        fs::create_directories(dir.Path() / "Midifile" / "x.mid");
        fs::create_directories(dir.Path() / "Convert");
        for (const char* name : {"b.mid", "A.MID", "c.Mid", "notes.txt", "mid", "d.midi"})
            WriteFile(dir.Path() / "Midifile" / name, {1});
        fs::create_symlink(dir.Path() / "Midifile" / "b.mid", dir.Path() / "Midifile" / "link.mid");
        fs::create_symlink(dir.Path() / "nowhere", dir.Path() / "Midifile" / "dangling.mid");
        WriteFile(dir.Path() / "Convert" / "b_NO-VOC.mid", {1});
    });
    QStringList left;
    for (int i = 0; i < w.main->ListBox1->count(); ++i) left << w.main->ListBox1->item(i)->text();
    QCOMPARE(left, (QStringList{"A.MID", "b.mid", "c.Mid", "link.mid", "x.mid"}));
    QCOMPARE(w.main->ListBox2->count(), 1);
    QCOMPARE(w.main->ListBox2->item(0)->text(), QStringLiteral("b_NO-VOC.mid"));
    QCOMPARE(QString::fromStdString(w.main->BaseFolder), QDir::currentPath() + QLatin1Char('/'));
    // The headings of the two lists name the folders the program works on.
    QCOMPARE(w.main->Panel3->toolTip(), QDir::currentPath() + QStringLiteral("/Midifile/"));
    QCOMPARE(w.main->Panel4->toolTip(), QDir::currentPath() + QStringLiteral("/Convert/"));

    // A refresh shows what the folders hold now.
    WriteFile(w.File("Convert/A_NO-VOC.MID"), {1});
    fs::remove(w.File("Midifile/c.Mid"));
    w.main->Aktualisieren->click();
    QCOMPARE(w.main->ListBox1->count(), 4);
    QCOMPARE(w.main->ListBox2->count(), 2);
    QVERIFY(w.messages.isEmpty());
}

void MainWindowTest::firstStartNamesTheMissingFoldersAndCreatesThemOnlyWhenAsked() {
    WindowSet w;
    QCOMPARE(w.main->ListBox1->count(), 0);
    QVERIFY(w.main->RunState->text().contains(QStringLiteral("Midifile/")));
    // Declined: nothing is created and nothing converted.
    w.answer = false;
    w.main->BConvert->click();
    QCOMPARE(w.questions.size(), 1);
    QVERIFY(w.questions[0].contains(QString::fromStdString(w.File("Midifile/"))));
    QVERIFY(w.questions[0].contains(QString::fromStdString(w.File("Convert/"))));
    QVERIFY(!fs::exists(w.File("Midifile")) && !fs::exists(w.File("Convert")));
    QVERIFY(w.messages.isEmpty());

    // Accepted: both folders are made, and the empty Midifile/ is named.
    w.answer = true;
    w.main->BConvert->click();
    QVERIFY(fs::is_directory(w.File("Midifile")) && fs::is_directory(w.File("Convert")));
    QCOMPARE(w.messages.size(), 1);
    QVERIFY(w.messages[0].contains(QString::fromStdString(w.File("Midifile/"))));

    // Only the missing one is asked for.
    fs::remove(w.File("Convert"));
    tonalux::testing::WriteFile(w.File("Midifile/A.mid"), {1});
    w.main->Aktualisieren->click();
    w.answer = false;
    w.main->BConvert->click();
    QVERIFY(!w.questions.back().contains(QString::fromStdString(w.File("Midifile/"))));
    QVERIFY(w.main->LastRun().empty());
}

void MainWindowTest::workingFolderIsChosenAndRemembered() {
    tonalux::testing::TempDir chosen;
    fs::create_directories(chosen.Path() / "Midifile");
    tonalux::testing::WriteFile(chosen.Path() / "Midifile" / "Song.mid", {1});
    {
        WindowSet w;
        w.dialogAnswer = QString::fromStdString(chosen.Path().string());
        w.main->ChooseFolder1->trigger();
        QCOMPARE(w.main->BaseFolder, chosen.Path().string() + "/");
        QCOMPARE(w.main->ListBox1->count(), 1);
        w.main->close();
    }
    // A restart in a folder without Midifile/ works on the chosen folder ...
    {
        WindowSet w(WindowSet::KeepRemembered{});
        QCOMPARE(w.main->BaseFolder, chosen.Path().string() + "/");
    }
    // ... and one in a folder that has Midifile/ on that folder.
    WindowSet w([](const tonalux::testing::TempDir& dir) { fs::create_directories(dir.Path() / "Midifile"); }, true);
    QCOMPARE(QString::fromStdString(w.main->BaseFolder), QDir::currentPath() + QLatin1Char('/'));
}

void MainWindowTest::velocityDisplayFollowsTheSliderAndIsATabStop() {
    WindowSet w;
    TForm1& f = *w.main;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    QVERIFY(f.VelPanel->focusPolicy() & Qt::TabFocus);

    // A click on the display opens the slider below it, clear of the lamp.
    QTest::mouseClick(f.VelPanel, Qt::LeftButton);
    QTRY_VERIFY(f.MMSlider1->isVisible());
    const QRect slider(f.MMSlider1->mapToGlobal(QPoint(0, 0)), f.MMSlider1->size());
    const QRect lamp(f.MMLED1->mapToGlobal(QPoint(0, 0)), f.MMLED1->size());
    QVERIFY(!slider.intersects(lamp));

    f.MMSlider1->setValue(12);
    QCOMPARE(f.VelPanel->intValue(), 12);
    QCOMPARE(f.VelocityThreshold(), 12);
    QTest::keyClick(f.MMSlider1, Qt::Key_Right);
    QCOMPARE(f.VelocityThreshold(), 13);
    f.SliderPopup->hide();

    // Tab from "Midiformat 0" reaches the display; arrow keys on it move the
    // slider within 0 to 127.
    f.CFormat->setFocus();
    QTest::keyClick(f.CFormat, Qt::Key_Tab);
    QTRY_VERIFY(f.VelPanel->hasFocus());
    const struct {
        int from;
        Qt::Key key;
        int to;
    } steps[] = {{13, Qt::Key_Down, 12}, {12, Qt::Key_PageUp, 22}, {126, Qt::Key_PageUp, 127}, {0, Qt::Key_Down, 0}};
    for (const auto& step : steps) {
        f.MMSlider1->setValue(step.from);
        QTest::keyClick(f.VelPanel, step.key);
        QCOMPARE(f.VelocityThreshold(), step.to);
    }
}

void MainWindowTest::windowLiesWholeOnTheScreenAndKeepsItsLayout() {
    WindowSet w;
    TForm1& f = *w.main;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    const QRect screen = f.screen()->availableGeometry();
    QVERIFY(screen.contains(f.frameGeometry()));
    // Its size is fixed: no resizing into a broken layout, and the client
    // area scrolls when the screen is smaller than the window.
    QCOMPARE(f.minimumSize(), f.maximumSize());
    const QSize before = f.size();
    f.resize(200, 200);
    QCOMPARE(f.size(), before);
    QCOMPARE(f.Client->size(), QSize(486, 646));
    const bool fits = f.ClientArea->viewport()->height() >= f.Client->height();
    QCOMPARE(f.pos() == QPoint(259, 95), screen.contains(QRect(QPoint(259, 95), f.frameGeometry().size())));
    if (!fits) QVERIFY(f.ClientArea->verticalScrollBar()->maximum() > 0);
}

void MainWindowTest::minimiseAndTheNotificationIcon() {
    WindowSet w;
    TForm1& f = *w.main;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    // The icon names the program and its state, and has Restore and Quit.
    QVERIFY(f.TrayIcon1->toolTip().startsWith(QStringLiteral("Tonalux & Belvorta\n")));
    QVERIFY(f.TrayIcon1->contextMenu() != nullptr);
    QCOMPARE(f.TrayIcon1->contextMenu()->actions().size(), 3);
    QCOMPARE(f.TrayIcon1->isVisible(), QSystemTrayIcon::isSystemTrayAvailable());

    // Without a notification area the window is only minimised, never hidden.
    f.showMinimized();
    QCoreApplication::processEvents();
    if (!QSystemTrayIcon::isSystemTrayAvailable()) QVERIFY(!f.isHidden());

    // A double click on the icon, or Restore, brings the window back to the front.
    f.hide();
    emit f.TrayIcon1->activated(QSystemTrayIcon::Trigger);
    QVERIFY(f.isHidden());
    emit f.TrayIcon1->activated(QSystemTrayIcon::DoubleClick);
    QVERIFY(f.isVisible());
    QVERIFY(!f.isMinimized());
    f.hide();
    f.TrayIcon1->Restore->trigger();
    QVERIFY(f.isVisible());
    f.TrayIcon1->Quit->trigger();
    QVERIFY(!f.isVisible());
}

void MainWindowTest::aTypoBlocksOnlyAConversionWithTheSettings() {
    WindowSet w([](const tonalux::testing::TempDir& dir) {
        fs::create_directories(dir.Path() / "Midifile");
        fs::create_directories(dir.Path() / "Convert");
        tonalux::testing::Track track;
        track.Note(0, 0x90, 60, 100).Note(96, 0x80, 60, 0).End();
        tonalux::testing::WriteFile(dir.Path() / "Midifile" / "A.mid",
                                    tonalux::testing::SongBuilder(0, 96).AddTrack(track).Bytes());
    });
    w.programs->PRGQ[2]->setText(QStringLiteral("a"));
    QVERIFY(w.messages.isEmpty());  // typing is not interrupted
    // Unticked, the settings play no part: the song is converted.
    w.main->BConvert->click();
    QVERIFY(w.messages.isEmpty());
    QCOMPARE(w.main->ConvertNames(), std::vector<std::string>{"A_NO-VOC.mid"});

    // Ticked, the message names the window, the row and the field, and that
    // window comes forward with the field in focus.
    fs::remove(w.File("Convert/A_NO-VOC.mid"));
    w.main->CApplySettings->setChecked(true);
    w.main->BConvert->click();
    QCOMPARE(w.messages, QStringList{QStringLiteral("Sound\u00e4nderungen, row 3, Quell PRG: 'a' is not a whole number")});
    QVERIFY(w.programs->isVisible());
    QTRY_COMPARE(QApplication::focusWidget(), w.programs->PRGQ[2]);
    QVERIFY(fs::is_empty(w.File("Convert")));

    // A character the song's 8-bit text cannot hold is marked and refused the same way.
    w.messages.clear();
    w.programs->PRGQ[2]->setText(QStringLiteral("12"));
    w.information->ETrackname->setText(QStringLiteral("Lied \u20ac"));
    QCOMPARE(w.information->ETrackname->palette().color(QPalette::Text), QColor(255, 0, 0));
    w.main->BConvert->click();
    QCOMPARE(w.messages, QStringList{QStringLiteral("Zusatzinformationen, TRACKNAME: the character \"\u20ac\" cannot "
                                                    "be written into a song")});
    QVERIFY(w.information->isVisible());
    QVERIFY(fs::is_empty(w.File("Convert")));
}

void MainWindowTest::germanDesktopGetsGermanTexts() {
    QVERIFY(InstallTranslations(QLocale(QLocale::German, QLocale::Germany)));
    {
        WindowSet w;
        QCOMPARE(w.main->ChooseFolder1->text(), QStringLiteral("&Arbeitsordner w\u00e4hlen..."));
        QVERIFY(w.programs->InEffect->text().startsWith(QStringLiteral("Werden beim Konvertieren nicht angewendet")));
        // The toolkit's own buttons too.
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("&Ja"));
        QCOMPARE(FolderProblemText({"/x/Convert/", "Permission denied", EACCES}),
                 QStringLiteral("Der Ordner /x/Convert/ kann nicht verwendet werden: Permission denied\n"
                                "Es wurde nichts konvertiert."));
    }
    InstallTranslations(QLocale(QLocale::English, QLocale::UnitedStates));
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("&Yes"));
}


QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
