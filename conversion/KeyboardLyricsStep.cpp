#include "KeyboardLyricsStep.h"

namespace tonalux {

namespace {

const char* KindWords(LyricsKind kind) {
    switch (kind) {
        case LyricsKind::Karaoke: return "karaoke text";
        case LyricsKind::LyricEvents: return "lyric events";
        case LyricsKind::None: break;
    }
    return "nothing";
}

std::string Count(std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

LyricsSummary SummaryOfReading(const SongLyrics& lyrics) {
    LyricsSummary summary;
    summary.Kind = lyrics.Kind;
    summary.Ignored = lyrics.Ignored;
    summary.IgnoredSyllables = lyrics.IgnoredSyllables;
    summary.Syllables = lyrics.Syllables.size();
    summary.From = lyrics.SourceCharset;
    summary.FromGiven = lyrics.CharsetGiven;
    summary.Duplicates = lyrics.DuplicateSyllables;
    summary.ControlCharacters = lyrics.ControlCharacters;
    summary.InvalidBytes = lyrics.InvalidBytes;
    return summary;
}

LyricsSummary ConvertKeyboardLyrics(StandardMidifile& song, const KeyboardLyricsOptions& options) {
    const KeyboardLyricsOutcome outcome = WriteKeyboardLyrics(song, options);
    LyricsSummary summary = SummaryOfReading(outcome.Lyrics);
    summary.Written = outcome.Converted();
    summary.Syllables = outcome.Syllables;
    summary.To = outcome.OutputCharset;
    summary.Transliterated = outcome.Transliterated;
    summary.Unmapped = outcome.Unmapped;
    summary.LinesWrapped = outcome.LinesWrapped;
    summary.TitleSet = outcome.TitleSet;
    return summary;
}

std::string DescribeLyrics(const LyricsSummary& summary) {
    if (!summary.Converted()) return "no words";
    std::string text = Count(summary.Syllables, "syllable", "syllables") + " from " + KindWords(summary.Kind) + ", " +
                       std::string(CharsetName(summary.From)) + (summary.FromGiven ? " (given)" : "");
    if (summary.Written)
        text += " to " + std::string(CharsetName(summary.To)) + ", " +
                Count(summary.Transliterated, "character", "characters") + " transliterated";
    if (summary.Unmapped > 0)
        text += ", " + Count(summary.Unmapped, "character", "characters") + " without transliteration written as \"?\"";
    if (summary.Ignored != LyricsKind::None)
        text += ", " + std::to_string(summary.IgnoredSyllables) + " " + KindWords(summary.Ignored) + " left out";
    if (summary.Duplicates > 0) text += ", " + Count(summary.Duplicates, "repeated syllable", "repeated syllables") + (summary.Written ? " written once" : " read once");
    if (summary.ControlCharacters > 0)
        text += ", " + Count(summary.ControlCharacters, "control character", "control characters") + " removed";
    if (summary.InvalidBytes > 0)
        text += ", " + Count(summary.InvalidBytes, "byte", "bytes") + " not UTF-8, read as U+FFFD";
    if (summary.LinesWrapped > 0) text += ", " + Count(summary.LinesWrapped, "line", "lines") + " wrapped";
    if (summary.TitleSet) text += ", title as song name";
    return text;
}

}  // namespace tonalux
