// The main menu's files: setup files, the two reports and the working folder.
#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QPushButton>

#include "FileNames.h"
#include "Finfo.h"
#include "MessageDisplay.h"
#include "OutcomeTexts.h"
#include "Progr.h"
#include "RememberedOptions.h"
#include "SettingsProblems.h"
#include "Unit1.h"
#include "settings/Report.h"
#include "settings/SetupFile.h"

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
    RunGuarded([this] { SaveReport(ConfirmReplace(RunDialog(*SaveDialog2))); }, this);
}

void TForm1::SaveOutcomes1Click() {
    if (converting_) return;
    if (lastRun_.empty()) {
        ShowMessageBox(tr("No run yet: the report with outcomes covers the last \"%1\".").arg(ShownCaption(BConvert->text())),
                       this);
        return;
    }
    RunGuarded([this] { SaveOutcomeReport(ConfirmReplace(RunDialog(*OutcomeDialog))); }, this);
}

void TForm1::ChooseFolder1Click() {
    if (converting_) return;
    FolderDialog->setDirectory(DisplayName(BaseFolder));
    const QString folder = RunDialog(*FolderDialog);
    if (folder.isEmpty()) return;
    StoredOptions().setValue(kWorkingFolderKey, folder);
    SetWorkingFolder(folder);
}

QString TForm1::ConfirmReplace(const QString& fileName) {
    if (fileName.isEmpty() || !QFileInfo::exists(fileName)) return fileName;
    if (AskYesNo(tr("%1 already exists.\nDo you want to replace it?").arg(fileName), this)) return fileName;
    return QString();
}

void TForm1::LoadSetup(const QString& fileName) {
    if (!programs_ || !information_) return;
    if (!fileName.isEmpty()) {
        // Read into blocks of its own: a file that is refused changes nothing.
        tonalux::settings::ProgrammchangeBlock programs = programs_->Block;
        tonalux::settings::InformationenBlock information = information_->Block;
        const auto outcome = tonalux::settings::LoadSetupFile(FileSystemName(fileName), programs, information);
        if (outcome == tonalux::settings::SetupLoadOutcome::WrongSize) {
            ShowMessageBox(tr("Not a valid setup file: %1").arg(fileName), this);
            return;
        }
        if (const auto problem = tonalux::settings::CheckSetup(programs, information)) {
            ShowMessageBox(tr("Not a valid setup file: %1\n%2").arg(fileName, SetupProblemText(*problem)), this);
            return;
        }
        programs_->Block = programs;
        information_->Block = information;
    }
    programs_->BlockToForm();
    information_->BlockToForm();
    RememberOptions();
}

void TForm1::SaveSetup(const QString& chosen) {
    if (chosen.isEmpty() || !programs_ || !information_) return;
    // What the file will hold must load again: the same checks as a load.
    if (const auto problem = FindSettingsProblem(*programs_, *information_)) {
        ShowMessageBox(problem->Text, this);
        ShowSettingsWindow(problem->Window, problem->Field);
        return;
    }
    const QString fileName = ConfirmReplace(DisplayName(tonalux::settings::SetupFileName(FileSystemName(chosen))));
    if (fileName.isEmpty()) return;
    const auto outcome =
        tonalux::settings::SaveSetupFile(FileSystemName(fileName), programs_->Block, information_->Block);
    for (const auto& message : tonalux::settings::SetupSaveMessages(outcome))
        ShowMessageBox(FromEightBit(message), this);
}

void TForm1::SaveReport(const QString& fileName) {
    if (fileName.isEmpty()) return;
    if (!tonalux::settings::SaveReport(FileSystemName(fileName), convertNames_))
        ShowMessageBox(FromEightBit(tonalux::settings::ReportErrorMessage(FileSystemName(fileName))), this);
}

void TForm1::SaveOutcomeReport(const QString& fileName) {
    if (fileName.isEmpty()) return;
    const auto lines = tonalux::settings::OutcomeReportLines(ReportEntries(lastRun_));
    if (!tonalux::settings::SaveReport(FileSystemName(fileName), lines))
        ShowMessageBox(FromEightBit(tonalux::settings::ReportErrorMessage(FileSystemName(fileName))), this);
}
