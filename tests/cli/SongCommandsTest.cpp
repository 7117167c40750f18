// The commands that show a song: info, dump and chords.
#include <gtest/gtest.h>

#include "CliRunner.h"
#include "CliSongs.h"

namespace tonalux::testing {
namespace {

class SongCommands : public ::testing::Test {
protected:
    void SetUp() override { WriteFile(song, CliSong()); }
    TempDir dir;
    std::string song = dir.File("song.mid");
};

TEST_F(SongCommands, InfoShowsHeaderListSizesLastTickVocoderAndChords) {
    const auto result = RunCli({"info", song});
    ASSERT_EQ(result.Status, 0) << result.Err;
    for (const std::string line :
         {"format      1\n", "tracks      2\n", "division    96\n", "last tick   1056\n",
          "vocoder     channel 3 (threshold 5)\n", "records     15\n", "  ch1       5\n", "  ch3       2\n",
          "  ch10      2\n", "  ch16      0\n", "  tempo     1\n", "  lyric     1\n", "  chord     2\n",
          "  sysex     2\n", "  meta      0\n", "chords      F#m7, C  /E\n"})
        EXPECT_NE(result.Out.find(line), std::string::npos) << "missing: " << line << "\n" << result.Out;
}

TEST_F(SongCommands, InfoUsesTheThresholdGiven) {
    const auto result = RunCli({"info", song, "--threshold", "4"});
    EXPECT_NE(result.Out.find("vocoder     none (threshold 4)\n"), std::string::npos) << result.Out;
}

TEST_F(SongCommands, DumpPrintsEveryRecordInTickOrderAsFileBytes) {
    const auto result = RunCli({"dump", song});
    ASSERT_EQ(result.Status, 0) << result.Err;
    EXPECT_EQ(result.Out,
              "header format 1 tracks 2 division 96\n"
              "0 ch1 90 3C 64\n"
              "0 ch3 92 40 05\n"
              "0 ch10 99 24 5A\n"
              "0 tempo FF 51 03 07 A1 20\n"
              "0 chord FF 7F 07 43 7B 01 44 0A 7F 7F\n"
              "0 sysex F0 08 43 10 4C 04 00 00 00 F7\n"
              "0 sysex F0 08 43 10 4C 00 00 7E 00 F7\n"
              "96 ch1 80 3C 00\n"
              "96 ch1 B0 07 64\n"
              "96 ch3 82 40 00\n"
              "96 ch10 89 24 00\n"
              "960 ch1 90 43 64\n"
              "960 lyric FF 05 02 6C 61\n"
              "960 chord FF 7F 07 43 7B 01 31 00 33 00\n"
              "1056 ch1 80 43 00\n");
}

TEST_F(SongCommands, DumpsOfTheSameSongAreEqualAndOfAChangedSongDiffer) {
    const std::string copy = dir.File("copy.mid");
    const std::string moved = dir.File("moved.mid");
    ASSERT_EQ(RunCli({"save", song, copy, "--format", "0"}).Status, 0);
    ASSERT_EQ(RunCli({"transpose", song, moved, "--semitones", "1", "--channel", "1"}).Status, 0);
    const auto original = RunCli({"dump", song}).Out;
    const auto resaved = RunCli({"dump", copy}).Out;
    // Only the header line differs after writing as format 0.
    EXPECT_EQ(original.substr(original.find('\n')), resaved.substr(resaved.find('\n')));
    EXPECT_NE(original, RunCli({"dump", moved}).Out);
}

TEST_F(SongCommands, ChordsListsTickAndName) {
    const auto result = RunCli({"chords", song});
    EXPECT_EQ(result.Status, 0);
    EXPECT_EQ(result.Out, "0 F#m7\n960 C  /E\n");
    EXPECT_TRUE(result.Err.empty()) << result.Err;
}

TEST_F(SongCommands, AChordWithoutANameIsReportedAndTheOthersStillListed) {
    const std::string bad = dir.File("bad.mid");
    WriteFile(bad, SongWithUndecodableChord());
    const auto chords = RunCli({"chords", bad});
    EXPECT_EQ(chords.Status, 1);
    EXPECT_EQ(chords.Out, "0 GMaj7\n960 Cm\n");
    ASSERT_EQ(chords.ErrLines().size(), 1u) << chords.Err;
    EXPECT_EQ(chords.Err, "tonalux-cli chords: chord at tick 480 cannot be decoded: root byte 7F names no note\n");

    const auto info = RunCli({"info", bad});
    EXPECT_EQ(info.Status, 1);
    EXPECT_NE(info.Out.find("chords      GMaj7, Cm\n"), std::string::npos) << info.Out;
    EXPECT_NE(info.Err.find("chord at tick 480"), std::string::npos) << info.Err;
}

TEST_F(SongCommands, AFileThatIsNoMidiFileFailsWithTheEngineMessage) {
    const std::string text = dir.File("notes.mid");
    WriteFile(text, Bytes{'h', 'e', 'l', 'l', 'o', '\n'});
    const auto result = RunCli({"info", text});
    EXPECT_EQ(result.Status, 1);
    EXPECT_TRUE(result.Out.empty());
    EXPECT_EQ(result.Err, "tonalux-cli info: " + text + ": not a MIDI file (incorrect fileheader)\n");
}

}  // namespace
}  // namespace tonalux::testing
