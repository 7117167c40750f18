// What the keyboard lyrics step tells about a song and what a run counts:
// the texts the tool prints and the window's summary counts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "KeyboardLyricsStep.h"
#include "SongOutcome.h"

namespace tonalux {
namespace {

LyricsSummary Written(std::size_t syllables, Charset from, Charset to, std::size_t transliterated) {
    LyricsSummary s;
    s.Kind = LyricsKind::Karaoke;
    s.Written = true;
    s.Syllables = syllables;
    s.From = from;
    s.To = to;
    s.Transliterated = transliterated;
    return s;
}

TEST(LyricsOutcome, DescriptionNamesWhatWasDoneAndWhatWasMet) {
    struct Case {
        LyricsSummary Summary;
        std::string Text;
    };
    std::vector<Case> cases;
    cases.push_back({LyricsSummary{}, "no words"});
    cases.push_back({Written(1, Charset::Cp1250, Charset::Cp1250, 1),
                     "1 syllable from karaoke text, cp1250 to cp1250, 1 character transliterated"});
    LyricsSummary all = Written(42, Charset::Utf8, Charset::Cp1252, 7);
    all.Kind = LyricsKind::LyricEvents;
    all.FromGiven = true;
    all.Unmapped = 2;
    all.Ignored = LyricsKind::Karaoke;
    all.IgnoredSyllables = 5;
    all.Duplicates = 3;
    all.ControlCharacters = 1;
    all.InvalidBytes = 4;
    all.LinesWrapped = 6;
    all.TitleSet = true;
    cases.push_back({all,
                     "42 syllables from lyric events, utf-8 (given) to cp1252, 7 characters transliterated, 2 characters "
                     "without transliteration written as \"?\", 5 karaoke text events left out, 3 repeated syllables written "
                     "once, 1 control character removed, 4 bytes not UTF-8, read as U+FFFD, 6 lines wrapped, title as "
                     "song name"});
    LyricsSummary read = Written(3, Charset::Cp1251, Charset::Cp1252, 0);
    read.Written = false;
    read.Duplicates = 1;
    cases.push_back({read, "3 syllables from karaoke text, cp1251, 1 repeated syllable read once"});
    for (const auto& c : cases) EXPECT_EQ(DescribeLyrics(c.Summary), c.Text);
}

TEST(LyricsOutcome, RunCountsSongsWithWordsAndTheirTransliterations) {
    RunCounts counts;
    SongOutcome outcome;
    outcome.Result = SongResult::Converted;
    counts.Add(outcome);
    EXPECT_EQ(counts.Text(), "1 song: 1 converted, 0 damaged, 0 failed, 0 skipped");

    outcome.Lyrics = Written(10, Charset::Utf8, Charset::Cp1252, 4);
    counts.Add(outcome);
    outcome.Lyrics = LyricsSummary{};  // asked, no words
    counts.Add(outcome);
    EXPECT_EQ(counts.Text(),
              "3 songs: 3 converted, 0 damaged, 0 failed, 0 skipped, words converted in 1, 4 characters transliterated");
}

}  // namespace
}  // namespace tonalux
