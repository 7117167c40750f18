// What the tool says when something goes wrong: damaged songs, failed reads
// and writes with the system's reason, unusable folders, a failed standard
// output, and chords whose root names no note. Every problem is one line
// naming the file, and the exit status is 1.
#include <gtest/gtest.h>

#include <unistd.h>

#include "CliRunner.h"
#include "CliSongs.h"

namespace fs = std::filesystem;

namespace tonalux::testing {
namespace {

// The song of CliSong cut off in the middle of its note track.
Bytes HalfSong() {
    Bytes song = CliSong();
    song.resize(song.size() - 20);
    return song;
}

// How the tool names the damage of HalfSong: the note track is the second
// track, counted from 1; the damage is met at the length of that track, which
// claims more bytes than the file holds.
constexpr const char* kHalfSongDamage = "damaged at byte 88 in track 2, 11 records kept";

void MakeBase(const fs::path& base) {
    fs::create_directories(base / "Midifile");
    fs::create_directories(base / "Convert");
}

bool IsRoot() { return geteuid() == 0; }

TEST(ProblemReports, ConvertNamesADamagedSongAndANonMidiFileAndFails) {
    TempDir base;
    MakeBase(base.Path());
    WriteFile(base.Path() / "Midifile" / "Good.mid", CliSong());
    WriteFile(base.Path() / "Midifile" / "Half.mid", HalfSong());
    WriteFile(base.Path() / "Midifile" / "Text.mid", Bytes{'h', 'e', 'l', 'l', 'o'});
    const std::string damage = kHalfSongDamage;

    const auto result = RunCli({"convert", base.Path().string()});
    EXPECT_EQ(result.Status, 1);
    const std::string halfLine = "Half.mid: " + damage + ", converted to Half_VOC-3.mid (Byteread Error!)";
    const std::string textLine = "Text.mid: not a MIDI file (incorrect fileheader)";
    EXPECT_NE(result.Out.find("\n" + halfLine + "\n"), std::string::npos) << result.Out;
    EXPECT_NE(result.Out.find("\n" + textLine + "\n"), std::string::npos) << result.Out;
    EXPECT_NE(result.Out.find("3 songs: 1 converted, 1 damaged, 1 failed, 0 skipped"), std::string::npos);
    EXPECT_EQ(result.Err, "tonalux-cli convert: " + halfLine + "\ntonalux-cli convert: " + textLine + "\n");
    // What could be read of the damaged song is written; the text file gets nothing.
    EXPECT_TRUE(fs::exists(base.Path() / "Convert" / "Half_VOC-3.mid"));
    EXPECT_EQ(ReadFile(base.Path() / "Midifile" / "Half.mid"), HalfSong());
}

TEST(ProblemReports, ConvertNamesTheCauseOfEachFailedWriteWithoutAnArrow) {
    TempDir base;
    MakeBase(base.Path());
    WriteFile(base.Path() / "Midifile" / "A.mid", CliSong(3));
    WriteFile(base.Path() / "Midifile" / "B.mid", CliSong(5));
    WriteFile(base.Path() / "Midifile" / "C.mid", CliSong(7));
    // A folder in the way, and a read-only output, which no user may replace.
    fs::create_directory(base.Path() / "Convert" / "A_VOC-3.mid");
    WriteFile(base.Path() / "Convert" / "B_VOC-5.mid", Bytes{'o', 'l', 'd'});
    fs::permissions(base.Path() / "Convert" / "B_VOC-5.mid", fs::perms::owner_read);

    const auto result = RunCli({"convert", base.Path().string()});
    EXPECT_EQ(result.Status, 1);
    EXPECT_NE(result.Out.find("A.mid: could not be written to A_VOC-3.mid: Is a directory\n"), std::string::npos)
        << result.Out;
    EXPECT_NE(result.Out.find("B.mid: could not be written to B_VOC-5.mid: Permission denied\n"), std::string::npos)
        << result.Out;
    EXPECT_NE(result.Out.find("C.mid -> C_VOC-7.mid  vocoder 7"), std::string::npos) << result.Out;
    EXPECT_EQ(result.Out.find("A.mid ->"), std::string::npos);
    EXPECT_EQ(result.Out.find("B.mid ->"), std::string::npos);
    EXPECT_EQ(result.ErrLines().size(), 2u) << result.Err;
    EXPECT_EQ(result.Err.find("Dateinamen wechseln"), std::string::npos) << result.Err;
    EXPECT_EQ(ReadFile(base.Path() / "Convert" / "B_VOC-5.mid"), (Bytes{'o', 'l', 'd'}));
}

TEST(ProblemReports, ConvertPresentsAnUnusableFolderAsOneLineAndConvertsNothing) {
    // The cases themselves are the conversion layer's (CheckRunFolders); the
    // tool names the folder, what it needed it for and the reason.
    TempDir base;
    const std::string b = base.Path().string();
    const auto noInput = RunCli({"convert", b});
    EXPECT_EQ(noInput.Status, 1);
    EXPECT_EQ(noInput.Err, "tonalux-cli convert: cannot read the folder " + b + "/Midifile/: No such file or directory\n");
    EXPECT_TRUE(noInput.Out.empty()) << noInput.Out;

    fs::create_directories(base.Path() / "Midifile");
    WriteFile(base.Path() / "Midifile" / "A.mid", CliSong());
    WriteFile(base.Path() / "Convert", Bytes{});
    const auto notAFolder = RunCli({"convert", b});
    EXPECT_EQ(notAFolder.Status, 1);
    EXPECT_EQ(notAFolder.Err, "tonalux-cli convert: cannot write into the folder " + b + "/Convert/: Not a directory\n");
    EXPECT_TRUE(notAFolder.Out.empty()) << notAFolder.Out;

    const auto backToInput = RunCli({"convert", "--in", b + "/Midifile", "--out", b + "/Midifile/../Midifile", "--dry-run"});
    EXPECT_EQ(backToInput.Status, 1);
    EXPECT_EQ(backToInput.Err, "tonalux-cli convert: cannot write into the folder " + b +
                                   "/Midifile/../Midifile/: it is the input folder " + b +
                                   "/Midifile/ (inputs are never changed)\n");
    EXPECT_TRUE(backToInput.Out.empty()) << backToInput.Out;
    EXPECT_EQ(ReadFile(base.Path() / "Midifile" / "A.mid"), CliSong());
    EXPECT_EQ(std::distance(fs::directory_iterator(base.Path() / "Midifile"), fs::directory_iterator()), 1);

    EXPECT_EQ(RunCli({"convert", "--in", ""}).Status, 2);
}

TEST(ProblemReports, AnInputThatCannotBeReachedNamesTheSystemsReason) {
    TempDir dir;
    WriteFile(dir.File("song.mid"), CliSong());
    fs::create_directory(dir.Path() / "folder.mid");
    const struct {
        std::string File;
        std::string Reason;
    } inputs[]{{dir.File("missing.mid"), "No such file or directory"},
               {dir.File("folder.mid"), "Is a directory"},
               {dir.File("song.mid/inner.mid"), "Not a directory"}};
    for (const auto& [file, reason] : inputs) {
        for (const std::string command : {"info", "dump", "chords", "save", "assemble"}) {
            std::vector<std::string> args{command, file};
            if (command == "save" || command == "assemble") args.push_back(dir.File("out.mid"));
            const auto result = RunCli(args);
            EXPECT_EQ(result.Status, 1);
            EXPECT_EQ(result.Err, "tonalux-cli " + command + ": cannot read " + file + ": " + reason + "\n");
        }
    }
    EXPECT_FALSE(fs::exists(dir.File("out.mid")));
}

TEST(ProblemReports, AnInputInAFolderThatCannotBeEnteredNamesTheReason) {
    if (IsRoot()) GTEST_SKIP() << "permission bits do not bind root; the test above covers the reason for every user";
    TempDir dir;
    fs::create_directory(dir.Path() / "closed");
    WriteFile(dir.File("closed/song.mid"), CliSong());
    fs::permissions(dir.Path() / "closed", fs::perms::none);
    const auto result = RunCli({"info", dir.File("closed/song.mid")});
    fs::permissions(dir.Path() / "closed", fs::perms::owner_all);
    EXPECT_EQ(result.Err, "tonalux-cli info: cannot read " + dir.File("closed/song.mid") + ": Permission denied\n");
}

TEST(ProblemReports, EverySongCommandReportsADamagedSongAndFails) {
    TempDir dir;
    const std::string half = dir.File("half.mid");
    WriteFile(half, HalfSong());
    const std::string line = half + ": " + kHalfSongDamage + " (Byteread Error!)\n";
    for (const std::string command : {"info", "dump", "chords"}) {
        const auto result = RunCli({command, half});
        EXPECT_EQ(result.Status, 1) << command;
        EXPECT_EQ(result.Err, "tonalux-cli " + command + ": " + line);
        EXPECT_FALSE(result.Out.empty()) << command;  // what was read is still shown
    }
    const auto saved = RunCli({"save", half, dir.File("out.mid")});
    EXPECT_EQ(saved.Status, 1);
    EXPECT_EQ(saved.Err, "tonalux-cli save: " + line);
    EXPECT_TRUE(fs::exists(dir.File("out.mid")));
    EXPECT_EQ(ReadFile(half), HalfSong());
}

TEST(ProblemReports, AFailedStandardOutputIsReportedAndFails) {
    TempDir base;
    MakeBase(base.Path());
    WriteFile(base.Path() / "Midifile" / "A.mid", CliSong());
    const std::string song = (base.Path() / "Midifile" / "A.mid").string();
    for (const std::vector<std::string>& args : {std::vector<std::string>{"info", song},
                                                 {"dump", song},
                                                 {"chords", song},
                                                 {"convert", base.Path().string()},
                                                 {"save", song, base.File("copy.mid")}}) {
        const auto result = RunCli(args, {}, CliStreams{"", "/dev/full"});
        EXPECT_EQ(result.Status, 1) << args[0];
        EXPECT_EQ(result.Err, "tonalux-cli " + args[0] + ": cannot write to standard output: No space left on device\n");
    }
}

// A song whose chords have the roots 0x00 ("bbb" without a letter), 0x30 (no
// letter) and 0x7F between two good chords.
Bytes SongWithNamelessRoots() {
    Track track;
    track.Chord(0, 0x35, 2).Chord(480, 0x00, 0).Chord(480, 0x30, 0).Chord(480, 0x7F, 0).Chord(480, 0x31, 8);
    track.Note(0, 0x90, 60, 100).Note(96, 0x80, 60, 0).End();
    return SongBuilder(0, 96).AddTrack(track).Bytes();
}

TEST(ProblemReports, ChordRootsThatNameNoNoteAreReportedOnceAndFail) {
    TempDir dir;
    const std::string song = dir.File("song.mid");
    WriteFile(song, SongWithNamelessRoots());
    const std::string expected =
        "tonalux-cli chords: chord at tick 480 cannot be decoded: root byte 00 names no note\n"
        "tonalux-cli chords: chord at tick 960 cannot be decoded: root byte 30 names no note\n"
        "tonalux-cli chords: chord at tick 1440 cannot be decoded: root byte 7F names no note\n";
    const auto chords = RunCli({"chords", song});
    EXPECT_EQ(chords.Status, 1);
    EXPECT_EQ(chords.Out, "0 GMaj7\n1920 Cm\n");
    EXPECT_EQ(chords.Err, expected);

    const auto info = RunCli({"info", song});
    EXPECT_EQ(info.Status, 1);
    EXPECT_NE(info.Out.find("chords      GMaj7, Cm\n"), std::string::npos) << info.Out;
    EXPECT_EQ(info.ErrLines().size(), 3u) << info.Err;

    // Transposing the chords would count what it cannot move: nothing is written.
    const auto moved = RunCli({"transpose", song, dir.File("up.mid"), "--semitones", "2", "--chords"});
    EXPECT_EQ(moved.Status, 1);
    EXPECT_EQ(moved.ErrLines().size(), 4u) << moved.Err;  // three chords, then "nothing written"
    EXPECT_FALSE(fs::exists(dir.File("up.mid")));
    // Outside the range of the nameless roots the chords move.
    const auto ranged =
        RunCli({"transpose", song, dir.File("up.mid"), "--semitones", "2", "--chords", "--from", "1920"});
    EXPECT_EQ(ranged.Status, 0) << ranged.Err;
    EXPECT_NE(ranged.Out.find("and 1 chord transposed"), std::string::npos) << ranged.Out;
}

}  // namespace
}  // namespace tonalux::testing
