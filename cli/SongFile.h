// Reading the song a command works on and writing its result, with the
// checks a user relies on: a missing or unreadable input is named, an output
// is written completely or not at all. "-" stands for standard input as an
// input and for standard output as an output.
#pragma once

#include <string>

namespace tonalux {
class StandardMidifile;
}

namespace tonalux::cli {

// The name that stands for standard input or standard output.
inline constexpr const char* kStandardStream = "-";

bool IsStandardStream(const std::string& path);

// How messages name an input or an output: "standard input" and
// "standard output" for "-", otherwise the path.
std::string InputName(const std::string& path);
std::string OutputName(const std::string& path);

// Loads `path` (or the song on standard input) into the engine's lists.
// Returns an empty text on success, otherwise one line naming the file and
// the problem: missing, not a file, or not readable as a Standard MIDI File.
std::string LoadSongOrError(StandardMidifile& engine, const std::string& path);

// LoadSongOrError that prints the problem as an error of `command` and
// returns false. With --verbose it names what it read.
bool LoadSong(StandardMidifile& engine, const std::string& command, const std::string& path);

// "read FILE: format 1, 2 tracks, division 96, 15 records", for --verbose.
std::string DescribeLoadedSong(StandardMidifile& engine, const std::string& path);

// The format a changed song is written in when the user names none: a
// format 0 song stays format 0, every other one is written as format 1.
int FormatOfLoadedSong(const StandardMidifile& engine);

// Writes the engine's lists to `out`, or to standard output for "-": the
// whole file is assembled first and then written in one piece. Refuses a
// folder; prints a one-line error and returns false when the file could not
// be written, in which case an existing file of that name is unchanged. A
// failed write to standard output is left to the tool's end to report.
bool SaveSong(StandardMidifile& engine, const std::string& command, int format, const std::string& out);

// Reads all of standard input. Returns false when it cannot be read.
bool ReadStandardInput(std::string& bytes);

// Writes `bytes` to standard output and flushes it; false when that failed.
bool WriteStandardOutput(const char* bytes, std::size_t size);

}  // namespace tonalux::cli
