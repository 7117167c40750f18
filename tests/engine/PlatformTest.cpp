// The platform layer on every system: the safe replace reports each failing
// step with the system's reason and leaves the target as it was and no
// temporary file; Unicode names; file identity; folder listing; temporary
// folders.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "Platform.h"
#include "SafeReplace.h"
#include "WriterFixture.h"

using namespace tonalux;
using namespace tonalux::testing;

namespace fs = std::filesystem;

namespace {

const std::vector<std::uint8_t> kOld{'o', 'l', 'd'};
const std::vector<std::uint8_t> kNew{'n', 'e', 'w', '\r', '\n', 0x1A, '\n'};

std::vector<std::string> Names(const std::string& folder) {
    std::vector<FolderEntry> entries;
    SystemError error;
    EXPECT_TRUE(ListFolder(folder, entries, error)) << folder << ": " << error.Reason;
    std::vector<std::string> names;
    for (const auto& entry : entries) names.push_back(entry.Name);
    std::sort(names.begin(), names.end());
    return names;
}

// Clears the injected fault on every way out of a test.
struct InjectedFault {
    InjectedFault(ReplaceStep step, int code) : step_(step) { FailReplaceStep(step, code); }
    ~InjectedFault() { FailReplaceStep(step_, 0); }
    ReplaceStep step_;
};

TEST(Platform, EveryFailingStepOfTheReplaceGivesItsReasonAndLeavesTheTargetAndNoTemporaryFile) {
    struct Case {
        const char* what;
        ReplaceStep step;
        int code;
    };
    const std::vector<Case> cases{
        {"flush on a full disk", ReplaceStep::Flush, ENOSPC},
        {"flush of a failing device", ReplaceStep::Flush, EIO},
        {"close on a full disk", ReplaceStep::Close, ENOSPC},
        {"rename refused", ReplaceStep::Rename, EACCES},
        {"rename across devices", ReplaceStep::Rename, EXDEV},
    };
    for (const auto& c : cases) {
        TempDir dir;
        WriteFile(dir.Path() / "song.mid", kOld);
        {
            InjectedFault fault(c.step, c.code);
            const ReplaceOutcome outcome = ReplaceFileContents(dir.File("song.mid"), kNew);
            EXPECT_FALSE(outcome.Written) << c.what;
            EXPECT_TRUE(outcome.Created) << c.what;
            EXPECT_EQ(outcome.Error, c.code) << c.what;
            EXPECT_EQ(outcome.Reason, ReasonOf(c.code)) << c.what;
            // A new file fails the same way and is not created.
            EXPECT_EQ(ReplaceFileContents(dir.File("new.mid"), kNew).Reason, ReasonOf(c.code)) << c.what;
        }
        EXPECT_EQ(ReadFile(dir.Path() / "song.mid"), kOld) << c.what;
        EXPECT_EQ(Names(dir.Path().string()), std::vector<std::string>{"song.mid"}) << c.what;
        // Without the fault the same replace works.
        ASSERT_TRUE(ReplaceFileContents(dir.File("song.mid"), kNew).Written) << c.what;
        EXPECT_EQ(ReadFile(dir.Path() / "song.mid"), kNew) << c.what;
    }
}

TEST_F(WriterTest, TheEnginesSaveReportsAFailedStepOfTheReplaceWithTheSystemsReason) {
    midi.Division = 96;
    midi.AddMidievent(ChannelRecord(0, 0x90, 60, 100));
    for (const auto step : {ReplaceStep::Flush, ReplaceStep::Close, ReplaceStep::Rename}) {
        InjectedFault fault(step, ENOSPC);
        EXPECT_FALSE(midi.SaveMidifile(0, dir.File("song.mid")));
        EXPECT_EQ(LastSaveFailure(), ReasonOf(ENOSPC));
    }
    EXPECT_TRUE(Names(dir.Path().string()).empty());
}

TEST(Platform, TargetsThatCannotBeReplacedGiveTheSystemsReasonAndStayAsTheyWere) {
    TempDir dir;
    WriteFile(dir.Path() / "plain", kOld);
    WriteFile(dir.Path() / "locked.mid", kOld);
    fs::permissions(dir.Path() / "locked.mid", fs::perms::owner_read);
    fs::create_directory(dir.Path() / "folder.mid");
    struct Case {
        std::string target;
        int code;
    };
    const std::vector<Case> cases{
        {dir.File("missing/song.mid"), ENOENT},
        {dir.File("folder.mid"), EISDIR},
        {dir.File("locked.mid"), EACCES},
        {"", ENOENT},
    };
    for (const auto& c : cases) {
        const ReplaceOutcome outcome = ReplaceFileContents(c.target, kNew);
        EXPECT_FALSE(outcome.Written) << c.target;
        EXPECT_FALSE(outcome.Created) << c.target;
        EXPECT_EQ(outcome.Reason, ReasonOf(c.code)) << c.target;
    }
    EXPECT_EQ(ReadFile(dir.Path() / "locked.mid"), kOld);
    EXPECT_EQ(Names(dir.Path().string()), (std::vector<std::string>{"folder.mid", "locked.mid", "plain"}));
    fs::permissions(dir.Path() / "locked.mid", fs::perms::owner_all);
}

TEST_F(WriterTest, UnicodeNamesAreWrittenListedReadAndLoadedAsUtf8) {
    const std::string name = "St\xC3\xA4ndchen \xE2\x99\xAB.mid";  // "Ständchen ♫.mid"
    const std::string path = dir.File(name);
    ASSERT_TRUE(ReplaceFileContents(path, kNew).Written);
    EXPECT_EQ(Names(dir.Path().string()), std::vector<std::string>{name});
    EXPECT_EQ(Names(Utf8FromPath(dir.Path())), std::vector<std::string>{name});
    EXPECT_EQ(Utf8FromPath(PathFromUtf8(path)), path);
    EXPECT_TRUE(fs::exists(dir.Path() / PathFromUtf8(name)));
    EXPECT_EQ(StatusOf(path).Kind, FileKind::Regular);

    std::vector<std::uint8_t> bytes;
    SystemError error;
    ASSERT_TRUE(ReadWholeFile(path, bytes, error)) << error.Reason;
    EXPECT_EQ(bytes, kNew);

    midi.Division = 96;
    midi.AddMidievent(ChannelRecord(0, 0x90, 60, 100));
    ASSERT_TRUE(midi.SaveMidifile(0, path));
    const auto written = midi.WrittenBytes();
    ASSERT_TRUE(midi.LoadMidifile(path));
    ASSERT_TRUE(midi.SaveMidifile(0, dir.File("copy.mid")));
    EXPECT_EQ(Hex(midi.WrittenBytes()), Hex(written));
}

TEST(Platform, KindsIdentitiesAndListingsOfFilesAndFolders) {
    TempDir dir;
    WriteFile(dir.Path() / "a.mid", kOld);
    WriteFile(dir.Path() / "b.mid", kOld);
    fs::create_directory(dir.Path() / "sub");
    fs::create_hard_link(dir.Path() / "a.mid", dir.Path() / "hard.mid");

    EXPECT_TRUE(SameFile(dir.File("a.mid"), dir.File("hard.mid")));
    EXPECT_TRUE(SameFile(dir.File("a.mid"), dir.File("sub/../a.mid")));
    EXPECT_FALSE(SameFile(dir.File("a.mid"), dir.File("b.mid")));
    EXPECT_FALSE(SameFile(dir.File("a.mid"), dir.File("missing.mid")));

    EXPECT_EQ(StatusOf(dir.File("a.mid")).Kind, FileKind::Regular);
    EXPECT_EQ(StatusOf(dir.File("sub")).Kind, FileKind::Folder);
    const FileStatus missing = StatusOf(dir.File("missing.mid"));
    EXPECT_EQ(missing.Kind, FileKind::Missing);
    EXPECT_EQ(missing.Error.Reason, ReasonOf(ENOENT));

    std::vector<FolderEntry> entries;
    SystemError error;
    ASSERT_TRUE(ListFolder(dir.Path().string(), entries, error));
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.Name < b.Name; });
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[3].Name, "sub");
    EXPECT_EQ(entries[3].Kind, FileKind::Folder);
    EXPECT_EQ(entries[0].Kind, FileKind::Regular);

    struct Case {
        std::string folder;
        int code;
    };
    for (const Case& c : {Case{dir.File("missing"), ENOENT}, Case{dir.File("a.mid"), ENOTDIR}}) {
        std::vector<FolderEntry> none;
        SystemError failure;
        EXPECT_FALSE(ListFolder(c.folder, none, failure)) << c.folder;
        EXPECT_EQ(failure.Reason, ReasonOf(c.code)) << c.folder;
    }
    SystemError probe;
    EXPECT_TRUE(FolderTakesNewFiles(dir.Path().string(), probe)) << probe.Reason;
    EXPECT_FALSE(FolderTakesNewFiles(dir.File("missing"), probe));
    EXPECT_EQ(probe.Reason, ReasonOf(ENOENT));
    EXPECT_EQ(Names(dir.Path().string()), (std::vector<std::string>{"a.mid", "b.mid", "hard.mid", "sub"}));
}

TEST(Platform, TemporaryFoldersAreFreshAndGoWithTheirContent) {
    std::string kept;
    {
        TemporaryFolder first("tonalux-test-");
        TemporaryFolder second("tonalux-test-");
        ASSERT_TRUE(first.Ready() && second.Ready());
        EXPECT_NE(first.Path(), second.Path());
        EXPECT_EQ(StatusOf(first.Path()).Kind, FileKind::Folder);
        SystemError error;
        ASSERT_TRUE(MakeFolders(first.File("deep/er"), error)) << error.Reason;
        ASSERT_TRUE(ReplaceFileContents(first.File("deep/er/song.mid"), kNew).Written);
        kept = first.Path();
    }
    EXPECT_EQ(StatusOf(kept).Kind, FileKind::Missing);
}

}  // namespace
