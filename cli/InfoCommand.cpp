// tonalux-cli info FILE: the header values, the size of every list, the last
// tick, the vocoder channel and the chord names of one song.
#include <algorithm>
#include <iomanip>
#include <iostream>
#include <set>

#include "ChordList.h"
#include "Commands.h"
#include "Component.h"
#include "Console.h"
#include "SongFile.h"
#include "SongRecords.h"
#include "StandardMidifile.h"

namespace tonalux::cli {

namespace {

std::uint32_t LastTick(StandardMidifile& engine) {
    std::uint32_t last = 0;
    for (const auto& record : CollectRecords(engine)) last = std::max(last, record.Tick);
    return last;
}

// A line of the report: the name padded to one column width, then the value.
std::ostream& Field(std::ostream& out, const std::string& name) { return out << std::left << std::setw(12) << name; }

int RunInfo(const ParsedArguments& args) {
    const int threshold = args.Value("--threshold") ? ParseThreshold(*args.Value("--threshold")) : kDefaultVelocityThreshold;
    const std::string& file = args.Positionals.at(0);

    ConsoleHost host(threshold);
    Component root(nullptr);
    StandardMidifile engine(&root);
    if (!LoadSong(engine, "info", file)) return kExitFailure;

    const auto counts = CountRecords(engine);
    std::size_t total = 0;
    for (auto count : counts) total += count;
    const int vocoder = engine.VocoderKanalAnalyse();
    const auto chords = DecodeChords(engine);

    std::ostream& out = std::cout;
    const auto field = [](const std::string& name) -> std::ostream& { return Field(std::cout, name); };
    field("file") << file << '\n';
    field("format") << engine.Format << '\n';
    field("tracks") << engine.TrackCount << '\n';
    field("division") << engine.Division << '\n';
    field("last tick") << LastTick(engine) << '\n';
    field("vocoder") << (vocoder == kNoVocoderChannel ? std::string("none") : "channel " + std::to_string(vocoder))
                     << " (threshold " << threshold << ")\n";
    field("records") << total << '\n';
    for (std::size_t list = 0; list < kSongListCount; ++list) {
        out << "  ";
        out << std::left << std::setw(10) << SongListName(list) << counts[list] << '\n';
    }

    // Each name once, in the order the song first uses it; the names hold
    // blanks ("C  /E"), so they are separated by commas.
    std::vector<std::string> names;
    std::set<std::string> seen;
    bool undecodable = false;
    for (const auto& chord : chords) {
        if (!chord.Name) {
            PrintError("info", ChordErrorText(chord));
            undecodable = true;
            continue;
        }
        if (seen.insert(*chord.Name).second) names.push_back(*chord.Name);
    }
    field("chords");
    if (names.empty()) out << (undecodable ? "none decodable" : "none");
    for (std::size_t i = 0; i < names.size(); ++i) out << (i ? ", " : "") << names[i];
    out << '\n';
    return kExitSuccess;
}

}  // namespace

Command InfoCommand() {
    return {"info",
            "show the header, list sizes, last tick, vocoder channel and chords of a song",
            "info FILE [--threshold N]",
            std::string("Shows the format, track count and division of FILE, the number of records\n"
            "in every list (ch1..ch16, meta, tempo, timesig, lyric, marker, chord, sysex),\n"
            "the tick of the last record, the vocoder channel found at the threshold and\n"
            "the names of the keyboard chords, each once, in the order of the song.\n"
            "\n"
            "  --threshold N  velocity threshold of the vocoder analysis, 0 to 127\n"
            "                 (default ") +
                std::to_string(kDefaultVelocityThreshold) +
                ")\n"
                "\n"
                "A chord that cannot be decoded is named on standard error.\n",
            {{"FILE"}, 1, {{"--threshold", true, false}}},
            RunInfo};
}

}  // namespace tonalux::cli
