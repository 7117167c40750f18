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
#include <QtTest>
#include <filesystem>

#include "SongBuilder.h"
#include "WindowFixture.h"
#include "widgets/LedLamp.h"
#include "widgets/LedNumber.h"

namespace fs = std::filesystem;

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void captionsAndInitialStates();
    void layoutMatchesTheGeometryTable();
    void settingsWindowsControls();
    void listsShowMidiEntriesOfBothFoldersSorted();
    void missingFoldersGiveEmptyLists();
    void velocityDisplayFollowsTheSlider();
    void minimiseAndTheNotificationIcon();
    void menuEntriesOpenTheSettingsWindows();
    void errorInAHandlerIsShownAndTheProgramGoesOn();
};

void MainWindowTest::captionsAndInitialStates() {
    WindowSet w;
    TForm1& f = *w.main;
    QCOMPARE(f.windowTitle(), QStringLiteral("Tonalux & Belvorta"));
    QCOMPARE(f.Label1->text(), QStringLiteral("Vel."));
    QCOMPARE(f.CFastPlay->text(), QStringLiteral("Start auf Tatkt 1"));
    QCOMPARE(f.CFormat->text(), QStringLiteral("Midiformat 0"));
    QCOMPARE(f.BConvert->text(), QStringLiteral("&FolderConvert"));
    QCOMPARE(f.Aktualisieren->text(), QStringLiteral("&Midifiles Aktualisieren"));
    QCOMPARE(f.Button1->text(), QStringLiteral("&Single Convert"));
    QCOMPARE(f.Panel3->text(), QStringLiteral("Orginalfiles"));
    QCOMPARE(f.Panel4->text(), QStringLiteral("Convertfiles"));
    QCOMPARE(f.Vocoder->text(), QStringLiteral("Yamaha Vocoder Sysex delete"));
    QCOMPARE(f.Vocoder->font().pixelSize(), 19);
    QCOMPARE(f.font().pixelSize(), 11);

    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    QVERIFY(f.CFormat->isChecked());
    QVERIFY(f.Vocoder->isChecked());
    QVERIFY(!f.CFastPlay->isChecked());
    QVERIFY(!f.CFastPlay->isEnabled());
    QVERIFY(!f.Panel1->isVisible());
    QVERIFY(f.Panel2->isVisible());
    QVERIFY(!f.Button1->isVisible());
    QVERIFY(!f.MMSlider1->isVisible());
    QVERIFY(!f.MMLED1->IsLit());
    QCOMPARE(f.VelPanel->intValue(), 5);
    QCOMPARE(f.VelPanel->digitCount(), 3);
    QCOMPARE(f.VelocityThreshold(), 5);
    QCOMPARE(f.MMSlider1->minimum(), 0);
    QCOMPARE(f.MMSlider1->maximum(), 127);
    QCOMPARE(f.MMSlider1->value(), 5);
    QVERIFY(f.CFormat->isChecked());
    QCOMPARE(f.ListBox1->count(), 0);
    QCOMPARE(f.ListBox2->count(), 0);
    QCOMPARE(f.ListBox1->palette().color(QPalette::Text), QColor(0, 0, 128));
    QCOMPARE(f.ListBox2->palette().color(QPalette::Text), QColor(0, 128, 0));
    QVERIFY(!(f.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(f.windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(!f.windowIcon().isNull());
    QVERIFY(!w.programs->isVisible());
    QVERIFY(!w.information->isVisible());
    QCOMPARE(w.programs->windowTitle(), QStringLiteral("Programmchange"));
    QCOMPARE(w.information->windowTitle(), QStringLiteral("Informationen"));

    // Menu: each top-level caption ends in ten blanks; the main menu's items
    // stand between separators.
    const QString pad(10, QLatin1Char(' '));
    const QList<QAction*> top = f.menuBar()->actions();
    QCOMPARE(top.size(), 3);
    QCOMPARE(top[0]->text(), QStringLiteral("Hauptmen\u00fc") + pad);
    QCOMPARE(top[1]->text(), QStringLiteral("Sound\u00e4nderungen") + pad);
    QCOMPARE(top[2]->text(), QStringLiteral("Zusatzinformationen") + pad);
    QStringList items;
    for (QAction* item : top[0]->menu()->actions()) items << (item->isSeparator() ? QStringLiteral("|") : item->text());
    QCOMPARE(items, (QStringList{"|", "&Setup Laden", "|", "&Setup Speichern", "|", "ListeSpeichern", "|"}));

    // Dialogs: setup files and the report with its proposed name.
    QCOMPARE(f.OpenDialog1->nameFilters(), QStringList{QStringLiteral("*.set (*.set)")});
    QCOMPARE(f.SaveDialog1->nameFilters(), QStringList{QStringLiteral("*.set (*.set)")});
    QVERIFY(f.SaveDialog1->defaultSuffix().isEmpty());
    QCOMPARE(f.SaveDialog2->nameFilters(), QStringList{QStringLiteral("*.txt (*.txt)")});
    QCOMPARE(f.SaveDialog2->selectedFiles().value(0).section(QLatin1Char('/'), -1), QStringLiteral("Report.txt"));
}

void MainWindowTest::layoutMatchesTheGeometryTable() {
    // The geometry table of the three windows: each control with its parent's
    // coordinates (x, y, width, height); the windows have no frame on this platform.
    WindowSet w;
    TForm1& f = *w.main;
    TFProgrammchange& p = *w.programs;
    TFInformationen& i = *w.information;
    QList<QPair<QWidget*, QRect>> table{
        {&f, {259, 95, 494, 639}},           {f.MMLED1, {181, 5, 284, 33}},     {f.Panel1, {6, 5, 121, 33}},
        {f.CFastPlay, {8, 8, 97, 17}},       {f.Panel2, {7, 5, 121, 33}},       {f.CFormat, {5, 8, 97, 17}},
        {f.ListBox1, {6, 76, 230, 433}},     {f.BConvert, {364, 544, 100, 33}}, {f.Aktualisieren, {7, 514, 459, 25}},
        {f.Button1, {244, 544, 110, 33}},    {f.Panel3, {7, 48, 232, 24}},      {f.Panel4, {242, 48, 232, 24}},
        {f.ListBox2, {240, 77, 230, 433}},   {f.Vocoder, {9, 548, 291, 24}},    {f.VelPanel, {134, 16, 37, 22}},
        {&p, {191, 112, 462, 423}},          {p.Panel1, {8, 8, 441, 377}},
        {p.RowPanels[0], {8, 32, 209, 49}},  {p.RowPanels[1], {8, 88, 209, 49}},  {p.RowPanels[2], {8, 144, 209, 49}},
        {p.RowPanels[3], {8, 200, 209, 49}}, {p.RowPanels[4], {8, 256, 209, 49}}, {p.RowPanels[5], {8, 312, 209, 49}},
        {p.RowPanels[6], {224, 32, 209, 49}},  {p.RowPanels[7], {224, 88, 209, 49}},
        {p.RowPanels[8], {224, 144, 209, 49}}, {p.RowPanels[9], {224, 200, 209, 49}},
        {p.RowPanels[10], {224, 256, 209, 49}}, {p.RowPanels[11], {224, 312, 209, 49}},
        {&i, {208, 462, 721, 198}},          {i.Panel1, {7, 8, 266, 46}},       {i.Panel2, {275, 8, 431, 46}},
        {i.Panel3, {5, 58, 704, 100}},       {i.ECopyright, {4, 20, 257, 21}},  {i.ETrackname, {4, 20, 422, 21}},
        {i.CKanV[0], {3, 21, 83, 21}},       {i.CKanV[1], {90, 21, 83, 21}},    {i.CKanV[2], {177, 21, 83, 21}},
        {i.CKanV[3], {263, 20, 83, 21}},     {i.CKanV[4], {352, 20, 83, 21}},   {i.CKanV[5], {443, 20, 83, 21}},
        {i.CKanV[6], {530, 20, 83, 21}},     {i.CKanV[7], {617, 20, 83, 21}},
        {i.CKanT[0], {2, 69, 83, 21}},       {i.CKanT[1], {89, 69, 83, 21}},    {i.CKanT[2], {176, 69, 83, 21}},
        {i.CKanT[3], {262, 68, 83, 21}},     {i.CKanT[4], {351, 68, 83, 21}},   {i.CKanT[5], {442, 68, 83, 21}},
        {i.CKanT[6], {529, 68, 83, 21}},     {i.CKanT[7], {616, 68, 83, 21}},
    };
    // The four fields of every program-change row stand alike within their row.
    for (int row = 0; row < 12; ++row) {
        table += {{p.MSBQ[row], {8, 24, 33, 21}}, {p.PRGQ[row], {48, 24, 33, 21}},
                  {p.MSBD[row], {128, 24, 33, 21}}, {p.PRGD[row], {168, 24, 33, 21}}};
    }
    // The first row of the table whose control stands elsewhere, or nothing.
    auto check = [&table] {
        for (qsizetype row = 0; row < table.size(); ++row) {
            const QRect at = table[row].first->geometry();
            if (at != table[row].second)
                return QStringLiteral("row %1 %2 stands at %3,%4 %5x%6")
                    .arg(row).arg(table[row].first->metaObject()->className())
                    .arg(at.x()).arg(at.y()).arg(at.width()).arg(at.height());
        }
        return QString();
    };
    QCOMPARE(check(), QString());

    // The client area starts below the menu bar, so the controls keep their
    // places; resizing the window moves none of them.
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    QCOMPARE(f.centralWidget()->geometry().top(), f.menuBar()->geometry().bottom() + 1);
    f.resize(700, 800);
    table.removeFirst();
    QCOMPARE(check(), QString());
}

void MainWindowTest::settingsWindowsControls() {
    WindowSet w;
    TForm1& f = *w.main;
    QCOMPARE(f.Label1->pos(), QPoint(146, 3));
    QCOMPARE(f.MMSlider1->size(), QSize(217, 32));
    QCOMPARE(f.CFastPlay->parentWidget(), f.Panel1);
    QCOMPARE(f.CFormat->parentWidget(), f.Panel2);
    QCOMPARE(f.MMLED1->parentWidget(), f.centralWidget());

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
    QStringList headings;
    for (QLabel* label : p.Panel1->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly)) {
        QVERIFY(label->font().bold());
        headings << QStringLiteral("%1@%2,%3").arg(label->text()).arg(label->x()).arg(label->y());
    }
    QCOMPARE(headings, (QStringList{"Quell@32,16", "Ziel@168,16", "Quell@256,16", "Ziel@384,16"}));

    TFInformationen& i = *w.information;
    QCOMPARE(i.Label1->text(), QStringLiteral("COPYRIGHT"));
    QCOMPARE(i.Label1->pos(), QPoint(7, 4));
    QCOMPARE(i.Label2->text(), QStringLiteral("TRACKNAME"));
    QCOMPARE(i.Label2->pos(), QPoint(5, 4));
    QCOMPARE(i.Label3->text(), QStringLiteral("KANALTAUSCHEN"));
    QCOMPARE(i.Label3->pos(), QPoint(267, 5));
    QCOMPARE(i.Label3->font().pixelSize(), 9);
    QCOMPARE(i.ETrackname->text(), QStringLiteral("VELMOTRIX"));
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

void MainWindowTest::missingFoldersGiveEmptyLists() {
    WindowSet w;
    QCOMPARE(w.main->ListBox1->count(), 0);
    QCOMPARE(w.main->ListBox2->count(), 0);
    w.main->BConvert->click();
    QVERIFY(w.messages.isEmpty());
    QVERIFY(!fs::exists(w.File("Convert")));  // the program never creates a folder
}

void MainWindowTest::velocityDisplayFollowsTheSlider() {
    WindowSet w;
    TForm1& f = *w.main;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));

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

    // Arrow keys and the wheel on the display move the slider within 0 to 127.
    f.VelPanel->setFocus();
    QTest::keyClick(f.VelPanel, Qt::Key_Down);
    QCOMPARE(f.VelocityThreshold(), 12);
    QTest::keyClick(f.VelPanel, Qt::Key_PageUp);
    QCOMPARE(f.VelocityThreshold(), 22);
    f.MMSlider1->setValue(126);
    QTest::keyClick(f.VelPanel, Qt::Key_PageUp);
    QCOMPARE(f.VelocityThreshold(), 127);
    f.MMSlider1->setValue(0);
    QTest::keyClick(f.VelPanel, Qt::Key_Down);
    QCOMPARE(f.VelocityThreshold(), 0);
}

void MainWindowTest::minimiseAndTheNotificationIcon() {
    WindowSet w;
    TForm1& f = *w.main;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    QVERIFY(f.TrayIcon1->toolTip().isEmpty());
    QVERIFY(f.TrayIcon1->contextMenu() == nullptr);
    QCOMPARE(f.TrayIcon1->isVisible(), QSystemTrayIcon::isSystemTrayAvailable());

    // Without a notification area the window is only minimised, never hidden.
    f.showMinimized();
    QTest::qWait(20);
    if (!QSystemTrayIcon::isSystemTrayAvailable()) QVERIFY(!f.isHidden());

    // A double click on the icon brings the window back to the front.
    f.hide();
    emit f.TrayIcon1->activated(QSystemTrayIcon::Trigger);
    QVERIFY(f.isHidden());
    emit f.TrayIcon1->activated(QSystemTrayIcon::DoubleClick);
    QVERIFY(f.isVisible());
    QVERIFY(!f.isMinimized());
}

void MainWindowTest::menuEntriesOpenTheSettingsWindows() {
    WindowSet w;
    w.main->Soundaenderungen1->trigger();
    QVERIFY(w.programs->isVisible());
    QVERIFY(!w.information->isVisible());
    w.main->Zusatzinformationen1->trigger();
    QVERIFY(w.information->isVisible());
    // Closing the main window closes them too.
    w.main->close();
    QVERIFY(!w.programs->isVisible());
    QVERIFY(!w.information->isVisible());
}

void MainWindowTest::errorInAHandlerIsShownAndTheProgramGoesOn() {
    WindowSet w;
    w.programs->PRGQ[2]->setText(QStringLiteral("a"));
    QVERIFY(w.messages.isEmpty());  // typing is not interrupted
    // The conversion's gathering fails; its error is shown and the program goes on.
    w.main->BConvert->click();
    QCOMPARE(w.messages, QStringList{QStringLiteral("'a' ist kein g\u00fcltiger Integerwert")});
    QVERIFY(w.main->BConvert->isEnabled());
    // The window keeps working: a valid entry is gathered again.
    w.programs->PRGQ[2]->setText(QStringLiteral("12"));
    QCOMPARE(w.programs->Block.PRGQ[2], 12);
    QCOMPARE(w.messages.size(), 1);
}

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
