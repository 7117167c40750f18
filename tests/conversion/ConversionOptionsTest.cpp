// The options of a run: built once from the front end's choices and the setup
// blocks, and the threshold they carry is the one the vocoder analysis uses.
#include <gtest/gtest.h>

#include <filesystem>

#include "Component.h"
#include "ConversionOptions.h"
#include "FolderConversion.h"
#include "SongBuilder.h"
#include "TestSupport.h"

namespace fs = std::filesystem;

namespace tonalux {
namespace {

TEST(ConversionOptions, ChoicesLeftOpenFallToTheSetupThenToTheStartValues) {
    SongSettings setup{};
    setup.Information.Format0 = 0;  // the setup chooses format 1
    setup.Information.FastPlay = 1;
    struct Case {
        std::optional<SaveFormat> format;
        std::optional<bool> start;
        bool withSetup;
        SaveFormat wantFormat;
        bool wantStart;
    };
    const Case cases[] = {
        {std::nullopt, std::nullopt, false, SaveFormat::Format0, false},
        {std::nullopt, std::nullopt, true, SaveFormat::Format1, true},
        {SaveFormat::Format0, false, true, SaveFormat::Format0, false},
        {SaveFormat::Format1, true, false, SaveFormat::Format1, true},
    };
    for (const Case& c : cases) {
        RunChoices choices;
        choices.Format = c.format;
        choices.StartFirstNote = c.start;
        choices.VelocityThreshold = 17;
        const ConversionOptions options =
            MakeConversionOptions(choices, c.withSetup ? std::optional<SongSettings>(setup) : std::nullopt);
        EXPECT_EQ(options.Format, c.wantFormat);
        EXPECT_EQ(options.StartFirstNote, c.wantStart);
        EXPECT_EQ(options.ApplySettings, c.withSetup);
        EXPECT_EQ(options.VelocityThreshold, 17);
    }
}

TEST(ConversionOptions, TheRunsThresholdDecidesTheVocoderChannelNotTheHost) {
    testing::RecordingHost host;  // shows the default threshold 5
    testing::TempDir dir;
    fs::create_directories(dir.Path() / "Midifile");
    fs::create_directories(dir.Path() / "Convert");
    const ConversionFolders folders = DefaultFolders(dir.Path().string() + "/");
    testing::Track track;  // channel 2 at velocity 40, channel 5 at velocity 3
    track.Note(0, 0x91, 60, 40).Note(96, 0x81, 60, 0).Note(0, 0x94, 64, 3).Note(96, 0x84, 64, 0).End();
    testing::WriteFile(folders.Input + "A.mid", testing::SongBuilder(0, 96).AddTrack(track).Bytes());
    Component owner(nullptr);
    for (const auto& [threshold, want] : {std::pair{2, "A_NO-VOC.mid"}, {5, "A_VOC-5.mid"}, {40, "A_VOC-5.mid"}}) {
        RunChoices choices;
        choices.VelocityThreshold = threshold;
        choices.DryRun = true;
        EXPECT_EQ(ConvertSong(&owner, folders, "A.mid", MakeConversionOptions(choices)).Output, want) << threshold;
    }
}

}  // namespace
}  // namespace tonalux
