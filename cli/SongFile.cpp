#include "SongFile.h"

#include <cstdint>
#include <iostream>

#include "Console.h"
#include "MessageGathering.h"
#include "Platform.h"
#include "SafeReplace.h"
#include "SongOutcome.h"
#include "SongRecords.h"
#include "StandardMidifile.h"

namespace tonalux::cli {

namespace {

// A private folder for the song that goes through standard input or output,
// since the engine reads and writes files by name. Removed with its content.
using PrivateFolder = TemporaryFolder;

// " (Byteread Error!)" for the engine's messages, empty without any.
std::string InBrackets(const std::vector<std::string>& messages) {
    std::string text;
    for (const auto& message : messages) text += (text.empty() ? " (" : "; ") + message;
    return text.empty() ? text : text + ")";
}

// Reads the file at `path`; `name` is how the problems name it.
SongLoad ReadNamedSong(StandardMidifile& engine, const std::string& path, const std::string& name) {
    SongLoad load;
    const FileStatus status = StatusOf(path);
    if (status.Kind == FileKind::Missing) {
        load.Problems.push_back("cannot read " + name + ": " + status.Error.Reason);
        return load;
    }
    if (status.Kind != FileKind::Regular) {
        load.Problems.push_back("cannot read " + name + ": not a file");
        return load;
    }
    // The engine names no cause when it cannot open a file; the system does.
    std::vector<std::uint8_t> bytes;
    SystemError error;
    if (!ReadWholeFile(path, bytes, error)) {
        load.Problems.push_back("cannot read " + name + ": " + error.Reason);
        return load;
    }

    std::vector<std::string> messages;
    bool loaded = false;
    {
        MessageGathering gathering(messages);
        engine.SetStartFirstNote(false);
        // Every command shows and keeps the song's own track names and
        // copyright notices, so that dump shows what save writes.
        engine.SetKeepSongNames(true);
        loaded = engine.LoadMidifile(path);
    }
    const LoadReport& report = engine.LastLoadReport();
    if (!loaded) {
        load.Problems.push_back(name + ": " + (engine.HeaderOk ? "could not be read" : "not a MIDI file") +
                                InBrackets(messages));
        return load;
    }
    if (report.Damaged) {
        load.Read = SongRead::Damaged;
        load.Problems.push_back(name + ": " + DescribeDamage(report) + InBrackets(messages));
        return load;
    }
    load.Read = SongRead::Whole;
    for (const auto& message : messages) load.Problems.push_back(name + ": " + message);
    return load;
}

SongLoad ReadStandardInputSong(StandardMidifile& engine) {
    SongLoad load;
    std::vector<std::uint8_t> bytes;
    SystemError error;
    if (!tonalux::ReadStandardInput(bytes, error)) {
        load.Problems.push_back("cannot read standard input: " + error.Reason);
        return load;
    }
    PrivateFolder folder;
    if (!folder.Ready()) {
        load.Problems.push_back("could not create a temporary folder for standard input");
        return load;
    }
    const std::string copy = folder.File("standard-input.mid");
    if (!ReplaceFileContents(copy, bytes)) {
        load.Problems.push_back("could not keep standard input in " + copy);
        return load;
    }
    return ReadNamedSong(engine, copy, "standard input");
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
    return IsStandardStream(path) ? ReadStandardInputSong(engine) : ReadNamedSong(engine, path, path);
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

bool SaveSong(StandardMidifile& engine, const std::string& command, int format, const std::string& out) {
    PrivateFolder folder;
    const bool toStandardOutput = IsStandardStream(out);
    if (toStandardOutput && !folder.Ready()) {
        PrintError(command, "could not create a temporary folder for standard output");
        return false;
    }
    const std::string target = toStandardOutput ? folder.File("standard-output.mid") : out;
    bool saved = false;
    {
        // The writer's own message names no cause; the line below does.
        std::vector<std::string> dropped;
        MessageGathering gathering(dropped);
        gathering.Keep(false);
        saved = engine.SaveMidifile(format, target);
    }
    if (!saved) {
        PrintError(command, "could not write " + OutputName(out) + ": " + LastSaveFailure());
        return false;
    }
    const auto& bytes = engine.WrittenBytes();
    // A failed write to standard output is reported once, where the tool ends.
    if (toStandardOutput && !WriteStandardOutput(reinterpret_cast<const char*>(bytes.data()), bytes.size()))
        return false;
    PrintDetail(command, "wrote " + std::to_string(bytes.size()) + " bytes to " + OutputName(out));
    return true;
}

}  // namespace tonalux::cli
