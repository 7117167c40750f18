// Writing the file: a target that cannot be written shows the message, the
// save answers false, an existing file stays as it was and no partial file
// is left; a good target is replaced whole.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <algorithm>
#include <csignal>
#include <filesystem>

#include "WriterFixture.h"

using namespace tonalux;
using namespace tonalux::testing;

namespace fs = std::filesystem;

namespace {

constexpr const char* kMessage = "Dateinamen wechseln! Datei bereits geöffnet!";

class WriterFile : public WriterTest {
protected:
    void SetUp() override {
        WriterTest::SetUp();
        midi.Division = 96;
        midi.AddMidievent(ChannelRecord(0, 0x90, 60, 100));
    }
    // The names in the temporary folder, so a left-over partial file shows.
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir.Path())) names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    void ExpectRefused(const std::string& path, int format) {
        host.messages.clear();
        EXPECT_FALSE(midi.SaveMidifile(format, path)) << path;
        EXPECT_EQ(host.messages, std::vector<std::string>{kMessage}) << path;
    }
};

TEST_F(WriterFile, MissingFolderIsRefused) {
    for (int format : {0, 1}) ExpectRefused(dir.File("missing/song.mid"), format);
    EXPECT_TRUE(Names().empty());
}

TEST_F(WriterFile, FolderOfThatNameIsRefusedAndKept) {
    fs::create_directory(dir.Path() / "song.mid");
    for (int format : {0, 1}) ExpectRefused(dir.File("song.mid"), format);
    EXPECT_TRUE(fs::is_directory(dir.Path() / "song.mid"));
    EXPECT_EQ(Names(), std::vector<std::string>{"song.mid"});
}

TEST_F(WriterFile, ReadOnlyFileIsRefusedAndLeftUnchanged) {
    const std::string path = dir.File("song.mid");
    WriteFile(path, {'o', 'l', 'd'});
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read);
    for (int format : {0, 1}) ExpectRefused(path, format);
    EXPECT_EQ(ReadFile(path), (Bytes{'o', 'l', 'd'}));
    EXPECT_EQ(Names(), std::vector<std::string>{"song.mid"});
}

TEST_F(WriterFile, WriteThatRunsOutOfSpaceLeavesTheOldFile) {
    // A file size limit makes the write fail part way, as a full disk does.
    const std::string path = dir.File("song.mid");
    WriteFile(path, {'o', 'l', 'd'});
    for (std::uint32_t i = 0; i < 5000; ++i) midi.AddMidievent(ChannelRecord(i, 0x90, 60, 100));
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    host.messages.clear();
    const bool saved0 = midi.SaveMidifile(0, path);
    const bool saved1 = midi.SaveMidifile(1, path);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_FALSE(saved0);
    EXPECT_FALSE(saved1);
    EXPECT_EQ(host.messages, (std::vector<std::string>{kMessage, kMessage}));
    EXPECT_EQ(ReadFile(path), (Bytes{'o', 'l', 'd'}));
    EXPECT_EQ(Names(), std::vector<std::string>{"song.mid"});
}

TEST_F(WriterFile, EmptyNameIsRefused) { ExpectRefused("", 0); }

TEST_F(WriterFile, ExistingFileIsReplacedWholeAndKeepsItsPermissions) {
    const std::string path = dir.File("song.mid");
    WriteFile(path, Bytes(100000, 0x55));  // longer than the new file
    const auto perms = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(path, perms);
    EXPECT_TRUE(midi.SaveMidifile(0, path));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(ReadFile(path), midi.WrittenBytes());
    EXPECT_EQ(ReadFile(path).size(), 30u);
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all, perms);
    EXPECT_EQ(Names(), std::vector<std::string>{"song.mid"});
}

TEST_F(WriterFile, LinkIsFollowedAndStaysALink) {
    WriteFile(dir.File("real.mid"), {'o', 'l', 'd'});
    fs::create_symlink(dir.Path() / "real.mid", dir.Path() / "link.mid");
    EXPECT_TRUE(midi.SaveMidifile(1, dir.File("link.mid")));
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(dir.Path() / "link.mid")));
    EXPECT_EQ(ReadFile(dir.File("real.mid")), midi.WrittenBytes());
    EXPECT_EQ(Names(), (std::vector<std::string>{"link.mid", "real.mid"}));
}

TEST_F(WriterFile, FileNameWithoutFolderGoesToTheCurrentFolder) {
    const fs::path before = fs::current_path();
    fs::current_path(dir.Path());
    const bool saved = midi.SaveMidifile(0, "plain.mid");
    fs::current_path(before);
    EXPECT_TRUE(saved);
    EXPECT_EQ(ReadFile(dir.Path() / "plain.mid"), midi.WrittenBytes());
    EXPECT_EQ(Names(), std::vector<std::string>{"plain.mid"});
}

}  // namespace
