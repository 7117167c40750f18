// The commands that change a song and write it: save, transpose, swap,
// ketron and strip-chords. What they wrote is read back with dump, so each
// expectation names the records it is about.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>

#include "CliRunner.h"
#include "CliSongs.h"
#include "StandardMidifile.h"

namespace fs = std::filesystem;

namespace tonalux::testing {
namespace {

class EditCommands : public ::testing::Test {
protected:
    void SetUp() override { WriteFile(song, CliSong()); }

    // The record lines of a song's dump, header line left out. A file whose
    // bytes have not changed since its last dump is not dumped again.
    std::vector<std::string> Records(const std::string& path) {
        const Bytes bytes = ReadFile(path);
        if (auto it = dumps_.find(path); it != dumps_.end() && it->second.first == bytes) return it->second.second;
        const auto dump = RunCli({"dump", path});
        EXPECT_EQ(dump.Status, 0) << dump.Err;
        std::vector<std::string> lines;
        std::istringstream in(dump.Out);
        std::string line;
        std::getline(in, line);
        while (std::getline(in, line)) lines.push_back(line);
        dumps_[path] = {bytes, lines};
        return lines;
    }
    // The copyright notices and track names of a written song, "tick type text",
    // as a reader that keeps them finds them.
    static std::vector<std::string> SongTexts(const std::string& path) {
        StandardMidifile engine(nullptr);
        engine.SetKeepSongNames(true);
        EXPECT_TRUE(engine.LoadMidifile(path));
        std::vector<std::string> texts;
        for (int i = 0; i < engine.GetSizeMetaEvents(); ++i) {
            const MetaEvent e = engine.GetMetaEvent(i);
            if (e.Type != 0x02 && e.Type != 0x03) continue;
            texts.push_back(std::to_string(e.Tick) + " 0" + std::to_string(e.Type) + " " +
                            std::string(reinterpret_cast<const char*>(e.Data.get()), e.Length));
        }
        return texts;
    }
    bool HasRecord(const std::string& path, const std::string& record) {
        const auto lines = Records(path);
        return std::find(lines.begin(), lines.end(), record) != lines.end();
    }
    // Runs a command that must succeed and must leave the input as it was.
    CliResult Succeed(const std::vector<std::string>& args) {
        auto result = RunCli(args);
        EXPECT_EQ(result.Status, 0) << result.Err;
        EXPECT_EQ(Hex(ReadFile(song)), Hex(CliSong())) << "input changed";
        return result;
    }

    TempDir dir;
    std::string song = dir.File("song.mid");
    std::string out = dir.File("out.mid");

private:
    std::map<std::string, std::pair<Bytes, std::vector<std::string>>> dumps_;
};

TEST_F(EditCommands, SaveKeepsTheFormatUnlessOneIsNamed) {
    Succeed({"save", song, out});
    Bytes written = ReadFile(out);
    ASSERT_GE(written.size(), 14u);
    EXPECT_EQ(written[9], 1) << "format 1 song written as format " << int(written[9]);
    EXPECT_EQ(Records(out), Records(song));

    const auto zero = Succeed({"save", song, out, "--format", "0"});
    EXPECT_EQ(zero.Out, "wrote " + out + " (format 0)\n");
    written = ReadFile(out);
    EXPECT_EQ(Hex(Bytes(written.begin(), written.begin() + 14)), "4D 54 68 64 00 00 00 06 00 00 00 01 00 60");
    EXPECT_EQ(Records(out), Records(song));
}

TEST_F(EditCommands, AFormat2SongIsWrittenAsFormat1WithAWarning) {
    Track first, second;
    first.Note(0, 0x90, 60, 100).Note(96, 0x80, 60, 0).End();
    second.Note(0, 0x91, 64, 100).Note(96, 0x81, 64, 0).End();
    const std::string patterns = dir.File("patterns.mid");
    WriteFile(patterns, SongBuilder(2, 96).AddTrack(first).AddTrack(second).Bytes());
    const std::string warning = " is format 2, of independent tracks; written as format 1, where they play at the "
                                "same time\n";
    const auto saved = RunCli({"save", patterns, out});
    EXPECT_EQ(saved.Status, 0);
    EXPECT_EQ(saved.Err, "tonalux-cli save: warning: " + patterns + warning);
    EXPECT_EQ(ReadFile(out).at(9), 1);
    EXPECT_EQ(Records(out), Records(patterns));
    const std::string text = dir.File("patterns.txt");
    std::ofstream(text) << RunCli({"dump", patterns}).Out;
    EXPECT_EQ(RunCli({"assemble", text, out}).Err, "tonalux-cli assemble: warning: " + text + warning);
    // A format the user names, and --quiet, leave the warning out.
    EXPECT_EQ(RunCli({"save", patterns, out, "--format", "0"}).Err, "");
    EXPECT_EQ(RunCli({"save", patterns, out, "--quiet"}).Err, "");
}

TEST_F(EditCommands, TransposeMovesNotesOfAllChannelsButTheDrums) {
    const auto result = Succeed({"transpose", song, out, "--semitones", "-2"});
    EXPECT_EQ(result.Out.rfind("3 notes transposed by -2 semitones; wrote", 0), 0u) << result.Out;
    EXPECT_TRUE(HasRecord(out, "0 ch1 90 3A 64"));
    EXPECT_TRUE(HasRecord(out, "0 ch3 92 3E 05"));
    EXPECT_TRUE(HasRecord(out, "0 ch10 99 24 5A"));   // drums keep their notes
    EXPECT_TRUE(HasRecord(out, "96 ch1 B0 07 64"));   // controllers keep their bytes
    EXPECT_TRUE(HasRecord(out, "0 chord FF 7F 07 43 7B 01 44 0A 7F 7F"));  // chords only with --chords
}

TEST_F(EditCommands, TransposeLimitedToChannelsTicksAndChords) {
    Succeed({"transpose", song, out, "--semitones", "3", "--channel", "1", "--channel", "10", "--from", "960",
             "--chords"});
    EXPECT_TRUE(HasRecord(out, "0 ch1 90 3C 64"));      // before the range
    EXPECT_TRUE(HasRecord(out, "960 ch1 90 46 64"));    // 67 + 3
    EXPECT_TRUE(HasRecord(out, "1056 ch1 80 46 00"));
    EXPECT_TRUE(HasRecord(out, "0 ch3 92 40 05"));      // channel not chosen
    EXPECT_TRUE(HasRecord(out, "0 chord FF 7F 07 43 7B 01 44 0A 7F 7F"));
    // C/E up three semitones is Eb/G.
    EXPECT_TRUE(HasRecord(out, "960 chord FF 7F 07 43 7B 01 23 00 35 00"));
}

// The note-ons (velocity above 0) whose key differs between two dumps of the
// same song, line by line: the notes that moved.
std::size_t MovedNotes(const std::vector<std::string>& before, const std::vector<std::string>& after) {
    std::size_t moved = 0;
    for (std::size_t i = 0; i < std::min(before.size(), after.size()); ++i) {
        std::istringstream words(before[i]);
        std::string tick, list, status, key, velocity;
        words >> tick >> list >> status >> key >> velocity;
        if (status.size() == 2 && status[0] == '9' && velocity != "00" && before[i] != after[i]) ++moved;
    }
    return moved;
}

TEST_F(EditCommands, TransposeCountsTheNotesThatMovedInTheRightNumber) {
    const struct {
        std::vector<std::string> Options;
        std::string Summary;
    } cases[]{
        {{"--semitones", "-2"}, "3 notes transposed by -2 semitones"},
        {{"--semitones", "1", "--channel", "1", "--from", "960"}, "1 note transposed by 1 semitone"},
        {{"--semitones", "-1", "--channel", "3", "--chords"}, "1 note and 2 chords transposed by -1 semitone"},
        {{"--semitones", "5", "--channel", "1", "--from", "960", "--to", "960", "--chords"},
         "1 note and 1 chord transposed by 5 semitones"},
        {{"--semitones", "2", "--channel", "2"}, "0 notes transposed by 2 semitones"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args{"transpose", song, out};
        args.insert(args.end(), c.Options.begin(), c.Options.end());
        const auto result = Succeed(args);
        EXPECT_EQ(result.Out, c.Summary + "; wrote " + out + " (format 1)\n");
        const std::string count = c.Summary.substr(0, c.Summary.find(' '));
        EXPECT_EQ(std::to_string(MovedNotes(Records(song), Records(out))), count) << c.Summary;
    }
}

TEST_F(EditCommands, TransposeFoldsANoteThatWouldLeaveTheRangeByOctaves) {
    Succeed({"transpose", song, out, "--semitones", "61", "--channel", "1"});
    EXPECT_TRUE(HasRecord(out, "960 ch1 90 74 64"));  // 67 + 61 = 128, one octave down: 116
    EXPECT_TRUE(HasRecord(out, "1056 ch1 80 74 00"));
}

TEST_F(EditCommands, SwapExchangesTwoChannels) {
    const auto result = Succeed({"swap", song, out, "3", "16"});
    EXPECT_NE(result.Out.find("channel 3 (2 events) and channel 16 (0 events) exchanged"), std::string::npos)
        << result.Out;
    EXPECT_TRUE(HasRecord(out, "0 ch16 9F 40 05"));
    EXPECT_TRUE(HasRecord(out, "96 ch16 8F 40 00"));
    const auto lines = Records(out);
    EXPECT_TRUE(std::none_of(lines.begin(), lines.end(),
                             [](const std::string& line) { return line.find(" ch3 ") != std::string::npos; }));
}

TEST_F(EditCommands, KetronAddsChordLyricsAndReplaceRemovesTheChords) {
    Succeed({"ketron", song, out});
    EXPECT_TRUE(HasRecord(out, "0 lyric FF 05 05 25 46 23 6D 37"));          // "%F#m7"
    EXPECT_TRUE(HasRecord(out, "960 lyric FF 05 06 25 43 20 20 2F 45"));     // "%C  /E"
    EXPECT_TRUE(HasRecord(out, "960 lyric FF 05 02 6C 61"));                 // "la" stays
    EXPECT_TRUE(HasRecord(out, "0 chord FF 7F 07 43 7B 01 44 0A 7F 7F"));

    const std::string replaced = dir.File("replaced.mid");
    const auto result = Succeed({"ketron", song, replaced, "--replace"});
    EXPECT_NE(result.Out.find("2 chord lyrics added, 2 keyboard chord events removed"), std::string::npos);
    const auto lines = Records(replaced);
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& line) { return line.find(" chord ") != std::string::npos; }),
              0);
    EXPECT_TRUE(HasRecord(replaced, "0 lyric FF 05 05 25 46 23 6D 37"));
}

TEST_F(EditCommands, KetronWritesNothingWhenAChordHasNoName) {
    const std::string bad = dir.File("bad.mid");
    WriteFile(bad, SongWithUndecodableChord());
    const auto result = RunCli({"ketron", bad, out});
    EXPECT_EQ(result.Status, 1);
    EXPECT_NE(result.Err.find("chord at tick 480 cannot be decoded: root byte 7F names no note\n"), std::string::npos)
        << result.Err;
    EXPECT_FALSE(fs::exists(out));
}

TEST_F(EditCommands, StripChordsRemovesTheChosenKind) {
    const std::string withLyrics = dir.File("lyrics.mid");
    Succeed({"ketron", song, withLyrics});

    ASSERT_EQ(RunCli({"strip-chords", withLyrics, out, "--xf"}).Status, 0);
    EXPECT_FALSE(HasRecord(out, "0 chord FF 7F 07 43 7B 01 44 0A 7F 7F"));
    EXPECT_TRUE(HasRecord(out, "0 lyric FF 05 05 25 46 23 6D 37"));

    ASSERT_EQ(RunCli({"strip-chords", withLyrics, out, "--ketron"}).Status, 0);
    EXPECT_TRUE(HasRecord(out, "0 chord FF 7F 07 43 7B 01 44 0A 7F 7F"));
    EXPECT_FALSE(HasRecord(out, "0 lyric FF 05 05 25 46 23 6D 37"));
    EXPECT_TRUE(HasRecord(out, "960 lyric FF 05 02 6C 61"));

    const auto both = RunCli({"strip-chords", withLyrics, out});
    EXPECT_NE(both.Out.find("2 keyboard chord events removed, 2 chord lyrics removed"), std::string::npos)
        << both.Out;
    // Both kinds gone: the song's own records without its two chord events.
    auto expected = Records(song);
    expected.erase(std::remove_if(expected.begin(), expected.end(),
                                  [](const std::string& line) { return line.find(" chord ") != std::string::npos; }),
                   expected.end());
    EXPECT_EQ(Records(out), expected);
}

TEST_F(EditCommands, EveryEditingCommandKeepsTheSongsNamesInTrackOrder) {
    // Format 1, each track named; the first also carries the copyright
    // notice, and a keyboard chord for ketron and strip-chords to work on.
    const std::string named = dir.File("named.mid");
    SongBuilder song1(1, 96);
    song1.AddTrack(Track().Text(0, 0x03, "Abendlied").Text(0, 0x02, "(c) 2026").Chord(0, 0x31, 0).Chord(96, 0x35, 0).End());
    song1.AddTrack(Track().Text(0, 0x03, "Piano").Note(0, 0x90, 60, 100).Note(96, 0x80, 60, 0).End());
    song1.AddTrack(Track().Text(0, 0x03, "Bass").Note(0, 0x91, 36, 100).Note(96, 0x81, 36, 0).End());
    WriteFile(named, song1.Bytes());
    // Format 0 with the name at tick 0 and a text between the notes.
    const std::string single = dir.File("single.mid");
    SongBuilder song0(0, 96);
    song0.AddTrack(Track().Text(0, 0x03, "Walzer").Note(0, 0x90, 60, 100).Text(48, 0x02, "(c) T").Note(48, 0x80, 60, 0).End());
    WriteFile(single, song0.Bytes());

    const std::vector<std::vector<std::string>> commands{
        {"save"}, {"transpose", "--semitones", "2"}, {"swap", "1", "2"}, {"ketron"}, {"strip-chords"},
        {"add-chords", "--replace"}};
    for (const auto& command : commands) {
        std::vector<std::string> args{command[0], named, out};
        args.insert(args.end(), command.begin() + 1, command.end());
        auto result = RunCli(args);
        ASSERT_EQ(result.Status, 0) << command[0] << ": " << result.Err;
        // Format 1: the names in the meta track, in the order of their tracks.
        auto meta = SongTexts(out);
        EXPECT_EQ(meta, (std::vector<std::string>{"0 03 Abendlied", "0 02 (c) 2026", "0 03 Piano", "0 03 Bass"}))
            << command[0];

        args[1] = single;
        result = RunCli(args);
        ASSERT_EQ(result.Status, 0) << command[0] << ": " << result.Err;
        EXPECT_EQ(SongTexts(out), (std::vector<std::string>{"0 03 Walzer", "48 02 (c) T"})) << command[0];
    }
}

TEST_F(EditCommands, AnOutputThatIsOrLinksToTheInputIsRefused) {
    const std::string copy = dir.File("copy.mid");
    WriteFile(copy, CliSong());
    const std::string alias = dir.File("alias.mid");
    fs::create_symlink(copy, alias);
    for (const auto& target : {copy, alias, dir.File("./copy.mid")}) {
        for (const std::string command : {"save", "transpose", "swap", "ketron", "strip-chords", "add-chords"}) {
            std::vector<std::string> args{command, copy, target};
            if (command == "transpose") args.insert(args.end(), {"--semitones", "2"});
            if (command == "swap") args.insert(args.end(), {"1", "2"});
            const auto result = RunCli(args);
            EXPECT_EQ(result.Status, 1) << command << ' ' << target;
            EXPECT_EQ(result.Err, "tonalux-cli " + command + ": refusing to write " + target + ": it is the input " +
                                      copy + " (inputs are never changed)\n");
            EXPECT_TRUE(result.Out.empty());
        }
    }
    EXPECT_EQ(ReadFile(copy), CliSong());
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(alias)));
}

TEST_F(EditCommands, AnOutputThatCannotBeWrittenFailsAndLeavesNoFile) {
    const std::string nowhere = dir.File("missing-folder/out.mid");
    const auto result = RunCli({"save", song, nowhere});
    EXPECT_EQ(result.Status, 1);
    EXPECT_EQ(result.Err, "tonalux-cli save: could not write " + nowhere + ": No such file or directory\n");
    EXPECT_FALSE(fs::exists(nowhere));

    const auto folder = RunCli({"save", song, dir.Path().string()});
    EXPECT_EQ(folder.Status, 1);
    EXPECT_EQ(folder.Err, "tonalux-cli save: could not write " + dir.Path().string() + ": Is a directory\n");
}

}  // namespace
}  // namespace tonalux::testing
