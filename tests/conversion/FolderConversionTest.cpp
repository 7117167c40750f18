// The folder conversion both front ends run, without a window: one outcome
// per song, the engine's messages kept with their song, the checks before a
// run, and the summary a run with problems ends with.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <functional>
#include <optional>

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
    const Bytes whole = Song();
    const Bytes half(whole.begin(), whole.end() - 6);
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

    // The song's one track is track 1; the damage is met at its length, which
    // claims more bytes than the file holds.
    EXPECT_EQ(RunSummary(run), "B.mid: damaged at byte 18 in track 1, 3 records kept, converted to B_VOC-3.mid "
                               "(Byteread Error!)\n"
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

// One way a run's folders can be laid out, and what the checks before a run
// must make of it.
struct FolderCase {
    const char* What;
    std::function<void(const fs::path& base)> Lay;  // Midifile/ holds a.MID; Lay adds the rest
    std::string Input = "Midifile/";                // relative to the base folder
    std::string Output = "Convert/";
    bool DryRun = false;
    bool Recursive = false;
    bool NeedsPermissions = false;  // permission bits do not bind root
    std::optional<FolderRole> Role;  // the folder refused; none: the run may go on
    std::string Reason;              // "@" stands for the input folder's path
};

bool IsRoot() { return ::geteuid() == 0; }

TEST(FolderConversion, TheChecksBeforeARunRefuseEveryUnusableFolderWithTheReason) {
    const auto mkdir = [](const fs::path& path) { fs::create_directories(path); };
    const std::vector<FolderCase> cases{
        {"usable folders", [&](const fs::path& b) { mkdir(b / "Convert"); }, "Midifile/", "Convert/", false, false,
         false, std::nullopt, ""},
        {"missing input", [](const fs::path&) {}, "Gone/", "Convert/", false, false, false, FolderRole::Input,
         "No such file or directory"},
        {"input is a link to itself",
         [](const fs::path& b) { fs::create_directory_symlink(b / "Loop", b / "Loop"); }, "Loop/", "Convert/", false,
         false, false, FolderRole::Input, "Too many levels of symbolic links"},
        {"input is a file", [](const fs::path& b) { WriteFile(b / "Plain", Bytes{}); }, "Plain/", "Convert/", false,
         false, false, FolderRole::Input, "Not a directory"},
        {"missing output", [](const fs::path&) {}, "Midifile/", "Convert/", false, false, false, FolderRole::Output,
         "No such file or directory"},
        {"output is a file", [](const fs::path& b) { WriteFile(b / "Convert", Bytes{}); }, "Midifile/", "Convert/",
         false, false, false, FolderRole::Output, "Not a directory"},
        {"output below a file", [](const fs::path& b) { WriteFile(b / "Convert", Bytes{}); }, "Midifile/",
         "Convert/deeper/", false, false, false, FolderRole::Output, "Not a directory"},
        {"output is the input", [](const fs::path&) {}, "Midifile/", "Midifile/", false, false, false,
         FolderRole::Output, "it is the input folder @"},
        {"output leads back through ..", [](const fs::path&) {}, "Midifile/", "Midifile/../Midifile/", false, false,
         false, FolderRole::Output, "it is the input folder @"},
        {"output is a link to the input",
         [](const fs::path& b) { fs::create_directory_symlink(b / "Midifile", b / "Convert"); }, "Midifile/",
         "Convert/", false, false, false, FolderRole::Output, "it is the input folder @"},
        {"dry run into the input", [](const fs::path&) {}, "Midifile/", "Midifile/", true, false, false,
         FolderRole::Output, "it is the input folder @"},
        {"dry run without output", [](const fs::path&) {}, "Midifile/", "Convert/", true, false, false,
         FolderRole::Output, "Not a directory"},
        {"dry run into a read-only output",
         [&](const fs::path& b) {
             mkdir(b / "Convert");
             fs::permissions(b / "Convert", fs::perms::owner_read | fs::perms::owner_exec);
         },
         "Midifile/", "Convert/", true, false, true, std::nullopt, ""},
        {"recursive run into a subfolder of the input", [&](const fs::path& b) { mkdir(b / "Midifile" / "Out"); },
         "Midifile/", "Midifile/Out/", false, true, false, std::nullopt, ""},
        {"read-only output",
         [&](const fs::path& b) {
             mkdir(b / "Convert");
             fs::permissions(b / "Convert", fs::perms::owner_read | fs::perms::owner_exec);
         },
         "Midifile/", "Convert/", false, false, true, FolderRole::Output, "Permission denied"},
        {"closed input",
         [&](const fs::path& b) {
             mkdir(b / "Convert");
             fs::permissions(b / "Midifile", fs::perms::none);
         },
         "Midifile/", "Convert/", false, false, true, FolderRole::Input, "Permission denied"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        if (c.NeedsPermissions && IsRoot()) continue;
        TempDir dir;
        fs::create_directories(dir.Path() / "Midifile");
        WriteFile(dir.Path() / "Midifile" / "a.MID", Song());  // any letter case
        c.Lay(dir.Path());
        const std::string base = dir.Path().string() + "/";
        const ConversionFolders folders{base + c.Input, base + c.Output};
        ConversionOptions options;
        options.DryRun = c.DryRun;
        options.Recursive = c.Recursive;
        const RunFolderCheck check = CheckRunFolders(folders, options);
        for (const char* folder : {"Midifile", "Convert"})
            if (fs::exists(dir.Path() / folder)) fs::permissions(dir.Path() / folder, fs::perms::owner_all);

        if (!c.Role) {
            EXPECT_FALSE(check.Problem) << check.Problem->Reason;
            EXPECT_EQ(check.Names, std::vector<std::string>{"a.MID"});
        } else {
            ASSERT_TRUE(check.Problem);
            EXPECT_EQ(check.Problem->Role, *c.Role);
            EXPECT_EQ(check.Problem->Folder, *c.Role == FolderRole::Input ? folders.Input : folders.Output);
            std::string reason = c.Reason;
            if (const auto at = reason.find('@'); at != std::string::npos) reason.replace(at, 1, folders.Input);
            EXPECT_EQ(check.Problem->Reason, reason);
        }
        // Nothing was created, and the trial file of the output check is gone.
        EXPECT_EQ(ListMidiFolder(base + "Midifile/"), std::vector<std::string>{"a.MID"});
        std::error_code ec;
        for (fs::directory_iterator it(base + c.Output, ec), end; !ec && it != end; it.increment(ec))
            EXPECT_EQ(it->path().filename().string().find(".tonalux-probe"), std::string::npos) << it->path();
        if (std::string(c.What) == "missing output") {
            EXPECT_FALSE(fs::exists(dir.Path() / "Convert"));
        }
    }
}

// Songs dropped onto the window: files and folders from anywhere, one loop
// into one output folder, no output replacing another of the run or an input.
TEST(FolderConversion, DroppedPathsGiveTheirSongsOnceAndOneOutputEach) {
    RecordingHost host;
    TempDir dir;
    const ConversionFolders folders = MakeFolders(dir);
    const std::string stick = dir.Path().string() + "/Stick/";
    fs::create_directories(stick + "Set");
    WriteFile(stick + "One.mid", Song());
    WriteFile(stick + "Set/Two.MID", Song());
    WriteFile(stick + "Set/One.mid", Song());
    WriteFile(stick + "notes.txt", Bytes{'x'});
    WriteFile(folders.Output + "One_VOC-3.mid", Song());  // an older output of One.mid

    struct Case {
        std::vector<std::string> paths;
        std::vector<SongSource> songs;
        std::vector<std::string> passedOver;
    };
    const std::vector<Case> cases{
        {{stick + "One.mid", stick + "One.mid"}, {{stick, "One.mid"}}, {}},
        {{stick + "Set/"}, {{stick + "Set/", "One.mid"}, {stick + "Set/", "Two.MID"}}, {}},
        {{stick + "One.mid", stick + "Set"}, {{stick, "One.mid"}, {stick + "Set/", "Two.MID"}}, {stick + "Set/One.mid"}},
        {{stick + "notes.txt", stick + "Missing.mid"}, {}, {stick + "notes.txt", stick + "Missing.mid"}},
        {{folders.Output}, {{folders.Output, "One_VOC-3.mid"}}, {}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> passedOver;
        EXPECT_EQ(DroppedSongs(c.paths, passedOver), c.songs) << c.paths.front();
        EXPECT_EQ(passedOver, c.passedOver) << c.paths.front();
    }

    // One loop: songs of two folders land in the output folder. Dropped
    // together with the output folder, One.mid's output would replace a song
    // of the run and is skipped.
    std::vector<std::string> passedOver;
    const auto songs = DroppedSongs({stick + "One.mid", stick + "Set", folders.Output}, passedOver);
    Component owner(nullptr);
    const Bytes older = testing::ReadFile(folders.Output + "One_VOC-3.mid");
    const auto outcomes = ConvertSongs(&owner, songs, folders.Output, MakeConversionOptions({}));
    ASSERT_EQ(outcomes.size(), 3u);
    EXPECT_EQ(outcomes[0].Result, SongResult::SkippedInput);
    EXPECT_EQ(outcomes[1].Output, "Two_VOC-3.MID");
    EXPECT_EQ(outcomes[2].Output, "One_VOC-3_VOC-3.mid");
    EXPECT_EQ(testing::ReadFile(folders.Output + "One_VOC-3.mid"), older);
}

}  // namespace
}  // namespace tonalux
