// Reading the song a command works on and writing its result, with the
// checks a user relies on: a missing or unreadable input is named with the
// system's reason, a damaged one says where and how much was kept, an output
// is written completely or not at all and never over an input.
#pragma once

#include <string>

namespace tonalux {
class StandardMidifile;
}

namespace tonalux::cli {

enum class SongRead {
    Failed,   // nothing usable was read; the error line is printed
    Whole,    // read whole
    Damaged,  // read up to damage; the line saying where and how much was kept is printed
};

// Loads `path` into the engine's lists. Prints one line on standard error
// naming the file and the cause when it is missing, not a file, unreadable,
// not a MIDI file or damaged; the engine's messages are part of that line.
SongRead LoadSong(StandardMidifile& engine, const std::string& command, const std::string& path);

// The format a changed song is written in when the user names none: a
// format 0 song stays format 0, every other one is written as format 1.
int FormatOfLoadedSong(const StandardMidifile& engine);

// Refuses an output that is, or leads through a link to, the input: prints
// the error line and returns false.
bool OutputIsNotTheInput(const std::string& command, const std::string& input, const std::string& out);

// Writes the engine's lists to `out`. Prints one error line with the system's
// reason and returns false when the file could not be written, in which case
// an existing file of that name is unchanged.
bool SaveSong(StandardMidifile& engine, const std::string& command, int format, const std::string& out);

}  // namespace tonalux::cli
