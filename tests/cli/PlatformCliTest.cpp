// What the tool must do alike on every system it is built for: Unicode song
// names, binary standard streams, an output that is the input refused, and a
// target that cannot be written reported with the system's reason.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>

#include "CliRunner.h"
#include "CliSongs.h"

namespace fs = std::filesystem;

namespace tonalux::testing {
namespace {

const std::string kUnicodeStem = "St\xC3\xA4ndchen \xE2\x99\xAB";  // "Ständchen ♫"

// A song whose bytes hold a carriage return, a line feed and the byte that
// ends a text file on Windows: a stream in text mode changes or cuts them.
Bytes SongWithLineEndBytes() {
    Track track;
    track.Sysex(0, {0x43, 0x0D, 0x0A, 0x1A, 0x0A, 0xF7}).Note(0, 0x90, 60, 100).Note(10, 0x80, 60, 0).End();
    return SongBuilder(0, 96).AddTrack(track).Bytes();
}

std::vector<std::string> Names(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(Utf8FromPath(entry.path().filename()));
    std::sort(names.begin(), names.end());
    return names;
}

TEST(PlatformCli, ASongWithAUnicodeNameConvertsLikeAnyOther) {
    TempDir base;
    fs::create_directories(base.Path() / "Midifile");
    fs::create_directories(base.Path() / "Convert");
    WriteFile(base.Path() / "Midifile" / PathFromUtf8(kUnicodeStem + ".mid"), CliSong(3, 5));
    WriteFile(base.Path() / "Midifile" / "A.mid", CliSong(3, 5));

    const auto result = RunCli({"convert", base.Path().string()});
    ASSERT_EQ(result.Status, 0) << result.Err;
    EXPECT_NE(result.Out.find(kUnicodeStem + ".mid"), std::string::npos) << result.Out;
    EXPECT_EQ(Names(base.Path() / "Convert"),
              (std::vector<std::string>{"A_VOC-3.mid", kUnicodeStem + "_VOC-3.mid"}));
    EXPECT_EQ(Hex(ReadFile(base.Path() / "Convert" / PathFromUtf8(kUnicodeStem + "_VOC-3.mid"))),
              Hex(ReadFile(base.Path() / "Convert" / "A_VOC-3.mid")));

    const std::string song = base.File("Midifile/" + kUnicodeStem + ".mid");
    const auto info = RunCli({"info", song});
    ASSERT_EQ(info.Status, 0) << info.Err;
    EXPECT_NE(info.Out.find(song), std::string::npos) << info.Out;
    const std::string copy = base.File(kUnicodeStem + " copy.mid");
    ASSERT_EQ(RunCli({"save", song, copy}).Status, 0);
    ASSERT_EQ(RunCli({"save", base.File("Midifile/A.mid"), base.File("A copy.mid")}).Status, 0);
    EXPECT_EQ(Hex(ReadFile(PathFromUtf8(copy))), Hex(ReadFile(base.Path() / "A copy.mid")));
}

TEST(PlatformCli, StandardInputAndOutputCarryEveryByteUnchanged) {
    TempDir dir;
    const std::string song = dir.File("song.mid");
    WriteFile(song, SongWithLineEndBytes());
    ASSERT_EQ(RunCli({"save", song, dir.File("file.mid")}).Status, 0);
    const auto piped = RunCli({"save", "-", "-"}, {}, {song, ""});
    ASSERT_EQ(piped.Status, 0) << piped.Err;
    EXPECT_EQ(Hex(Bytes(piped.Out.begin(), piped.Out.end())), Hex(ReadFile(dir.File("file.mid"))));
    EXPECT_EQ(Hex(ReadFile(dir.File("file.mid"))), Hex(SongWithLineEndBytes()));
}

TEST(PlatformCli, AnOutputThatIsTheInputIsRefusedHoweverItIsNamed) {
    TempDir dir;
    const std::string song = dir.File("song.mid");
    WriteFile(song, CliSong());
    fs::create_directory(dir.Path() / "sub");
    fs::create_hard_link(dir.Path() / "song.mid", dir.Path() / "hard.mid");
    for (const auto& target : {song, dir.File("hard.mid"), dir.File("sub/../song.mid")}) {
        const auto result = RunCli({"save", song, target});
        EXPECT_EQ(result.Status, 1) << target;
        EXPECT_EQ(result.Err, "tonalux-cli save: refusing to write " + target + ": it is the input " + song +
                                  " (inputs are never changed)\n");
    }
    EXPECT_EQ(ReadFile(song), CliSong());
    EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{"hard.mid", "song.mid", "sub"}));
}

TEST(PlatformCli, ATargetThatCannotBeWrittenIsReportedWithTheSystemsReasonAndKept) {
    TempDir dir;
    const std::string song = dir.File("song.mid");
    WriteFile(song, CliSong());
    WriteFile(dir.Path() / "locked.mid", Bytes{'o', 'l', 'd'});
    fs::permissions(dir.Path() / "locked.mid", fs::perms::owner_read);
    struct Case {
        std::string target;
        int code;
    };
    for (const auto& c : {Case{dir.File("locked.mid"), EACCES}, Case{dir.File("missing/out.mid"), ENOENT}}) {
        const auto result = RunCli({"save", song, c.target});
        EXPECT_EQ(result.Status, 1) << c.target;
        EXPECT_EQ(result.Err, "tonalux-cli save: could not write " + c.target + ": " + ReasonOf(c.code) + "\n");
    }
    EXPECT_EQ(ReadFile(dir.Path() / "locked.mid"), (Bytes{'o', 'l', 'd'}));
    EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{"locked.mid", "song.mid"}));
    fs::permissions(dir.Path() / "locked.mid", fs::perms::owner_all);
}

}  // namespace
}  // namespace tonalux::testing
