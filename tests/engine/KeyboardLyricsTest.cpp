// Writing keyboard lyrics: where the lyric events go in either format, their
// marks, the output charset and its transliteration, the song's name, the
// wrap, and that a song without words stays as it is.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SongLyrics.h"
#include "WriterFixture.h"

namespace tonalux {
namespace {

using testing::Bytes;
using testing::Hex;
using testing::SongBuilder;
using testing::Track;

constexpr std::uint8_t T = 0x01;
constexpr std::uint8_t L = 0x05;

std::string TextOf(const MetaEvent& e) { return std::string(reinterpret_cast<const char*>(e.Data.get()), e.Length); }

class KeyboardLyrics : public testing::WriterTest {
protected:
    // A format 0 song: a note, then the words, each (delta, type, text).
    Bytes Song(const std::vector<std::tuple<std::uint32_t, std::uint8_t, std::string>>& words) {
        Track track;
        track.Note(0, 0x90, 60, 100);
        for (const auto& [delta, type, text] : words) track.Text(delta, type, text);
        track.Note(10, 0x80, 60, 0).End();
        SongBuilder song(0, 96);
        song.AddTrack(track);
        return song.Bytes();
    }
    // The texts of the lyric list.
    std::vector<std::string> LyricTexts() {
        std::vector<std::string> texts;
        for (int i = 0; i < midi.GetSizeLyricEvents(); ++i) texts.push_back(TextOf(midi.GetLyricevent(i)));
        return texts;
    }
    std::vector<std::string> MetaTexts() {
        std::vector<std::string> texts;
        for (int i = 0; i < midi.GetSizeMetaEvents(); ++i) {
            const MetaEvent e = midi.GetMetaEvent(i);
            texts.push_back(Hex({e.Type}) + " " + TextOf(e));
        }
        return texts;
    }
};

// A karaoke song of three tracks: tempo; headers; the words with the notes.
Bytes KaraokeSong() {
    SongBuilder song(1, 96);
    song.AddTrack(Track().Tempo(0, 500000).End());
    song.AddTrack(Track().Text(0, T, "@KMIDI KARAOKE FILE").Text(0, T, "@TSong").End());
    song.AddTrack(Track()
                      .Text(0, T, "\\Ab")
                      .Note(0, 0x90, 60, 100)
                      .Text(48, T, "c")
                      .Text(48, T, "/De")
                      .Note(0, 0x80, 60, 0)
                      .End());
    return song.Bytes();
}

TEST_F(KeyboardLyrics, LyricEventsGoToTheFirstTrackOrTheOneTrack) {
    ASSERT_TRUE(Load(KaraokeSong()));
    const auto outcome = WriteKeyboardLyrics(midi);
    EXPECT_EQ(outcome.Syllables, 3u);
    EXPECT_EQ(outcome.TextEventsRemoved, 3u);
    EXPECT_TRUE(outcome.TitleSet);

    // Format 1: the name, the headers, the tempo and the words in the meta
    // track, the notes in their channel's track.
    SongBuilder format1(1, 96);
    format1.AddTrack(Track()
                         .Text(0, 0x03, "Song")
                         .Text(0, T, "@KMIDI KARAOKE FILE")
                         .Text(0, T, "@TSong")
                         .Tempo(0, 500000)
                         .Text(0, L, "Ab")
                         .Text(48, L, "c/")
                         .Text(48, L, "De")
                         .End());
    format1.AddTrack(Track().Note(0, 0x90, 60, 100).Note(96, 0x80, 60, 0).End());
    Bytes saved;
    ASSERT_TRUE(midi.SaveMidiBytes(1, saved));
    EXPECT_EQ(Hex(saved), Hex(format1.Bytes()));

    // Format 0: the same events in the one track.
    SongBuilder format0(0, 96);
    format0.AddTrack(Track()
                         .Text(0, 0x03, "Song")
                         .Text(0, T, "@KMIDI KARAOKE FILE")
                         .Text(0, T, "@TSong")
                         .Tempo(0, 500000)
                         .Text(0, L, "Ab")
                         .Note(0, 0x90, 60, 100)
                         .Text(48, L, "c/")
                         .Text(48, L, "De")
                         .Note(0, 0x80, 60, 0)
                         .End());
    ASSERT_TRUE(midi.SaveMidiBytes(0, saved));
    EXPECT_EQ(Hex(saved), Hex(format0.Bytes()));
}

TEST_F(KeyboardLyrics, MarksOfEitherKindAndReadBackAlike) {
    const Bytes song = Song({{0, L, "Twin"}, {10, L, "kle "}, {10, L, "star\r"}, {10, L, "How "}, {10, L, "I\n"},
                             {10, L, "Up"}});
    struct Case {
        LyricMarks Marks;
        std::vector<std::string> Expected;
    };
    const std::vector<Case> cases{
        {LyricMarks::Keyboard, {"Twin", "kle ", "star/", "How ", "I<", "Up"}},
        {LyricMarks::Rp017, {"Twin", "kle ", "star\r", "How ", "I\n", "Up"}},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(Load(song));
        const auto before = ReadLyrics(midi);
        KeyboardLyricsOptions options;
        options.Marks = c.Marks;
        WriteKeyboardLyrics(midi, options);
        EXPECT_EQ(LyricTexts(), c.Expected);
        const auto after = ReadLyrics(midi);
        ASSERT_EQ(after.Syllables.size(), before.Syllables.size());
        for (std::size_t i = 0; i < after.Syllables.size(); ++i) {
            EXPECT_EQ(after.Syllables[i].Text, before.Syllables[i].Text) << i;
            EXPECT_EQ(after.Syllables[i].Tick, before.Syllables[i].Tick) << i;
            EXPECT_EQ(after.Syllables[i].Line, before.Syllables[i].Line) << i;
            EXPECT_EQ(after.Syllables[i].Page, before.Syllables[i].Page) << i;
        }
    }
}

TEST_F(KeyboardLyrics, OutputCharsetAndTransliteration) {
    struct Case {
        const char* Name;
        std::string Input;
        std::optional<Charset> Chosen;
        Charset Output;
        std::string Written;
        std::size_t Transliterated;
        std::size_t Unmapped;
    };
    const std::vector<Case> cases{
        {"cp1250 stays cp1250", "Wlaz\xB3 p\xB3otek", std::nullopt, Charset::Cp1250, "Wlaz\xB3 p\xB3otek", 0, 0},
        {"UTF-8 becomes cp1252", "Wlaz\xC5\x82 \xC3\xBC", std::nullopt, Charset::Cp1252, "Wlazl \xFC", 1, 0},
        {"Cyrillic in a Latin code page", "\xD0\x96\xD1\x83\xD0\xBA", std::nullopt, Charset::Cp1252, "Zhuk", 3, 0},
        {"quotes and dashes", "\xE2\x80\x9E" "a\xE2\x80\x9C \xE2\x80\x93 \xE2\x80\xA6", Charset::Cp1251,
         Charset::Cp1251, "\x84" "a\x93 \x96 \x85", 0, 0},
        {"a quote cp1251 lacks", "\xC5\x82\xE2\x80\xB9", Charset::Cp1251, Charset::Cp1251, "l\x8B", 1, 0},
        {"a character without an entry", "la \xE2\x99\xAA", std::nullopt, Charset::Cp1252, "la ?", 0, 1},
        {"cp1252 written as UTF-8", "Gr\xFC\xDF" "e", Charset::Utf8, Charset::Utf8, "Gr\xC3\xBC\xC3\x9F" "e", 0, 0},
        {"cp1251 written as cp1250", "\xEC\xEE\xFF", Charset::Cp1250, Charset::Cp1250, "moya", 3, 0},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(Load(Song({{0, L, c.Input}})));
        KeyboardLyricsOptions options;
        options.OutputCharset = c.Chosen;
        const auto outcome = WriteKeyboardLyrics(midi, options);
        EXPECT_EQ(outcome.OutputCharset, c.Output) << c.Name;
        EXPECT_EQ(LyricTexts(), std::vector<std::string>{c.Written}) << c.Name;
        EXPECT_EQ(outcome.Transliterated, c.Transliterated) << c.Name;
        EXPECT_EQ(outcome.Unmapped, c.Unmapped) << c.Name;
    }
}

TEST_F(KeyboardLyrics, TitleNamesOnlyASongWithoutName) {
    midi.SetKeepSongNames(true);
    SongBuilder named(0, 96);
    named.AddTrack(Track().Text(0, 0x03, "Own name").Text(0, T, "@TTitle").Text(0, T, "\\La").End());
    ASSERT_TRUE(Load(named.Bytes()));
    auto outcome = WriteKeyboardLyrics(midi);
    EXPECT_FALSE(outcome.TitleSet);
    EXPECT_EQ(MetaTexts(), (std::vector<std::string>{"03 Own name", "01 @TTitle"}));

    // The title in the output charset, transliterated like the words.
    ASSERT_TRUE(Load(Song({{0, T, "@T\xD0\x96\xD1\x83\xD0\xBA"}, {0, T, "\\La"}})));
    outcome = WriteKeyboardLyrics(midi);
    EXPECT_TRUE(outcome.TitleSet);
    EXPECT_EQ(outcome.Transliterated, 3u);
    EXPECT_EQ(MetaTexts(), (std::vector<std::string>{"03 Zhuk", "01 @T\xD0\x96\xD1\x83\xD0\xBA"}));
}

TEST_F(KeyboardLyrics, WrapBreaksLongLinesBetweenWords) {
    // "Twin-kle twin-kle lit-tle star" on one line.
    const Bytes song = Song({{0, L, "Twin"}, {10, L, "kle "}, {10, L, "twin"}, {10, L, "kle "}, {10, L, "lit"},
                             {10, L, "tle "}, {10, L, "star"}});
    struct Case {
        std::size_t Width;
        std::vector<std::string> Expected;
        std::size_t Added;
    };
    const std::vector<Case> cases{
        {0, {"Twin", "kle ", "twin", "kle ", "lit", "tle ", "star"}, 0},
        {27, {"Twin", "kle ", "twin", "kle ", "lit", "tle ", "star"}, 0},  // exactly 27 characters
        {26, {"Twin", "kle ", "twin", "kle ", "lit", "tle/", "star"}, 1},
        {15, {"Twin", "kle ", "twin", "kle/", "lit", "tle ", "star"}, 1},
        {3, {"Twin", "kle/", "twin", "kle/", "lit", "tle/", "star"}, 3},  // words longer than the width
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(Load(song));
        KeyboardLyricsOptions options;
        options.Wrap = c.Width;
        const auto outcome = WriteKeyboardLyrics(midi, options);
        EXPECT_EQ(LyricTexts(), c.Expected) << c.Width;
        EXPECT_EQ(outcome.LinesWrapped, c.Added) << c.Width;
    }
}

TEST_F(KeyboardLyrics, SongWithoutWordsStaysAsItIs) {
    const Bytes song = Song({{0, T, "Just a comment"}, {10, 0x06, "Verse"}});
    ASSERT_TRUE(Load(song));
    Bytes before;
    ASSERT_TRUE(midi.SaveMidiBytes(0, before));
    const auto outcome = WriteKeyboardLyrics(midi);
    EXPECT_FALSE(outcome.Converted());
    EXPECT_EQ(outcome.Syllables, 0u);
    Bytes after;
    ASSERT_TRUE(midi.SaveMidiBytes(0, after));
    EXPECT_EQ(Hex(after), Hex(before));
}

TEST_F(KeyboardLyrics, LyricsAfterTheLastNoteKeepTheirTicks) {
    ASSERT_TRUE(Load(Song({{0, L, "a"}, {500, L, "b"}})));
    WriteKeyboardLyrics(midi);
    ASSERT_EQ(midi.GetSizeLyricEvents(), 2);
    EXPECT_EQ(midi.GetLyricevent(1).Tick, 500u);
    EXPECT_EQ(midi.GetSizeMidievents(0), 2);
}

}  // namespace
}  // namespace tonalux
