// The demo songs are what the generator writes, and they convert under the
// names the demo shows.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "FolderConversion.h"
#include "SongBuilder.h"
#include "StandardMidifile.h"
#include "TestSupport.h"

namespace {

namespace fs = std::filesystem;
using tonalux::testing::Hex;
using tonalux::testing::ReadFile;
using tonalux::testing::RecordingHost;
using tonalux::testing::TempDir;

const std::vector<std::string> kDemoSongs{"Abendlied.mid", "Bossa_Nova.mid", "SONG.MID", "Walzer.mid"};

TEST(ExamplesTest, CommittedSongsAreWhatTheGeneratorWrites) {
    TempDir dir;
    const std::string command = std::string("\"") + TONALUX_MAKE_EXAMPLES + "\" \"" + dir.Path().string() + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(tonalux::ListMidiFolder(dir.Path().string()), kDemoSongs);
    EXPECT_EQ(tonalux::ListMidiFolder(TONALUX_EXAMPLES_DIR), kDemoSongs);
    for (const auto& name : kDemoSongs)
        EXPECT_EQ(Hex(ReadFile(dir.Path() / name)), Hex(ReadFile(fs::path(TONALUX_EXAMPLES_DIR) / name))) << name;
}

TEST(ExamplesTest, DemoSongsConvertUnderTheirVocoderNames) {
    RecordingHost host;
    TempDir dir;
    tonalux::Component owner(nullptr);
    tonalux::ConversionOptions options;
    std::vector<std::string> outputs;
    const tonalux::ConversionFolders folders{std::string(TONALUX_EXAMPLES_DIR) + "/", dir.Path().string() + "/"};
    for (const auto& name : kDemoSongs) {
        const auto result = tonalux::ConvertSong(&owner, folders, name, options);
        EXPECT_EQ(result.Result, tonalux::SongResult::Converted) << name;
        EXPECT_TRUE(result.Messages.empty()) << name;
        outputs.push_back(result.Output);
    }
    EXPECT_EQ(outputs, (std::vector<std::string>{"Abendlied_VOC-3.mid", "Bossa_Nova_NO-VOC.mid", "SONG_VOC-12.MID",
                                                 "Walzer_NO-VOC.mid"}));
    EXPECT_TRUE(host.messages.empty());

    // The song of several tracks is a format 1 file with a meta track and four channel tracks.
    tonalux::StandardMidifile song(&owner);
    ASSERT_TRUE(song.LoadMidifile(std::string(TONALUX_EXAMPLES_DIR) + "/Walzer.mid"));
    EXPECT_EQ(song.Format, 1);
    EXPECT_EQ(song.TrackCount, 5);
    // The vocoder song keeps its chords, and the vocoder messages are there to remove.
    ASSERT_TRUE(song.LoadMidifile(std::string(TONALUX_EXAMPLES_DIR) + "/Abendlied.mid"));
    EXPECT_EQ(song.GetSizeYamChordEvents(), 8);
    EXPECT_EQ(song.GetSizeSysexEvents(), 4);
    song.DeleteVocoderNachrichten();
    EXPECT_EQ(song.GetSizeSysexEvents(), 1);
}


// FNV-1a over a file's bytes: a short fingerprint of a whole output.
std::uint64_t Fingerprint(const tonalux::testing::Bytes& bytes) {
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (const std::uint8_t byte : bytes) hash = (hash ^ byte) * 0x100000001b3ull;
    return hash;
}

TEST(ExamplesTest, WithoutTheSettingsEveryDemoSongConvertsToTheSameBytesAsBefore) {
    // Size and fingerprint of each output as the conversion wrote it before
    // the settings could be applied: format 0, format 1, and format 0 with the
    // vocoder messages kept. Every track of format 1 ends where the song ends.
    struct Expected {
        std::string name;
        std::size_t size[3];
        std::uint64_t fingerprint[3];
    };
    const std::vector<Expected> expected{
        {"Abendlied_VOC-3.mid", {1304, 1381, 1337}, {0x592b24452d7a4512, 0xe08522163886d6e2, 0x3a771a843490fb23}},
        {"Bossa_Nova_NO-VOC.mid", {1576, 1656, 1576}, {0x46e384e6f17ff909, 0x15817631321b8baf, 0x46e384e6f17ff909}},
        {"SONG_VOC-12.MID", {501, 553, 512}, {0xd8c690d716f69d3d, 0x9f56d1e875525734, 0x5de18831df0c9c49}},
        {"Walzer_NO-VOC.mid", {861, 925, 861}, {0xbf1f8ebbd4704694, 0x48b0ee2ed109526b, 0xbf1f8ebbd4704694}},
    };
    // Settings that have nothing to do: every field "-", no pair, no text.
    tonalux::SongSettings idle;
    for (int row = 0; row < tonalux::settings::kProgrammchangeRows; ++row)
        idle.Programs.MSBQ[row] = idle.Programs.MSBD[row] = idle.Programs.PRGQ[row] = idle.Programs.PRGD[row] = 999;
    for (int pair = 0; pair < tonalux::settings::kChannelPairs; ++pair)
        idle.Information.KanV[pair] = idle.Information.KanT[pair] = -1;

    RecordingHost host;
    TempDir dir;
    tonalux::Component owner(nullptr);
    for (int variant = 0; variant < 3; ++variant) {
        for (const bool apply : {false, true}) {
            tonalux::ConversionOptions options;
            options.Format = variant == 1 ? tonalux::SaveFormat::Format1 : tonalux::SaveFormat::Format0;
            options.DeleteVocoderSysex = variant != 2;
            options.ApplySettings = apply;
            options.Settings = idle;
            const tonalux::ConversionFolders folders{std::string(TONALUX_EXAMPLES_DIR) + "/", dir.Path().string() + "/"};
            for (std::size_t song = 0; song < kDemoSongs.size(); ++song) {
                const auto outcome = tonalux::ConvertSong(&owner, folders, kDemoSongs[song], options);
                ASSERT_EQ(outcome.Result, tonalux::SongResult::Converted) << kDemoSongs[song];
                const auto bytes = ReadFile(folders.Output + outcome.Output);
                EXPECT_EQ(outcome.Output, expected[song].name);
                EXPECT_EQ(bytes.size(), expected[song].size[variant]) << kDemoSongs[song] << " variant " << variant;
                EXPECT_EQ(Fingerprint(bytes), expected[song].fingerprint[variant])
                    << kDemoSongs[song] << " variant " << variant << (apply ? " with idle settings" : "");
            }
        }
    }
}

}  // namespace
