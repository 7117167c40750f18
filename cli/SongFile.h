// Reading the song a command works on and writing its result, with the
// checks a user relies on: a missing or unreadable input is named, an output
// is written completely or not at all.
#pragma once

#include <string>

namespace tonalux {
class StandardMidifile;
}

namespace tonalux::cli {

// Loads `path` into the engine's lists. Prints a one-line error naming the
// file and returns false when it is missing, not a file, or not readable as
// a Standard MIDI File.
bool LoadSong(StandardMidifile& engine, const std::string& command, const std::string& path);

// The format a changed song is written in when the user names none: a
// format 0 song stays format 0, every other one is written as format 1.
int FormatOfLoadedSong(const StandardMidifile& engine);

// Writes the engine's lists to `out`. Refuses a folder; prints a one-line
// error and returns false when the file could not be written, in which case
// an existing file of that name is unchanged.
bool SaveSong(StandardMidifile& engine, const std::string& command, int format, const std::string& out);

}  // namespace tonalux::cli
