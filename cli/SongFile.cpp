#include "SongFile.h"

#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <system_error>

#include "Console.h"
#include "SongRecords.h"
#include "StandardMidifile.h"

namespace fs = std::filesystem;

namespace tonalux::cli {

namespace {

// A private folder for the song that goes through standard input or output,
// since the engine reads and writes files by name. Removed with its content.
class PrivateFolder {
public:
    PrivateFolder() {
        std::error_code ec;
        std::string pattern = (fs::temp_directory_path(ec) / "tonalux-cli-XXXXXX").string();
        if (ec) pattern = "/tmp/tonalux-cli-XXXXXX";
        if (::mkdtemp(pattern.data())) path_ = pattern;
    }
    ~PrivateFolder() {
        std::error_code ec;
        if (!path_.empty()) fs::remove_all(path_, ec);
    }
    PrivateFolder(const PrivateFolder&) = delete;
    PrivateFolder& operator=(const PrivateFolder&) = delete;

    bool Ready() const { return !path_.empty(); }
    std::string File(const std::string& name) const { return (path_ / name).string(); }

private:
    fs::path path_;
};

std::string LoadStandardInput(StandardMidifile& engine) {
    std::string bytes;
    if (!ReadStandardInput(bytes)) return "could not read standard input";
    PrivateFolder folder;
    if (!folder.Ready()) return "could not create a temporary folder for standard input";
    const std::string copy = folder.File("standard-input.mid");
    {
        std::ofstream out(copy, std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out.flush()) return "could not keep standard input in " + copy;
    }
    engine.SetStartFirstNote(false);
    if (!engine.LoadMidifile(copy)) return "could not read standard input as a MIDI file";
    return "";
}

}  // namespace

bool IsStandardStream(const std::string& path) { return path == kStandardStream; }

std::string InputName(const std::string& path) { return IsStandardStream(path) ? "standard input" : path; }

std::string OutputName(const std::string& path) { return IsStandardStream(path) ? "standard output" : path; }

bool ReadStandardInput(std::string& bytes) {
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n == 0) return true;
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
}

bool WriteStandardOutput(const char* bytes, std::size_t size) {
    std::cout.write(bytes, static_cast<std::streamsize>(size));
    std::cout.flush();
    return static_cast<bool>(std::cout);
}

std::string LoadSongOrError(StandardMidifile& engine, const std::string& path) {
    if (IsStandardStream(path)) return LoadStandardInput(engine);
    std::error_code ec;
    const auto status = fs::status(path, ec);
    if (!fs::exists(status)) return "file not found: " + path;
    if (!fs::is_regular_file(status)) return "not a file: " + path;
    engine.SetStartFirstNote(false);
    if (!engine.LoadMidifile(path)) return "could not read " + path + " as a MIDI file";
    return "";
}

bool LoadSong(StandardMidifile& engine, const std::string& command, const std::string& path) {
    const std::string error = LoadSongOrError(engine, path);
    if (!error.empty()) {
        PrintError(command, error);
        return false;
    }
    if (CurrentVerbosity() == Verbosity::Verbose) PrintDetail(command, DescribeLoadedSong(engine, path));
    return true;
}

std::string DescribeLoadedSong(StandardMidifile& engine, const std::string& path) {
    std::size_t records = 0;
    for (auto count : CountRecords(engine)) records += count;
    return "read " + InputName(path) + ": format " + std::to_string(engine.Format) + ", " +
           std::to_string(engine.TrackCount) + " tracks, division " + std::to_string(engine.Division) + ", " +
           std::to_string(records) + " records";
}

int FormatOfLoadedSong(const StandardMidifile& engine) { return engine.Format == 0 ? 0 : 1; }

bool SaveSong(StandardMidifile& engine, const std::string& command, int format, const std::string& out) {
    if (IsStandardStream(out)) {
        PrivateFolder folder;
        if (!folder.Ready()) {
            PrintError(command, "could not create a temporary folder for standard output");
            return false;
        }
        if (!engine.SaveMidifile(format, folder.File("standard-output.mid"))) {
            PrintError(command, "could not write standard output");
            return false;
        }
        const auto& bytes = engine.WrittenBytes();
        // A failed write is reported once, where the tool ends (main.cpp).
        if (!WriteStandardOutput(reinterpret_cast<const char*>(bytes.data()), bytes.size())) return false;
        PrintDetail(command, "wrote " + std::to_string(bytes.size()) + " bytes to standard output");
        return true;
    }
    std::error_code ec;
    if (fs::is_directory(out, ec)) {
        PrintError(command, "output is a folder: " + out);
        return false;
    }
    if (!engine.SaveMidifile(format, out)) {
        PrintError(command, "could not write " + out);
        return false;
    }
    PrintDetail(command, "wrote " + std::to_string(engine.WrittenBytes().size()) + " bytes to " + out);
    return true;
}

}  // namespace tonalux::cli
