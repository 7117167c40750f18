// convert --in, --out, --recursive and --dry-run: any two folders, songs in
// subfolders written to the same place under the output folder, and a run
// that only says what it would write.
#include <gtest/gtest.h>

#include <map>
#include <regex>

#include "CliRunner.h"
#include "CliSongs.h"

namespace fs = std::filesystem;

namespace tonalux::testing {
namespace {

// Every file under `folder`, by path relative to it.
std::map<std::string, Bytes> ReadTree(const fs::path& folder) {
    std::map<std::string, Bytes> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file()) files[fs::relative(entry.path(), folder).generic_string()] = ReadFile(entry.path());
    return files;
}

// The report without the times, which differ from run to run.
std::string WithoutTimes(const std::string& report) {
    return std::regex_replace(report, std::regex(R"(  ?[0-9]+\.[0-9]{3} s)"), "");
}

class ConvertFolders : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(in / "Live" / "Set 1");
        fs::create_directories(out);
        WriteFile(in / "A.mid", CliSong(3, 5));
        WriteFile(in / "Live" / "B.MID", CliSong(12, 1));
        WriteFile(in / "Live" / "Set 1" / "C.mid", CliSong(16, 1));
        WriteFile(in / "Live" / "notes.txt", Bytes{'x'});
    }
    TempDir dir;
    fs::path in = dir.Path() / "songs";
    fs::path out = dir.Path() / "results";
};

TEST_F(ConvertFolders, InAndOutNameAnyTwoFoldersAndGiveTheFilesOfTheDefaultFolders) {
    const auto result = RunCli({"convert", "--in", in.string(), "--out=" + out.string()});
    ASSERT_EQ(result.Status, 0) << result.Err;
    const auto written = ReadTree(out);
    EXPECT_EQ(written.size(), 1u);  // subfolders only with --recursive
    ASSERT_TRUE(written.count("A_VOC-3.mid")) << result.Out;

    const fs::path base = dir.Path() / "base";
    fs::create_directories(base / "Midifile");
    fs::create_directories(base / "Convert");
    fs::copy_file(in / "A.mid", base / "Midifile" / "A.mid");
    ASSERT_EQ(RunCli({"convert", base.string()}).Status, 0);
    EXPECT_EQ(Hex(ReadFile(base / "Convert" / "A_VOC-3.mid")), Hex(written.at("A_VOC-3.mid")));

    // --in alone keeps DIR/Convert/ as the output folder.
    fs::remove(base / "Convert" / "A_VOC-3.mid");
    ASSERT_EQ(RunCli({"convert", base.string(), "--in", in.string()}).Status, 0);
    EXPECT_TRUE(fs::exists(base / "Convert" / "A_VOC-3.mid"));
}

TEST_F(ConvertFolders, RecursiveWritesEachSongToItsRelativePlaceAndCreatesTheSubfolders) {
    const auto result = RunCli({"convert", "--in", in.string(), "--out", out.string(), "--recursive"});
    ASSERT_EQ(result.Status, 0) << result.Err;
    const auto written = ReadTree(out);
    std::vector<std::string> names;
    for (const auto& [name, bytes] : written) names.push_back(name);
    EXPECT_EQ(names, (std::vector<std::string>{"A_VOC-3.mid", "Live/B_VOC-12.MID", "Live/Set 1/C_VOC-16.mid"}));
    EXPECT_EQ(WithoutTimes(result.Out),
              "A.mid -> A_VOC-3.mid  vocoder 3  events 15\n"
              "Live/B.MID -> Live/B_VOC-12.MID  vocoder 12  events 15\n"
              "Live/Set 1/C.mid -> Live/Set 1/C_VOC-16.mid  vocoder 16  events 15\n"
              "3 songs: 3 converted, 0 damaged, 0 failed, 0 skipped in\n");
    // The same song gives the same bytes wherever it lies.
    fs::create_directories(dir.Path() / "flat");
    ASSERT_EQ(RunCli({"convert", "--in", (in / "Live" / "Set 1").string(), "--out", (dir.Path() / "flat").string()})
                  .Status,
              0);
    EXPECT_EQ(Hex(ReadFile(dir.Path() / "flat" / "C_VOC-16.mid")), Hex(written.at("Live/Set 1/C_VOC-16.mid")));
}

TEST_F(ConvertFolders, AnOutputFolderInsideTheInputFolderIsNotReadAgain) {
    const fs::path inside = in / "Converted";
    fs::create_directories(inside);
    for (int run = 0; run < 2; ++run) {
        const auto result = RunCli({"convert", "--in", in.string(), "--out", inside.string(), "--recursive"});
        ASSERT_EQ(result.Status, 0) << result.Err;
        EXPECT_NE(result.Out.find("3 songs: 3 converted"), std::string::npos) << result.Out;
    }
    EXPECT_EQ(ReadTree(inside).size(), 3u);
}

TEST_F(ConvertFolders, DryRunPrintsWhatItWouldWriteAndWritesNothing) {
    const auto dry = RunCli({"convert", "--in", in.string(), "--out", out.string(), "--recursive", "--dry-run"});
    ASSERT_EQ(dry.Status, 0) << dry.Err;
    EXPECT_TRUE(fs::is_empty(out));  // not even a subfolder
    const auto real = RunCli({"convert", "--in", in.string(), "--out", out.string(), "--recursive"});
    const std::string dryReport = WithoutTimes(dry.Out);
    const std::string realReport = WithoutTimes(real.Out);
    EXPECT_EQ(dryReport.substr(0, dryReport.rfind("3 songs")), realReport.substr(0, realReport.rfind("3 songs")));
    EXPECT_NE(dryReport.find("3 songs: 3 would be converted, 0 damaged, 0 failed, 0 skipped in; nothing written\n"),
              std::string::npos)
        << dry.Out;
    // A song that cannot be read fails in a dry run too.
    WriteFile(in / "Broken.mid", Bytes{'M', 'T'});
    const auto broken = RunCli({"convert", "--in", in.string(), "--out", out.string(), "--dry-run"});
    EXPECT_EQ(broken.Status, 1);
    EXPECT_NE(broken.Out.find("Broken.mid: not a MIDI file"), std::string::npos) << broken.Out;
    // A song cut short is damaged in a dry run as in a real one.
    fs::remove(in / "Broken.mid");
    const Bytes whole = CliSong();
    WriteFile(in / "Half.mid", Bytes(whole.begin(), whole.end() - 20));
    const auto half = RunCli({"convert", "--in", in.string(), "--out", out.string(), "--dry-run"});
    EXPECT_EQ(half.Status, 1);
    EXPECT_EQ(WithoutTimes(half.Out),
              "A.mid -> A_VOC-3.mid  vocoder 3  events 15\n"
              "Half.mid: damaged at byte 88 in track 2, 11 records kept, converted to Half_VOC-3.mid "
              "(Byteread Error!)\n"
              "2 songs: 1 would be converted, 1 damaged, 0 failed, 0 skipped in; nothing written\n");
    EXPECT_FALSE(fs::exists(out / "Half_VOC-3.mid"));
}

}  // namespace
}  // namespace tonalux::testing
