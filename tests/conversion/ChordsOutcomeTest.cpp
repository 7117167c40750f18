// The chords of the folder conversion: ConvertSong adds them when asked,
// keeps a song's own, and the counts of a run say what became of them.
#include <gtest/gtest.h>

#include <filesystem>

#include "Component.h"
#include "FolderConversion.h"
#include "SongBuilder.h"
#include "TestSupport.h"

namespace fs = std::filesystem;

namespace tonalux {
namespace {

using testing::Bytes;
using testing::Track;

// A bar of C major over its bass, with a chord event of its own when asked;
// or a single note, which tells no chord.
Bytes ChordSong(bool ownChord, bool oneNote = false) {
    Track track;
    if (ownChord) track.Chord(0, 0x35, 19);
    if (oneNote) {
        track.Note(0, 0x90, 60, 90).Note(384, 0x80, 60, 0);
    } else {
        for (std::uint8_t key : {48, 60, 64, 67}) track.Note(0, 0x90, key, 90);
        track.Note(384, 0x80, 48, 0);
        for (std::uint8_t key : {60, 64, 67}) track.Note(0, 0x80, key, 0);
    }
    return testing::SongBuilder(0, 96).AddTrack(track.End()).Bytes();
}

TEST(ChordsOutcome, ConvertSongAddsChordsWhenAskedAndTheCountsSaySo) {
    testing::RecordingHost host;
    testing::TempDir dir;
    fs::create_directories(dir.Path() / "Midifile");
    fs::create_directories(dir.Path() / "Convert");
    const ConversionFolders folders = DefaultFolders(dir.Path().string() + "/");
    testing::WriteFile(folders.Input + "A.mid", ChordSong(false));
    testing::WriteFile(folders.Input + "B.mid", ChordSong(true));
    testing::WriteFile(folders.Input + "C.mid", ChordSong(false, true));
    const std::vector<std::string> names{"A.mid", "B.mid", "C.mid"};

    struct Case {
        bool AddChords;
        bool DryRun;
        std::vector<ChordsResult> Results;
        std::string Counts;
    };
    const std::vector<Case> cases{
        {false, false, {ChordsResult::NotAsked, ChordsResult::NotAsked, ChordsResult::NotAsked},
         "3 songs: 3 converted, 0 damaged, 0 failed, 0 skipped"},
        {true, false, {ChordsResult::Added, ChordsResult::AlreadyHad, ChordsResult::NoneFound},
         "3 songs: 3 converted, 0 damaged, 0 failed, 0 skipped, chords added to 1, kept in 1"},
        {true, true, {ChordsResult::Added, ChordsResult::AlreadyHad, ChordsResult::NoneFound},
         "3 songs: 3 would be converted, 0 damaged, 0 failed, 0 skipped, chords added to 1, kept in 1"},
    };
    Component owner(nullptr);
    for (const auto& c : cases) {
        ConversionOptions options;
        options.AddChords = c.AddChords;
        options.DryRun = c.DryRun;
        RunCounts counts;
        std::vector<ChordsResult> results;
        for (const auto& outcome : ConvertFolder(&owner, folders, names, options)) {
            counts.Add(outcome);
            results.push_back(outcome.Chords);
        }
        EXPECT_EQ(results, c.Results) << c.Counts;
        EXPECT_EQ(counts.ChordsAdded + counts.ChordsKept, c.AddChords ? 2u : 0u);
        EXPECT_EQ(counts.Text(c.DryRun), c.Counts);
    }
    // The song that got chords carries them; its input is unchanged.
    StandardMidifile engine(&owner);
    ASSERT_TRUE(engine.LoadMidifile(folders.Output + "A_NO-VOC.mid"));
    ASSERT_EQ(engine.GetSizeYamChordEvents(), 1);
    EXPECT_EQ(engine.YamChordCalculate(engine.GetYamchord(0)), "C");
    EXPECT_EQ(testing::ReadFile(folders.Input + "A.mid"), ChordSong(false));
}

}  // namespace
}  // namespace tonalux
