#include "SongFile.h"

#include <filesystem>
#include <system_error>

#include "Console.h"
#include "StandardMidifile.h"

namespace fs = std::filesystem;

namespace tonalux::cli {

bool LoadSong(StandardMidifile& engine, const std::string& command, const std::string& path) {
    std::error_code ec;
    const auto status = fs::status(path, ec);
    if (!fs::exists(status)) {
        PrintError(command, "file not found: " + path);
        return false;
    }
    if (!fs::is_regular_file(status)) {
        PrintError(command, "not a file: " + path);
        return false;
    }
    engine.SetStartFirstNote(false);
    if (!engine.LoadMidifile(path)) {
        PrintError(command, "could not read " + path + " as a MIDI file");
        return false;
    }
    return true;
}

int FormatOfLoadedSong(const StandardMidifile& engine) { return engine.Format == 0 ? 0 : 1; }

bool SaveSong(StandardMidifile& engine, const std::string& command, int format, const std::string& out) {
    std::error_code ec;
    if (fs::is_directory(out, ec)) {
        PrintError(command, "output is a folder: " + out);
        return false;
    }
    if (!engine.SaveMidifile(format, out)) {
        PrintError(command, "could not write " + out);
        return false;
    }
    return true;
}

}  // namespace tonalux::cli
