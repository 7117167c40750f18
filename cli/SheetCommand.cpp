// tonalux-cli sheet [--add-chords] [--from-charset CS] FILE: the song's chord
// sheet as ChordPro text.
#include <string>

#include "ChordRecognition.h"
#include "Commands.h"
#include "Console.h"
#include "SongFile.h"
#include "SongLyrics.h"
#include "SongSession.h"
#include "SongSheet.h"
#include "StandardMidifile.h"

namespace tonalux::cli {

namespace {

std::optional<Charset> CharsetOption(const ParsedArguments& args) {
    const auto name = args.Value("--from-charset");
    if (!name) return std::nullopt;
    const auto charset = CharsetFromName(*name);
    if (!charset) throw UsageError("unknown charset '" + *name + "' (cp1252, cp1250, cp1251 or utf-8)");
    return charset;
}

int RunSheet(const ParsedArguments& args) {
    const std::optional<Charset> charset = CharsetOption(args);
    const std::string& file = args.Positionals.at(0);
    const std::string input = InputName(file);
    SongSession session;
    StandardMidifile& engine = session.Engine;
    // The song's name, when it has one, is the sheet's title.
    engine.SetKeepSongNames(true);
    const SongRead read = session.Load("sheet", file);
    if (read == SongRead::Failed) return kExitFailure;

    if (args.Has("--add-chords")) {
        const ChordRecognitionResult result = AddChordsFromNotes(engine, false);
        if (result.Outcome == ChordsFromNotes::Added)
            PrintDetail("sheet", input + ": " + std::to_string(result.Events) + " chords recognised from the notes");
        else if (result.Outcome == ChordsFromNotes::NoneFound)
            PrintWarning("sheet", input + ": no chords could be told from the notes");
    }
    const SongLyrics lyrics = ReadLyrics(engine, charset);
    const SongSheet sheet = MakeSongSheet(engine, lyrics, input);
    Output() << ChordProText(sheet);
    for (const std::string& note : sheet.Notes) PrintWarning("sheet", input + ": " + note);
    return read == SongRead::Whole ? kExitSuccess : kExitFailure;
}

}  // namespace

Command SheetCommand() {
    return {"sheet",
            "print the chord sheet of a song as ChordPro text",
            "sheet [--add-chords] [--from-charset CS] FILE",
            "Prints the chord sheet of FILE in the ChordPro format, which ChordPro\n"
            "programs render and print: the directives {title:} (the karaoke title, else\n"
            "the song's name, else the file name), {subtitle:} (the author of the words),\n"
            "{key:} (the key signature, else the key of the last chord), {time:} and\n"
            "{tempo:}, then one line per sung line with each chord in brackets before\n"
            "the syllable sounding when it begins, and a blank line between the pages of\n"
            "the words. Chord names are written as musicians write them (C, Cm, C7,\n"
            "Cmaj7, C6, Cadd9, Cm7b5, Cdim, Cdim7, Csus4, C7sus4, Caug, C/E, N.C.),\n"
            "spelled as the song's chord events spell them.\n"
            "\n"
            "A song without words gets a grid of bars between {start_of_grid} and\n"
            "{end_of_grid}, four bars a line, one cell per beat:\n"
            "\n"
            "  | C . G . | Am . . . |\n"
            "\n"
            "A song with neither words nor chords gets only its directives; that, and\n"
            "words without chords, is said on standard error.\n"
            "\n"
            "  --add-chords       recognise the chords from the notes first when the song\n"
            "                     has no chord events (as add-chords does)\n"
            "  --from-charset CS  read the words in charset CS (cp1252, cp1250, cp1251,\n"
            "                     utf-8) instead of the one detected\n"
            "\n"
            "FILE \"-\" reads the song from standard input. The exit status is 1 for a\n"
            "damaged FILE, whose sheet shows what could be read.\n",
            {{"FILE"}, 1, {{"--add-chords", false, false}, {"--from-charset", true, false}}},
            RunSheet};
}

}  // namespace tonalux::cli
