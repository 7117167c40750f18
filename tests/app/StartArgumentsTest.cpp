// "tonalux [DIR]": the window program works on DIR, answers --help and
// --version without a screen, and refuses a DIR that is no folder.
#include <gtest/gtest.h>

#include <filesystem>

#include "CliRunner.h"
#include "FolderConversion.h"
#include "SongBuilder.h"
#include "StartArguments.h"
#include "TonaluxVersion.h"

namespace tonalux::testing {
namespace {

namespace fs = std::filesystem;

CliResult RunWindowProgram(const std::vector<std::string>& args) { return RunProgram(TONALUX_APP_PATH, args); }

TEST(StartArguments, HelpAndVersionAnswerWithoutAWindow) {
    const auto version = RunWindowProgram({"--version"});
    EXPECT_EQ(version.Status, 0);
    EXPECT_EQ(version.Out, std::string("tonalux ") + kVersion + "\n");
    EXPECT_EQ(RunWindowProgram({"-V"}).Out, version.Out);
    const auto help = RunWindowProgram({"--help"});
    EXPECT_EQ(help.Status, 0);
    EXPECT_EQ(help.Out.rfind("Usage: tonalux [DIR]\n", 0), 0u) << help.Out;
}

TEST(StartArguments, AWrongCommandLineOrAMissingFolderEndsTheProgramWithAReason) {
    TempDir dir;
    const auto missing = RunWindowProgram({dir.File("missing")});
    EXPECT_EQ(missing.Status, 1);
    EXPECT_EQ(missing.Err, "tonalux: folder not found: " + dir.File("missing") + "\n");
    EXPECT_FALSE(fs::exists(dir.File("missing")));  // nothing is created

    WriteFile(dir.File("file"), Bytes{1});
    EXPECT_EQ(RunWindowProgram({dir.File("file")}).Status, 1);
    const auto two = RunWindowProgram({dir.Path().string(), dir.Path().string()});
    EXPECT_EQ(two.Status, 2);
    EXPECT_NE(two.Err.find("unexpected argument"), std::string::npos) << two.Err;
    EXPECT_EQ(RunWindowProgram({"--frobnicate"}).Status, 2);
}

TEST(StartArguments, TheFolderGivenBecomesTheBaseFolderOfTheMainWindow) {
    TempDir dir;
    const fs::path before = fs::current_path();
    EXPECT_FALSE(HandleStartArguments({dir.Path().string()}).has_value());
    EXPECT_EQ(CurrentBaseFolder(), fs::canonical(dir.Path()).string() + "/");
    fs::current_path(before);
    EXPECT_FALSE(HandleStartArguments({}).has_value());
    EXPECT_EQ(fs::current_path(), before);
    // The toolkit's options and their values are no folder.
    EXPECT_FALSE(HandleStartArguments({"-platform", "offscreen", "--style=fusion", dir.Path().string()}).has_value());
    EXPECT_EQ(CurrentBaseFolder(), fs::canonical(dir.Path()).string() + "/");
    fs::current_path(before);
}

}  // namespace
}  // namespace tonalux::testing
