// The one safe replace of every writer: the system's reason for each kind of
// failure, the target complete or as it was, links written through, and the
// reason of the engine's last save.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "SafeReplace.h"
#include "WriterFixture.h"

using namespace tonalux;
using namespace tonalux::testing;

namespace fs = std::filesystem;

namespace {

std::vector<std::string> Names(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

const std::vector<std::uint8_t> kNew{'n', 'e', 'w'};

TEST(SafeReplace, EachFailureGivesTheSystemsReasonAndLeavesNothingBehind) {
    TempDir dir;
    WriteFile(dir.File("plain"), {'o', 'l', 'd'});
    WriteFile(dir.File("locked.mid"), {'o', 'l', 'd'});
    fs::permissions(dir.File("locked.mid"), fs::perms::owner_read);
    fs::create_directory(dir.Path() / "folder.mid");

    struct Case {
        std::string target;
        std::string reason;
        bool created;
    };
    // Each of these fails for every user, root included.
    const std::vector<Case> cases{
        {dir.File("missing/song.mid"), "No such file or directory", false},
        {dir.File("plain/song.mid"), "Not a directory", false},
        {dir.File("folder.mid"), "Is a directory", false},
        {dir.File("locked.mid"), "Permission denied", false},
        {"/dev/null", "not a regular file", false},
        {"", "No such file or directory", false},
    };
    for (const auto& c : cases) {
        const ReplaceOutcome outcome = ReplaceFileContents(c.target, kNew);
        EXPECT_FALSE(outcome.Written) << c.target;
        EXPECT_EQ(outcome.Reason, c.reason) << c.target;
        EXPECT_EQ(outcome.Created, c.created) << c.target;
    }
    EXPECT_EQ(ReadFile(dir.File("locked.mid")), (Bytes{'o', 'l', 'd'}));
    EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{"folder.mid", "locked.mid", "plain"}));
}

TEST(SafeReplace, LinksAreWrittenThroughToTheFileTheyName) {
    TempDir dir;
    fs::create_directory(dir.Path() / "songs");
    WriteFile(dir.File("songs/real.mid"), {'o', 'l', 'd'});
    // A relative link in another folder, reached through a second link.
    fs::create_symlink("songs/real.mid", dir.Path() / "first.mid");
    fs::create_symlink(dir.Path() / "first.mid", dir.Path() / "second.mid");
    ASSERT_TRUE(ReplaceFileContents(dir.File("second.mid"), kNew).Written);
    EXPECT_EQ(ReadFile(dir.File("songs/real.mid")), kNew);
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(dir.Path() / "first.mid")));
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(dir.Path() / "second.mid")));
    EXPECT_TRUE(SameFile(dir.File("second.mid"), dir.File("songs/real.mid")));

    // A link to a file that does not exist yet creates that file.
    fs::create_symlink("songs/new.mid", dir.Path() / "dangling.mid");
    ASSERT_TRUE(ReplaceFileContents(dir.File("dangling.mid"), kNew).Written);
    EXPECT_EQ(ReadFile(dir.File("songs/new.mid")), kNew);

    // A link that leads round in a circle is refused.
    fs::create_symlink(dir.Path() / "b.mid", dir.Path() / "a.mid");
    fs::create_symlink(dir.Path() / "a.mid", dir.Path() / "b.mid");
    EXPECT_EQ(ReplaceFileContents(dir.File("a.mid"), kNew).Reason, "Too many levels of symbolic links");
    EXPECT_EQ(Names(dir.Path() / "songs"), (std::vector<std::string>{"new.mid", "real.mid"}));
}

TEST(SafeReplace, SameFileComparesFilesNotNames) {
    TempDir dir;
    WriteFile(dir.File("a.mid"), kNew);
    WriteFile(dir.File("b.mid"), kNew);
    fs::create_hard_link(dir.Path() / "a.mid", dir.Path() / "hard.mid");
    EXPECT_TRUE(SameFile(dir.File("a.mid"), dir.File("./a.mid")));
    EXPECT_TRUE(SameFile(dir.File("a.mid"), dir.File("hard.mid")));
    EXPECT_FALSE(SameFile(dir.File("a.mid"), dir.File("b.mid")));
    EXPECT_FALSE(SameFile(dir.File("a.mid"), dir.File("missing.mid")));
}

TEST_F(WriterTest, TheEnginesLastSaveKeepsItsReason) {
    midi.Division = 96;
    midi.AddMidievent(ChannelRecord(0, 0x90, 60, 100));
    EXPECT_FALSE(midi.SaveMidifile(0, dir.File("missing/song.mid")));
    EXPECT_EQ(LastSaveOutcome().Reason, "No such file or directory");
    EXPECT_TRUE(midi.SaveMidifile(1, dir.File("song.mid")));
    EXPECT_TRUE(LastSaveOutcome().Written);
    EXPECT_TRUE(LastSaveOutcome().Reason.empty());
}

}  // namespace
