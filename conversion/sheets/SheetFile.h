// A song's ChordPro sheet as a file beside the song, as the folder
// conversion writes it for every converted song when asked.
#pragma once

#include <optional>
#include <string>
#include <vector>

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

struct SongSheet;

// The sheet of a song file, read with its song name kept (the title) and its
// words in the detected charset. A damaged song gives the sheet of what could
// be read, with a note saying so; a file that is no song gives no sheet and
// the reason in `problem`. The engine's messages are gathered, not shown.
std::optional<SongSheet> ReadSongSheet(const std::string& path, std::string& problem);

}  // namespace tonalux
