// tonalux-cli sheet and convert --sheets: the ChordPro sheet of songs with
// words, with chords only, with neither, damaged or no song at all.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "CliRunner.h"
#include "CliSongs.h"

namespace tonalux::testing {
namespace {

// "Hello world / good night" as lyric events ending each line with a CR,
// with the chords C, G7 and F; `word` is the last syllable's bytes.
Bytes SongWithWords(const std::string& word = "night") {
    Track track;
    track.Meta(0, 0x59, {0x00, 0x00})
        .Chord(0, 0x31, 0)
        .Text(0, 0x05, "Hel")
        .Text(96, 0x05, "lo ")
        .Chord(96, 0x35, 19)
        .Text(0, 0x05, "world\r")
        .Chord(576, 0x34, 0)
        .Text(0, 0x05, "good ")
        .Text(192, 0x05, word + "\r");
    return SongBuilder(0, 96).AddTrack(track.End(384)).Bytes();
}

Bytes Instrumental() {
    Track track;
    track.Meta(0, 0x58, {3, 2, 24, 8}).Chord(0, 0x31, 8).Chord(288, 0x35, 0, 0x33).Chord(288, 0x31, 34);
    return SongBuilder(0, 96).AddTrack(track.End(288)).Bytes();
}

// A bar of C major over its bass: notes that tell a chord, and no chord events.
Bytes NotesOnly() {
    Track track;
    for (std::uint8_t key : {48, 60, 64, 67}) track.Note(0, 0x90, key, 90);
    track.Note(384, 0x80, 48, 0);
    for (std::uint8_t key : {60, 64, 67}) track.Note(0, 0x80, key, 0);
    return SongBuilder(0, 96).AddTrack(track.End()).Bytes();
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class SheetCommand : public ::testing::Test {
protected:
    TempDir dir;
    std::string Song(const std::string& name, const Bytes& bytes) {
        const std::string path = dir.File(name);
        WriteFile(path, bytes);
        return path;
    }
};

TEST_F(SheetCommand, SheetsOfEveryKindOfSong) {
    struct Case {
        const char* What;
        Bytes Song;
        std::vector<std::string> Options;
        int Status;
        std::string Out;
        std::string Err;  // a part of standard error; empty: none at all
    };
    Bytes damaged = SongWithWords();
    damaged.resize(damaged.size() - 12);
    const Case cases[] = {
        {"words and chords", SongWithWords(), {}, 0,
         "{title: song}\n{key: C}\n{time: 4/4}\n{tempo: 120}\n\n[C]Hello [G7]world\n[F]good night\n", ""},
        {"the charset given", SongWithWords("Le\xE8"), {"--from-charset", "cp1250"}, 0,
         "{title: song}\n{key: C}\n{time: 4/4}\n{tempo: 120}\n\n[C]Hello [G7]world\n[F]good Le\xC4\x8D\n", ""},
        {"chords but no words", Instrumental(), {}, 0,
         "{title: song}\n{key: Cm}\n{time: 3/4}\n{tempo: 120}\n\n{start_of_grid}\n| Cm . . | G/E . . | N.C. . . |\n"
         "{end_of_grid}\n", ""},
        {"neither words nor chords", NotesOnly(), {}, 0, "{title: song}\n{time: 4/4}\n{tempo: 120}\n",
         "neither words nor chords"},
        {"chords recognised first", NotesOnly(), {"--add-chords"}, 0,
         "{title: song}\n{key: C}\n{time: 4/4}\n{tempo: 120}\n\n{start_of_grid}\n| C . . . |\n{end_of_grid}\n", ""},
        {"a damaged song shows what was read", damaged, {}, 1,
         "{title: song}\n{key: C}\n{time: 4/4}\n{tempo: 120}\n\n[C]Hello [G7]world\n[F]good\n", "song.mid"},
    };
    for (const Case& c : cases) {
        const std::string path = Song("song.mid", c.Song);
        std::vector<std::string> args{"sheet"};
        args.insert(args.end(), c.Options.begin(), c.Options.end());
        args.push_back(path);
        const CliResult result = RunCli(args);
        EXPECT_EQ(result.Status, c.Status) << c.What << ": " << result.Err;
        EXPECT_EQ(result.Out, c.Out) << c.What;
        if (c.Err.empty())
            EXPECT_EQ(result.Err, "") << c.What;
        else
            EXPECT_NE(result.Err.find(c.Err), std::string::npos) << c.What << ": " << result.Err;
    }
}

TEST_F(SheetCommand, ReadsStandardInputAndRefusesWhatIsNoSong) {
    const std::string song = Song("in.mid", SongWithWords());
    const CliResult piped = RunCli({"sheet", "-"}, {}, {song, ""});
    EXPECT_EQ(piped.Status, 0) << piped.Err;
    EXPECT_NE(piped.Out.find("[C]Hello [G7]world\n"), std::string::npos);

    const CliResult noSong = RunCli({"sheet", Song("text.mid", {'h', 'e', 'l', 'l', 'o'})});
    EXPECT_EQ(noSong.Status, 1);
    EXPECT_EQ(noSong.Out, "");
    EXPECT_NE(noSong.Err.find("text.mid"), std::string::npos);

    const CliResult charset = RunCli({"sheet", "--from-charset", "latin-9", song});
    EXPECT_EQ(charset.Status, 2);
    EXPECT_NE(charset.Err.find("unknown charset 'latin-9'"), std::string::npos);
}

TEST_F(SheetCommand, ConvertWritesASheetBesideEverySong) {
    std::filesystem::create_directories(dir.Path() / "Midifile");
    std::filesystem::create_directories(dir.Path() / "Convert");
    WriteFile(dir.Path() / "Midifile" / "Words.mid", SongWithWords());
    WriteFile(dir.Path() / "Midifile" / "Tune.MID", Instrumental());
    const CliResult result = RunCli({"convert", "--sheets", dir.File("")});
    ASSERT_EQ(result.Status, 0) << result.Err;
    EXPECT_NE(result.Out.find("sheet Words_NO-VOC.cho"), std::string::npos) << result.Out;
    const std::string words = ReadText(dir.File("Convert/Words_NO-VOC.cho"));
    EXPECT_EQ(words.substr(0, 16), "{title: Words}\n{");
    EXPECT_NE(words.find("\n[C]Hello [G7]world\n[F]good night\n"), std::string::npos) << words;
    EXPECT_NE(ReadText(dir.File("Convert/Tune_NO-VOC.cho")).find("| Cm . . | G/E . . | N.C. . . |"), std::string::npos);

    // Without --sheets, no sheet.
    std::filesystem::remove(dir.Path() / "Convert" / "Words_NO-VOC.cho");
    ASSERT_EQ(RunCli({"convert", dir.File("")}).Status, 0);
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "Convert" / "Words_NO-VOC.cho"));
}

}  // namespace
}  // namespace tonalux::testing
