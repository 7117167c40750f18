// tonalux-cli set-chords FILE LIST OUT: the chord events of a list, in place
// of the song's own.
#include <fstream>
#include <iterator>

#include "ChordListReading.h"
#include "Commands.h"
#include "Console.h"
#include "Platform.h"
#include "SongEdit.h"
#include "SongFile.h"
#include "StandardMidifile.h"

namespace tonalux::cli {

namespace {

// The list's text; "-" reads standard input. False after printing why not.
bool ReadListText(const std::string& list, std::string& text) {
    if (IsStandardStream(list)) {
        if (ReadStandardInput(text)) return true;
        PrintError("set-chords", "cannot read the chord list from standard input");
        return false;
    }
    std::ifstream in(PathFromUtf8(list), std::ios::binary);
    if (!in) {
        PrintError("set-chords", list + ": cannot be read");
        return false;
    }
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

int RunSetChords(const ParsedArguments& args) {
    const std::string& list = args.Positionals.at(1);
    if (IsStandardStream(list) && IsStandardStream(args.Positionals.at(0)))
        throw UsageError("FILE and LIST cannot both be standard input");
    std::string text;
    if (!ReadListText(list, text)) return kExitFailure;
    ChordListReading reading = ReadChordList(text);
    if (!reading.Problems.empty()) {
        for (const std::string& problem : reading.Problems) PrintError("set-chords", list + ": " + problem);
        PrintError("set-chords", "nothing written");
        return kExitFailure;
    }
    // The song and its output are FILE and OUT, as for every changing command.
    ParsedArguments song = args;
    song.Positionals = {args.Positionals.at(0), args.Positionals.at(2)};
    for (const std::string& notice : reading.Notices) PrintWarning("set-chords", list + ": " + notice);
    return RunSongEdit("set-chords", song, [&](StandardMidifile& engine) -> std::optional<std::string> {
        const std::vector<std::string> late = ChordsAfterEnd(reading, engine.EndTick());
        if (!late.empty()) {
            for (const std::string& problem : late) PrintError("set-chords", list + ": " + problem);
            return std::nullopt;
        }
        const int before = engine.GetSizeYamChordEvents();
        engine.DeleteAllYamChords();
        for (const MetaEvent& chord : reading.Chords)
            if (!engine.AddYamchord(chord)) return std::nullopt;
        return std::to_string(reading.Chords.size()) + " chord events set in place of " + std::to_string(before);
    });
}

}  // namespace

Command SetChordsCommand() {
    return {"set-chords",
            "replace the keyboard chord events by a chord list",
            "set-chords FILE LIST OUT [--format 0|1]",
            std::string("Writes FILE to OUT with the chord events of LIST in place of its own. LIST is\n"
                        "in the form that chords prints, one chord per line:\n"
                        "\n"
                        "  TICK NAME\n"
                        "\n"
                        "for example \"1920 F#m7\", \"3840 C  /E\" (two blanks before the bass) or\n"
                        "\"5760 BbMaj7\". Names as musicians write them are read too: \"C/E\", \"C /E\",\n"
                        "\"Cmaj7\", \"CM7\", \"Cm7b5\", \"Cdim7\", \"C7sus4\", \"N.C.\" and more. Blank\n"
                        "lines and lines beginning with \"#\" are passed over; ticks may not go back\n"
                        "nor lie after the song's end. Two chords on one tick are written, with a\n"
                        "warning naming the line. A list printed by chords gives back the same chord\n"
                        "events (the bass type, which no name shows, is written as 0x7F). A bad line\n"
                        "is named with its number and nothing is written. LIST \"-\" reads the list\n"
                        "from standard input.\n\n") +
                kEditHelpFooter,
            {{"FILE", "LIST", "OUT"}, 3, {FormatOption()}},
            RunSetChords};
}

}  // namespace tonalux::cli
