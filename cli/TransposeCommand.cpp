// tonalux-cli transpose FILE OUT --semitones N: moves the notes of chosen
// channels, and on request the keyboard chord symbols, by N semitones.
#include <array>
#include <cstdint>
#include <limits>
#include <vector>

#include "ChordList.h"
#include "Commands.h"
#include "Console.h"
#include "SongEdit.h"
#include "StandardMidifile.h"

namespace tonalux::cli {

namespace {

constexpr int kDrumChannel = 9;  // channel 10 as the user counts

struct TransposeRequest {
    int Semitones = 0;
    std::array<bool, 16> Channels{};
    bool Chords = false;
    bool Ranged = false;
    std::uint32_t From = 0;
    std::uint32_t To = std::numeric_limits<std::uint32_t>::max();
};

TransposeRequest ReadRequest(const ParsedArguments& args) {
    TransposeRequest request;
    const auto semitones = args.Value("--semitones");
    if (!semitones) throw UsageError("missing --semitones");
    request.Semitones = static_cast<int>(ParseInteger(*semitones, -127, 127, "semitones"));

    const auto channels = args.Values("--channel");
    for (const auto& text : channels) request.Channels[static_cast<std::size_t>(ParseChannel(text))] = true;
    if (channels.empty()) {
        request.Channels.fill(true);
        request.Channels[kDrumChannel] = false;
    }
    request.Chords = args.Has("--chords");

    constexpr long long kMaxTick = std::numeric_limits<std::uint32_t>::max();
    if (auto from = args.Value("--from")) {
        request.From = static_cast<std::uint32_t>(ParseInteger(*from, 0, kMaxTick, "--from"));
        request.Ranged = true;
    }
    if (auto to = args.Value("--to")) {
        request.To = static_cast<std::uint32_t>(ParseInteger(*to, 0, kMaxTick, "--to"));
        request.Ranged = true;
    }
    if (request.From > request.To) throw UsageError("--from must not lie after --to");
    return request;
}

// A note is counted once, by its note-on: its note-off moves with it, and a
// note-on of velocity 0 is a note-off.
bool StartsNote(const MidiEvent& event) { return event.Kind == 0x90 && event.Data2 != 0; }

// "1 note", "12 notes", "-1 semitone".
std::string Counted(long long count, const std::string& one, const std::string& many) {
    return std::to_string(count) + ' ' + (count == 1 || count == -1 ? one : many);
}

// The notes of the chosen channels that start within the chosen ticks.
std::size_t NotesToMove(StandardMidifile& engine, const TransposeRequest& request) {
    std::size_t notes = 0;
    for (int channel = 0; channel < 16; ++channel) {
        if (!request.Channels[static_cast<std::size_t>(channel)]) continue;
        const int size = engine.GetSizeMidievents(channel);
        for (int i = 0; i < size; ++i) {
            const MidiEvent event = engine.GetMidievent(channel, i);
            if (StartsNote(event) && event.Tick >= request.From && event.Tick <= request.To) ++notes;
        }
    }
    return notes;
}

int RunTranspose(const ParsedArguments& args) {
    const TransposeRequest request = ReadRequest(args);
    return RunSongEdit("transpose", args, [request](StandardMidifile& engine) -> std::optional<std::string> {
        // The engine moves a note that would leave 0..127 back into range by
        // whole octaves, so every note of the chosen channels and ticks moves.
        const std::size_t notes = NotesToMove(engine, request);

        // A chord whose root names no note cannot be moved: it is named and
        // nothing is written, rather than counting it as transposed.
        std::size_t chords = 0;
        if (request.Chords) {
            std::vector<ChordEntry> inRange;
            for (const auto& chord : DecodeChords(engine))
                if (chord.Tick >= request.From && chord.Tick <= request.To) inRange.push_back(chord);
            if (ReportUndecodableChords("transpose", inRange)) return std::nullopt;
            chords = inRange.size();
        }
        for (int channel = 0; channel < 16; ++channel) {
            if (!request.Channels[static_cast<std::size_t>(channel)]) continue;
            if (request.Ranged)
                engine.TransposeChannelFromTo(channel, request.Semitones, request.From, request.To);
            else
                engine.TransposeChannel(channel, request.Semitones);
        }
        if (request.Chords) {
            if (request.Ranged)
                engine.YamchordTransFromTo(request.Semitones, request.From, request.To);
            else
                engine.Yamchordtranspose(request.Semitones);
        }
        std::string summary = Counted(static_cast<long long>(notes), "note", "notes");
        if (request.Chords) summary += " and " + Counted(static_cast<long long>(chords), "chord", "chords");
        return summary + " transposed by " + Counted(request.Semitones, "semitone", "semitones");
    });
}

}  // namespace

Command TransposeCommand() {
    return {"transpose",
            "move notes and chord symbols by a number of semitones",
            "transpose FILE OUT --semitones N [--channel C ...] [--chords] [--from T] [--to T] [--format 0|1]",
            std::string("Moves the note-on and note-off events of the chosen channels by N semitones\n"
                        "(negative N moves down). Other events keep their bytes.\n"
                        "\n"
                        "  --semitones N  -127 to 127, required\n"
                        "  --channel C    a channel to transpose, 1 to 16; may be repeated. Without\n"
                        "                 it every channel except the drum channel 10 is transposed\n"
                        "  --chords       also transpose the keyboard chord symbols; if the root\n"
                        "                 of one in range names no note, it is named and nothing\n"
                        "                 is written\n"
                        "  --from T       transpose only notes that start at tick T or later\n"
                        "  --to T         transpose only notes that start at tick T or earlier\n"
                        "                 (a note moves whole: its note-off goes with its note-on)\n") +
                kEditHelpFooter +
                "\nA note that would leave the range 0 to 127 moves back into it by whole octaves.\n",
            {{"FILE", "OUT"},
             2,
             {{"--semitones", true, false},
              {"--channel", true, true},
              {"--chords", false, false},
              {"--from", true, false},
              {"--to", true, false},
              FormatOption(), ForceOption()}},
            RunTranspose};
}

}  // namespace tonalux::cli
