// The one carrier of a conversion run: everything a run needs to convert
// every song the same way arrives in a ConversionOptions, built once by
// MakeConversionOptions from the front end's choices and the setup blocks.
// Nothing of a run is read back from a window or a process-wide host.
#pragma once

#include <optional>

#include "SongSettings.h"
#include "StandardMidifile.h"

namespace tonalux {

// The file format a run writes.
enum class SaveFormat {
    Format0,  // one track holding every event
    Format1,  // a meta track and one track per channel
};

// The number the engine's writers take for the format (0 or 1).
int FormatNumber(SaveFormat format);

// The format a setup's information block chooses ("Midiformat 0").
SaveFormat FormatOfSetup(const settings::InformationenBlock& information);

struct ConversionOptions {
    SaveFormat Format = SaveFormat::Format0;
    int VelocityThreshold = kDefaultVelocityThreshold;  // "Vel.": the vocoder analysis' threshold
    bool DeleteVocoderSysex = true;   // "Yamaha Vocoder Sysex delete"
    bool StartFirstNote = false;      // "Start auf Tatkt 1"
    bool ApplySettings = false;       // "Einstellungen anwenden": Settings change each song
    SongSettings Settings{};          // checked with SongSettingsProblem before the first song
    bool AddChords = false;           // chords recognised from the notes are added to each song
    bool Recursive = false;           // also the songs in subfolders of the input folder
    bool DryRun = false;              // read and analyse each song, write nothing
    bool Sheets = false;              // a ChordPro sheet NAME.cho beside each converted song
};

// What a front end chose for a run. The format and the song start may be
// left open: then the setup's choice counts when settings are applied, and
// otherwise format 0 and the song as read.
struct RunChoices {
    std::optional<SaveFormat> Format;
    std::optional<bool> StartFirstNote;
    int VelocityThreshold = kDefaultVelocityThreshold;
    bool DeleteVocoderSysex = true;
    bool AddChords = false;
    bool Recursive = false;
    bool DryRun = false;
    bool Sheets = false;
};

// The options of a run from the front end's choices and, when the settings
// are to be applied to every song, the setup blocks.
ConversionOptions MakeConversionOptions(const RunChoices& choices, const std::optional<SongSettings>& settings = {});

}  // namespace tonalux
