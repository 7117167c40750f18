// assemble: the text of dump turned back into a song gives the same file as
// save, and every line it cannot read is named while nothing is written.
#include <gtest/gtest.h>

#include "ArrangerSong.h"
#include "CliRunner.h"
#include "CliSongs.h"

namespace tonalux::testing {
namespace {

// A format 0 song with every kind of event in one track: each meta kind the
// engine keeps in a list of its own or in the meta list, system-exclusive
// messages whole, in F0 and F7 packets, as an escape and longer than 127
// bytes, and running status carried across meta and system-exclusive events.
Bytes EveryEventKindSong() {
    Bytes longSysex{0x43, 0x10};
    longSysex.resize(200, 0x11);
    longSysex.push_back(0xF7);
    Track track;
    track.Text(0, 0x01, "text")
        .Text(0, 0x04, "piano")
        .Text(0, 0x05, "la")
        .Text(0, 0x06, "Intro")
        .Text(0, 0x07, "cue")
        .Meta(0, 0x20, {0x00})
        .Meta(0, 0x21, {0x01})
        .Meta(0, 0x54, {0x60, 0, 0, 0, 0})
        .Tempo(0, 500000)
        .Meta(0, 0x58, {3, 2, 24, 8})
        .Meta(0, 0x59, {0xFD, 0x01})
        .Chord(0, 0x35, 2)
        .Meta(0, 0x7F, {0x43, 0x7B, 0x00, 0x00})
        .Meta(0, 0x7F, {0x00, 0x00, 0x41})
        .Sysex(0, {0x7E, 0x7F, 0x09, 0x01, 0xF7})
        .Sysex(0, {0x43, 0x10, 0x4C, 0x02}) // first packet
        .Sysex(10, {0x01, 0x00, 0xF7}, 0xF7)  // its continuation
        .Sysex(0, {0xF3, 0x01}, 0xF7)         // an escape
        .Sysex(0, longSysex)
        .Note(0, 0x90, 60, 100)
        .Running(0, {64, 90})
        .Text(0, 0x05, "lu")
        .Running(48, {60, 0})
        .Sysex(0, {0x43, 0x10, 0x4C, 0x04, 0x00, 0x00, 0x00, 0xF7})
        .Running(0, {64, 0})
        .Event(0, 0xC3, {5})
        .Event(0, 0xD3, {40})
        .Event(0, 0xE3, {0x00, 0x40})
        .Event(0, 0xA3, {60, 10})
        .Event(0, 0xB3, {7, 100})
        .Note(0, 0x8F, 30, 64)
        .Chord(96, 0x31, 0, 0x33, 0x00)
        .End();
    return SongBuilder(0, 120).AddTrack(track).Bytes();
}

class AssembleCommand : public ::testing::Test {
protected:
    // Checks that dump piped into assemble gives the file save writes.
    void ExpectSameAsSave(const std::string& song, const std::string& label) {
        const std::string text = dir.File("song.txt");
        const auto dump = RunCli({"dump", song});
        ASSERT_EQ(dump.Status, 0) << label << ": " << dump.Err;
        std::ofstream(text, std::ios::binary) << dump.Out;
        const std::string saved = dir.File("saved.mid");
        const std::string assembled = dir.File("assembled.mid");
        ASSERT_EQ(RunCli({"save", song, saved}).Status, 0) << label;
        const auto result = RunCli({"assemble", "-", assembled}, {}, {text, ""});
        ASSERT_EQ(result.Status, 0) << label << ": " << result.Err;
        EXPECT_EQ(Hex(ReadFile(assembled)), Hex(ReadFile(saved))) << label;
    }
    TempDir dir;
};

TEST_F(AssembleCommand, DumpThenAssembleEqualsSaveOnEveryDemoSong) {
    std::size_t songs = 0;
    for (const auto& entry : std::filesystem::directory_iterator(TONALUX_EXAMPLES_DIR)) {
        ExpectSameAsSave(entry.path().string(), entry.path().filename().string());
        ++songs;
    }
    EXPECT_GT(songs, 0u);
}

// One note and a closing rest of 16,384 ticks (eight and a half bars at 480).
Bytes SongWithClosingRest() {
    Track track;
    track.Note(0, 0x90, 60, 100).Note(480, 0x80, 60, 0).End(16384);
    return SongBuilder(0, 480).AddTrack(track).Bytes();
}

TEST_F(AssembleCommand, DumpNamesAClosingRestAndAssembleKeepsIt) {
    const std::string song = dir.File("rest.mid");
    WriteFile(song, SongWithClosingRest());
    EXPECT_EQ(RunCli({"dump", song}).Out,
              "header format 0 tracks 1 division 480 end 16864\n"
              "0 ch1 90 3C 64\n"
              "480 ch1 80 3C 00\n");
    ExpectSameAsSave(song, "closing rest");
    const std::string text = dir.File("edited.txt");
    std::ofstream(text, std::ios::binary) << "header format 0 tracks 1 division 480 end 960\n0 ch1 90 3C 64\n";
    ASSERT_EQ(RunCli({"assemble", text, dir.File("edited.mid")}).Status, 0);
    EXPECT_EQ(RunCli({"dump", dir.File("edited.mid")}).Out,
              "header format 0 tracks 1 division 480 end 960\n0 ch1 90 3C 64\n");
}

TEST_F(AssembleCommand, DumpThenAssembleEqualsSaveOnSongsWithEveryEventKind) {
    const std::vector<std::pair<std::string, Bytes>> songs{
        {"every kind, format 0", EveryEventKindSong()},
        {"arranger song", ArrangerSong(3000, 7)},
        {"two tracks on one channel", SharedChannelSong(400)},
        {"tool song", CliSong()}};
    for (const auto& [label, bytes] : songs) {
        const std::string file = dir.File("built.mid");
        WriteFile(file, bytes);
        ExpectSameAsSave(file, label);
    }
}

TEST_F(AssembleCommand, FormatOptionAndStandardOutputWriteWhatSaveWrites) {
    const std::string song = dir.File("song.mid");
    WriteFile(song, EveryEventKindSong());
    const std::string text = dir.File("song.txt");
    std::ofstream(text, std::ios::binary) << RunCli({"dump", song}).Out;
    ASSERT_EQ(RunCli({"save", song, dir.File("saved1.mid"), "--format", "1"}).Status, 0);
    const auto result = RunCli({"assemble", text, "-", "--format", "1"});
    ASSERT_EQ(result.Status, 0) << result.Err;
    const Bytes saved = ReadFile(dir.File("saved1.mid"));
    EXPECT_EQ(Hex(Bytes(result.Out.begin(), result.Out.end())), Hex(saved));
    EXPECT_NE(result.Err.find("records; wrote standard output (format 1)"), std::string::npos) << result.Err;
}

TEST_F(AssembleCommand, EditedLinesOutOfOrderAndBlankLinesAreAccepted) {
    const std::string text = dir.File("edited.txt");
    std::ofstream(text, std::ios::binary) << "\r\nheader format 0 tracks 1 division 96\r\n"
                                             "96 ch1 80 3C 00\n"
                                             "\n"
                                             "0 ch1 90 3C 64\n"
                                             "0 meta FF 01 02 68 69\n"
                                             "0 meta FF 01 01 21\n";
    const std::string out = dir.File("edited.mid");
    ASSERT_EQ(RunCli({"assemble", text, out}).Status, 0);
    EXPECT_EQ(RunCli({"dump", out}).Out,
              "header format 0 tracks 1 division 96\n"
              "0 ch1 90 3C 64\n"
              "0 meta FF 01 02 68 69\n"
              "0 meta FF 01 01 21\n"
              "96 ch1 80 3C 00\n");
}

TEST_F(AssembleCommand, EveryBadLineIsNamedWithItsNumberAndNothingIsWritten) {
    const std::string text = dir.File("bad.txt");
    std::ofstream(text, std::ios::binary) << "header format 1 tracks 2 division 96\n"  // 1
                                             "0 ch1 90 3C 64\n"                        // 2 good
                                             "x ch1 90 3C 64\n"                        // 3
                                             "0 ch17 90 3C 64\n"                       // 4
                                             "0 ch1 91 3C 64\n"                        // 5
                                             "0 ch1 90 3C\n"                           // 6
                                             "0 ch1 C0 05 01\n"                        // 7
                                             "0 ch1 90 3C 80\n"                        // 8
                                             "0 ch1 3C 64\n"                           // 9
                                             "0 ch1 90 3G 64\n"                        // 10
                                             "0 tempo FF 58 04 04 02 18 08\n"          // 11
                                             "0 meta FF 01 03 61 62\n"                 // 12
                                             "0 meta FF 2F 00\n"                       // 13
                                             "0 chord FF 7F 07 43 7B 00 31 00 7F 7F\n" // 14
                                             "0 sysex F1 01 F7\n"                      // 15
                                             "0 sysex F0 81\n"                         // 16
                                             "0 meta 90 3C 64\n"                       // 17
                                             "0 ch1\n"                                 // 18
                                             "header format 1 tracks 2 division 96\n"  // 19
                                             "4294967296 ch1 90 3C 64\n"               // 20
                                             "0 lyric FF 05 02 6C 61\n"                // 21 good
                                             "0 ch1 90 85 64\n"                        // 22
                                             "0 ch1 E0 FF 00\n";                       // 23
    const std::string out = dir.File("out.mid");
    WriteFile(out, Bytes{1, 2, 3});
    const auto result = RunCli({"assemble", text, out});
    EXPECT_EQ(result.Status, 1);
    const auto lines = result.ErrLines();
    const std::vector<std::string> expected{
        "line 3: tick must be a whole number from 0 to 4294967295, not 'x'",
        "line 4: unknown list 'ch17'",
        "line 5: status 91 belongs to ch2, not ch1",
        "line 6: status 90 takes 2 data bytes, the line has 1",
        "line 7: status C0 takes 1 data byte, the line has 2",
        "line 8: data byte 80 is not below 80",
        "line 9: status 3C is no channel message",
        "line 10: '3G' is no byte of two hexadecimal digits",
        "line 11: tempo holds meta type 51, not 58",
        "line 12: the length says 3 data bytes, the line has 2",
        "line 13: end of track is written by the writer, not taken from the text",
        "line 14: a keyboard chord is FF 7F 07 43 7B 01 and four chord bytes",
        "line 15: a system-exclusive record starts with F0 or F7, not F1",
        "line 16: the length is no variable-length quantity of at most 32 bits",
        "line 17: a meta record starts with FF, not 90",
        "line 18: expected 'TICK LIST BYTES'",
        "line 19: a second header line",
        "line 20: tick must be a whole number from 0 to 4294967295, not '4294967296'",
        "line 22: data byte 85 is not below 80",
        "line 23: data byte FF is not below 80"};
    ASSERT_EQ(lines.size(), expected.size() + 1) << result.Err;
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(lines[i], "tonalux-cli assemble: " + text + ": " + expected[i]);
    EXPECT_EQ(lines.back(), "tonalux-cli assemble: nothing written");
    EXPECT_EQ(Hex(ReadFile(out)), "01 02 03");
}

TEST_F(AssembleCommand, ATextWithoutHeaderIsRefused) {
    const std::string text = dir.File("headless.txt");
    std::ofstream(text, std::ios::binary) << "0 ch1 90 3C 64\n";
    const auto result = RunCli({"assemble", text, dir.File("out.mid")});
    EXPECT_EQ(result.Status, 1);
    EXPECT_NE(result.Err.find("line 1: expected 'header format F tracks T division D' before the first record"),
              std::string::npos)
        << result.Err;
    std::ofstream(text, std::ios::binary | std::ios::trunc) << "\n";
    EXPECT_NE(RunCli({"assemble", text, dir.File("out.mid")}).Err.find("line 2: the header line is missing"),
              std::string::npos);
    std::ofstream(text, std::ios::binary | std::ios::trunc) << "header format 1 tracks 2\n";
    EXPECT_NE(RunCli({"assemble", text, dir.File("out.mid")}).Err.find("line 1: expected 'header format F"),
              std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir.File("out.mid")));
}

}  // namespace
}  // namespace tonalux::testing
