// Reading a song's words: the marks of Soft Karaoke, of the MIDI
// recommendations and of keyboards, the charset of the words, and what bad
// words come out as.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SongLyrics.h"
#include "WriterFixture.h"

namespace tonalux {
namespace {

using testing::SongBuilder;
using testing::Track;

// One event of a test song: delta time, meta type (01 text, 05 lyric), text.
struct Word {
    std::uint32_t Delta;
    std::uint8_t Type;
    std::string Text;
};

constexpr std::uint8_t T = 0x01;
constexpr std::uint8_t L = 0x05;

// "tick:text" with "/" appended for a line start and "<" for a page start.
std::string Render(const SongLyrics& lyrics) {
    std::string out;
    for (const auto& s : lyrics.Syllables) {
        if (!out.empty()) out += " | ";
        out += std::to_string(s.Tick) + ":" + s.Text + (s.Line ? "/" : "") + (s.Page ? "<" : "");
    }
    return out;
}

class LyricsReading : public testing::WriterTest {
protected:
    SongLyrics Read(const std::vector<Word>& words, std::optional<Charset> from = std::nullopt) {
        Track track;
        track.Note(0, 0x90, 60, 100);
        for (const auto& w : words) track.Text(w.Delta, w.Type, w.Text);
        track.Note(10, 0x80, 60, 0).End();
        SongBuilder song(0, 96);
        song.AddTrack(track);
        EXPECT_TRUE(Load(song.Bytes()));
        return ReadLyrics(midi, from);
    }
};

TEST_F(LyricsReading, MarksOfEachKindGiveLinesAndPages) {
    struct Case {
        const char* Name;
        std::vector<Word> Words;
        std::string Expected;
    };
    const std::vector<Case> cases{
        {"karaoke marks in front, spaces opening words",
         {{0, T, "@KMIDI KARAOKE FILE"}, {0, T, "\\Twin"}, {10, T, "kle"}, {10, T, " star"}, {10, T, "/How"},
          {10, T, " I"}, {10, T, "\\Up"}},
         "0:Twin/< | 10:kle  | 20:star | 30:How / | 40:I | 50:Up/<"},
        {"karaoke mark without a header",
         {{0, T, "Hel"}, {10, T, "lo "}, {10, T, "/world"}},
         "0:Hel/< | 10:lo | 20:world/"},
        {"CR ends a line, LF a paragraph",
         {{0, L, "Twin"}, {10, L, "kle\r"}, {10, L, "How "}, {10, L, "I\n"}, {10, L, "Up"}},
         "0:Twin/< | 10:kle | 20:How / | 30:I | 40:Up/<"},
        {"CR LF and LF CR end a paragraph",
         {{0, L, "a\r\n"}, {10, L, "b\n\r"}, {10, L, "c"}},
         "0:a/< | 10:b/< | 20:c/<"},
        {"CR and LF in front of the syllable",
         {{0, L, "a"}, {10, L, "\rb"}, {10, L, "\nc"}},
         "0:a/< | 10:b/ | 20:c/<"},
        {"keyboard marks after the syllable",
         {{0, L, "Hap"}, {10, L, "py/"}, {10, L, "birth<"}, {10, L, "day"}},
         "0:Hap/< | 10:py | 20:birth/ | 30:day/<"},
        {"keyboard marks in front and the space mark",
         {{0, L, "Hap^py"}, {10, L, "/birth^"}, {10, L, "<day"}},
         "0:Hap py/< | 10:birth/ | 20:day/<"},
        {"a mark alone goes to the next syllable",
         {{0, L, "a"}, {10, L, "/"}, {10, L, "b"}, {10, L, "\n"}, {10, L, "c"}, {10, L, "<"}},
         "0:a/< | 20:b/ | 40:c/<"},
        {"a lone karaoke mark",
         {{0, T, "@T Song"}, {0, T, "a"}, {10, T, "/"}, {10, T, "b"}},
         "0:a/< | 20:b/"},
        {"CR and LF events of their own in karaoke text, a player's note left out",
         {{0, T, "@KMIDI KARAOKE FILE"}, {0, T, "Stil"}, {0, T, "DURATION: 6"}, {10, T, "le "}, {10, T, "Nacht, "},
          {10, T, "\r"}, {10, T, "hei"}, {10, T, "\n"}, {10, T, "Al"}, {10, T, "les\r"}, {10, T, "/schl\xE4" "ft"}},
         "0:Stil/< | 10:le  | 20:Nacht, | 40:hei/ | 60:Al/< | 70:les | 80:schläft/"},
        {"a line's last syllable keeps no space",
         {{0, L, "one "}, {10, L, "two \r"}, {10, L, "three "}},
         "0:one /< | 10:two | 20:three/"},
    };
    for (const auto& c : cases) EXPECT_EQ(Render(Read(c.Words)), c.Expected) << c.Name;
}

TEST_F(LyricsReading, KaraokeHeadersGiveTitleAuthorAndLanguage) {
    const auto lyrics = Read({{0, T, "@KMIDI KARAOKE FILE"}, {0, T, "@V0100"}, {0, T, "@IMade for the test"},
                              {0, T, "@LENGL"}, {0, T, "@TSilent Night"}, {0, T, "@TFranz Gruber"},
                              {0, T, "@TPublic domain"}, {0, T, "@TMore"}, {0, T, "\\Si"}, {10, T, "lent"}});
    EXPECT_EQ(lyrics.Kind, LyricsKind::Karaoke);
    EXPECT_EQ(lyrics.Title, "Silent Night");
    EXPECT_EQ(lyrics.Author, "Franz Gruber");
    EXPECT_EQ(lyrics.Copyright, "Public domain");
    EXPECT_EQ(lyrics.Language, "ENGL");
    EXPECT_EQ(lyrics.Information, std::vector<std::string>{"Made for the test"});
    EXPECT_EQ(Render(lyrics), "0:Si/< | 10:lent");
}

TEST_F(LyricsReading, BothKindsTakeTheOneWithMoreSyllables) {
    auto lyrics = Read({{0, T, "@KMIDI KARAOKE FILE"}, {0, T, "\\a"}, {10, T, "b"}, {0, L, "x"}, {10, T, "c"}});
    EXPECT_EQ(lyrics.Kind, LyricsKind::Karaoke);
    EXPECT_EQ(lyrics.Ignored, LyricsKind::LyricEvents);
    EXPECT_EQ(lyrics.IgnoredSyllables, 1u);
    EXPECT_EQ(Render(lyrics), "0:a/< | 10:b | 20:c");

    // A tie goes to the lyric events; a plain text event is no karaoke.
    lyrics = Read({{0, T, "@KMIDI KARAOKE FILE"}, {0, T, "\\a"}, {0, L, "x"}});
    EXPECT_EQ(lyrics.Kind, LyricsKind::LyricEvents);
    EXPECT_EQ(lyrics.Ignored, LyricsKind::Karaoke);
    lyrics = Read({{0, T, "Sequenced by me"}, {0, L, "x"}});
    EXPECT_EQ(lyrics.Ignored, LyricsKind::None);
    EXPECT_EQ(Render(lyrics), "0:x/<");
}

TEST_F(LyricsReading, CharsetIsDetectedFromTheWords) {
    struct Case {
        std::string Bytes;
        Charset Expected;
        std::string Text;  // UTF-8
    };
    const std::vector<Case> cases{
        {"Hello world", Charset::Cp1252, "Hello world"},
        {"Gr\xFC\xDF" "e aus M\xFCnchen", Charset::Cp1252, "Grüße aus München"},
        {"Fr\xE8re Jacques, dormez-vous", Charset::Cp1252, "Frère Jacques, dormez-vous"},
        {"\xBFQu\xE9 ser\xE1, ser\xE1?", Charset::Cp1252, "¿Qué será, será?"},
        {"pr\xEAte-moi ta plume pour \xE9" "crire", Charset::Cp1252, "prête-moi ta plume pour écrire"},
        {"Zdr\xF3w si\xEA, pr\xEA" "dko", Charset::Cp1250, "Zdrów się, prędko"},
        {"Wlaz\xB3 kotek na p\xB3otek i mruga \x9Clicznie", Charset::Cp1250, "Wlazł kotek na płotek i mruga ślicznie"},
        {"Kde domov m\xF9j, kde domov m\xF9j", Charset::Cp1250, "Kde domov můj, kde domov můj"},
        {"J\xF3 napot k\xEDv\xE1nok \xF5" "r\xFCl", Charset::Cp1250, "Jó napot kívánok őrül"},
        {"\xCA\xE0\xEB\xE8\xED\xEA\xE0, \xEA\xE0\xEB\xE8\xED\xEA\xE0 \xEC\xEE\xFF", Charset::Cp1251,
         "Калинка, калинка моя"},
        {"\xCE\xE9, \xF2\xEE \xED\xE5 \xE2\xE5\xF7\xE5\xF0", Charset::Cp1251, "Ой, то не вечер"},
        {"\xD0\x9A\xD0\xB0\xD0\xBB\xD0\xB8\xD0\xBD\xD0\xBA\xD0\xB0 \xD0\xBC\xD0\xBE\xD1\x8F", Charset::Utf8,
         "Калинка моя"},
        {"Wlaz\xC5\x82 kotek", Charset::Utf8, "Wlazł kotek"},
    };
    for (const auto& c : cases) {
        const auto lyrics = Read({{0, L, c.Bytes}});
        EXPECT_EQ(lyrics.SourceCharset, c.Expected) << c.Text;
        EXPECT_FALSE(lyrics.CharsetGiven);
        ASSERT_EQ(lyrics.Syllables.size(), 1u) << c.Text;
        EXPECT_EQ(lyrics.Syllables[0].Text, c.Text);
    }
}

TEST_F(LyricsReading, ShortSyllablesAreDetectedTogether) {
    // One accented letter in a whole song of short syllables.
    const auto lyrics = Read({{0, L, "Wlaz"}, {10, L, "\xB3 "}, {10, L, "ko"}, {10, L, "tek "}});
    EXPECT_EQ(lyrics.SourceCharset, Charset::Cp1250);
    EXPECT_EQ(Render(lyrics), "0:Wlaz/< | 10:ł  | 20:ko | 30:tek");
}

TEST_F(LyricsReading, GivenCharsetOverridesTheDetection) {
    const auto lyrics = Read({{0, L, "\xCA\xE0\xEB\xE8\xED\xEA\xE0"}}, Charset::Cp1252);
    EXPECT_TRUE(lyrics.CharsetGiven);
    EXPECT_EQ(lyrics.SourceCharset, Charset::Cp1252);
    EXPECT_EQ(lyrics.Syllables.at(0).Text, "Êàëèíêà");
}

TEST_F(LyricsReading, BadWordsGiveAClearOutcome) {
    // Control characters are taken out; a syllable of nothing else is dropped.
    auto lyrics = Read({{0, L, "a\x01\x02"}, {10, L, "\x03\x07"}, {10, L, "b\tc"}});
    EXPECT_EQ(Render(lyrics), "0:a/< | 20:b c");
    EXPECT_EQ(lyrics.ControlCharacters, 4u);

    // A stray byte inside UTF-8 words: still UTF-8, the byte read as U+FFFD.
    lyrics = Read({{0, L, "Wlaz\xC5\x82 "}, {10, L, "p\xC5\x82o"}, {10, L, "tek\xFF"}});
    EXPECT_EQ(lyrics.SourceCharset, Charset::Utf8);
    EXPECT_EQ(lyrics.InvalidBytes, 1u);
    EXPECT_EQ(Render(lyrics), "0:Wlazł /< | 10:pło | 20:tek\xEF\xBF\xBD");

    // 10 KB in one syllable stays one syllable.
    lyrics = Read({{0, L, std::string(10240, 'x')}});
    ASSERT_EQ(lyrics.Syllables.size(), 1u);
    EXPECT_EQ(lyrics.Syllables[0].Text.size(), 10240u);

    // No words at all.
    lyrics = Read({{0, T, "Just a comment"}});
    EXPECT_EQ(lyrics.Kind, LyricsKind::None);
    EXPECT_TRUE(lyrics.Syllables.empty());
}

TEST_F(LyricsReading, WordsInTwoTracksAtTheSameTicksAreReadOnce) {
    SongBuilder song(1, 96);
    song.AddTrack(Track().Text(0, L, "Twin").Text(10, L, "kle ").Text(10, L, "star").End());
    song.AddTrack(Track().Text(0, L, "Twin").Text(10, L, "kle ").Text(10, L, "star").Note(0, 0x90, 60, 1).End(10));
    ASSERT_TRUE(Load(song.Bytes()));
    const auto lyrics = ReadLyrics(midi);
    EXPECT_EQ(Render(lyrics), "0:Twin/< | 10:kle  | 20:star");
    EXPECT_EQ(lyrics.DuplicateSyllables, 3u);

    // A copy that differs only by a word's closing space or a control
    // character is the same syllable, so that the words written back read
    // the same.
    SongBuilder spaced(1, 96);
    spaced.AddTrack(Track().Text(0, L, "one ").End());
    spaced.AddTrack(Track().Text(0, L, std::string("one\0", 4)).Note(0, 0x90, 60, 1).End(10));
    ASSERT_TRUE(Load(spaced.Bytes()));
    const auto once = ReadLyrics(midi);
    EXPECT_EQ(Render(once), "0:one/<");
    EXPECT_EQ(once.DuplicateSyllables, 1u);
}

TEST_F(LyricsReading, ManySyllablesAtOneTickAreReadInLinearTime) {
    // A song whose words all stand at tick 0, as some files have them: a
    // quadratic look for repeated syllables would take minutes (the test's
    // time-out catches it).
    constexpr int kSyllables = 200000;
    Track track;
    for (int i = 0; i < kSyllables; ++i) track.Text(0, L, "w" + std::to_string(i) + " ");
    SongBuilder song(0, 96);
    song.AddTrack(track.End());
    ASSERT_TRUE(Load(song.Bytes()));
    const auto lyrics = ReadLyrics(midi);
    EXPECT_EQ(lyrics.Syllables.size(), static_cast<std::size_t>(kSyllables));
    EXPECT_EQ(lyrics.DuplicateSyllables, 0u);
}

TEST(CharsetNames, NamesAndTheirSpellings) {
    struct Case {
        const char* Name;
        std::optional<Charset> Expected;
    };
    const std::vector<Case> cases{{"cp1252", Charset::Cp1252},       {"CP1250", Charset::Cp1250},
                                  {"windows-1251", Charset::Cp1251}, {"UTF-8", Charset::Utf8},
                                  {"utf8", Charset::Utf8},           {"latin1", std::nullopt},
                                  {"", std::nullopt},                {"cp125", std::nullopt}};
    for (const auto& c : cases) EXPECT_EQ(CharsetFromName(c.Name), c.Expected) << c.Name;
    for (const Charset cs : {Charset::Cp1252, Charset::Cp1250, Charset::Cp1251, Charset::Utf8})
        EXPECT_EQ(CharsetFromName(CharsetName(cs)), cs);
    EXPECT_EQ(CharsetName(Charset::Utf8), "utf-8");
}

}  // namespace
}  // namespace tonalux
