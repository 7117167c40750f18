// The tool's answers to wrong command lines: exit status 2 (1 for a missing
// file) and one line on standard error naming the problem, with nothing
// written. And --help for the tool and every command.
#include <gtest/gtest.h>

#include "CliRunner.h"
#include "CliSongs.h"

namespace tonalux::testing {
namespace {

const std::vector<std::string> kCommands{"convert", "info",  "dump",   "chords",      "save",
                                         "transpose", "swap", "ketron", "strip-chords"};

// Exactly one line on standard error, containing `fragment`.
void ExpectOneErrorLine(const CliResult& result, const std::string& fragment) {
    const auto lines = result.ErrLines();
    ASSERT_EQ(lines.size(), 1u) << result.Err;
    EXPECT_NE(lines[0].find(fragment), std::string::npos) << lines[0];
    EXPECT_EQ(lines[0].rfind("tonalux-cli", 0), 0u) << lines[0];
}

class CommandLineErrors : public ::testing::Test {
protected:
    void SetUp() override { WriteFile(song, CliSong()); }
    TempDir dir;
    std::string song = dir.File("song.mid");
    std::string out = dir.File("out.mid");
};

TEST_F(CommandLineErrors, UnknownCommandIsAUsageErrorNamingIt) {
    const auto result = RunCli({"frobnicate", song});
    EXPECT_EQ(result.Status, 2);
    ExpectOneErrorLine(result, "unknown command 'frobnicate'");
    EXPECT_TRUE(result.Out.empty());
}

TEST_F(CommandLineErrors, NoCommandIsAUsageError) {
    const auto result = RunCli({});
    EXPECT_EQ(result.Status, 2);
    ExpectOneErrorLine(result, "no command");
}

TEST_F(CommandLineErrors, MissingInputFileIsNamedAndFails) {
    const std::string missing = dir.File("nothere.mid");
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"info", missing}, {"dump", missing}, {"chords", missing},
          {"save", missing, out}, {"swap", missing, out, "1", "2"}}) {
        const auto result = RunCli(args);
        EXPECT_EQ(result.Status, 1) << args[0];
        ExpectOneErrorLine(result, "cannot read " + missing + ": No such file or directory");
    }
    EXPECT_FALSE(std::filesystem::exists(out));
}

TEST_F(CommandLineErrors, ChannelsOutsideOneToSixteenAreRefused) {
    for (const std::string channel : {"0", "17", "-1", "three"}) {
        const auto swap = RunCli({"swap", song, out, "1", channel});
        EXPECT_EQ(swap.Status, 2) << channel;
        ExpectOneErrorLine(swap, "channel must be a whole number from 1 to 16, not '" + channel + "'");

        const auto transpose = RunCli({"transpose", song, out, "--semitones", "2", "--channel", channel});
        EXPECT_EQ(transpose.Status, 2) << channel;
        ExpectOneErrorLine(transpose, "not '" + channel + "'");
    }
    EXPECT_FALSE(std::filesystem::exists(out));
}

TEST_F(CommandLineErrors, SemitonesMustBeAWholeNumber) {
    for (const std::string value : {"up", "2.5", "", "3x", "128"}) {
        const auto result = RunCli({"transpose", song, out, "--semitones", value});
        EXPECT_EQ(result.Status, 2) << value;
        ExpectOneErrorLine(result, "semitones must be a whole number from -127 to 127, not '" + value + "'");
    }
    const auto missing = RunCli({"transpose", song, out});
    EXPECT_EQ(missing.Status, 2);
    ExpectOneErrorLine(missing, "missing --semitones");
    EXPECT_FALSE(std::filesystem::exists(out));
}

TEST_F(CommandLineErrors, WrongOptionsAndArgumentCountsAreNamed) {
    struct Case {
        std::vector<std::string> args;
        std::string fragment;
    };
    const std::vector<Case> cases{
        {{"info", song, "--colour"}, "unknown option '--colour'"},
        {{"save", song}, "missing OUT"},
        {{"swap", song, out, "1"}, "missing B"},
        {{"dump", song, "extra"}, "unexpected argument 'extra'"},
        {{"save", song, out, "--format", "2"}, "format must be 0 or 1, not '2'"},
        {{"save", song, out, "--format"}, "option --format needs a value"},
        {{"convert", dir.Path().string(), "--threshold", "200"}, "threshold must be a whole number from 0 to 127"},
        {{"ketron", song, out, "--replace=yes"}, "option --replace takes no value"},
        {{"transpose", song, out, "--semitones", "1", "--from", "500", "--to", "100"}, "--from must not lie after --to"},
        {{"transpose", song, out, "--semitones", "1", "--semitones", "2"}, "option --semitones given twice"},
    };
    for (const auto& c : cases) {
        const auto result = RunCli(c.args);
        EXPECT_EQ(result.Status, 2) << c.fragment;
        ExpectOneErrorLine(result, c.fragment);
    }
    EXPECT_FALSE(std::filesystem::exists(out));
}

TEST_F(CommandLineErrors, HelpIsShownForTheToolAndEveryCommand) {
    const auto tool = RunCli({"--help"});
    EXPECT_EQ(tool.Status, 0);
    EXPECT_TRUE(tool.Err.empty());
    for (const auto& command : kCommands) {
        EXPECT_NE(tool.Out.find("  " + command + " "), std::string::npos) << command;
        const auto help = RunCli({command, "--help"});
        EXPECT_EQ(help.Status, 0) << command;
        EXPECT_EQ(help.Out.rfind("Usage: tonalux-cli " + command, 0), 0u) << help.Out;
    }
    // The other spellings, and help wins over a command line that is wrong.
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"help", "swap"}, {"swap", song, "-h"}, {"swap", "--channel", "--help"}}) {
        const auto help = RunCli(args);
        EXPECT_EQ(help.Status, 0);
        EXPECT_EQ(help.Out.rfind("Usage: tonalux-cli swap FILE OUT A B", 0), 0u) << help.Out;
    }
}

}  // namespace
}  // namespace tonalux::testing
