// Reading the song a command works on and writing its result, with the
// checks a user relies on: a missing or unreadable input is named with the
// system's reason, a damaged one says where and how much was kept, an output
// is written completely or not at all and never over an input. "-" stands for
// standard input as an input and for standard output as an output.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

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

enum class SongRead {
    Failed,   // nothing usable was read
    Whole,    // read whole
    Damaged,  // read up to damage
};

// What reading a song gave, without printing anything: Problems holds the
// lines that name the input and the cause (missing, not a file, unreadable,
// not a MIDI file, damaged with where and how much was kept), the engine's
// messages as part of them.
struct SongLoad {
    SongRead Read = SongRead::Failed;
    std::vector<std::string> Problems;
};
SongLoad ReadSong(StandardMidifile& engine, const std::string& path);

// ReadSong that prints each problem as an error of `command`. With --verbose
// it names what it read.
SongRead LoadSong(StandardMidifile& engine, const std::string& command, const std::string& path);

// "read FILE: format 1, 2 tracks, division 96, 15 records", for --verbose.
std::string DescribeLoadedSong(StandardMidifile& engine, const std::string& path);

// The format a changed song is written in when the user names none: a
// format 0 song stays format 0, every other one is written as format 1.
int FormatOfLoadedSong(const StandardMidifile& engine);

// Refuses an output that is, or leads through a link to, the input: prints
// the error line and returns false. Standard input and output are never the
// same file.
bool OutputIsNotTheInput(const std::string& command, const std::string& input, const std::string& out);

// Writes the engine's lists to `out`, or to standard output for "-": the
// whole file is assembled first and then written in one piece. Prints one
// error line with the system's reason and returns false when the file could
// not be written, in which case an existing file of that name is unchanged.
// A failed write to standard output is left to the tool's end to report.
// Standard output, a device and a pipe get the bytes directly (nothing to
// replace safely there); a terminal gets no song unless AllowSongOnTerminal.
bool SaveSong(StandardMidifile& engine, const std::string& command, int format, const std::string& out);

// Whether SaveSong may write a binary song to a terminal (--force).
void AllowSongOnTerminal(bool allowed);

// Reads all of standard input. Returns false when it cannot be read.
bool ReadStandardInput(std::string& bytes);

// Writes `bytes` to standard output and flushes it; false when that failed.
bool WriteStandardOutput(const char* bytes, std::size_t size);

}  // namespace tonalux::cli
