// The runs: "FolderConvert" over Midifile/, the selected songs, and songs
// dropped onto the window; the checks before a run, the run with its count,
// its progress and the current song's name, and what the window says when it
// ends.
#include <QCheckBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QUrl>
#include <algorithm>
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
    for (QAction* action :
         {SetupLaden1, SetupSpeichern1, ListeSpeichern1, SaveOutcomes1, ChooseFolder1, ConvertSelected1, Songbook1})
        action->setEnabled(enabled);
    // The options and the threshold are read song by song: changing them
    // during a run would mix formats and thresholds in one batch. Every song
    // of a run is converted with the settings or every song without.
    for (QWidget* option : {static_cast<QWidget*>(CFormat), static_cast<QWidget*>(Vocoder),
                            static_cast<QWidget*>(VelPanel), static_cast<QWidget*>(MMSlider1),
                            static_cast<QWidget*>(CApplySettings), static_cast<QWidget*>(CAddChords),
                            static_cast<QWidget*>(CKeyboardLyrics),
                            static_cast<QWidget*>(CFastPlay)})
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
            // A run converts what Midifile/ holds when it starts: the list is
            // brought up to date first, songs added since the last look included.
            MidifileListeLaden();
            if (midifileNames_.empty()) {
                ShowMessageBox(tr("There are no songs (*.mid) in %1.").arg(DisplayName(folders.Input)), this);
                return;
            }
            std::vector<tonalux::SongSource> songs;
            for (const auto& name : midifileNames_) songs.push_back({folders.Input, name});
            StartRun(songs);
        },
        this);
}

void TForm1::ConvertSelected1Click() {
    if (converting_) return;
    RunGuarded(
        [this] {
            lastRun_.clear();
            const tonalux::ConversionFolders folders = tonalux::DefaultFolders(BaseFolder);
            std::vector<tonalux::SongSource> songs;
            for (int row = 0; row < ListBox1->count(); ++row)
                if (ListBox1->item(row)->isSelected() && row < static_cast<int>(midifileNames_.size()))
                    songs.push_back({folders.Input, midifileNames_[static_cast<std::size_t>(row)]});
            if (songs.empty()) {
                ShowMessageBox(tr("No song is selected in the left list."), this);
                return;
            }
            if (!SettingsReady() || !FoldersReady(folders)) return;
            StartRun(songs);
        },
        this);
}

void TForm1::ConvertDropped(const std::vector<std::string>& paths) {
    if (converting_) return;
    RunGuarded(
        [this, &paths] {
            lastRun_.clear();
            std::vector<std::string> passedOver;
            const std::vector<tonalux::SongSource> songs = tonalux::DroppedSongs(paths, passedOver);
            if (!passedOver.empty()) {
                QStringList names;
                for (const auto& path : passedOver) names << DisplayName(path);
                ShowMessageBox(tr("Not converted: %1\nOnly songs (*.mid) and folders with songs are converted, "
                                  "and of two songs with the same name only the first.")
                                   .arg(names.join(QStringLiteral(", "))),
                               this);
            }
            if (songs.empty()) return;
            if (!SettingsReady() || !FoldersReady(tonalux::DefaultFolders(BaseFolder))) return;
            StartRun(songs);
        },
        this);
}

void TForm1::StartRun(const std::vector<tonalux::SongSource>& songs) {
    runSongs_ = songs;
    ConvertLoop(songs, tonalux::DefaultFolders(BaseFolder).Output);
    std::vector<std::string> left;
    for (std::size_t i = lastRun_.size(); i < songs.size(); ++i) left.push_back(songs[i].Name);
    runSongs_.clear();
    MidifileListeLaden();
    ConvertListeLaden();
    ShowRunOutputs();
    PresentRun(left);
    if (closing_) close();
}

void TForm1::ConvertLoop(const std::vector<tonalux::SongSource>& songs, const std::string& output) {
    // The engine's lists are process-wide: while the window lets input
    // through, nothing may start a second engine operation or refill the
    // list being walked.
    struct Running {
        TForm1& window;
        explicit Running(TForm1& w) : window(w) {
            window.converting_ = true;
            window.SetCommandsEnabled(false);
            window.Progress->setValue(0);
            window.Progress->show();
        }
        ~Running() {
            window.converting_ = false;
            window.SetCommandsEnabled(true);
            window.MMLED1->SetLit(false);
            window.Progress->hide();
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
    lastRunStartFirstNote_ = options.StartFirstNote;
    Progress->setRange(0, static_cast<int>(songs.size()));
    tonalux::ConversionHooks hooks;
    hooks.BeforeSong = [this, &songs](std::size_t index, const std::string& name) {
        if (closing_) return false;
        // The song being converted is the current one of the left list when it is there.
        const auto row = std::find(midifileNames_.begin(), midifileNames_.end(), name);
        if (songs[index].Folder == tonalux::DefaultFolders(BaseFolder).Input && row != midifileNames_.end())
            ListBox1->setCurrentRow(static_cast<int>(row - midifileNames_.begin()), QItemSelectionModel::NoUpdate);
        ShowProgress(index, songs.size(), name);
        QCoreApplication::processEvents();
        return !closing_;
    };
    hooks.AfterSong = [this](const tonalux::SongOutcome&) {
        Progress->setValue(Progress->value() + 1);
        ConvertListeLaden();
    };
    hooks.Busy = [this](bool busy) { MMLED1->SetLit(busy); };
    lastRun_ = tonalux::ConvertSongs(&EngineOwner, songs, output, options, hooks);
}

void TForm1::ShowProgress(std::size_t index, std::size_t count, const std::string& name) {
    const QString state = tr("%1 of %2: %3").arg(index + 1).arg(count).arg(DisplayName(name));
    RunState->setText(state);
    TrayIcon1->SetState(tr("Converting %1").arg(state));
}

void TForm1::ShowRunOutputs() {
    // The right list follows the run: its outputs are selected, the last one
    // current and scrolled into view.
    ListBox2->clearSelection();
    QListWidgetItem* last = nullptr;
    for (const auto& outcome : lastRun_) {
        if (outcome.Output.empty() || (outcome.Result != tonalux::SongResult::Converted &&
                                       outcome.Result != tonalux::SongResult::ConvertedDamaged))
            continue;
        const auto at = std::find(convertNames_.begin(), convertNames_.end(), outcome.Output);
        if (at == convertNames_.end()) continue;
        last = ListBox2->item(static_cast<int>(at - convertNames_.begin()));
        last->setSelected(true);
    }
    if (!last) return;
    ListBox2->setCurrentItem(last, QItemSelectionModel::Select);
    ListBox2->scrollToItem(last);
}

void TForm1::PresentRun(const std::vector<std::string>& left) {
    tonalux::RunCounts counts;
    bool allConverted = true;
    for (const auto& outcome : lastRun_) {
        counts.Add(outcome);
        allConverted = allConverted && outcome.Result == tonalux::SongResult::Converted;
    }
    QString countsText = CountsText(counts, left.size());
    // The song-start option moves every song's first note; a run made with it says so.
    if (lastRunStartFirstNote_) {
        const QString songStart = tr("%1: on, every song starts at its first note").arg(CFastPlay->text());
        const qsizetype lineEnd = countsText.indexOf('\n');
        countsText.insert(lineEnd < 0 ? countsText.size() : lineEnd, QStringLiteral(" - ") + songStart);
    }
    RunState->setText(countsText.section('\n', 0, 0));
    TrayIcon1->SetState(tr("Ready"));
    // The right list shows what was written; a run with any song that was not
    // simply converted, or one cut short, lists every song with its outcome.
    if (allConverted && left.empty()) return;
    QStringList lines = OutcomeLines(lastRun_);
    for (const auto& name : left) lines << UnconvertedLine(name);
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
