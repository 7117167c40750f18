#include "Unit1.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QFileDialog>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QSlider>
#include <QSystemTrayIcon>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <optional>

#include "Finfo.h"
#include "FolderConversion.h"
#include "MessageDisplay.h"
#include "Progr.h"
#include "SettingsInEffect.h"
#include "StandardMidifile.h"
#include "WindowLook.h"
#include "settings/Report.h"
#include "settings/SetupFile.h"
#include "widgets/AppIcon.h"
#include "widgets/LedLamp.h"
#include "widgets/LedNumber.h"

TForm1* Form1 = nullptr;

namespace {

// Each top-level menu caption ends in ten blanks, which widen the entries.
const QString kMenuPad(10, QLatin1Char(' '));

std::string FileSystemName(const QString& fileName) { return QFile::encodeName(fileName).toStdString(); }

QString DisplayName(const std::string& name) { return QFile::decodeName(QByteArray::fromStdString(name)); }

void FillList(QListWidget* list, const std::vector<std::string>& names) {
    list->clear();
    for (const auto& name : names) list->addItem(DisplayName(name));
}

// Where the program remembers "Einstellungen anwenden" between runs.
const QString kApplySettingsKey = QStringLiteral("ApplySettings");

QSettings StoredOptions() { return QSettings(QStringLiteral("Tonalux"), QStringLiteral("Tonalux")); }

QCheckBox* MakeCheckBox(QWidget* parent, const QRect& geometry, const QString& caption, bool ticked) {
    auto* box = new QCheckBox(caption, parent);
    box->setGeometry(geometry);
    box->setChecked(ticked);
    return box;
}

}  // namespace

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral("Tonalux & Belvorta"));
    setWindowIcon(TonaluxIcon());
    setFont(SansFont(11));
    PlaceWindow(this, QRect(259, 95, 494, 639));

    BuildControls();
    BuildMenu();
    BuildDialogs();
    BuildTrayIcon();
    tonalux::SetEngineHost(this);

    RunGuarded([this] { FormCreate(); }, this);
}

TForm1::~TForm1() {
    if (&tonalux::CurrentEngineHost() == this) tonalux::SetEngineHost(nullptr);
}

void TForm1::BuildControls() {
    auto* client = new QWidget(this);
    setCentralWidget(client);

    MMLED1 = new LedLamp(client);
    MMLED1->setGeometry(181, 5, 284, 33);

    Label1 = new QLabel(QStringLiteral("Vel."), client);
    Label1->setGeometry(146, 3, 18, 13);
    Label1->resize(std::max(18, Label1->sizeHint().width()), 13);

    Panel1 = MakePanel(client, QRect(6, 5, 121, 33));
    CFastPlay = MakeCheckBox(Panel1, QRect(8, 8, 97, 17), QStringLiteral("Start auf Tatkt 1"), false);
    CFastPlay->setEnabled(false);
    Panel1->hide();
    connect(CFastPlay, &QCheckBox::clicked, this, &TForm1::CFastPlayClick);

    Panel2 = MakePanel(client, QRect(7, 5, 121, 33));
    CFormat = MakeCheckBox(Panel2, QRect(5, 8, 97, 17), QStringLiteral("Midiformat 0"), true);
    connect(CFormat, &QCheckBox::toggled, this, [this] { RunGuarded([this] { CFormatClick(); }, this); });

    Panel3 = MakeHeadingPanel(client, QRect(7, 48, 232, 24), QStringLiteral("Orginalfiles"));
    Panel4 = MakeHeadingPanel(client, QRect(242, 48, 232, 24), QStringLiteral("Convertfiles"));

    ListBox1 = new QListWidget(client);
    ListBox1->setGeometry(6, 76, 230, 433);
    SetTextColour(ListBox1, QColor(0, 0, 128));

    ListBox2 = new QListWidget(client);
    ListBox2->setGeometry(240, 77, 230, 433);
    SetTextColour(ListBox2, QColor(0, 128, 0));

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

    // Below the vocoder box, in the free strip under the buttons.
    CApplySettings = MakeCheckBox(client, QRect(9, 583, 230, 17), QString::fromLatin1(kApplySettingsCaption),
                                  StoredOptions().value(kApplySettingsKey, false).toBool());
    connect(CApplySettings, &QCheckBox::toggled, this, [this] { RunGuarded([this] { CApplySettingsClick(); }, this); });

    VelPanel = new LedNumber(3, client);
    VelPanel->setGeometry(134, 16, 37, 22);
    VelPanel->display(tonalux::kDefaultVelocityThreshold);
    VelPanel->setToolTip(QStringLiteral("Vel. 0 - 127"));

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
    connect(SetupLaden1, &QAction::triggered, this, &TForm1::SetupLaden1Click);
    connect(SetupSpeichern1, &QAction::triggered, this, &TForm1::SetupSpeichern1Click);
    connect(ListeSpeichern1, &QAction::triggered, this, &TForm1::ListeSpeichern1Click);

    // The two entries without items open the settings windows they are named after.
    Soundaenderungen1 = bar->addAction(QStringLiteral("Sound\u00e4nderungen") + kMenuPad);
    Zusatzinformationen1 = bar->addAction(QStringLiteral("Zusatzinformationen") + kMenuPad);
    auto open = [](QWidget* window) {
        if (!window) return;
        window->show();
        window->raise();
        window->activateWindow();
    };
    connect(Soundaenderungen1, &QAction::triggered, this, [this, open] { open(programs_); });
    connect(Zusatzinformationen1, &QAction::triggered, this, [this, open] { open(information_); });
}

void TForm1::BuildDialogs() {
    OpenDialog1 = new QFileDialog(this);
    OpenDialog1->setAcceptMode(QFileDialog::AcceptOpen);
    OpenDialog1->setFileMode(QFileDialog::ExistingFile);
    OpenDialog1->setNameFilter(QStringLiteral("*.set (*.set)"));

    SaveDialog1 = new QFileDialog(this);
    SaveDialog1->setAcceptMode(QFileDialog::AcceptSave);
    SaveDialog1->setFileMode(QFileDialog::AnyFile);
    SaveDialog1->setNameFilter(QStringLiteral("*.set (*.set)"));
    SaveDialog1->setOption(QFileDialog::DontConfirmOverwrite);

    SaveDialog2 = new QFileDialog(this);
    SaveDialog2->setAcceptMode(QFileDialog::AcceptSave);
    SaveDialog2->setFileMode(QFileDialog::AnyFile);
    SaveDialog2->setNameFilter(QStringLiteral("*.txt (*.txt)"));
    SaveDialog2->setOption(QFileDialog::DontConfirmOverwrite);
    SaveDialog2->selectFile(QStringLiteral("Report.txt"));
}

void TForm1::BuildTrayIcon() {
    TrayIcon1 = new QSystemTrayIcon(TonaluxIcon(), this);
    if (QSystemTrayIcon::isSystemTrayAvailable()) TrayIcon1->show();
    connect(TrayIcon1, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason != QSystemTrayIcon::DoubleClick) return;
        showNormal();
        raise();
        activateWindow();
    });
}

void TForm1::SetSettingsWindows(TFProgrammchange* programs, TFInformationen* information) {
    programs_ = programs;
    information_ = information;
    if (programs_) programs_->SetInformationWindow(information_);
    if (information_) information_->SetProgrammchangeWindow(programs_);
    if (programs_) programs_->ShowInEffect(CApplySettings->isChecked());
    if (information_) information_->ShowInEffect(CApplySettings->isChecked());
    RunGuarded(
        [this] {
            if (programs_) programs_->FormToBlock();
            if (information_) information_->FormToBlock();
        },
        this);
}

void TForm1::SetDialogRunner(DialogRunner runner) { dialogRunner_ = std::move(runner); }

QString TForm1::RunDialog(QFileDialog& dialog) {
    if (dialogRunner_) return dialogRunner_(dialog);
    if (dialog.exec() != QDialog::Accepted) return QString();
    const QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? QString() : chosen.front();
}

// ---- lists and conversion ---------------------------------------------------

void TForm1::FormCreate() {
    BaseFolder = tonalux::CurrentBaseFolder();
    // The folders the program works on, shown over the two lists.
    const tonalux::ConversionFolders folders = tonalux::DefaultFolders(BaseFolder);
    Panel3->setToolTip(DisplayName(folders.Input));
    Panel4->setToolTip(DisplayName(folders.Output));
    MidifileListeLaden();
    ConvertListeLaden();
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

void TForm1::SetCommandsEnabled(bool enabled) {
    for (QPushButton* button : {BConvert, Aktualisieren}) button->setEnabled(enabled);
    for (QAction* action : {SetupLaden1, SetupSpeichern1, ListeSpeichern1}) action->setEnabled(enabled);
    // The options and the threshold are read song by song: changing them
    // during a run would mix formats and thresholds in one batch.
    for (QWidget* option : {static_cast<QWidget*>(CFormat), static_cast<QWidget*>(Vocoder),
                            static_cast<QWidget*>(VelPanel), static_cast<QWidget*>(MMSlider1)})
        option->setEnabled(enabled);
    if (!enabled) SliderPopup->hide();
    // Every song of a run is converted with the settings or every song without.
    CApplySettings->setEnabled(enabled);
}

void TForm1::BConvertClick() {
    if (converting_) return;
    RunGuarded(
        [this] {
            lastRun_.clear();
            // A settings field that is not a number stops the conversion here,
            // and so does a program-change value outside its range when the
            // settings are to be applied.
            if (programs_) programs_->FormToBlock();
            if (information_) information_->FormToBlock();
            if (CApplySettings->isChecked() && programs_) {
                if (const auto problem = tonalux::SoundMappingProblem(programs_->Block)) {
                    ShowMessageBox(FromEightBit(*problem), this);
                    return;
                }
            }

            // The folders are checked once, before any song: an unusable
            // folder is one message naming it, and nothing is converted. A
            // missing Midifile/ only leaves the left list empty.
            const tonalux::ConversionFolders folders = tonalux::DefaultFolders(BaseFolder);
            std::optional<tonalux::FolderProblem> problem = tonalux::CheckRunFolders(folders, {}).Problem;
            // A missing Midifile/ only leaves the left list empty, and with no
            // song listed Convert/ is not needed.
            const bool missingInput = problem && problem->Role == tonalux::FolderRole::Input && problem->Error == ENOENT;
            const bool outputUnneeded = problem && problem->Role == tonalux::FolderRole::Output && midifileNames_.empty();
            if (missingInput || outputUnneeded) problem.reset();
            if (problem) {
                MidifileListeLaden();
                ConvertListeLaden();
                ShowMessageBox(FolderProblemText(*problem), this);
                return;
            }

            RunFolder(folders);
            MidifileListeLaden();
            ConvertListeLaden();

            // The right list shows what was written; only a run with a damaged,
            // failed or skipped song needs words, once the commands work again.
            const std::string summary = tonalux::RunSummary(lastRun_);
            if (!summary.empty() && !closing_) ShowMessageBox(FromEightBit(summary), this);
        },
        this);
}

void TForm1::RunFolder(const tonalux::ConversionFolders& folders) {
    // The engine's lists are process-wide: while the window lets input
    // through, nothing may start a second engine operation or refill the
    // list being walked.
    struct Running {
        TForm1& window;
        explicit Running(TForm1& w) : window(w) {
            window.converting_ = true;
            window.SetCommandsEnabled(false);
        }
        ~Running() {
            window.converting_ = false;
            window.SetCommandsEnabled(true);
            window.MMLED1->SetLit(false);
        }
    } running(*this);

    // The run's options are taken once, here: changing a control during the
    // run changes nothing for it.
    tonalux::RunChoices choices;
    choices.Format = CFormat->isChecked() ? tonalux::SaveFormat::Format0 : tonalux::SaveFormat::Format1;
    choices.StartFirstNote = CFastPlay->isChecked();
    choices.DeleteVocoderSysex = Vocoder->isChecked();
    choices.VelocityThreshold = VelPanel->intValue();
    std::optional<tonalux::SongSettings> settings;
    if (CApplySettings->isChecked() && programs_ && information_)
        settings = tonalux::SongSettings{programs_->Block, information_->Block};
    const tonalux::ConversionOptions options = tonalux::MakeConversionOptions(choices, settings);
    tonalux::ConversionHooks hooks;
    hooks.BeforeSong = [this](std::size_t index, const std::string&) {
        if (closing_) return false;
        ListBox1->setCurrentRow(static_cast<int>(index));
        ConvertListeLaden();
        QCoreApplication::processEvents();
        return !closing_;
    };
    hooks.Busy = [this](bool busy) { MMLED1->SetLit(busy); };
    // The list is taken once: songs added or removed later do not change the run.
    const std::vector<std::string> names = midifileNames_;
    lastRun_ = tonalux::ConvertFolder(&EngineOwner, folders, names, options, hooks);
}

QString TForm1::FolderProblemText(const tonalux::FolderProblem& problem) {
    return QStringLiteral("The folder %1 cannot be used: %2\nNothing was converted.")
        .arg(DisplayName(problem.Folder), FromEightBit(problem.Reason));
}

tonalux::StandardMidifile* TForm1::CurrentMidifile() const {
    // The conversion of one song creates its engine object with this window's
    // owner component and destroys it when the song is done.
    const auto& owned = EngineOwner.Components();
    return owned.empty() ? nullptr : dynamic_cast<tonalux::StandardMidifile*>(owned.back());
}

void TForm1::CFormatClick() {
    if (information_) information_->Block.Format0 = CFormat->isChecked() ? 1 : 0;
}

void TForm1::CApplySettingsClick() {
    const bool apply = CApplySettings->isChecked();
    StoredOptions().setValue(kApplySettingsKey, apply);
    if (programs_) programs_->ShowInEffect(apply);
    if (information_) information_->ShowInEffect(apply);
}

void TForm1::MMSlider1Change(int position) { VelPanel->display(position); }

void TForm1::ShowSliderPopup() {
    SliderPopup->move(VelPanel->mapToGlobal(QPoint(0, VelPanel->height() + 2)));
    SliderPopup->show();
    MMSlider1->setFocus();
}

// ---- setup files and report -------------------------------------------------

void TForm1::SetupLaden1Click() {
    if (converting_) return;
    RunGuarded([this] { LoadSetup(RunDialog(*OpenDialog1)); }, this);
}

void TForm1::SetupSpeichern1Click() {
    if (converting_) return;
    RunGuarded([this] { SaveSetup(RunDialog(*SaveDialog1)); }, this);
}

void TForm1::ListeSpeichern1Click() {
    if (converting_) return;
    RunGuarded([this] { SaveReport(RunDialog(*SaveDialog2)); }, this);
}

void TForm1::LoadSetup(const QString& fileName) {
    if (!programs_ || !information_) return;
    if (!fileName.isEmpty()) {
        const auto outcome =
            tonalux::settings::LoadSetupFile(FileSystemName(fileName), programs_->Block, information_->Block);
        if (outcome == tonalux::settings::SetupLoadOutcome::WrongSize) {
            ShowMessageBox(QStringLiteral("Keine g\u00fcltige Setupdatei: %1").arg(fileName), this);
            return;
        }
    }
    programs_->BlockToForm();
    information_->BlockToForm();
}

void TForm1::SaveSetup(const QString& fileName) {
    if (fileName.isEmpty() || !programs_ || !information_) return;
    programs_->FormToBlock();
    information_->FormToBlock();
    const auto outcome = tonalux::settings::SaveSetupFile(tonalux::settings::SetupFileName(FileSystemName(fileName)),
                                                          programs_->Block, information_->Block);
    for (const auto& message : tonalux::settings::SetupSaveMessages(outcome))
        ShowMessageBox(FromEightBit(message), this);
}

void TForm1::SaveReport(const QString& fileName) {
    if (fileName.isEmpty()) return;
    if (!tonalux::settings::SaveReport(FileSystemName(fileName), convertNames_))
        ShowMessageBox(FromEightBit(tonalux::settings::ReportErrorMessage(FileSystemName(fileName))), this);
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
    // A running conversion stops after the song it is on.
    if (converting_) closing_ = true;
    if (programs_) programs_->close();
    if (information_) information_->close();
    SliderPopup->hide();
    event->accept();
}
