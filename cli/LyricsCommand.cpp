// tonalux-cli lyrics [--json] [--from-charset CS] FILE: the song's words.
#include <iostream>

#include "Commands.h"
#include "Console.h"
#include "Json.h"
#include "KeyboardLyricsStep.h"
#include "LyricsOptions.h"
#include "SongLyrics.h"
#include "SongSession.h"
#include "StandardMidifile.h"

namespace tonalux::cli {

namespace {

// One sung line per output line, a blank line between pages.
void PrintText(std::ostream& out, const SongLyrics& lyrics) {
    for (std::size_t i = 0; i < lyrics.Syllables.size(); ++i) {
        const Syllable& s = lyrics.Syllables[i];
        if (i > 0 && s.Page) out << "\n\n";
        else if (i > 0 && s.Line) out << '\n';
        out << s.Text;
    }
    if (!lyrics.Syllables.empty()) out << '\n';
}

void PrintJson(std::ostream& out, const SongLyrics& lyrics) {
    out << "{\"charset\": " << JsonString(std::string(CharsetName(lyrics.SourceCharset)))
        << ", \"title\": " << JsonString(lyrics.Title) << ", \"syllables\": [";
    for (std::size_t i = 0; i < lyrics.Syllables.size(); ++i) {
        const Syllable& s = lyrics.Syllables[i];
        out << (i ? ",\n  " : "\n  ") << "{\"tick\": " << s.Tick << ", \"text\": " << JsonString(s.Text)
            << ", \"line\": " << (s.Line ? "true" : "false") << ", \"page\": " << (s.Page ? "true" : "false") << '}';
    }
    out << (lyrics.Syllables.empty() ? "]}\n" : "\n]}\n");
}

int RunLyrics(const ParsedArguments& args) {
    const auto from = CharsetOption(args, "--from-charset");
    const std::string& file = args.Positionals.at(0);
    SongSession session;
    const SongRead read = session.Load("lyrics", file);
    if (read == SongRead::Failed) return kExitFailure;
    const SongLyrics lyrics = ReadLyrics(session.Engine, from);
    if (args.Has("--json")) PrintJson(Output(), lyrics);
    else PrintText(Output(), lyrics);
    PrintNote("lyrics", InputName(file) + ": " + DescribeLyrics(SummaryOfReading(lyrics)));
    return read == SongRead::Whole ? kExitSuccess : kExitFailure;
}

}  // namespace

Command LyricsCommand() {
    return {"lyrics",
            "print the words of a song",
            "lyrics [--json] [--from-charset CS] FILE",
            std::string("Prints the words of FILE in UTF-8, one sung line per line and a blank line\n"
                        "between pages. The words are the Soft Karaoke text events (\"@\" headers,\n"
                        "\"\\\" starts a page, \"/\" a line) or the lyric events (CR ends a line, LF\n"
                        "a page; or the keyboard marks \"/\" line, \"<\" page, \"^\" space); a song\n"
                        "with both takes the kind with more syllables and says so. The charset is\n"
                        "UTF-8 when the words are well-formed UTF-8, otherwise the one of cp1252,\n"
                        "cp1250 and cp1251 whose reading looks most like text of its languages.\n"
                        "One line on standard error tells the syllables, the charset and what was\n"
                        "left out.\n"
                        "\n"
                        "  --json             print {\"charset\": ..., \"title\": ..., \"syllables\":\n"
                        "                     [{\"tick\": N, \"text\": ..., \"line\": true|false,\n"
                        "                     \"page\": true|false}, ...]}; a word's last syllable\n"
                        "                     keeps its space, a line's last syllable has none\n") +
                kFromCharsetHelp +
                "\n"
                "A song without words prints nothing (exit status 0). FILE \"-\" reads the\n"
                "song from standard input.\n",
            {{"FILE"}, 1, {{"--json", false, false}, FromCharsetOption()}},
            RunLyrics};
}

}  // namespace tonalux::cli
