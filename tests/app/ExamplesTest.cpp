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

}  // namespace
