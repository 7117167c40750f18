// tonalux-cli karaoke [--marks keyboard|rp017] [--charset CS] [--from-charset CS]
// [--wrap N] FILE OUT: the song's words as keyboard lyrics.
#include "Commands.h"
#include "Console.h"
#include "KeyboardLyricsStep.h"
#include "LyricsOptions.h"
#include "SongEdit.h"
#include "SongFile.h"
#include "StandardMidifile.h"

namespace tonalux::cli {

namespace {

int RunKaraoke(const ParsedArguments& args) {
    const KeyboardLyricsOptions options = LyricsWritingOptions(args);
    const std::string input = InputName(args.Positionals.at(0));
    return RunSongEdit("karaoke", args, [=](StandardMidifile& engine) -> std::optional<std::string> {
        const LyricsSummary summary = ConvertKeyboardLyrics(engine, options);
        PrintNote("karaoke", input + ": " + DescribeLyrics(summary) +
                                 (summary.Converted() ? std::string() : "; copied unchanged"));
        return std::string();
    });
}

}  // namespace

Command KaraokeCommand() {
    return {"karaoke",
            "write the words of a song as keyboard lyrics",
            "karaoke [--marks keyboard|rp017] [--charset CS] [--from-charset CS] [--wrap N]\n"
            "        FILE OUT [--format 0|1]",
            std::string("Reads the words of FILE as 'lyrics' does and writes the song to OUT with one\n"
                        "lyric event (FF 05) per syllable at its tick, in the first track (format 1)\n"
                        "or the song's one track (format 0). The karaoke text events that carried\n"
                        "syllables and the song's lyric events are replaced; the karaoke \"@\"\n"
                        "headers stay as text events; the karaoke title becomes the song's name\n"
                        "when it has none. Nothing else of the song changes. One line on standard\n"
                        "error tells the syllables, the charsets and the characters transliterated.\n"
                        "A song without words is written unchanged.\n"
                        "\n"
                        "  --marks keyboard   end a line with \"/\" and a page with \"<\" (default)\n"
                        "  --marks rp017      end a line with CR and a page with LF\n"
                        "  --charset CS       write the words in CS: cp1252, cp1250, cp1251 or utf-8;\n"
                        "                     without it the code page the words came in, cp1252\n"
                        "                     for UTF-8 words. A character CS lacks is written by\n"
                        "                     the transliteration table (\"ł\" as \"l\", \"„\" as '\"',\n"
                        "                     Cyrillic in Latin letters) and counted; one the table\n"
                        "                     lacks is written as \"?\" and counted apart\n") +
                kFromCharsetHelp +
                "  --wrap N           break lines longer than N characters between words\n" + kEditHelpFooter,
            {{"FILE", "OUT"},
             2,
             {MarksOption(), CharsetOutputOption(), FromCharsetOption(), WrapOption(), FormatOption(), ForceOption()}},
            RunKaraoke};
}

}  // namespace tonalux::cli
