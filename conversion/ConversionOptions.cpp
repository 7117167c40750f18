#include "ConversionOptions.h"

namespace tonalux {

int FormatNumber(SaveFormat format) { return format == SaveFormat::Format0 ? 0 : 1; }

SaveFormat FormatOfSetup(const settings::InformationenBlock& information) {
    return information.Format0 != 0 ? SaveFormat::Format0 : SaveFormat::Format1;
}

ConversionOptions MakeConversionOptions(const RunChoices& choices, const std::optional<SongSettings>& settings) {
    ConversionOptions options;
    options.VelocityThreshold = choices.VelocityThreshold;
    options.DeleteVocoderSysex = choices.DeleteVocoderSysex;
    options.AddChords = choices.AddChords;
    options.Recursive = choices.Recursive;
    options.DryRun = choices.DryRun;
    options.Sheets = choices.Sheets;
    if (settings) {
        options.ApplySettings = true;
        options.Settings = *settings;
    }
    // A choice left open falls to the setup's, then to the program's start value.
    options.Format = choices.Format.value_or(settings ? FormatOfSetup(settings->Information) : SaveFormat::Format0);
    options.StartFirstNote = choices.StartFirstNote.value_or(settings && settings->Information.FastPlay != 0);
    return options;
}

}  // namespace tonalux
