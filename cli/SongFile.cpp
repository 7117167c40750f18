#include "SongFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "Console.h"
#include "MessageGathering.h"
#include "SafeReplace.h"
#include "SongOutcome.h"
#include "StandardMidifile.h"

namespace tonalux::cli {

namespace {

// " (Byteread Error!)" for the engine's messages, empty without any.
std::string InBrackets(const std::vector<std::string>& messages) {
    std::string text;
    for (const auto& message : messages) text += (text.empty() ? " (" : "; ") + message;
    return text.empty() ? text : text + ")";
}

}  // namespace

SongRead LoadSong(StandardMidifile& engine, const std::string& command, const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        PrintError(command, "cannot read " + path + ": " + std::strerror(errno));
        return SongRead::Failed;
    }
    if (!S_ISREG(info.st_mode)) {
        PrintError(command, "cannot read " + path + ": not a file");
        return SongRead::Failed;
    }
    // The engine names no cause when it cannot open a file; the system does.
    const int probe = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (probe < 0) {
        PrintError(command, "cannot read " + path + ": " + std::strerror(errno));
        return SongRead::Failed;
    }
    ::close(probe);

    std::vector<std::string> messages;
    bool loaded = false;
    {
        MessageGathering gathering(messages);
        engine.SetStartFirstNote(false);
        loaded = engine.LoadMidifile(path);
    }
    const LoadReport& report = engine.LastLoadReport();
    if (!loaded) {
        PrintError(command, path + ": " + (engine.HeaderOk ? "could not be read" : "not a MIDI file") +
                                InBrackets(messages));
        return SongRead::Failed;
    }
    if (report.Damaged) {
        PrintError(command, path + ": " + DescribeDamage(report) + InBrackets(messages));
        return SongRead::Damaged;
    }
    for (const auto& message : messages) PrintError(command, path + ": " + message);
    return SongRead::Whole;
}

int FormatOfLoadedSong(const StandardMidifile& engine) { return engine.Format == 0 ? 0 : 1; }

bool OutputIsNotTheInput(const std::string& command, const std::string& input, const std::string& out) {
    if (!SameFile(input, out)) return true;
    PrintError(command, "refusing to write " + out + ": it is the input " + input + " (inputs are never changed)");
    return false;
}

bool SaveSong(StandardMidifile& engine, const std::string& command, int format, const std::string& out) {
    bool saved = false;
    {
        // The writer's own message names no cause; the line below does.
        std::vector<std::string> dropped;
        MessageGathering gathering(dropped);
        gathering.Keep(false);
        saved = engine.SaveMidifile(format, out);
    }
    if (!saved) PrintError(command, "could not write " + out + ": " + LastSaveFailure());
    return saved;
}

}  // namespace tonalux::cli
