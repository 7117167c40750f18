// The song sheet: chord names, chords placed at the syllables sounding when
// they begin, the grid of a song without words, the ChordPro text, and the
// facts read from a loaded song.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Component.h"
#include "SongBuilder.h"
#include "SongSheet.h"
#include "StandardMidifile.h"
#include "TestSupport.h"

namespace tonalux {
namespace {

using testing::Track;

TEST(SongSheet, ChordProNamesForEveryKindOfChord) {
    struct Case {
        std::uint8_t Root, Type, Bass;
        const char* Name;
    };
    const Case cases[] = {
        {0x31, 0, 0x7F, "C"},      {0x31, 8, 0x7F, "Cm"},     {0x31, 19, 0x7F, "C7"},   {0x31, 2, 0x7F, "Cmaj7"},
        {0x31, 1, 0x7F, "C6"},     {0x31, 4, 0x7F, "Cadd9"},  {0x31, 11, 0x7F, "Cm7b5"}, {0x31, 17, 0x7F, "Cdim"},
        {0x31, 18, 0x7F, "Cdim7"}, {0x31, 32, 0x7F, "Csus4"}, {0x31, 20, 0x7F, "C7sus4"}, {0x31, 7, 0x7F, "Caug"},
        {0x31, 0, 0x33, "C/E"},    {0x31, 34, 0x7F, "N.C."},  {0x7F, 34, 0x7F, "N.C."}, {0x31, 6, 0x7F, "C69"},
        {0x31, 10, 0x7F, "Cm7"},   {0x31, 9, 0x7F, "Cm6"},    {0x31, 33, 0x7F, "Csus2"},
        // Spelled as the event spells it, bass included.
        {0x27, 8, 0x7F, "Bbm"},    {0x44, 10, 0x33, "F#m7/E"}, {0x23, 19, 0x22, "Eb7/Db"}, {0x51, 0, 0x7F, "C##"},
        {0x16, 0, 0x7F, "Abb"},    {0x06, 0, 0x7F, "Abbb"},
        // The bass the root is, or one that names no note, is left out.
        {0x31, 0, 0x31, "C"},      {0x31, 0, 0x08, "C"},
    };
    for (const Case& c : cases) {
        const auto name = ChordProName(c.Root, c.Type, c.Bass);
        ASSERT_TRUE(name.has_value()) << c.Name;
        EXPECT_EQ(*name, c.Name);
    }
    // A root that names no note, and a type no keyboard writes, are no name.
    EXPECT_FALSE(ChordProName(0x7F, 0, 0x7F));
    EXPECT_FALSE(ChordProName(0x30, 0, 0x7F));
    EXPECT_FALSE(ChordProName(0x31, 35, 0x7F));
}

Syllable Syl(std::uint32_t tick, std::string text, bool line = false, bool page = false) {
    return {tick, std::move(text), line, page};
}

// The lines of the ChordPro text after the directives.
std::vector<std::string> BodyLines(const SongSheet& sheet) {
    const std::string text = ChordProText(sheet);
    std::vector<std::string> lines;
    std::size_t start = text.find("\n\n");
    if (start == std::string::npos) return lines;
    start += 2;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

TEST(SongSheet, ChordsStandBeforeTheSyllableSoundingWhenTheyBegin) {
    // Two lines of 4/4 at 96 ticks a beat: "Hel-lo world" from beat 1 of bar
    // 1, "good-bye" from bar 3.
    const std::vector<Syllable> words = {Syl(0, "Hel", true), Syl(96, "lo "), Syl(192, "world"),
                                         Syl(768, "good", true), Syl(960, "bye")};
    struct Case {
        const char* What;
        std::vector<SheetChord> Chords;
        std::vector<std::string> Lines;
    };
    const Case cases[] = {
        {"on syllables", {{0, "C"}, {192, "G"}, {768, "Am"}}, {"[C]Hello [G]world", "[Am]goodbye"}},
        {"while a syllable is held", {{50, "C"}, {100, "F"}, {900, "G7"}}, {"[C]Hel[F]lo world", "[G7]goodbye"}},
        {"two in one held syllable", {{192, "G"}, {250, "G/B"}}, {"Hello [G][G/B]world", "goodbye"}},
        {"before the first word", {{0, "C"}}, {"[C]Hello world", "goodbye"}},
        {"after the last word is held a bar", {{1400, "C"}}, {"Hello world", "goodbye [C]"}},
        {"while the line's last word is held", {{500, "D"}}, {"Hello [D]world", "goodbye"}},
        {"in the gap, a bar after the line's end", {{576, "E"}, {700, "E7"}}, {"Hello world", "[E][E7]goodbye"}},
        {"no chords", {}, {"Hello world", "goodbye"}},
        {"no chord between chords", {{0, "C"}, {192, "N.C."}}, {"[C]Hello [N.C.]world", "goodbye"}},
    };
    for (const Case& c : cases) {
        SheetFacts facts;
        facts.Chords = c.Chords;
        SongLyrics lyrics;
        lyrics.Kind = LyricsKind::LyricEvents;
        lyrics.Syllables = words;
        const SongSheet sheet = BuildSongSheet(facts, lyrics);
        EXPECT_EQ(BodyLines(sheet), c.Lines) << c.What;
        EXPECT_EQ(sheet.ChordCount, c.Chords.size()) << c.What;
    }
}

TEST(SongSheet, PagesOfTheWordsAreBlankLines) {
    SongLyrics lyrics;
    lyrics.Syllables = {Syl(0, "one", true, true), Syl(384, "two", true), Syl(768, "three", true, true),
                        Syl(1152, "", true), Syl(1536, "four", true)};
    SheetFacts facts;
    facts.Chords = {{768, "F"}};
    const SongSheet sheet = BuildSongSheet(facts, lyrics);
    // The empty sung line is left out: a blank line would read as a page.
    EXPECT_EQ(BodyLines(sheet), (std::vector<std::string>{"one", "two", "", "[F]three", "four"}));
    ASSERT_EQ(sheet.Lines.size(), 5u);
    EXPECT_FALSE(sheet.Lines[0].NewPage);
    EXPECT_TRUE(sheet.Lines[2].NewPage);
}

TEST(SongSheet, GridOfASongWithoutWords) {
    using Metres = std::vector<SheetFacts::Metre>;
    struct Case {
        const char* What;
        Metres Metre;
        std::vector<SheetChord> Chords;
        std::vector<std::string> Lines;
    };
    const Case cases[] = {
        {"two chords a bar", {}, {{0, "C"}, {192, "G"}, {384, "Am"}},
         {"{start_of_grid}", "| C . G . | Am . . . |", "{end_of_grid}"}},
        {"four bars a line, repeats not folded", {},
         {{0, "C"}, {384, "C"}, {768, "C"}, {1152, "C"}, {1536, "C"}},
         {"{start_of_grid}", "| C . . . | C . . . | C . . . | C . . . |", "| C . . . |", "{end_of_grid}"}},
        {"off-beats stand in their beat", {}, {{48, "C"}, {230, "F"}, {250, "G"}},
         {"{start_of_grid}", "| C . F~G . |", "{end_of_grid}"}},
        {"a change to 3/4 at a bar line", {{0, 4, 4}, {384, 3, 4}}, {{0, "C"}, {384, "F"}, {672, "G"}},
         {"{start_of_grid}", "| C . . . | F . . | G . . |", "{end_of_grid}"}},
        {"a metre starting inside a bar cuts it short", {{0, 4, 4}, {192, 3, 4}}, {{0, "C"}, {192, "D"}, {480, "E"}},
         {"{start_of_grid}", "| C . | D . . | E . . |", "{end_of_grid}"}},
        {"6/8 in two dotted beats", {{0, 6, 8}}, {{0, "D"}, {144, "A"}, {288, "Bm"}},
         {"{start_of_grid}", "| D A | Bm . |", "{end_of_grid}"}},
        {"empty bars between chords", {}, {{0, "C"}, {1152, "G"}},
         {"{start_of_grid}", "| C . . . | . . . . | . . . . | G . . . |", "{end_of_grid}"}},
    };
    for (const Case& c : cases) {
        SheetFacts facts;
        facts.Metres = c.Metre;
        facts.Chords = c.Chords;
        const SongSheet sheet = BuildSongSheet(facts, SongLyrics{});
        EXPECT_EQ(BodyLines(sheet), c.Lines) << c.What;
        EXPECT_EQ(sheet.ChordCount, c.Chords.size()) << c.What;
        EXPECT_TRUE(sheet.Notes.empty()) << c.What;
    }
}

TEST(SongSheet, SongsWithoutWordsOrChordsSaySo) {
    SheetFacts facts;
    facts.FileName = "Midifile/Empty Song.mid";
    const SongSheet neither = BuildSongSheet(facts, SongLyrics{});
    EXPECT_EQ(ChordProText(neither), "{title: Empty Song}\n{time: 4/4}\n{tempo: 120}\n");
    ASSERT_EQ(neither.Notes.size(), 1u);
    EXPECT_NE(neither.Notes[0].find("neither words nor chords"), std::string::npos);

    SongLyrics lyrics;
    lyrics.Syllables = {Syl(0, "la ", true), Syl(96, "la")};
    const SongSheet wordsOnly = BuildSongSheet(facts, lyrics);
    EXPECT_EQ(BodyLines(wordsOnly), (std::vector<std::string>{"la la"}));
    ASSERT_EQ(wordsOnly.Notes.size(), 1u);
    EXPECT_NE(wordsOnly.Notes[0].find("no chords"), std::string::npos);
}

TEST(SongSheet, DirectivesFromTheSongAndItsWords) {
    struct Case {
        const char* What;
        std::string KaraokeTitle, SongName, Author;
        std::optional<int> Fifths;
        bool Minor;
        std::optional<double> Bpm;
        std::vector<SheetChord> Chords;
        std::string Header;
    };
    const Case cases[] = {
        {"karaoke title first", "Sway", "SWAY.MID", "Ruiz", -2, false, 125.0, {},
         "{title: Sway}\n{subtitle: Ruiz}\n{key: Bb}\n{time: 4/4}\n{tempo: 125}\n"},
        {"then the song's name", "", "Yesterday", "", 1, true, 96.5, {},
         "{title: Yesterday}\n{key: Em}\n{time: 4/4}\n{tempo: 97}\n"},
        {"key of the last chord without a key signature", "", "", "", std::nullopt, false, std::nullopt,
         {{0, "C"}, {96, "F#m7/E"}, {192, "N.C."}}, "{title: song}\n{key: F#m}\n{time: 4/4}\n{tempo: 120}\n"},
        {"seven sharps", "", "", "", 7, false, std::nullopt, {}, "{title: song}\n{key: C#}\n{time: 4/4}\n{tempo: 120}\n"},
        {"braces in a title", "a {b}", "", "", 0, false, 120.0, {}, "{title: a (b)}\n{key: C}\n{time: 4/4}\n{tempo: 120}\n"},
    };
    for (const Case& c : cases) {
        SheetFacts facts;
        facts.FileName = "song.mid";
        facts.SongName = c.SongName;
        facts.KeyFifths = c.Fifths;
        facts.KeyMinor = c.Minor;
        facts.BeatsPerMinute = c.Bpm;
        facts.Chords = c.Chords;
        SongLyrics lyrics;
        lyrics.Title = c.KaraokeTitle;
        lyrics.Author = c.Author;
        const std::string text = ChordProText(BuildSongSheet(facts, lyrics));
        EXPECT_EQ(text.substr(0, c.Header.size()), c.Header) << c.What;
    }
}

TEST(SongSheet, WordsThatLookLikeChordProStayWords) {
    SongLyrics lyrics;
    lyrics.Syllables = {Syl(0, "#1 [live]", true), Syl(96, "{x}", true), Syl(192, "tab\there", true)};
    EXPECT_EQ(BodyLines(BuildSongSheet(SheetFacts{}, lyrics)),
              (std::vector<std::string>{" #1 (live)", " {x}", "tab here"}));
}

TEST(SongSheet, ASyllableOfTenKilobytesStaysWhole) {
    SongLyrics lyrics;
    const std::string huge(10 * 1024, 'a');
    lyrics.Syllables = {Syl(0, huge, true)};
    SheetFacts facts;
    facts.Chords = {{0, "C"}, {200, "G"}, {5000, "D"}};
    const auto lines = BodyLines(BuildSongSheet(facts, lyrics));
    // Compared whole, not printed: a failure would fill the screen.
    EXPECT_TRUE(lines == std::vector<std::string>{"[C][G]" + huge + " [D]"});
}

TEST(SongSheet, AGridOfFarTicksIsCutAndSaysSo) {
    SheetFacts facts;
    facts.Division = 1;
    facts.Chords = {{0, "C"}, {0x0FFFFFFF, "G"}};
    const SongSheet sheet = BuildSongSheet(facts, SongLyrics{});
    EXPECT_EQ(sheet.ChordCount, 1u);
    ASSERT_EQ(sheet.Notes.size(), 1u);
    EXPECT_NE(sheet.Notes[0].find("1 later chords are not shown"), std::string::npos);
}

TEST(SongSheet, FactsOfALoadedSong) {
    testing::RecordingHost host;
    Component root(nullptr);
    StandardMidifile song(&root);
    song.SetKeepSongNames(true);
    Track track;
    track.Text(0, 0x03, "Caf\xE9")
        .Meta(0, 0x58, {3, 2, 24, 8})
        .Tempo(0, 500000)
        .Meta(0, 0x59, {0xFD, 0})
        .Chord(0, 0x27, 0)           // Bb
        .Chord(288, 0x23, 2, 0x23)   // Ebmaj7 over its own root: no bass
        .Chord(288, 0x7F, 3)         // a root that names no note
        .Chord(0, 0x31, 34)          // no chord
        .End(96);
    const auto bytes = testing::SongBuilder(0, 96).AddTrack(track).Bytes();
    ASSERT_TRUE(song.LoadMidiBytes(bytes.data(), bytes.size()));
    const SheetFacts facts = ReadSheetFacts(song, "dir/cafe.mid");
    EXPECT_EQ(facts.SongName, "Caf\xC3\xA9");
    ASSERT_EQ(facts.Metres.size(), 1u);
    EXPECT_EQ(facts.Metres[0].Numerator, 3);
    EXPECT_EQ(facts.Metres[0].Denominator, 4);
    EXPECT_EQ(facts.KeyFifths, -3);
    ASSERT_TRUE(facts.BeatsPerMinute);
    EXPECT_DOUBLE_EQ(*facts.BeatsPerMinute, 120.0);
    ASSERT_EQ(facts.Chords.size(), 3u);
    EXPECT_EQ(facts.Chords[0].Name, "Bb");
    EXPECT_EQ(facts.Chords[1].Name, "Ebmaj7");
    EXPECT_EQ(facts.Chords[2].Name, "N.C.");
    EXPECT_EQ(facts.Chords[2].Tick, 576u);
    ASSERT_EQ(facts.Notes.size(), 1u);
    EXPECT_NE(facts.Notes[0].find("tick 576"), std::string::npos);

    const SongSheet sheet = MakeSongSheet(song, SongLyrics{}, "dir/cafe.mid");
    EXPECT_EQ(ChordProText(sheet), "{title: Caf\xC3\xA9}\n{key: Eb}\n{time: 3/4}\n{tempo: 120}\n\n"
                                   "{start_of_grid}\n| Bb . . | Ebmaj7 . . | N.C. . . |\n"
                                   "{end_of_grid}\n");
}

}  // namespace
}  // namespace tonalux
