// The folder conversion both front ends run, without a window: one outcome
// per song, the engine's messages kept with their song, the checks before a
// run, and the summary a run with problems ends with.
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
using testing::RecordingHost;
using testing::SongBuilder;
using testing::TempDir;
using testing::Track;
using testing::WriteFile;

// Notes on channel 1, and on channel 3 at velocity 3 (the vocoder channel).
Bytes Song() {
    Track track;
    track.Note(0, 0x90, 60, 100).Note(96, 0x80, 60, 0).Note(0, 0x92, 64, 3).Note(96, 0x82, 64, 0).End();
    return SongBuilder(0, 96).AddTrack(track).Bytes();
}

ConversionFolders MakeFolders(const TempDir& dir) {
    fs::create_directories(dir.Path() / "Midifile");
    fs::create_directories(dir.Path() / "Convert");
    return DefaultFolders(dir.Path().string() + "/");
}

TEST(FolderConversion, EverySongGetsItsOutcomeAndItsOwnMessages) {
    RecordingHost host;
    TempDir dir;
    const ConversionFolders folders = MakeFolders(dir);
    Bytes half = Song();
    half.resize(half.size() - 6);
    WriteFile(folders.Input + "A.mid", Song());
    WriteFile(folders.Input + "B.mid", half);
    WriteFile(folders.Input + "C.mid", Bytes{'t', 'e', 'x', 't'});
    WriteFile(folders.Input + "D.mid", Song());
    fs::create_directory(folders.Output + "D_VOC-3.mid");  // in the way of D's output
    fs::create_directory(folders.Input + "E.mid");
    WriteFile(folders.Input + "F.mid", Song());
    fs::create_symlink(folders.Input + "A.mid", folders.Output + "F_VOC-3.mid");  // F would replace A
    const std::vector<std::string> names{"A.mid", "B.mid", "C.mid", "D.mid", "E.mid", "F.mid", "Gone.mid"};

    Component owner(nullptr);
    std::vector<std::string> seen;
    ConversionHooks hooks;
    hooks.AfterSong = [&seen](const SongOutcome& outcome) { seen.push_back(outcome.Name); };
    const auto run = ConvertFolder(&owner, folders, names, ConversionOptions{}, hooks);

    ASSERT_EQ(run.size(), names.size());
    EXPECT_EQ(seen, names);
    EXPECT_EQ(run[0].Result, SongResult::Converted);
    EXPECT_EQ(run[0].Output, "A_VOC-3.mid");
    EXPECT_TRUE(run[0].Messages.empty());
    EXPECT_EQ(run[1].Result, SongResult::ConvertedDamaged);
    EXPECT_TRUE(run[1].Load.Damaged);
    EXPECT_EQ(run[1].Messages, std::vector<std::string>{"Byteread Error!"});
    EXPECT_EQ(run[2].Result, SongResult::NotMidi);
    EXPECT_EQ(run[2].Messages, std::vector<std::string>{"incorrect fileheader"});
    EXPECT_EQ(run[3].Result, SongResult::WriteFailed);
    EXPECT_EQ(run[3].Reason, "Is a directory");
    EXPECT_TRUE(run[3].Messages.empty());  // the writer's message gives way to the reason
    EXPECT_EQ(run[4].Result, SongResult::NotAFile);
    EXPECT_EQ(run[5].Result, SongResult::SkippedInput);
    EXPECT_EQ(run[5].Output, "F_VOC-3.mid");
    EXPECT_EQ(run[5].Reason, "A.mid");
    EXPECT_EQ(run[6].Result, SongResult::Vanished);
    // Nothing reached the host in force, which is in force again.
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(&CurrentEngineHost(), &host);
    EXPECT_EQ(testing::ReadFile(folders.Input + "A.mid"), Song());

    EXPECT_EQ(RunSummary(run), "B.mid: " + DescribeDamage(run[1].Load) +
                                   ", converted to B_VOC-3.mid (Byteread Error!)\n"
                                   "C.mid: not a MIDI file (incorrect fileheader)\n"
                                   "D.mid: could not be written to D_VOC-3.mid: Is a directory\n"
                                   "F.mid: skipped, its output F_VOC-3.mid would replace the input song A.mid\n"
                                   "\n"
                                   "7 songs: 1 converted, 1 damaged, 2 failed, 3 skipped");
    EXPECT_EQ(RunSummary({run[0], run[4], run[6]}), "");  // a clean run needs no summary
}

TEST(FolderConversion, TheFrontEndCanStopTheRunBetweenSongs) {
    RecordingHost host;
    TempDir dir;
    const ConversionFolders folders = MakeFolders(dir);
    for (const char* name : {"A.mid", "B.mid", "C.mid"}) WriteFile(folders.Input + name, Song());
    Component owner(nullptr);
    ConversionHooks hooks;
    int lamp = 0;
    hooks.BeforeSong = [](std::size_t index, const std::string&) { return index < 2; };
    hooks.Busy = [&lamp](bool busy) { lamp += busy ? 1 : -1; };
    const auto run = ConvertFolder(&owner, folders, ListMidiFolder(folders.Input), ConversionOptions{}, hooks);
    EXPECT_EQ(run.size(), 2u);
    EXPECT_EQ(lamp, 0);  // every lamp lit was put out
    EXPECT_FALSE(fs::exists(folders.Output + "C_VOC-3.mid"));
}

TEST(FolderConversion, FoldersThatCannotServeARunAreNamedWithTheReason) {
    TempDir dir;
    const ConversionFolders folders = DefaultFolders(dir.Path().string() + "/");
    EXPECT_EQ(CheckOutputFolder(folders.Output)->Reason, "No such file or directory");
    WriteFile(dir.File("Convert"), Bytes{});
    EXPECT_EQ(CheckOutputFolder(folders.Output)->Reason, "Not a directory");
    EXPECT_EQ(CheckOutputFolder(folders.Output + "deeper/")->Reason, "Not a directory");
    fs::remove(dir.File("Convert"));
    fs::create_directory(dir.File("Convert"));
    EXPECT_FALSE(CheckOutputFolder(folders.Output));
    EXPECT_TRUE(fs::is_empty(dir.File("Convert")));  // the trial file is gone

    const auto missing = ListSongs(folders.Input);
    ASSERT_TRUE(missing.Problem);
    EXPECT_EQ(missing.Problem->Reason, "No such file or directory");
    fs::create_directory_symlink(dir.Path() / "Midifile", dir.Path() / "Midifile");
    EXPECT_EQ(ListSongs(folders.Input).Problem->Reason, "Too many levels of symbolic links");
    fs::remove(dir.Path() / "Midifile");
    fs::create_directory(dir.Path() / "Midifile");
    WriteFile(folders.Input + "a.MID", Song());
    const auto listed = ListSongs(folders.Input);
    EXPECT_FALSE(listed.Problem);
    EXPECT_EQ(listed.Names, std::vector<std::string>{"a.MID"});
}

}  // namespace
}  // namespace tonalux
