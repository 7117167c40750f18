#include "SongFile.h"

#include <cerrno>
#include <cstdint>
#include <iostream>

#include "Console.h"
#include "MessageGathering.h"
#include "Platform.h"
#include "SafeReplace.h"
#include "SongOutcome.h"
#include "SongReading.h"
#include "SongRecords.h"
#include "StandardMidifile.h"

namespace tonalux::cli {

namespace {

bool songOnTerminalAllowed = false;

// " (Byteread Error!)" for the engine's messages, empty without any.
std::string InBrackets(const std::vector<std::string>& messages) {
    std::string text;
    for (const auto& message : messages) text += (text.empty() ? " (" : "; ") + message;
    return text.empty() ? text : text + ")";
}

// Loads the song from its bytes; `name` is how the problems name it.
SongLoad LoadSongBytes(StandardMidifile& engine, const std::vector<std::uint8_t>& bytes, const std::string& name) {
    SongLoad load;
    std::vector<std::string> messages;
    SongLoadState loaded = SongLoadState::Failed;
    {
        MessageGathering gathering(messages);
        engine.SetStartFirstNote(false);
        // Every command shows and keeps the song's own track names and
        // copyright notices, so that dump shows what save writes.
        engine.SetKeepSongNames(true);
        loaded = LoadSongFromBytes(engine, bytes);
    }
    const LoadReport& report = engine.LastLoadReport();
    if (loaded == SongLoadState::NotMidi || loaded == SongLoadState::Failed) {
        load.Problems.push_back(name + ": " + (loaded == SongLoadState::Failed ? "could not be read" : "not a MIDI file") +
                                InBrackets(messages));
        return load;
    }
    if (loaded == SongLoadState::Damaged) {
        load.Read = SongRead::Damaged;
        load.Problems.push_back(name + ": " + DescribeDamage(report) + InBrackets(messages));
        return load;
    }
    load.Read = SongRead::Whole;
    for (const auto& message : messages) load.Problems.push_back(name + ": " + message);
    return load;
}

// Reads the song at `path`: a file, or what a pipe, a FIFO or a device gives
// (`info <(cat a.mid)`). A folder is no song.
SongLoad ReadNamedSong(StandardMidifile& engine, const std::string& path) {
    SongLoad load;
    // A pipe or a device is read as it comes; anything else must be a file
    // that can be opened.
    const FileKind kind = StatusOf(path).Kind;
    if (kind != FileKind::Pipe && kind != FileKind::Device) {
        const InputFileCheck check = CheckInputFile(path);
        if (check.State != InputFileState::Readable) {
            load.Problems.push_back("cannot read " + path + ": " + check.Reason);
            return load;
        }
    }
    std::vector<std::uint8_t> bytes;
    SystemError error;
    if (!ReadWholeFile(path, bytes, error)) {
        load.Problems.push_back("cannot read " + path + ": " + error.Reason);
        return load;
    }
    return LoadSongBytes(engine, bytes, path);
}

SongLoad ReadStandardInputSong(StandardMidifile& engine) {
    SongLoad load;
    std::vector<std::uint8_t> bytes;
    SystemError error;
    if (!tonalux::ReadStandardInput(bytes, error)) {
        load.Problems.push_back("cannot read standard input: " + error.Reason);
        return load;
    }
    return LoadSongBytes(engine, bytes, "standard input");
}

// Whether the output is a terminal that gets no binary song unless asked.
// Only a character device can be one: a FIFO is not even opened to look.
bool RefusedTerminal(const std::string& command, const std::string& out, FileKind kind) {
    if (songOnTerminalAllowed) return false;
    if (IsStandardStream(out) ? !StandardOutputIsTerminal() : !(kind == FileKind::Device && IsTerminal(out)))
        return false;
    PrintError(command, "refusing to write a binary song to the terminal " + OutputName(out) +
                            " (redirect it, or use --force)");
    return true;
}

}  // namespace

bool IsStandardStream(const std::string& path) { return path == kStandardStream; }

std::string InputName(const std::string& path) { return IsStandardStream(path) ? "standard input" : path; }

std::string OutputName(const std::string& path) { return IsStandardStream(path) ? "standard output" : path; }

bool ReadStandardInput(std::string& bytes) {
    std::vector<std::uint8_t> read;
    SystemError error;
    if (!tonalux::ReadStandardInput(read, error)) return false;
    bytes.assign(read.begin(), read.end());
    return true;
}

bool WriteStandardOutput(const char* bytes, std::size_t size) {
    std::cout.write(bytes, static_cast<std::streamsize>(size));
    std::cout.flush();
    return static_cast<bool>(std::cout);
}

SongLoad ReadSong(StandardMidifile& engine, const std::string& path) {
    return IsStandardStream(path) ? ReadStandardInputSong(engine) : ReadNamedSong(engine, path);
}

SongRead LoadSong(StandardMidifile& engine, const std::string& command, const std::string& path) {
    const SongLoad load = ReadSong(engine, path);
    for (const auto& problem : load.Problems) PrintError(command, problem);
    if (load.Read != SongRead::Failed && CurrentVerbosity() == Verbosity::Verbose)
        PrintDetail(command, DescribeLoadedSong(engine, path));
    return load.Read;
}

std::string DescribeLoadedSong(StandardMidifile& engine, const std::string& path) {
    std::size_t records = 0;
    for (auto count : CountRecords(engine)) records += count;
    return "read " + InputName(path) + ": format " + std::to_string(engine.Format) + ", " +
           std::to_string(engine.TrackCount) + " tracks, division " + std::to_string(engine.Division) + ", " +
           std::to_string(records) + " records";
}

int FormatOfLoadedSong(const StandardMidifile& engine) { return engine.Format == 0 ? 0 : 1; }

bool OutputIsNotTheInput(const std::string& command, const std::string& input, const std::string& out) {
    if (IsStandardStream(input) || IsStandardStream(out) || !SameFile(input, out)) return true;
    PrintError(command, "refusing to write " + out + ": it is the input " + input + " (inputs are never changed)");
    return false;
}

void AllowSongOnTerminal(bool allowed) { songOnTerminalAllowed = allowed; }

bool SaveSong(StandardMidifile& engine, const std::string& command, int format, const std::string& out) {
    // Standard output, a device (/dev/null, a terminal) and a pipe (/dev/stdout
    // into a pipe, a FIFO) take the bytes directly: there is nothing to
    // replace safely. Every other output goes through the safe replace.
    const bool toStandardOutput = IsStandardStream(out);
    const FileKind kind = toStandardOutput ? FileKind::Missing : StatusOf(out).Kind;
    const bool toDevice = kind == FileKind::Device || kind == FileKind::Pipe;
    if (RefusedTerminal(command, out, kind)) return false;
    std::vector<std::uint8_t> bytes;
    bool saved = false;
    {
        // The writer's own message names no cause; the line below does.
        std::vector<std::string> dropped;
        MessageGathering gathering(dropped);
        gathering.Keep(false);
        saved = toStandardOutput || toDevice ? engine.SaveMidiBytes(format, bytes) : engine.SaveMidifile(format, out);
    }
    if (!saved) {
        PrintError(command, "could not write " + OutputName(out) + ": " +
                                (toStandardOutput || toDevice ? ReasonOf(ENOMEM) : LastSaveFailure()));
        return false;
    }
    SystemError error;
    // A failed write to standard output is reported once, where the tool ends.
    if (toStandardOutput && !WriteStandardOutput(reinterpret_cast<const char*>(bytes.data()), bytes.size()))
        return false;
    if (toDevice && !WriteToDevice(out, bytes, error)) {
        PrintError(command, "could not write " + out + ": " + error.Reason);
        return false;
    }
    const std::size_t size = toStandardOutput || toDevice ? bytes.size() : engine.WrittenBytes().size();
    PrintDetail(command, "wrote " + std::to_string(size) + " bytes to " + OutputName(out));
    return true;
}

}  // namespace tonalux::cli
