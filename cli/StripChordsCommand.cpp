// tonalux-cli strip-chords FILE OUT: removes keyboard chord events, chord
// lyrics, or both.
#include "Commands.h"
#include "SongEdit.h"
#include "StandardMidifile.h"

namespace tonalux::cli {

namespace {

int RunStripChords(const ParsedArguments& args) {
    // Without a choice both kinds go.
    const bool either = args.Has("--xf") || args.Has("--ketron");
    const bool keyboard = !either || args.Has("--xf");
    const bool lyrics = !either || args.Has("--ketron");
    return RunSongEdit("strip-chords", args, [=](StandardMidifile& engine) -> std::optional<std::string> {
        std::string summary;
        if (keyboard) {
            const int before = engine.GetSizeYamChordEvents();
            engine.DeleteAllYamChords();
            summary = std::to_string(before) + " keyboard chord events removed";
        }
        if (lyrics) {
            const int before = engine.GetSizeLyricEvents();
            engine.DelAllKetronChords();
            if (!summary.empty()) summary += ", ";
            summary += std::to_string(before - engine.GetSizeLyricEvents()) + " chord lyrics removed";
        }
        return summary;
    });
}

}  // namespace

Command StripChordsCommand() {
    return {"strip-chords",
            "remove keyboard chord events and/or chord lyrics",
            "strip-chords FILE OUT [--xf] [--ketron] [--format 0|1]",
            std::string("Removes chord information from a song.\n"
                        "\n"
                        "  --xf           remove the keyboard chord events\n"
                        "  --ketron       remove the chord lyrics (lyric events beginning with \"%\")\n"
                        "                 without either option both kinds are removed\n") +
                kEditHelpFooter,
            {{"FILE", "OUT"}, 2, {{"--xf", false, false}, {"--ketron", false, false}, FormatOption(), ForceOption()}},
            RunStripChords};
}

}  // namespace tonalux::cli
