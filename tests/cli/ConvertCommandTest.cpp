// tonalux-cli convert: the same output files, byte for byte, as the main
// window's conversion code for the same folder, the per-song report, the
// exit status, and the inputs left alone.
#include <gtest/gtest.h>

#include <map>

#include "CliRunner.h"
#include "CliSongs.h"
#include "Component.h"
#include "FolderConversion.h"

namespace fs = std::filesystem;

namespace tonalux::testing {
namespace {

using FolderBytes = std::map<std::string, Bytes>;

FolderBytes ReadFolder(const fs::path& folder) {
    FolderBytes files;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.is_regular_file()) files[entry.path().filename().string()] = ReadFile(entry.path());
    return files;
}

// A base folder with Midifile/ and Convert/ and the given songs.
void MakeBase(const fs::path& base, const FolderBytes& songs) {
    fs::create_directories(base / "Midifile");
    fs::create_directories(base / "Convert");
    for (const auto& [name, bytes] : songs) WriteFile(base / "Midifile" / name, bytes);
}

// What the window's conversion code writes for the same folder.
// The host shows the default threshold: the run's own travels in its options.
FolderBytes ConvertInProcess(const fs::path& base, const ConversionOptions& options) {
    RecordingHost host;
    Component owner(nullptr);
    const ConversionFolders folders = DefaultFolders(base.string() + "/");
    ConvertFolder(&owner, folders, ListMidiFolder(folders.Input), options);
    return ReadFolder(base / "Convert");
}

const FolderBytes kSongs{
    {"A.mid", CliSong(3, 5)},     // vocoder channel 3 at threshold 5
    {"B.mid", CliSong(12, 9)},    // channel 12 qualifies at threshold 9 only
    {"SONG.MID", CliSong(16, 1)}  // upper-case name, vocoder channel 16
};

TEST(ConvertCommand, WritesTheSameFilesAsTheWindowConversion) {
    struct Run {
        std::vector<std::string> options;
        RunChoices engine;
    };
    const std::vector<Run> runs{
        {{}, {SaveFormat::Format0, false, 5, true}},
        {{"--format", "1", "--keep-vocoder-sysex", "--threshold", "9", "--start-at-first-note"}, {SaveFormat::Format1, true, 9, false}},
    };
    for (const auto& run : runs) {
        TempDir cli, window;
        MakeBase(cli.Path(), kSongs);
        MakeBase(window.Path(), kSongs);

        std::vector<std::string> args{"convert", cli.Path().string()};
        args.insert(args.end(), run.options.begin(), run.options.end());
        const auto result = RunCli(args);
        EXPECT_EQ(result.Status, 0) << result.Err;

        const FolderBytes expected = ConvertInProcess(window.Path(), MakeConversionOptions(run.engine));
        const FolderBytes written = ReadFolder(cli.Path() / "Convert");
        ASSERT_EQ(written.size(), 3u);
        for (const auto& [name, bytes] : expected) {
            ASSERT_TRUE(written.count(name)) << name << " missing; output:\n" << result.Out;
            EXPECT_EQ(Hex(written.at(name)), Hex(bytes)) << name;
        }
        EXPECT_EQ(ReadFolder(cli.Path() / "Midifile"), kSongs) << "inputs changed";
    }
}

TEST(ConvertCommand, NamesCarryTheVocoderChannelAtTheThreshold) {
    TempDir base;
    MakeBase(base.Path(), kSongs);
    const auto result = RunCli({"convert", base.Path().string(), "--threshold", "9"});
    EXPECT_EQ(result.Status, 0);
    const FolderBytes written = ReadFolder(base.Path() / "Convert");
    EXPECT_TRUE(written.count("A_VOC-3.mid"));
    EXPECT_TRUE(written.count("B_VOC-12.mid"));
    EXPECT_TRUE(written.count("SONG_VOC-16.MID"));
    EXPECT_NE(result.Out.find("A.mid -> A_VOC-3.mid  vocoder 3  events "), std::string::npos) << result.Out;
    EXPECT_NE(result.Out.find("3 songs: 3 converted, 0 damaged, 0 failed, 0 skipped"), std::string::npos) << result.Out;

    // At the default threshold channel 12's average of 9 is too loud.
    TempDir second;
    MakeBase(second.Path(), {{"B.mid", CliSong(12, 9)}});
    const auto defaults = RunCli({"convert", second.Path().string()});
    EXPECT_NE(defaults.Out.find("B.mid -> B_NO-VOC.mid  vocoder none"), std::string::npos) << defaults.Out;
    EXPECT_TRUE(fs::exists(second.Path() / "Convert" / "B_NO-VOC.mid"));
}

TEST(ConvertCommand, UsesTheCurrentFolderWithoutDir) {
    TempDir base;
    MakeBase(base.Path(), {{"A.mid", CliSong()}});
    const auto result = RunCli({"convert"}, base.Path());
    EXPECT_EQ(result.Status, 0) << result.Err;
    EXPECT_TRUE(fs::exists(base.Path() / "Convert" / "A_VOC-3.mid"));
}

TEST(ConvertCommand, AnUnreadableSongFailsAloneAndGetsNoOutput) {
    TempDir base;
    MakeBase(base.Path(), {{"A.mid", CliSong()}, {"Broken.mid", Bytes{'R', 'I', 'F', 'F', 0, 0}}});
    fs::create_directories(base.Path() / "Midifile" / "folder.mid");
    const auto result = RunCli({"convert", base.Path().string()});
    EXPECT_EQ(result.Status, 1);
    EXPECT_NE(result.Out.find("Broken.mid: not a MIDI file (incorrect fileheader)\n"), std::string::npos)
        << result.Out;
    EXPECT_NE(result.Out.find("folder.mid: skipped, not a file"), std::string::npos) << result.Out;
    EXPECT_NE(result.Out.find("3 songs: 1 converted, 0 damaged, 1 failed, 1 skipped"), std::string::npos)
        << result.Out;
    // The problem once on standard error, naming the song; the folder entry is no song.
    EXPECT_EQ(result.Err, "tonalux-cli convert: Broken.mid: not a MIDI file (incorrect fileheader)\n");
    const FolderBytes written = ReadFolder(base.Path() / "Convert");
    ASSERT_EQ(written.size(), 1u);
    EXPECT_TRUE(written.count("A_VOC-3.mid"));
}

TEST(ConvertCommand, AnEmptyFolderConvertsNothingAndSucceeds) {
    TempDir base;
    MakeBase(base.Path(), {});
    const auto result = RunCli({"convert", base.Path().string()});
    EXPECT_EQ(result.Status, 0);
    EXPECT_NE(result.Out.find("0 songs: 0 converted"), std::string::npos) << result.Out;
}

TEST(ConvertCommand, NeverWritesOverAnInputSong) {
    // Convert/ is a link to Midifile/, which already holds a song named like
    // A.mid's output: the run is refused before anything is written.
    TempDir base;
    fs::create_directories(base.Path() / "Midifile");
    fs::create_directory_symlink(base.Path() / "Midifile", base.Path() / "Convert");
    const Bytes other = CliSong(5, 1);
    WriteFile(base.Path() / "Midifile" / "A.mid", CliSong());
    WriteFile(base.Path() / "Midifile" / "A_VOC-3.mid", other);

    const auto result = RunCli({"convert", base.Path().string()});
    EXPECT_EQ(result.Status, 1);
    EXPECT_EQ(result.Err, "tonalux-cli convert: cannot write into the folder " + base.Path().string() +
                              "/Convert/: it is the input folder " + base.Path().string() +
                              "/Midifile/ (inputs are never changed)\n");
    EXPECT_TRUE(result.Out.empty()) << result.Out;
    EXPECT_EQ(Hex(ReadFile(base.Path() / "Midifile" / "A_VOC-3.mid")), Hex(other));
    EXPECT_EQ(Hex(ReadFile(base.Path() / "Midifile" / "A.mid")), Hex(CliSong()));
    EXPECT_EQ(ReadFolder(base.Path() / "Midifile").size(), 2u);

    // An output name in Convert/ that is a link to an input song.
    TempDir linked;
    MakeBase(linked.Path(), {{"A.mid", CliSong()}, {"B.mid", other}});
    fs::create_symlink(linked.Path() / "Midifile" / "A.mid", linked.Path() / "Convert" / "B_VOC-5.mid");
    const auto viaLink = RunCli({"convert", linked.Path().string()});
    EXPECT_EQ(viaLink.Status, 1);
    EXPECT_NE(viaLink.Out.find("B.mid: skipped, its output B_VOC-5.mid would replace the input song A.mid\n"),
              std::string::npos)
        << viaLink.Out;
    EXPECT_EQ(Hex(ReadFile(linked.Path() / "Midifile" / "A.mid")), Hex(CliSong()));
    EXPECT_TRUE(fs::exists(linked.Path() / "Convert" / "A_VOC-3.mid"));
}

TEST(ConvertCommand, ShowsNoProgressBarWhenOutputIsNotATerminal) {
    TempDir base;
    FolderBytes many;
    for (int i = 0; i < 10; ++i) many["S" + std::to_string(i) + ".mid"] = CliSong();
    MakeBase(base.Path(), many);
    const auto result = RunCli({"convert", base.Path().string()});
    EXPECT_EQ(result.Status, 0);
    EXPECT_EQ(result.Out.find('\r'), std::string::npos);
    EXPECT_EQ(result.Out.find('\x1b'), std::string::npos);
    EXPECT_EQ(ReadFolder(base.Path() / "Convert").size(), 10u);
}

TEST(ConvertCommand, ShowsAProgressBarOnATerminalForManySongsOnly) {
    TempDir many, few;
    FolderBytes songs;
    for (int i = 0; i < 10; ++i) songs["S" + std::to_string(i) + ".mid"] = CliSong();
    MakeBase(many.Path(), songs);
    MakeBase(few.Path(), {{"A.mid", CliSong()}, {"B.mid", CliSong()}});

    const auto bar = RunCliOnTerminal({"convert", many.Path().string()});
    EXPECT_EQ(bar.Status, 0);
    EXPECT_NE(bar.Out.find("] 9/10  S9.mid"), std::string::npos) << bar.Out;
    EXPECT_NE(bar.Out.find("S9.mid -> S9_VOC-3.mid"), std::string::npos) << bar.Out;
    EXPECT_NE(bar.Out.find("10 songs: 10 converted"), std::string::npos) << bar.Out;

    const auto plain = RunCliOnTerminal({"convert", few.Path().string()});
    EXPECT_EQ(plain.Status, 0);
    EXPECT_EQ(plain.Out.find('['), std::string::npos) << plain.Out;
}

}  // namespace
}  // namespace tonalux::testing
