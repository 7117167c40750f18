// A song's ChordPro sheet as a file beside the song, as the folder
// conversion writes it for every converted song when asked.
#pragma once

#include <string>

#include "Platform.h"

namespace tonalux {

class StandardMidifile;

// The sheet's path for a song's path: its last four characters (".mid")
// become ".cho", as the output names take their suffix there.
std::string SheetPathFor(const std::string& songPath);

// Writes the sheet of the loaded song, its words read in the detected
// charset, whole to `target` with the safe replace. `songName` is the title
// when the song has none of its own.
ReplaceOutcome WriteSongSheet(const StandardMidifile& song, const std::string& songName, const std::string& target);

}  // namespace tonalux
