// tonalux-cli info FILE...: the header values, the size of every list, the
// last tick, the vocoder channel and the chord names of each song, as text or
// as one JSON document.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <iomanip>
#include <iostream>
#include <optional>
#include <set>

#include "ChordList.h"
#include "Commands.h"
#include "Console.h"
#include "SongSession.h"
#include "Json.h"
#include "SongFile.h"
#include "SongRecords.h"
#include "StandardMidifile.h"

namespace tonalux::cli {

namespace {

// What info shows of one song.
struct SongInfo {
    std::string File;
    std::string Error;  // why the song could not be read; the rest is then empty
    bool Damaged = false;                 // read up to damage: shown as far as it was read
    LoadReport Load;                      // where the damage lies
    std::vector<std::string> Problems;    // the lines naming the song and each problem of its reading
    int Format = 0;
    int Tracks = 0;
    int Division = 0;
    std::uint32_t LastTick = 0;
    std::optional<int> Vocoder;  // channel 1..16
    std::array<std::size_t, kSongListCount> Counts{};
    std::size_t Records = 0;
    std::vector<std::string> Chords;      // each name once, in the order of the song
    std::vector<ChordEntry> Undecodable;  // chords without a name
};

// The vocoder analysis reads its threshold from the console host.
SongInfo ReadInfo(StandardMidifile& engine, const std::string& file) {
    SongInfo info;
    info.File = InputName(file);
    const SongLoad load = ReadSong(engine, file);
    info.Problems = load.Problems;
    if (load.Read == SongRead::Failed) {
        info.Error = load.Problems.empty() ? info.File + ": could not be read" : load.Problems.front();
        return info;
    }
    info.Damaged = load.Read == SongRead::Damaged;
    info.Load = engine.LastLoadReport();
    info.Format = engine.Format;
    info.Tracks = engine.TrackCount;
    info.Division = engine.Division;
    for (const auto& record : CollectRecords(engine)) info.LastTick = std::max(info.LastTick, record.Tick);
    info.Counts = CountRecords(engine);
    for (auto count : info.Counts) info.Records += count;
    const int vocoder = engine.VocoderKanalAnalyse();
    if (vocoder != kNoVocoderChannel) info.Vocoder = vocoder;
    std::set<std::string> seen;
    for (auto& chord : DecodeChords(engine)) {
        if (!chord.Name)
            info.Undecodable.push_back(chord);
        else if (seen.insert(*chord.Name).second)
            info.Chords.push_back(*chord.Name);
    }
    return info;
}

// A division with bit 15 set counts frames of SMPTE time code: its high
// byte is the negative frame rate (-24, -25, -29 for 29.97 drop frame, -30),
// its low byte the ticks of one frame.
struct SmpteDivision {
    int FramesPerSecond = 0;
    int TicksPerFrame = 0;
};
std::optional<SmpteDivision> DecodeSmpte(int division) {
    if ((division & 0x8000) == 0) return std::nullopt;
    const auto rate = static_cast<std::int8_t>(static_cast<std::uint8_t>(division >> 8));
    return SmpteDivision{-rate, division & 0xFF};
}

// "96", or "SMPTE 25 frames per second, 40 ticks per frame" (29 is 29.97, drop frame).
std::string DivisionText(int division) {
    const auto smpte = DecodeSmpte(division);
    if (!smpte) return std::to_string(division);
    const std::string rate =
        smpte->FramesPerSecond == 29 ? std::string("29.97 (drop frame)") : std::to_string(smpte->FramesPerSecond);
    return "SMPTE " + rate + " frames per second, " + std::to_string(smpte->TicksPerFrame) + " ticks per frame";
}

// The JSON fields that follow "division" for an SMPTE division and for a
// damaged song; empty for neither.
std::string JsonExtras(const SongInfo& info) {
    std::string text;
    if (const auto smpte = DecodeSmpte(info.Division))
        text += ", \"smpte\": {\"frames_per_second\": " + std::to_string(smpte->FramesPerSecond) +
                ", \"drop_frame\": " + (smpte->FramesPerSecond == 29 ? "true" : "false") +
                ", \"ticks_per_frame\": " + std::to_string(smpte->TicksPerFrame) + "}";
    if (info.Damaged)
        text += ", \"damage\": {\"offset\": " + std::to_string(info.Load.DamageOffset) + ", \"track\": " +
                (info.Load.DamageTrack >= 0 ? std::to_string(info.Load.DamageTrack + 1) : std::string("null")) +
                ", \"records_kept\": " + std::to_string(info.Load.Records) + "}";
    return text;
}

// A line of the report: the name padded to one column width, then the value.
std::ostream& Field(std::ostream& out, const std::string& name) { return out << std::left << std::setw(12) << name; }

void PrintText(std::ostream& out, const SongInfo& info, int threshold) {
    Field(out, "file") << info.File << '\n';
    Field(out, "format") << info.Format << '\n';
    Field(out, "tracks") << info.Tracks << '\n';
    Field(out, "division") << DivisionText(info.Division) << '\n';
    Field(out, "last tick") << info.LastTick << '\n';
    Field(out, "vocoder") << (info.Vocoder ? "channel " + std::to_string(*info.Vocoder) : std::string("none"))
                          << " (threshold " << threshold << ")\n";
    Field(out, "records") << info.Records << '\n';
    for (std::size_t list = 0; list < kSongListCount; ++list)
        out << "  " << std::left << std::setw(10) << SongListName(list) << info.Counts[list] << '\n';
    // The names hold blanks ("C  /E"), so they are separated by commas.
    Field(out, "chords");
    if (info.Chords.empty()) out << (info.Undecodable.empty() ? "none" : "none decodable");
    for (std::size_t i = 0; i < info.Chords.size(); ++i) out << (i ? ", " : "") << info.Chords[i];
    out << '\n';
}

void PrintJson(std::ostream& out, const SongInfo& info, int threshold) {
    out << "  {\"file\": " << JsonString(info.File);
    if (!info.Error.empty()) {
        out << ", \"error\": " << JsonString(info.Error) << '}';
        return;
    }
    out << ", \"damaged\": " << (info.Damaged ? "true" : "false");
    out << ", \"format\": " << info.Format << ", \"tracks\": " << info.Tracks << ", \"division\": " << info.Division
        << JsonExtras(info) << ", \"last_tick\": " << info.LastTick << ",\n   \"vocoder\": {\"channel\": "
        << (info.Vocoder ? std::to_string(*info.Vocoder) : std::string("null")) << ", \"threshold\": " << threshold
        << "}, \"records\": " << info.Records << ",\n   \"lists\": {";
    for (std::size_t list = 0; list < kSongListCount; ++list)
        out << (list ? ", " : "") << JsonString(SongListName(list)) << ": " << info.Counts[list];
    out << "},\n   \"chords\": [";
    for (std::size_t i = 0; i < info.Chords.size(); ++i) out << (i ? ", " : "") << JsonString(info.Chords[i]);
    out << "], \"undecodable_chords\": [";
    for (std::size_t i = 0; i < info.Undecodable.size(); ++i) {
        char root[3];
        std::snprintf(root, sizeof root, "%02X", info.Undecodable[i].Root);
        out << (i ? ", " : "") << "{\"tick\": " << info.Undecodable[i].Tick << ", \"root\": \"" << root << "\"}";
    }
    out << "]}";
}

int RunInfo(const ParsedArguments& args) {
    const int threshold =
        args.Value("--threshold") ? ParseThreshold(*args.Value("--threshold")) : kDefaultVelocityThreshold;
    const bool json = args.Has("--json");
    const auto& files = args.Positionals;
    if (std::count(files.begin(), files.end(), std::string(kStandardStream)) > 1)
        throw UsageError("standard input can be read only once");

    SongSession session(threshold);
    StandardMidifile& engine = session.Engine;
    std::ostream& out = Output();
    bool allRead = true;
    if (json) out << "[\n";
    for (std::size_t i = 0; i < files.size(); ++i) {
        session.Host.SetContext("info: " + InputName(files[i]));
        const SongInfo info = ReadInfo(engine, files[i]);
        for (const auto& problem : info.Problems) PrintError("info", problem);
        if (!info.Error.empty() || info.Damaged) allRead = false;
        if (info.Error.empty() && CurrentVerbosity() == Verbosity::Verbose)
            PrintDetail("info", DescribeLoadedSong(engine, files[i]));
        if (ReportUndecodableChords("info", info.Undecodable)) allRead = false;
        if (json) {
            PrintJson(out, info, threshold);
            out << (i + 1 < files.size() ? ",\n" : "\n");
        } else if (info.Error.empty()) {
            if (i > 0) out << '\n';
            PrintText(out, info, threshold);
        }
    }
    if (json) out << "]\n";
    return allRead ? kExitSuccess : kExitFailure;
}

}  // namespace

Command InfoCommand() {
    return {"info",
            "show the header, list sizes, last tick, vocoder channel and chords of songs",
            "info FILE... [--threshold N] [--json]",
            std::string("Shows the format, track count and division of each FILE, the number of\n"
            "records in every list (ch1..ch16, meta, tempo, timesig, lyric, marker, chord,\n"
            "sysex), the tick of the last record, the vocoder channel found at the\n"
            "threshold and the names of the keyboard chords, each once, in the order of\n"
            "the song. Several songs are shown one after the other, separated by an empty\n"
            "line; FILE \"-\" reads a song from standard input.\n"
            "\n"
            "  --threshold N  velocity threshold of the vocoder analysis, 0 to 127\n"
            "                 (default ") +
                std::to_string(kDefaultVelocityThreshold) +
                ")\n"
            "  --json         print one JSON document: an array with one object per FILE\n"
            "                 (see the README for its fields)\n"
            "\n"
            "A chord whose root names no note is named on standard error. A FILE that\n"
            "cannot be read is named on standard error (and in the JSON document), the\n"
            "others are still shown. A damaged FILE is shown as far as it was read, with\n"
            "the damage named on standard error. The exit status is then 1.\n",
            {{"FILE"}, 1, {{"--threshold", true, false}, {"--json", false, false}}, true},
            RunInfo};
}

}  // namespace tonalux::cli
