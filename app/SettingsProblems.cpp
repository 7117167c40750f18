#include "SettingsProblems.h"

#include <QCoreApplication>
#include <QLineEdit>

#include "Finfo.h"
#include "OutcomeTexts.h"
#include "Progr.h"

namespace {

using tonalux::settings::SetupField;

QLineEdit* ProgramField(TFProgrammchange& programs, SetupField field, int row) {
    switch (field) {
        case SetupField::SourceBank: return programs.MSBQ[row];
        case SetupField::SourceProgram: return programs.PRGQ[row];
        case SetupField::DestinationBank: return programs.MSBD[row];
        default: return programs.PRGD[row];
    }
}

constexpr SetupField kProgramColumns[] = {SetupField::SourceBank, SetupField::SourceProgram,
                                          SetupField::DestinationBank, SetupField::DestinationProgram};

std::optional<SettingsProblem> ProgramsProblem(TFProgrammchange& programs) {
    for (int row = 0; row < tonalux::settings::kProgrammchangeRows; ++row) {
        for (SetupField field : kProgramColumns) {
            QLineEdit* edit = ProgramField(programs, field, row);
            if (TFProgrammchange::IsEntryValid(edit)) continue;
            const QString text = QCoreApplication::translate("Outcome", "%1, row %2, %3: '%4' is not a whole number")
                                     .arg(QStringLiteral("Sound\u00e4nderungen"))
                                     .arg(row + 1)
                                     .arg(FieldCaption(field), edit->text());
            return SettingsProblem{text, &programs, edit};
        }
    }
    programs.FormToBlock();
    if (const auto problem = tonalux::settings::ProgramsProblem(programs.Block))
        return SettingsProblem{SetupProblemText(*problem), &programs,
                               ProgramField(programs, problem->Field, problem->Row - 1)};
    return std::nullopt;
}

}  // namespace

std::optional<SettingsProblem> FindSettingsProblem(TFProgrammchange& programs, TFInformationen& information) {
    if (auto problem = ProgramsProblem(programs)) return problem;
    for (const auto& [field, edit] : {std::pair{SetupField::Copyright, information.ECopyright},
                                      std::pair{SetupField::Trackname, information.ETrackname}}) {
        const int at = TFInformationen::FirstRefusedCharacter(edit->text());
        if (at < 0) continue;
        const QString text =
            QCoreApplication::translate("Outcome", "%1, %2: the character \"%3\" cannot be written into a song")
                .arg(QStringLiteral("Zusatzinformationen"), FieldCaption(field), edit->text().mid(at, 1));
        return SettingsProblem{text, &information, edit};
    }
    information.FormToBlock();
    if (const auto problem = tonalux::settings::InformationProblem(information.Block))
        return SettingsProblem{SetupProblemText(*problem), &information, nullptr};
    return std::nullopt;
}
