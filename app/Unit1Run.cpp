// "&FolderConvert": the checks before a run, the run with its count and the
// current song's name, and what the window says when it ends.
#include <QCheckBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QUrl>
#include <cerrno>
#include <optional>

#include "FileNames.h"
#include "Finfo.h"
#include "MessageDisplay.h"
#include "OutcomeTexts.h"
#include "Progr.h"
#include "SettingsProblems.h"
#include "StandardMidifile.h"
#include "SummaryDialog.h"
#include "TrayIcon.h"
#include "Unit1.h"
#include "WorkingFolder.h"
#include "widgets/LedLamp.h"
#include "widgets/LedNumber.h"

void TForm1::SetCommandsEnabled(bool enabled) {
    for (QPushButton* button : {BConvert, Aktualisieren}) button->setEnabled(enabled);
    for (QAction* action : {SetupLaden1, SetupSpeichern1, ListeSpeichern1, SaveOutcomes1, ChooseFolder1, Songbook1})
        action->setEnabled(enabled);
    // The options and the threshold are read song by song: changing them
    // during a run would mix formats and thresholds in one batch. Every song
    // of a run is converted with the settings or every song without.
    for (QWidget* option : {static_cast<QWidget*>(CFormat), static_cast<QWidget*>(Vocoder),
                            static_cast<QWidget*>(VelPanel), static_cast<QWidget*>(MMSlider1),
                            static_cast<QWidget*>(CApplySettings), static_cast<QWidget*>(CAddChords),
                            static_cast<QWidget*>(CKeyboardLyrics)})
        option->setEnabled(enabled);
    if (!enabled) SliderPopup->hide();
}

bool TForm1::SettingsReady() {
    if (!programs_ || !information_) return true;
    // Unticked, the settings play no part in the run, whatever they hold.
    if (!CApplySettings->isChecked()) {
        GatherQuietly(programs_, information_);
        return true;
    }
    if (const auto problem = FindSettingsProblem(*programs_, *information_)) {
        ShowMessageBox(problem->Text, this);
        ShowSettingsWindow(problem->Window, problem->Field);
        return false;
    }
    return true;
}

bool TForm1::FoldersReady(const tonalux::ConversionFolders& folders) {
    // A missing folder is named, and created only when the user agrees.
    const std::vector<std::string> missing = MissingFolders(BaseFolder);
    if (!missing.empty()) {
        QStringList names;
        for (const auto& folder : missing) names << DisplayName(folder);
        const QString question =
            tr("The program works on the folders Midifile/ (the songs) and Convert/ (the results) in %1.\n\n"
               "Missing: %2\n\nCreate it now?")
                .arg(DisplayName(BaseFolder), names.join(QStringLiteral(", ")));
        if (!AskYesNo(question, this)) return false;
        if (const QString error = CreateFolders(missing); !error.isEmpty()) {
            ShowMessageBox(tr("The folder cannot be created: %1").arg(error), this);
            return false;
        }
        SetWorkingFolder(DisplayName(BaseFolder));
    }
    // The folders are checked once, before any song: an unusable folder is
    // one message naming it, and nothing is converted.
    if (const auto problem = tonalux::CheckRunFolders(folders, {}).Problem) {
        MidifileListeLaden();
        ConvertListeLaden();
        ShowMessageBox(FolderProblemText(*problem), this);
        return false;
    }
    if (midifileNames_.empty()) MidifileListeLaden();
    if (midifileNames_.empty()) {
        ShowMessageBox(tr("There are no songs (*.mid) in %1.").arg(DisplayName(folders.Input)), this);
        return false;
    }
    return true;
}

void TForm1::BConvertClick() {
    if (converting_) return;
    RunGuarded(
        [this] {
            lastRun_.clear();
            if (!SettingsReady()) return;
            const tonalux::ConversionFolders folders = tonalux::DefaultFolders(BaseFolder);
            if (!FoldersReady(folders)) return;
            const std::size_t listed = midifileNames_.size();
            RunFolder(folders);
            MidifileListeLaden();
            ConvertListeLaden();
            PresentRun(listed - lastRun_.size());
            if (closing_) close();
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
    choices.AddChords = CAddChords->isChecked();
    choices.KeyboardLyrics = CKeyboardLyrics->isChecked();
    std::optional<tonalux::SongSettings> settings;
    if (CApplySettings->isChecked() && programs_ && information_)
        settings = tonalux::SongSettings{programs_->Block, information_->Block};
    const tonalux::ConversionOptions options = tonalux::MakeConversionOptions(choices, settings);
    // The list is taken once: songs added or removed later do not change the run.
    const std::vector<std::string> names = midifileNames_;
    tonalux::ConversionHooks hooks;
    hooks.BeforeSong = [this, &names](std::size_t index, const std::string& name) {
        if (closing_) return false;
        ListBox1->setCurrentRow(static_cast<int>(index));
        ShowProgress(index, names.size(), name);
        ConvertListeLaden();
        QCoreApplication::processEvents();
        return !closing_;
    };
    hooks.Busy = [this](bool busy) { MMLED1->SetLit(busy); };
    lastRun_ = tonalux::ConvertFolder(&EngineOwner, folders, names, options, hooks);
}

void TForm1::ShowProgress(std::size_t index, std::size_t count, const std::string& name) {
    const QString state = tr("%1 of %2: %3").arg(index + 1).arg(count).arg(DisplayName(name));
    RunState->setText(state);
    TrayIcon1->SetState(tr("Converting %1").arg(state));
}

void TForm1::PresentRun(std::size_t left) {
    tonalux::RunCounts counts;
    bool allConverted = true;
    for (const auto& outcome : lastRun_) {
        counts.Add(outcome);
        allConverted = allConverted && outcome.Result == tonalux::SongResult::Converted;
    }
    const QString countsText = CountsText(counts, left);
    RunState->setText(countsText.section('\n', 0, 0));
    TrayIcon1->SetState(tr("Ready"));
    // The right list shows what was written; a run with any song that was not
    // simply converted, or one cut short, lists every song with its outcome.
    if (allConverted && left == 0) return;
    const QStringList lines = OutcomeLines(lastRun_);
    if (MessagesHooked()) {
        ShowMessageBox(countsText + QStringLiteral("\n\n") + lines.join('\n'), this);
        return;
    }
    SummaryDialog summary(countsText, lines, this);
    connect(&summary, &SummaryDialog::SaveRequested, this, &TForm1::SaveOutcomes1Click);
    connect(&summary, &SummaryDialog::OpenFolderRequested, this, &TForm1::OpenConvert1Click);
    summary.exec();
}

void TForm1::OpenConvert1Click() {
    const QString folder = DisplayName(tonalux::DefaultFolders(BaseFolder).Output);
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(folder)))
        ShowMessageBox(tr("The file manager could not be started for %1.").arg(folder), this);
}

tonalux::StandardMidifile* TForm1::CurrentMidifile() const {
    // The conversion of one song creates its engine object with this window's
    // owner component and destroys it when the song is done.
    const auto& owned = EngineOwner.Components();
    return owned.empty() ? nullptr : dynamic_cast<tonalux::StandardMidifile*>(owned.back());
}
