// Reading one song file, for the folder conversion and for the tool's
// commands alike: the checks the engine cannot make (the file is there, is a
// file, and can be opened, each failure named with the system's reason), then
// the load and what it gave.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tonalux {

class StandardMidifile;

enum class InputFileState {
    Readable,    // a regular file that could be opened for reading
    Missing,     // no entry of that name
    NotAFile,    // a folder or another entry that is not a regular file
    Unreadable,  // the entry could not be looked at or opened
};

struct InputFileCheck {
    InputFileState State = InputFileState::Readable;
    // Why it cannot be read: the system's text ("Permission denied", "Is a
    // directory"); empty for a readable file.
    std::string Reason;
};

// Looks at a file before it is read (a song before the engine reads it, a
// setup file, a text): the engine names no cause when it cannot open a file;
// the system does.
InputFileCheck CheckInputFile(const std::string& path);

enum class SongLoadState {
    Whole,    // read to its end
    Damaged,  // read up to damage; LastLoadReport says where
    NotMidi,  // no Standard MIDI File header
    Failed,   // a header, but the engine could not read the file
};

// Loads the song into the engine, with the engine's options as they are set,
// and says what the load gave.
SongLoadState LoadSongFile(StandardMidifile& engine, const std::string& path);

// The same for a song already read into memory (standard input, a pipe).
SongLoadState LoadSongFromBytes(StandardMidifile& engine, const std::vector<std::uint8_t>& bytes);

}  // namespace tonalux
