// tonalux-cli setup and convert --setup: a setup file printed readably, and
// a folder converted with the setup's rows, texts, swaps and options.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "CliRunner.h"
#include "SetupBytes.h"
#include "SongBuilder.h"
#include "StandardMidifile.h"

namespace fs = std::filesystem;

namespace tonalux::testing {
namespace {

constexpr std::int32_t kDash = SetupBytes::kDash;
constexpr std::int32_t kNone = SetupBytes::kNoChannel;

// Channel 3 is the vocoder part; channel 1 plays program 1 in bank 0; the
// first note lies at tick 96.
Bytes Song() {
    Track track;
    track.Event(0, 0xB0, {0, 0}).Program(0, 0, 0);
    track.Note(96, 0x90, 60, 100).Note(0, 0x92, 64, 3);
    track.Note(96, 0x80, 60, 64).Note(0, 0x82, 64, 0).End();
    return SongBuilder(0, 96).AddTrack(track).Bytes();
}

// Row 1 maps bank 0 program 1 to bank 8 program 5, pair 1 swaps 3 and 5.
SetupBytes MappingSetup() {
    SetupBytes setup;
    setup.Row(1, 0, 1, 8, 5).Copyright("(c) T").Trackname("Lied").Swap(1, 3, 5).FormatZero(false);
    return setup;
}

std::vector<std::string> DumpLines(const std::string& path) {
    const auto dump = RunCli({"dump", path});
    EXPECT_EQ(dump.Status, 0) << dump.Err;
    std::vector<std::string> lines;
    std::istringstream in(dump.Out);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

bool Has(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

class SettingsCommands : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(dir.Path() / "Midifile");
        fs::create_directories(dir.Path() / "Convert");
        WriteFile(dir.Path() / "Midifile" / "A.mid", Song());
    }
    std::string Setup(const SetupBytes& setup) {
        WriteFile(dir.File("test.set"), setup.Bytes());
        return dir.File("test.set");
    }
    std::string Output(const std::string& name) const { return dir.File("Convert/" + name); }

    TempDir dir;
};

TEST_F(SettingsCommands, SetupPrintsEveryFieldWithADashForNoValue) {
    SetupBytes setup;
    setup.Row(1, 0, 1, 8, 5)
        .Row(12, kDash, 10, kDash, 200)
        .Copyright("(c) M\xFCller")
        .Swap(1, 3, 5)
        .Swap(2, 1, 1)
        .Swap(3, 2, kNone)
        .StartAtFirstNote(true)
        .FormatZero(false);
    const auto result = RunCli({"setup", Setup(setup)});
    // Row 12's target program is out of range: named as convert --setup names it, and a failure.
    EXPECT_EQ(result.Status, 1);
    EXPECT_EQ(result.Err, "tonalux-cli setup: " + dir.File("test.set") +
                              ": Sound\xC3\xA4nderungen, Zeile 12, Ziel PRG: 200 liegt nicht zwischen 1 und 128 "
                              "(\"-\" f\xC3\xBCr keinen Wert); a conversion with this setup stops before the first "
                              "song\n");
    std::string expected =
        "Sound\xC3\xA4nderungen (bank MSB 0-127, program 1-128):\n"
        "  row  source MSB  source PRG  target MSB  target PRG\n"
        "    1           0           1           8           5\n";
    for (int row = 2; row <= 11; ++row)
        expected += (row < 10 ? "    " : "   ") + std::to_string(row) + "           -           -           -           -\n";
    expected +=
        "   12           -          10           -         200\n"
        "Zusatzinformationen:\n"
        "  copyright  (c) M\xC3\xBCller\n"
        "  trackname  -\n"
        "  channel swaps:\n"
        "    pair 1  KANAL 3 <-> KANAL 5\n"
        "    pair 2  KANAL 1 <-> KANAL 1  (no swap: the same channel)\n"
        "    pair 3  KANAL 2 <-> -  (no swap: one side only)\n";
    for (int pair = 4; pair <= 8; ++pair) expected += "    pair " + std::to_string(pair) + "  - <-> -  (not used)\n";
    expected +=
        "Options:\n"
        "  Start auf Tatkt 1  yes\n"
        "  Midiformat 0       no\n";
    EXPECT_EQ(result.Out, expected);
    setup.Row(12, kDash, 10, kDash, 128);
    const auto inRange = RunCli({"setup", Setup(setup)});
    EXPECT_EQ(inRange.Status, 0) << inRange.Err;
    EXPECT_EQ(inRange.Err, "");

    // Files that are no setup files are named.
    WriteFile(dir.File("short.set"), Bytes(100, 0));
    const auto wrongSize = RunCli({"setup", dir.File("short.set")});
    EXPECT_EQ(wrongSize.Status, 1);
    EXPECT_NE(wrongSize.Err.find("not a setup file"), std::string::npos) << wrongSize.Err;
    // Files that cannot be read are named with the system's reason.
    const struct {
        std::string File;
        std::string Reason;
    } unreadable[]{{dir.File("none.set"), "No such file or directory"},
                   {dir.File("Convert"), "Is a directory"},
                   {dir.File("Midifile/A.mid/x.set"), "Not a directory"}};
    for (const auto& [file, reason] : unreadable) {
        const auto result = RunCli({"setup", file});
        EXPECT_EQ(result.Status, 1);
        EXPECT_EQ(result.Err, "tonalux-cli setup: cannot read setup file " + file + ": " + reason + "\n");
        const auto convert = RunCli({"convert", dir.Path().string(), "--setup", file});
        EXPECT_EQ(convert.Err, "tonalux-cli convert: cannot read setup file " + file + ": " + reason + "\n");
    }
}

TEST_F(SettingsCommands, ConvertAppliesTheSetupAndItsOptionsBeforeTheVocoderAnalysis) {
    const std::string setup = Setup(MappingSetup());
    auto result = RunCli({"convert", dir.Path().string(), "--setup", setup});
    ASSERT_EQ(result.Status, 0) << result.Err;
    // The vocoder part moved to channel 5 before the analysis named it, and
    // the setup's "Midiformat 0" (unticked) gave format 1.
    auto lines = DumpLines(Output("A_VOC-5.mid"));
    EXPECT_EQ(lines.at(0), "header format 1 tracks 3 division 96");
    EXPECT_TRUE(Has(lines, "0 ch1 B0 00 08"));
    EXPECT_TRUE(Has(lines, "0 ch1 C0 04"));
    EXPECT_TRUE(Has(lines, "96 ch5 94 40 03"));
    // The names open the meta track.
    const Bytes written = ReadFile(Output("A_VOC-5.mid"));
    const Bytes texts{0x00, 0xFF, 0x02, 0x05, '(', 'c', ')', ' ', 'T', 0x00, 0xFF, 0x03, 0x04, 'L', 'i', 'e', 'd'};
    ASSERT_GE(written.size(), 22 + texts.size());
    EXPECT_EQ(Hex(Bytes(written.begin() + 22, written.begin() + 22 + static_cast<std::ptrdiff_t>(texts.size()))), Hex(texts));

    // --format and --start-at-first-note count over the setup's options.
    fs::remove(Output("A_VOC-5.mid"));
    result = RunCli({"convert", dir.Path().string(), "--setup", setup, "--format", "0", "--start-at-first-note"});
    ASSERT_EQ(result.Status, 0) << result.Err;
    lines = DumpLines(Output("A_VOC-5.mid"));
    EXPECT_EQ(lines.at(0), "header format 0 tracks 1 division 96");
    EXPECT_TRUE(Has(lines, "0 ch5 94 40 03"));

    // The setup's "Start auf Tatkt 1" counts when the command line says nothing.
    result = RunCli({"convert", dir.Path().string(), "--setup", Setup(MappingSetup().StartAtFirstNote(true))});
    ASSERT_EQ(result.Status, 0) << result.Err;
    EXPECT_TRUE(Has(DumpLines(Output("A_VOC-5.mid")), "0 ch5 94 40 03"));
}

TEST_F(SettingsCommands, SetupNamesAndConvertStopsBeforeTheFirstSongOnAFieldTheWindowRefuses) {
    const struct {
        SetupBytes Setup;
        std::string Problem;
    } cases[]{
        {MappingSetup().Row(4, 129, 1, 0, 1),
         "Sound\xC3\xA4nderungen, Zeile 4, Quell MSB: 129 liegt nicht zwischen 0 und 128 (\"-\" f\xC3\xBCr keinen Wert)"},
        {MappingSetup().Copyright("(c) \x85"),
         "Zusatzinformationen, COPYRIGHT: das Zeichen 0x85 ist kein druckbares Zeichen"},
        {MappingSetup().Swap(2, 17, 1),
         "Zusatzinformationen, KANALTAUSCHEN, Paar 2 oben: 16 liegt nicht zwischen -1 und 15 (-1 f\xC3\xBCr keinen "
         "Kanal)"},
        {MappingSetup().Byte(309, 2), "Midiformat 0: 2 liegt nicht zwischen 0 und 1"},
    };
    for (const auto& c : cases) {
        const std::string file = Setup(c.Setup);
        const auto shown = RunCli({"setup", file});
        EXPECT_EQ(shown.Status, 1) << c.Problem;
        EXPECT_EQ(shown.Err, "tonalux-cli setup: " + file + ": " + c.Problem +
                                 "; a conversion with this setup stops before the first song\n");
        const auto result = RunCli({"convert", dir.Path().string(), "--setup", file});
        EXPECT_EQ(result.Status, 1) << c.Problem;
        EXPECT_EQ(result.Err, "tonalux-cli convert: " + c.Problem + "\n");
        EXPECT_EQ(result.Out, "");
        EXPECT_TRUE(fs::is_empty(dir.Path() / "Convert")) << c.Problem;
    }

    const auto missing = RunCli({"convert", dir.Path().string(), "--setup", dir.File("none.set")});
    EXPECT_EQ(missing.Status, 1);
    EXPECT_TRUE(fs::is_empty(dir.Path() / "Convert"));
}

}  // namespace
}  // namespace tonalux::testing
