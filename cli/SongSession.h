// What every command that works on a song sets up: the console host, which
// shows the engine's messages naming the command and the song and gives the
// vocoder analysis its threshold, and one engine object with its owner.
#pragma once

#include <string>

#include "Component.h"
#include "Console.h"
#include "SongFile.h"
#include "StandardMidifile.h"

namespace tonalux::cli {

class SongSession {
public:
    explicit SongSession(int threshold = kDefaultVelocityThreshold) : Host(threshold) {}
    SongSession(const SongSession&) = delete;
    SongSession& operator=(const SongSession&) = delete;

    // Reads `file` for `command`, as LoadSong does, with the engine's
    // messages named "command: file".
    SongRead Load(const std::string& command, const std::string& file) {
        Host.SetContext(command + ": " + InputName(file));
        return LoadSong(Engine, command, file);
    }

    // Declared in this order: the host is in force before the engine object
    // exists and until after it is gone.
    ConsoleHost Host;
    Component Root{nullptr};
    StandardMidifile Engine{&Root};
};

}  // namespace tonalux::cli
