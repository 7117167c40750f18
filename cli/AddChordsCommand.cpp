// tonalux-cli add-chords [--replace] FILE OUT: chord events from the notes.
#include "ChordRecognition.h"
#include "Commands.h"
#include "Console.h"
#include "SongEdit.h"
#include "SongFile.h"
#include "StandardMidifile.h"

namespace tonalux::cli {

namespace {

int RunAddChords(const ParsedArguments& args) {
    const bool replace = args.Has("--replace");
    const std::string input = InputName(args.Positionals.at(0));
    return RunSongEdit("add-chords", args, [=](StandardMidifile& engine) -> std::optional<std::string> {
        const int before = engine.GetSizeYamChordEvents();
        const ChordRecognitionResult result = AddChordsFromNotes(engine, replace);
        switch (result.Outcome) {
        case ChordsFromNotes::AlreadyHad:
            PrintError("add-chords", input + " already has " + std::to_string(before) +
                                         " chord events; copied unchanged (--replace recognises new ones)");
            return "chord events kept";
        case ChordsFromNotes::NoneFound:
            return std::string("no chords could be told from the notes") +
                   (before > 0 ? ", the song's chord events kept" : "");
        case ChordsFromNotes::Added:
            break;
        }
        return std::to_string(result.Events) + " chord events added" +
               (before > 0 ? " in place of " + std::to_string(before) : std::string());
    });
}

}  // namespace

Command AddChordsCommand() {
    return {"add-chords",
            "add keyboard chord events recognised from the notes",
            "add-chords [--replace] FILE OUT [--format 0|1]",
            std::string("Recognises the chords of FILE from its notes and writes the song to OUT with\n"
                        "keyboard chord events (FF 7F 07 43 7B 01 ...), one where the chord changes.\n"
                        "The drum channel (10) is not read; chords change on the beats of the song's\n"
                        "time signatures; a silence of a bar or more gets no chord. Nothing else of\n"
                        "the song changes: OUT is what save writes, with the chords.\n"
                        "\n"
                        "A FILE that already has chord events is written unchanged, with one line\n"
                        "on standard error saying so (exit status 0).\n"
                        "\n"
                        "  --replace      recognise the chords even then, in place of the song's own\n") +
                kEditHelpFooter,
            {{"FILE", "OUT"}, 2, {{"--replace", false, false}, FormatOption()}},
            RunAddChords};
}

}  // namespace tonalux::cli
