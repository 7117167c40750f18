// tonalux-cli ketron FILE OUT: writes a chord lyric ("%" and the chord name)
// for every keyboard chord event.
#include "ChordList.h"
#include "Commands.h"
#include "Console.h"
#include "SongEdit.h"
#include "StandardMidifile.h"

namespace tonalux::cli {

namespace {

int RunKetron(const ParsedArguments& args) {
    const bool replace = args.Has("--replace");
    return RunSongEdit("ketron", args, [replace](StandardMidifile& engine) -> std::optional<std::string> {
        // Every chord is decoded first: one that cannot be decoded would stop
        // the conversion halfway, so the song is left alone and each such
        // chord is named.
        if (ReportUndecodableChords("ketron", DecodeChords(engine))) return std::nullopt;

        const int chords = engine.GetSizeYamChordEvents();
        try {
            engine.YamahaChordToKetron();
        } catch (const ChordDecodeError& error) {
            PrintError("ketron", error.what());
            return std::nullopt;
        }
        std::string summary = std::to_string(chords) + " chord lyrics added";
        if (replace) {
            engine.DeleteAllYamChords();
            summary += ", " + std::to_string(chords) + " keyboard chord events removed";
        }
        return summary;
    });
}

}  // namespace

Command KetronCommand() {
    return {"ketron",
            "add a chord lyric for every keyboard chord event",
            "ketron FILE OUT [--replace] [--format 0|1]",
            std::string("Adds for every keyboard chord event a lyric event at its tick whose text is\n"
                        "\"%\" and the chord name (\"%F#m7\"). Chord lyrics already in the song stay;\n"
                        "remove them first with strip-chords --ketron to renew them.\n"
                        "\n"
                        "  --replace      also remove the keyboard chord events\n") +
                kEditHelpFooter +
                "\nWhen a chord cannot be decoded, it is named and nothing is written.\n",
            {{"FILE", "OUT"}, 2, {{"--replace", false, false}, FormatOption(), ForceOption()}},
            RunKetron};
}

}  // namespace tonalux::cli
