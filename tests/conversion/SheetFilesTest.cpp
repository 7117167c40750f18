// Sheets as files: the name beside a song, the sheets a folder conversion
// writes (or says it could not), and the sheet of a song file read for the
// songbook.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "Component.h"
#include "FolderConversion.h"
#include "SheetFile.h"
#include "SongBuilder.h"
#include "SongSheet.h"
#include "TestSupport.h"

namespace fs = std::filesystem;

namespace tonalux {
namespace {

using testing::Bytes;
using testing::Track;

Bytes Tune() {
    Track track;
    track.Chord(0, 0x31, 0).Chord(384, 0x35, 19);
    return testing::SongBuilder(0, 96).AddTrack(track.End(384)).Bytes();
}

TEST(SheetFiles, TheSheetStandsBesideTheSong) {
    const std::pair<const char*, const char*> cases[] = {
        {"Convert/Song_VOC-3.mid", "Convert/Song_VOC-3.cho"},
        {"Convert/LIVE/SONG_NO-VOC.MID", "Convert/LIVE/SONG_NO-VOC.cho"},
        {"a.b/.mid", "a.b/.mid.cho"},  // a name of four characters keeps them
    };
    for (const auto& [song, sheet] : cases) EXPECT_EQ(SheetPathFor(song), sheet) << song;
}

TEST(SheetFiles, ConversionWritesTheSheetOrSaysWhyNot) {
    testing::RecordingHost host;
    testing::TempDir dir;
    fs::create_directories(dir.Path() / "Midifile");
    fs::create_directories(dir.Path() / "Convert");
    const ConversionFolders folders = DefaultFolders(dir.Path().string() + "/");
    testing::WriteFile(folders.Input + "A.mid", Tune());
    testing::WriteFile(folders.Input + "B.mid", Tune());
    // B's sheet cannot be written: a folder has its name.
    fs::create_directories(folders.Output + "B_NO-VOC.cho");

    ConversionOptions options;
    options.Sheets = true;
    Component owner(nullptr);
    const auto outcomes = ConvertFolder(&owner, folders, {"A.mid", "B.mid"}, options);
    ASSERT_EQ(outcomes.size(), 2u);
    EXPECT_EQ(outcomes[0].Sheet, "A_NO-VOC.cho");
    EXPECT_FALSE(IsProblem(outcomes[0]));
    EXPECT_EQ(DescribeOutcome(outcomes[0]), "converted to A_NO-VOC.mid and A_NO-VOC.cho");
    std::ifstream in(folders.Output + "A_NO-VOC.cho");
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "{title: A}\n{key: C}\n{time: 4/4}\n{tempo: 120}\n\n{start_of_grid}\n| C . . . | G7 . . . |\n"
                          "{end_of_grid}\n");

    EXPECT_TRUE(outcomes[1].Sheet.empty());
    EXPECT_FALSE(outcomes[1].SheetFailure.empty());
    EXPECT_TRUE(IsProblem(outcomes[1]));
    EXPECT_NE(DescribeOutcome(outcomes[1]).find("converted to B_NO-VOC.mid, but its sheet B_NO-VOC.cho could not be written: "),
              std::string::npos)
        << DescribeOutcome(outcomes[1]);
    // The song itself was written.
    EXPECT_TRUE(fs::is_regular_file(folders.Output + "B_NO-VOC.mid"));
}

TEST(SheetFiles, ReadingASongFileForTheSongbook) {
    testing::RecordingHost host;
    testing::TempDir dir;
    const std::string good = dir.File("Good.mid"), damaged = dir.File("Cut.mid"), text = dir.File("Text.mid");
    testing::WriteFile(good, Tune());
    Bytes cut = Tune();
    cut.resize(cut.size() - 9);
    testing::WriteFile(damaged, cut);
    testing::WriteFile(text, Bytes{'n', 'o', ' ', 's', 'o', 'n', 'g'});

    std::string problem;
    const auto sheet = ReadSongSheet(good, problem);
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->Title, "Good");
    EXPECT_EQ(sheet->ChordCount, 2u);
    EXPECT_TRUE(problem.empty());

    const auto part = ReadSongSheet(damaged, problem);
    ASSERT_TRUE(part);
    ASSERT_FALSE(part->Notes.empty());
    EXPECT_EQ(part->Notes.front().rfind("damaged at byte", 0), 0u) << part->Notes.front();

    EXPECT_FALSE(ReadSongSheet(text, problem));
    EXPECT_EQ(problem, "not a MIDI file");
    EXPECT_FALSE(ReadSongSheet(dir.File("Gone.mid"), problem));
    EXPECT_EQ(problem, "no such file");
}

}  // namespace
}  // namespace tonalux
