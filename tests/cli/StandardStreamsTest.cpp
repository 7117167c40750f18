// "-" as standard input and standard output, and failed writes to standard
// output, for every command that reads or writes a song.
#include <gtest/gtest.h>

#include "CliRunner.h"
#include "CliSongs.h"

namespace tonalux::testing {
namespace {

class StandardStreams : public ::testing::Test {
protected:
    void SetUp() override { WriteFile(song, CliSong()); }
    TempDir dir;
    std::string song = dir.File("song.mid");
};

TEST_F(StandardStreams, ShowingCommandsReadTheSongFromStandardInputAsFromItsFile) {
    const std::vector<std::vector<std::string>> commands{{"dump"}, {"chords"}, {"dump", "--json"}};
    for (const auto& args : commands) {
        std::vector<std::string> fromFile = args, fromStdin = args;
        fromFile.insert(fromFile.begin() + 1, song);
        fromStdin.insert(fromStdin.begin() + 1, "-");
        const auto expected = RunCli(fromFile);
        const auto piped = RunCli(fromStdin, {}, {song, ""});
        ASSERT_EQ(piped.Status, 0) << args[0] << ": " << piped.Err;
        EXPECT_EQ(piped.Out, expected.Out) << args[0];
    }
    const auto info = RunCli({"info", "-"}, {}, {song, ""});
    ASSERT_EQ(info.Status, 0) << info.Err;
    EXPECT_NE(info.Out.find("file        standard input\n"), std::string::npos) << info.Out;
    EXPECT_NE(info.Out.find("vocoder     channel 3 (threshold 5)\n"), std::string::npos) << info.Out;
}

TEST_F(StandardStreams, ChangingCommandsWriteTheSameSongToStandardOutputAsToAFile) {
    const std::vector<std::vector<std::string>> commands{{"save"},
                                                         {"save", "--format", "0"},
                                                         {"transpose", "--semitones", "2", "--chords"},
                                                         {"swap", "1", "3"},
                                                         {"ketron", "--replace"},
                                                         {"strip-chords", "--xf"},
                                                         {"add-chords", "--replace"}};
    for (const auto& command : commands) {
        const std::string file = dir.File(command[0] + ".mid");
        std::vector<std::string> toFile{command[0], song, file}, piped{command[0], "-", "-"};
        toFile.insert(toFile.end(), command.begin() + 1, command.end());
        piped.insert(piped.end(), command.begin() + 1, command.end());
        ASSERT_EQ(RunCli(toFile).Status, 0) << command[0];
        const auto result = RunCli(piped, {}, {song, ""});
        ASSERT_EQ(result.Status, 0) << command[0] << ": " << result.Err;
        const std::string written = SlurpText(file);
        EXPECT_EQ(Hex(Bytes(result.Out.begin(), result.Out.end())), Hex(Bytes(written.begin(), written.end())))
            << command[0];
        // The report goes to standard error, where it cannot spoil the song.
        EXPECT_NE(result.Err.find("wrote standard output (format"), std::string::npos) << result.Err;
    }
}

TEST_F(StandardStreams, AFailedWriteToStandardOutputIsAFailure) {
    const std::vector<std::vector<std::string>> commands{
        {"save", song, "-"},   {"transpose", song, "-", "--semitones", "1"}, {"swap", song, "-", "1", "2"},
        {"ketron", song, "-"}, {"strip-chords", song, "-"},                  {"dump", song},
        {"dump", song, "--json"}, {"info", song},                            {"chords", song},
        {"info", song, "--json"}, {"--help"},                                 {"--version"}};
    for (const auto& args : commands) {
        const auto result = RunCli(args, {}, {"", "/dev/full"});
        EXPECT_EQ(result.Status, 1) << args[0];
        EXPECT_NE(result.Err.find("cannot write to standard output: No space left on device"), std::string::npos) << args[0] << ": " << result.Err;
        EXPECT_EQ(result.ErrLines().size(), 1u) << result.Err;
    }
}

TEST_F(StandardStreams, WhatIsNoSongOnStandardInputIsNamedSo) {
    const std::string text = dir.File("text");
    WriteFile(text, Bytes{'n', 'o', ' ', 's', 'o', 'n', 'g'});
    const auto result = RunCli({"save", "-", dir.File("out.mid")}, {}, {text, ""});
    EXPECT_EQ(result.Status, 1);
    EXPECT_NE(result.Err.find("standard input: not a MIDI file"), std::string::npos) << result.Err;
    EXPECT_FALSE(std::filesystem::exists(dir.File("out.mid")));
    EXPECT_EQ(RunCli({"info", "-", "-"}, {}, {song, ""}).Status, 2);
}

}  // namespace
}  // namespace tonalux::testing
