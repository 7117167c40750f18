#include "Unit1.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCompleter>
#include <QAbstractItemView>
#include <QCoreApplication>
#include <QFile>
#include <QFileDialog>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QSlider>
#include <QScrollArea>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <optional>

#include "FileNames.h"
#include "Finfo.h"
#include "FolderConversion.h"
#include "MessageDisplay.h"
#include "Progr.h"
#include "RememberedOptions.h"
#include "SettingsInEffect.h"
#include "TrayIcon.h"
#include "WorkingFolder.h"
#include "StandardMidifile.h"
#include "WindowLook.h"
#include "song/SongWindow.h"
#include "sheets/Songbook.h"
#include "settings/Report.h"
#include "settings/SetupFile.h"
#include "widgets/AppIcon.h"
#include "widgets/LedLamp.h"
#include "widgets/LedNumber.h"

TForm1* Form1 = nullptr;

namespace {

// Each top-level menu caption ends in ten blanks, which widen the entries.
const QString kMenuPad(10, QLatin1Char(' '));

void FillList(QListWidget* list, const std::vector<std::string>& names) {
    list->clear();
    for (const auto& name : names) list->addItem(DisplayName(name));
}

// The strip under the given controls: "Einstellungen anwenden",
// "Akkorde ergänzen" and "Liedtext fürs Keyboard" side by side, the song-start
// option "Start auf Tatkt 1" below them, always in sight, and the run's state
// below that.
constexpr QRect kApplySettingsPlace(9, 583, 162, 19);
constexpr QRect kAddChordsPlace(174, 583, 132, 19);
constexpr QRect kKeyboardLyricsPlace(309, 583, 170, 19);
constexpr QRect kSongStartPlace(9, 604, 162, 19);
constexpr QRect kRunStatePlace(9, 625, 461, 17);
// Over the right part of the state line while a run goes on.
constexpr QRect kProgressPlace(330, 625, 140, 17);

QCheckBox* MakeCheckBox(QWidget* parent, const QRect& geometry, const QString& caption, bool ticked) {
    auto* box = new QCheckBox(caption, parent);
    box->setGeometry(geometry);
    box->setChecked(ticked);
    return box;
}


// The client area: every control's given place, with the added strip below.
constexpr QSize kClientSize(486, 646);
// Room for the window manager's frame and title bar around the window.
constexpr QSize kFrameAllowance(8, 32);

}  // namespace

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral("Tonalux & Belvorta"));
    setWindowIcon(TonaluxIcon());
    setFont(SansFont(11));

    BuildControls();
    BuildMenu();
    BuildHelpMenu();
    BuildDialogs();
    setAcceptDrops(true);
    TrayIcon1 = new TrayIcon(this);
    if (QSystemTrayIcon::isSystemTrayAvailable()) TrayIcon1->show();
    FitToScreen();
    RestorePosition();
    tonalux::SetEngineHost(this);

    RunGuarded([this] { FormCreate(); }, this);
}

TForm1::~TForm1() {
    // The song windows go first, while the list that tracks them still exists.
    const std::vector<SongWindow*> songs = SongWindows;
    SongWindows.clear();
    for (SongWindow* song : songs) {
        disconnect(song, nullptr, this, nullptr);
        delete song;
    }
    if (&tonalux::CurrentEngineHost() == this) tonalux::SetEngineHost(nullptr);
}

void TForm1::FitToScreen() {
    // The layout is fixed: the window is exactly as large as its controls
    // need, and cannot be resized into a broken layout. Where the screen is
    // smaller, the window takes the screen and its client area scrolls.
    const QRect screen = this->screen()->availableGeometry();
    const int menuHeight = menuBar()->sizeHint().height();
    const QSize wanted(kClientSize.width(), kClientSize.height() + menuHeight);
    QSize fitted = wanted.boundedTo(screen.size() - kFrameAllowance);
    // A client area that scrolls up and down needs room for its scroll bar.
    if (fitted.height() < wanted.height())
        fitted.setWidth(std::min(screen.width() - kFrameAllowance.width(),
                                 fitted.width() + style()->pixelMetric(QStyle::PM_ScrollBarExtent)));
    setFixedSize(fitted);
    // At its given place, moved just enough to lie whole on the screen.
    const QSize frame = fitted + kFrameAllowance;
    const QPoint at = OnScreen(QRect(QPoint(259, 95), frame), screen);
    PlaceWindow(this, QRect(at, fitted));
}

void TForm1::BuildControls() {
    ClientArea = new QScrollArea(this);
    ClientArea->setFrameShape(QFrame::NoFrame);
    ClientArea->setWidgetResizable(false);
    Client = new QWidget;
    Client->setFixedSize(kClientSize);
    ClientArea->setWidget(Client);
    setCentralWidget(ClientArea);
    QWidget* client = Client;

    MMLED1 = new LedLamp(client);
    MMLED1->setGeometry(181, 5, 284, 33);

    Label1 = new QLabel(QStringLiteral("Vel."), client);
    Label1->setGeometry(146, 3, 18, 13);
    Label1->resize(std::max(18, Label1->sizeHint().width()), 13);

    // The given panel of the song-start option stays hidden under "Midiformat
    // 0"; the option itself stands in the strip below the given controls,
    // where it can always be seen and switched (BuildChecks).
    Panel1 = MakePanel(client, QRect(6, 5, 121, 33));
    Panel1->hide();

    Panel2 = MakePanel(client, QRect(7, 5, 121, 33));
    CFormat = MakeCheckBox(Panel2, QRect(5, 8, 97, 17), QStringLiteral("Midiformat 0"), true);
    connect(CFormat, &QCheckBox::toggled, this, [this] { RunGuarded([this] { CFormatClick(); }, this); });

    Panel3 = MakeHeadingPanel(client, QRect(7, 48, 232, 24), QStringLiteral("Orginalfiles"));
    Panel4 = MakeHeadingPanel(client, QRect(242, 48, 232, 24), QStringLiteral("Convertfiles"));

    ListBox1 = new QListWidget(client);
    ListBox1->setGeometry(6, 76, 230, 433);
    SetTextColour(ListBox1, QColor(0, 0, 128));
    // Several songs can be selected and converted on their own.
    ListBox1->setSelectionMode(QAbstractItemView::ExtendedSelection);

    ListBox2 = new QListWidget(client);
    ListBox2->setGeometry(240, 77, 230, 433);
    SetTextColour(ListBox2, QColor(0, 128, 0));
    ListBox2->setSelectionMode(QAbstractItemView::ExtendedSelection);
    for (QListWidget* list : {ListBox1, ListBox2})
        connect(list, &QListWidget::itemActivated, this, &TForm1::SongActivated);

    Aktualisieren = new QPushButton(QStringLiteral("&Midifiles Aktualisieren"), client);
    Aktualisieren->setGeometry(7, 514, 459, 25);
    connect(Aktualisieren, &QPushButton::clicked, this, &TForm1::AktualisierenClick);

    Button1 = new QPushButton(QStringLiteral("&Single Convert"), client);
    Button1->setGeometry(244, 544, 110, 33);
    Button1->hide();

    BConvert = new QPushButton(QStringLiteral("&FolderConvert"), client);
    BConvert->setGeometry(364, 544, 100, 33);
    connect(BConvert, &QPushButton::clicked, this, &TForm1::BConvertClick);

    Vocoder = MakeCheckBox(client, QRect(9, 548, 291, 24), QStringLiteral("Yamaha Vocoder Sysex delete"), true);
    Vocoder->setFont(SansFont(19));

    BuildChecks(client);

    VelPanel = new LedNumber(3, client);
    VelPanel->setGeometry(134, 16, 37, 22);
    VelPanel->display(tonalux::kDefaultVelocityThreshold);
    VelPanel->setToolTip(QStringLiteral("Vel. 0 - 127"));
    BuildSlider();
    // Tab order: the options, then the threshold, then the lists and buttons.
    setTabOrder(CFormat, VelPanel);
    setTabOrder(VelPanel, ListBox1);
}

void TForm1::BuildChecks(QWidget* client) {
    CFastPlay = MakeCheckBox(client, kSongStartPlace, QStringLiteral("Start auf Tatkt 1"), false);
    CFastPlay->setToolTip(tr("Every converted song starts at its first note"));
    connect(CFastPlay, &QCheckBox::toggled, this, [this] { RunGuarded([this] { CFastPlayClick(); }, this); });
    CApplySettings = MakeCheckBox(client, kApplySettingsPlace, QString::fromLatin1(kApplySettingsCaption), false);
    connect(CApplySettings, &QCheckBox::toggled, this, [this] { RunGuarded([this] { CApplySettingsClick(); }, this); });
    CAddChords = MakeCheckBox(client, kAddChordsPlace, QStringLiteral("Akkorde erg\u00e4nzen"), false);
    CAddChords->setToolTip(tr("Adds chord symbols to songs that have none"));
    connect(CAddChords, &QCheckBox::toggled, this, [this] { RememberOptions(); });
    CKeyboardLyrics = MakeCheckBox(client, kKeyboardLyricsPlace, QStringLiteral("Liedtext f\u00fcrs Keyboard"), false);
    CKeyboardLyrics->setToolTip(tr("Writes the words of karaoke songs as lyrics the keyboard shows"));
    connect(CKeyboardLyrics, &QCheckBox::toggled, this, [this] { RememberOptions(); });
    connect(Vocoder, &QCheckBox::toggled, this, [this] { RememberOptions(); });
    RunState = new QLabel(client);
    RunState->setGeometry(kRunStatePlace);
    RunState->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Progress = new QProgressBar(client);
    Progress->setGeometry(kProgressPlace);
    Progress->setTextVisible(true);
    Progress->setFormat(QStringLiteral("%v / %m"));
    Progress->hide();
}

void TForm1::BuildSlider() {
    // The slider would cover the lamp where it stands, so it opens below the
    // display when the display is clicked; the wheel and the arrow keys on the
    // display move it too.
    SliderPopup = new QFrame(this, Qt::Popup);
    SliderPopup->setFrameShape(QFrame::Panel);
    SliderPopup->setFrameShadow(QFrame::Raised);
    SliderPopup->resize(217, 32);
    MMSlider1 = new QSlider(Qt::Horizontal, SliderPopup);
    MMSlider1->setGeometry(0, 0, 217, 32);
    MMSlider1->setRange(0, 127);
    MMSlider1->setValue(tonalux::kDefaultVelocityThreshold);
    MMSlider1->setTickPosition(QSlider::NoTicks);
    connect(MMSlider1, &QSlider::valueChanged, this, &TForm1::MMSlider1Change);
    connect(VelPanel, &LedNumber::Clicked, this, &TForm1::ShowSliderPopup);
    connect(VelPanel, &LedNumber::StepRequested, this,
            [this](int steps) { MMSlider1->setValue(MMSlider1->value() + steps); });
}

void TForm1::BuildMenu() {
    QMenuBar* bar = menuBar();
    QMenu* main = bar->addMenu(QStringLiteral("Hauptmen\u00fc") + kMenuPad);
    main->setSeparatorsCollapsible(false);
    Hauptmenue1 = main->menuAction();
    main->addSeparator();
    SetupLaden1 = main->addAction(QStringLiteral("&Setup Laden"));
    main->addSeparator();
    SetupSpeichern1 = main->addAction(QStringLiteral("&Setup Speichern"));
    main->addSeparator();
    ListeSpeichern1 = main->addAction(QStringLiteral("ListeSpeichern"));
    main->addSeparator();
    // Added after the given items.
    SaveOutcomes1 = main->addAction(tr("Save report with &outcomes..."));
    OpenConvert1 = main->addAction(tr("Open the &Convert folder"));
    ChooseFolder1 = main->addAction(tr("Choose &working folder..."));
    connect(SetupLaden1, &QAction::triggered, this, &TForm1::SetupLaden1Click);
    connect(SetupSpeichern1, &QAction::triggered, this, &TForm1::SetupSpeichern1Click);
    connect(ListeSpeichern1, &QAction::triggered, this, &TForm1::ListeSpeichern1Click);
    connect(SaveOutcomes1, &QAction::triggered, this, &TForm1::SaveOutcomes1Click);
    connect(OpenConvert1, &QAction::triggered, this, &TForm1::OpenConvert1Click);
    connect(ChooseFolder1, &QAction::triggered, this, &TForm1::ChooseFolder1Click);
    Songbook1 = main->addAction(QStringLiteral("Liederbuch als PDF\u2026"));
    connect(Songbook1, &QAction::triggered, this, [this] {
        const tonalux::ConversionFolders folders = tonalux::DefaultFolders(BaseFolder);
        QStringList selected;
        for (const QModelIndex& row : ListBox1->selectionModel()->selectedRows())
            selected << QString::fromStdString(folders.Input + midifileNames_.at(static_cast<std::size_t>(row.row())));
        for (const QModelIndex& row : ListBox2->selectionModel()->selectedRows())
            selected << QString::fromStdString(folders.Output + convertNames_.at(static_cast<std::size_t>(row.row())));
        tonalux::OfferSongbook(this, QString::fromStdString(folders.Output), selected);
    });

    // The two entries without items open the settings windows they are named after.
    Soundaenderungen1 = bar->addAction(QStringLiteral("Sound\u00e4nderungen") + kMenuPad);
    Zusatzinformationen1 = bar->addAction(QStringLiteral("Zusatzinformationen") + kMenuPad);
    connect(Soundaenderungen1, &QAction::triggered, this, [this] { ShowSettingsWindow(programs_); });
    connect(Zusatzinformationen1, &QAction::triggered, this, [this] { ShowSettingsWindow(information_); });
}

void TForm1::BuildDialogs() {
    auto make = [this](QFileDialog::AcceptMode mode, const QString& filter) {
        auto* dialog = new QFileDialog(this);
        dialog->setAcceptMode(mode);
        dialog->setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
        dialog->setNameFilter(filter);
        return dialog;
    };
    // The save dialogs ask before they replace a file.
    OpenDialog1 = make(QFileDialog::AcceptOpen, QStringLiteral("*.set (*.set)"));
    SaveDialog1 = make(QFileDialog::AcceptSave, QStringLiteral("*.set (*.set)"));
    SaveDialog2 = make(QFileDialog::AcceptSave, QStringLiteral("*.txt (*.txt)"));
    SaveDialog2->selectFile(QStringLiteral("Report.txt"));
    OutcomeDialog = make(QFileDialog::AcceptSave, QStringLiteral("*.txt (*.txt)"));
    OutcomeDialog->selectFile(QStringLiteral("Report.txt"));
    // The window asks itself before a file is replaced, also when ".set" is
    // added to the chosen name after the dialog.
    for (QFileDialog* dialog : {SaveDialog1, SaveDialog2, OutcomeDialog})
        dialog->setOption(QFileDialog::DontConfirmOverwrite);
    FolderDialog = new QFileDialog(this, tr("Choose working folder"));
    FolderDialog->setFileMode(QFileDialog::Directory);
    FolderDialog->setOption(QFileDialog::ShowDirsOnly);
}

void TForm1::SetSettingsWindows(TFProgrammchange* programs, TFInformationen* information) {
    programs_ = programs;
    information_ = information;
    if (programs_) programs_->SetInformationWindow(information_);
    if (information_) information_->SetProgrammchangeWindow(programs_);
    for (QWidget* window : {static_cast<QWidget*>(programs_), static_cast<QWidget*>(information_)}) {
        if (!window) continue;
        // Escape closes a settings window.
        auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), window);
        connect(escape, &QShortcut::activated, window, &QWidget::close);
    }
    if (programs_) connect(programs_, &TFProgrammchange::Gathered, this, &TForm1::RememberOptions);
    if (information_) connect(information_, &TFInformationen::Gathered, this, &TForm1::RememberOptions);
    RunGuarded(
        [this] {
            if (programs_) programs_->FormToBlock();
            if (information_) information_->FormToBlock();
        },
        this);
    RestoreOptions();
    if (programs_) programs_->ShowInEffect(CApplySettings->isChecked());
    if (information_) information_->ShowInEffect(CApplySettings->isChecked());
}

void TForm1::ShowSettingsWindow(QWidget* window, QWidget* field) {
    if (!window) return;
    // Below the main window's menu bar, and whole on the screen: also once
    // the window manager has put its frame around a window opened the first time.
    // The menu bar and the line of pixels below it.
    window->setProperty(kKeepClearProperty,
                        QRect(menuBar()->mapToGlobal(QPoint(0, 0)), menuBar()->size() + QSize(0, 1)));
    window->show();
    KeepOnScreen(window);
    window->raise();
    window->activateWindow();
    if (field) field->setFocus();
}

void TForm1::SetDialogRunner(DialogRunner runner) { dialogRunner_ = std::move(runner); }

QString TForm1::RunDialog(QFileDialog& dialog) {
    const QString chosen = [&] {
        if (dialogRunner_) return dialogRunner_(dialog);
        if (dialog.exec() != QDialog::Accepted) return QString();
        const QStringList files = dialog.selectedFiles();
        return files.isEmpty() ? QString() : files.front();
    }();
    // The completer of the dialog's name field is a window of its own; a list
    // it had open must not stay over the main window's lists.
    for (QCompleter* completer : dialog.findChildren<QCompleter*>())
        if (completer->popup()) completer->popup()->hide();
    return chosen;
}

// ---- lists ------------------------------------------------------------------

void TForm1::FormCreate() {
    SetWorkingFolder(QString());
}

void TForm1::SetWorkingFolder(const QString& folder) {
    BaseFolder = folder.isEmpty() ? StartBaseFolder(StoredOptions().value(kWorkingFolderKey).toString())
                                  : FileSystemName(folder) + (folder.endsWith('/') ? "" : "/");
    // The folders the program works on, shown over the two lists.
    const tonalux::ConversionFolders folders = tonalux::DefaultFolders(BaseFolder);
    Panel3->setToolTip(DisplayName(folders.Input));
    Panel4->setToolTip(DisplayName(folders.Output));
    MidifileListeLaden();
    ConvertListeLaden();
    const std::vector<std::string> missing = MissingFolders(BaseFolder);
    RunState->setText(missing.empty() ? DisplayName(BaseFolder)
                                      : tr("Missing: %1 - \"%2\" offers to create it")
                                            .arg(DisplayName(missing.front()), ShownCaption(BConvert->text())));
}

bool TForm1::MidifileListeLaden() {
    midifileNames_ = tonalux::ListMidiFolder(BaseFolder + tonalux::kInputFolder);
    FillList(ListBox1, midifileNames_);
    return true;
}

bool TForm1::ConvertListeLaden() {
    convertNames_ = tonalux::ListMidiFolder(BaseFolder + tonalux::kOutputFolder);
    FillList(ListBox2, convertNames_);
    return true;
}

void TForm1::AktualisierenClick() {
    if (converting_) return;
    RunGuarded(
        [this] {
            MidifileListeLaden();
            ConvertListeLaden();
        },
        this);
}

void TForm1::CFormatClick() {
    if (information_) information_->Block.Format0 = CFormat->isChecked() ? 1 : 0;
    RememberOptions();
}

void TForm1::CFastPlayClick() {
    if (information_) information_->Block.FastPlay = CFastPlay->isChecked() ? 1 : 0;
    RememberOptions();
}

void TForm1::CApplySettingsClick() {
    const bool apply = CApplySettings->isChecked();
    RememberOptions();
    if (programs_) programs_->ShowInEffect(apply);
    if (information_) information_->ShowInEffect(apply);
}

void TForm1::MMSlider1Change(int position) {
    VelPanel->display(position);
    RememberOptions();
}

void TForm1::ShowSliderPopup() {
    SliderPopup->move(VelPanel->mapToGlobal(QPoint(0, VelPanel->height() + 2)));
    SliderPopup->show();
    MMSlider1->setFocus();
}

// ---- engine host and window events ------------------------------------------

void TForm1::ShowMessage(const std::string& text) { ShowMessageBox(FromEightBit(text), this); }

void TForm1::ProcessMessages() { QCoreApplication::processEvents(); }

int TForm1::VelocityThreshold() const { return VelPanel->intValue(); }

void TForm1::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !isMinimized()) return;
    // Without a notification area the window stays on the task bar, so that
    // it can still be brought back.
    if (QSystemTrayIcon::isSystemTrayAvailable() && TrayIcon1->isVisible())
        QTimer::singleShot(0, this, [this] {
            if (isMinimized()) hide();
        });
}

void TForm1::closeEvent(QCloseEvent* event) {
    // A running conversion stops after the song it is on, when the user says
    // so; the window closes once the run has said how far it came.
    if (converting_) {
        event->ignore();
        if (closing_ || askingToStop_) return;
        askingToStop_ = true;
        closing_ = AskYesNo(tr("Stop converting?\n\nThe song being converted is finished; the songs after it "
                               "are left unconverted and the window closes."),
                            this);
        askingToStop_ = false;
        return;
    }
    RememberPosition();
    RememberOptions();
    if (programs_) programs_->close();
    if (information_) information_->close();
    SliderPopup->hide();
    event->accept();
}
