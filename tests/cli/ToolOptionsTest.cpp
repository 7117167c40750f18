// The options every command shares: --version, --quiet (-q) and --verbose (-v).
#include <gtest/gtest.h>

#include <set>

#include "CliRunner.h"
#include "CliSongs.h"
#include "SetupBytes.h"
#include "TonaluxVersion.h"

namespace tonalux::testing {
namespace {

class ToolOptions : public ::testing::Test {
protected:
    void SetUp() override {
        WriteFile(song, CliSong());
        std::filesystem::create_directories(dir.File("base/Midifile"));
        std::filesystem::create_directories(dir.File("base/Convert"));
        WriteFile(dir.File("base/Midifile/Song.mid"), CliSong());
    }
    // Every command, with arguments that let it succeed.
    std::vector<std::vector<std::string>> EveryCommand() {
        const std::string out = dir.File("out.mid");
        const std::string text = dir.File("song.txt");
        std::ofstream(text) << RunCli({"dump", song}).Out;
        WriteFile(dir.File("map.set"), SetupBytes().Bytes());
        return {{"convert", dir.File("base")},
                {"setup", dir.File("map.set")},
                {"info", song},
                {"dump", song},
                {"assemble", text, out},
                {"chords", song},
                {"save", song, out},
                {"transpose", song, out, "--semitones", "1"},
                {"swap", song, out, "1", "2"},
                {"ketron", song, out},
                {"strip-chords", song, out}};
    }
    TempDir dir;
    std::string song = dir.File("song.mid");
};

TEST_F(ToolOptions, VersionNamesTheToolTheProjectVersionAndTheLicence) {
    const std::string expected = std::string("tonalux-cli ") + tonalux::kVersion +
                                 "\nCopyright (c) 2026 the Tonalux & Belvorta developers, MIT licence\n";
    for (const std::string option : {"--version", "-V"}) {
        const auto result = RunCli({option});
        EXPECT_EQ(result.Status, 0);
        EXPECT_EQ(result.Out, expected);
    }
    EXPECT_NE(RunCli({"--help"}).Out.find("--version"), std::string::npos);
}

TEST_F(ToolOptions, QuietLeavesOutReportsButNotWhatACommandExistsToPrint) {
    const std::set<std::string> printing{"info", "dump", "chords", "setup"};
    for (auto args : EveryCommand()) {
        const std::string plain = RunCli(args).Out;
        ASSERT_FALSE(plain.empty()) << args[0];
        for (const std::string option : {"--quiet", "-q"}) {
            auto quiet = args;
            quiet.push_back(option);
            const auto result = RunCli(quiet);
            EXPECT_EQ(result.Status, 0) << args[0] << ": " << result.Err;
            EXPECT_EQ(result.Out, printing.count(args[0]) ? plain : std::string()) << args[0] << ' ' << option;
            EXPECT_EQ(result.Err, "") << args[0];
        }
    }
    EXPECT_EQ(RunCli({"info", song, "--json", "-q"}).Out, RunCli({"info", song, "--json"}).Out);
    // In front of the command as well; errors stay.
    for (const std::string option : {"--quiet", "-q"}) {
        const auto missing = RunCli({option, "info", dir.File("missing.mid")});
        EXPECT_EQ(missing.Status, 1);
        EXPECT_EQ(missing.Out, "");
        EXPECT_NE(missing.Err.find("No such file or directory"), std::string::npos) << missing.Err;
    }
}

TEST_F(ToolOptions, VerboseAddsDetailsOnStandardErrorAndKeepsStandardOutput) {
    for (auto args : EveryCommand()) {
        const auto plain = RunCli(args);
        args.push_back("--verbose");
        const auto verbose = RunCli(args);
        EXPECT_EQ(verbose.Status, 0) << args[0] << ": " << verbose.Err;
        if (args[0] != "convert") {  // convert prints times
            EXPECT_EQ(verbose.Out, plain.Out) << args[0];
        }
        EXPECT_TRUE(plain.Err.empty()) << args[0] << ": " << plain.Err;
        EXPECT_NE(verbose.Err, "") << args[0];
        for (const auto& line : verbose.ErrLines())
            EXPECT_EQ(line.rfind("tonalux-cli " + args[0] + ": ", 0), 0u) << line;
    }
    for (const auto& args : std::vector<std::vector<std::string>>{{"info", song, "--verbose"}, {"info", song, "-v"},
                                                                  {"-v", "info", song}}) {
        const auto read = RunCli(args);
        EXPECT_NE(read.Err.find("read " + song + ": format 1, 2 tracks, division 96, 15 records"), std::string::npos)
            << read.Err;
    }
}

TEST_F(ToolOptions, QuietAndVerboseTogetherAreAWrongCommandLine) {
    for (const auto& args : std::vector<std::vector<std::string>>{{"--quiet", "dump", song, "--verbose"},
                                                                  {"-q", "dump", song, "-v"}}) {
        const auto result = RunCli(args);
        EXPECT_EQ(result.Status, 2);
        EXPECT_NE(result.Err.find("--quiet and --verbose exclude each other"), std::string::npos) << result.Err;
    }
}

}  // namespace
}  // namespace tonalux::testing
