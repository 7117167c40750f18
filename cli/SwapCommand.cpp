// tonalux-cli swap FILE OUT A B: exchanges the events of two channels.
#include "Commands.h"
#include "SongEdit.h"
#include "StandardMidifile.h"

namespace tonalux::cli {

namespace {

int RunSwap(const ParsedArguments& args) {
    const int a = ParseChannel(args.Positionals.at(2));
    const int b = ParseChannel(args.Positionals.at(3));
    return RunSongEdit("swap", args, [a, b](StandardMidifile& engine) -> std::optional<std::string> {
        const int countA = engine.GetSizeMidievents(a);
        const int countB = engine.GetSizeMidievents(b);
        engine.TrackChanging(a, b);
        return "channel " + std::to_string(a + 1) + " (" + std::to_string(countA) + " events) and channel " +
               std::to_string(b + 1) + " (" + std::to_string(countB) + " events) exchanged";
    });
}

}  // namespace

Command SwapCommand() {
    return {"swap",
            "exchange the events of two channels",
            "swap FILE OUT A B [--format 0|1]",
            std::string("Moves every event of channel A to channel B and every event of channel B to\n"
                        "channel A, each in its former order. A and B are 1 to 16.\n\n") +
                kEditHelpFooter,
            {{"FILE", "OUT", "A", "B"}, 4, {FormatOption(), ForceOption()}},
            RunSwap};
}

}  // namespace tonalux::cli
