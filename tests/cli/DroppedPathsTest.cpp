// Songs and folders given without a command, as the Explorer of Windows
// passes what is dropped on the tool: each converted as convert converts,
// into a folder Convert/ beside it, with one line for what became of each.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "CliRunner.h"
#include "CliSongs.h"

namespace fs = std::filesystem;

namespace tonalux::testing {
namespace {

const std::string kUnicodeStem = "St\xC3\xA4ndchen \xE2\x99\xAB";  // "Ständchen ♫"

// Every file under the folder, as relative paths with "/", sorted.
std::vector<std::string> FilesUnder(const fs::path& folder) {
    std::vector<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file()) {
            std::string file = Utf8FromPath(entry.path().lexically_relative(folder));
            std::replace(file.begin(), file.end(), '\\', '/');
            files.push_back(file);
        }
    std::sort(files.begin(), files.end());
    return files;
}

// Songs/ with a song of vocoder channel 3, one with a Unicode name and a
// note; Midifile/ with a song of vocoder channel 5.
void MakeSongs(const TempDir& base) {
    fs::create_directories(base.Path() / "Songs");
    fs::create_directories(base.Path() / "Midifile");
    WriteFile(base.Path() / "Songs" / "A.mid", CliSong(3, 5));
    WriteFile(base.Path() / "Songs" / PathFromUtf8(kUnicodeStem + ".mid"), CliSong(3, 5));
    WriteFile(base.Path() / "Songs" / "notes.txt", Bytes{'h', 'i'});
    WriteFile(base.Path() / "Midifile" / "B.MID", CliSong(5, 4));
}

const std::vector<std::string> kInputs{"Midifile/B.MID", "Songs/A.mid", "Songs/" + kUnicodeStem + ".mid",
                                       "Songs/notes.txt"};

struct DropCase {
    const char* name;
    std::vector<std::string> dropped;  // relative to the base folder, where the tool starts
    std::vector<std::string> outputs;  // the files made, relative to the base folder
    int status;
    std::vector<std::string> said;     // lines of standard output or error, in part
};

TEST(DroppedPaths, EachSongOrFolderConvertsIntoConvertBesideIt) {
    const std::string unicodeOut = "Songs/Convert/" + kUnicodeStem + "_VOC-3.mid";
    const std::vector<DropCase> cases{
        {"a song with a Unicode name", {"Songs/" + kUnicodeStem + ".mid"}, {unicodeOut}, 0,
         {kUnicodeStem + ".mid -> " + kUnicodeStem + "_VOC-3.mid", "1 song: 1 converted"}},
        {"two songs of one folder", {"Songs/A.mid", "Songs/" + kUnicodeStem + ".mid"},
         {"Songs/Convert/A_VOC-3.mid", unicodeOut}, 0, {"A.mid -> A_VOC-3.mid", "2 songs: 2 converted"}},
        {"a folder: Convert/ beside it", {"Midifile"}, {"Convert/B_VOC-5.MID"}, 0, {"B.MID -> B_VOC-5.MID"}},
        {"a folder with a separator at its end", {"Songs/"},
         {"Convert/A_VOC-3.mid", "Convert/" + kUnicodeStem + "_VOC-3.mid"}, 0, {"2 songs: 2 converted"}},
        {"a song and a path that is not there", {"Songs/A.mid", "Songs/Gone.mid"}, {"Songs/Convert/A_VOC-3.mid"}, 1,
         {"Songs/Gone.mid: No such file or directory"}},
        {"a file that is no song", {"Songs/notes.txt", "Midifile"}, {"Convert/B_VOC-5.MID"}, 1,
         {"Songs/notes.txt: not a song (*.mid) or a folder"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir base;
        MakeSongs(base);
        const auto result = RunCli(c.dropped, base.Path());
        EXPECT_EQ(result.Status, c.status) << result.Out << result.Err;
        std::vector<std::string> expected = kInputs;
        expected.insert(expected.end(), c.outputs.begin(), c.outputs.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(FilesUnder(base.Path()), expected);
        for (const auto& line : c.said)
            EXPECT_NE((result.Out + result.Err).find(line), std::string::npos) << line << "\n" << result.Out << result.Err;
        // Nothing waits for a key: standard input is no console of the tool's own.
        EXPECT_EQ(result.Out.find("Press a key"), std::string::npos);
    }
}

TEST(DroppedPaths, ADroppedSongGivesTheBytesConvertGives) {
    TempDir base;
    MakeSongs(base);
    // An absolute path in the system's own spelling, as the Explorer gives it.
    const fs::path song = (base.Path() / "Songs" / PathFromUtf8(kUnicodeStem + ".mid")).make_preferred();
    const auto dropped = RunCli({Utf8FromPath(song)});
    ASSERT_EQ(dropped.Status, 0) << dropped.Err;
    fs::create_directories(base.Path() / "Out");
    const auto converted = RunCli({"convert", "--in", base.File("Songs"), "--out", base.File("Out")});
    ASSERT_EQ(converted.Status, 0) << converted.Err;
    const std::string output = kUnicodeStem + "_VOC-3.mid";
    EXPECT_EQ(Hex(ReadFile(base.Path() / "Songs" / "Convert" / PathFromUtf8(output))),
              Hex(ReadFile(base.Path() / "Out" / PathFromUtf8(output))));
}

TEST(DroppedPaths, AWordThatIsNoPathIsStillAnUnknownCommand) {
    TempDir base;
    const auto result = RunCli({"Songs"}, base.Path());
    EXPECT_EQ(result.Status, 2);
    EXPECT_NE(result.Err.find("unknown command 'Songs'"), std::string::npos) << result.Err;
}

}  // namespace
}  // namespace tonalux::testing
