// The chord commands that change a song: add-chords, set-chords and
// convert --add-chords. What they wrote is compared with what save writes for
// the same song, so that nothing but the chord events may differ.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "CliRunner.h"
#include "CliSongs.h"

namespace fs = std::filesystem;

namespace tonalux::testing {
namespace {

// C, F, G7, C over bass notes at 96 ticks per quarter, with a drum note and a
// controller; `chords` puts an Eb7 chord event at tick 0.
Bytes SongOfNotes(bool chords = false) {
    Track track;
    if (chords) track.Chord(0, 0x23, 19);
    const std::vector<std::vector<std::uint8_t>> bars{{48, 60, 64, 67}, {53, 60, 65, 69}, {43, 59, 62, 65, 67}, {48, 60, 64, 67}};
    track.Event(0, 0xB0, {7, 100}).Note(0, 0x99, 36, 100);
    for (const auto& bar : bars) {
        for (auto key : bar) track.Note(0, 0x90, key, 90);
        track.Note(384, 0x80, bar[0], 0);
        for (std::size_t i = 1; i < bar.size(); ++i) track.Note(0, 0x80, bar[i], 0);
    }
    return SongBuilder(0, 96).AddTrack(track.Note(0, 0x89, 36, 0).End()).Bytes();
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// The dump of a song without its chord records.
std::vector<std::string> DumpWithoutChords(const std::string& path) {
    auto lines = Lines(RunCli({"dump", path}).Out);
    lines.erase(std::remove_if(lines.begin(), lines.end(),
                               [](const std::string& l) { return l.find(" chord ") != std::string::npos; }),
                lines.end());
    return lines;
}

class ChordCommands : public ::testing::Test {
protected:
    void SetUp() override {
        WriteFile(plain, SongOfNotes());
        WriteFile(withChords, SongOfNotes(true));
    }
    TempDir dir;
    const std::string plain = dir.File("plain.mid");
    const std::string withChords = dir.File("chords.mid");
    const std::string out = dir.File("out.mid");
    const std::string saved = dir.File("saved.mid");
};

TEST_F(ChordCommands, AddChordsChangesOnlyTheChords) {
    struct Case {
        const char* Behaviour;
        std::string Input;
        std::vector<std::string> Options;
        std::string Chords;    // what chords prints for the output
        bool Notice;           // one line on standard error
    };
    const std::string recognised = "0 C\n384 F\n768 G7\n1152 C\n";
    const std::vector<Case> cases{
        {"a song without chords gets them", plain, {}, recognised, false},
        {"a song with chords is copied unchanged", withChords, {}, "0 Eb7\n", true},
        {"--replace recognises them anew", withChords, {"--replace"}, recognised, false},
    };
    for (const auto& c : cases) {
        fs::remove(out);
        std::vector<std::string> args{"add-chords", c.Input, out};
        args.insert(args.end(), c.Options.begin(), c.Options.end());
        const CliResult result = RunCli(args);
        EXPECT_EQ(result.Status, 0) << c.Behaviour << result.Err;
        EXPECT_EQ(result.ErrLines().size(), c.Notice ? 1u : 0u) << c.Behaviour << result.Err;
        EXPECT_EQ(RunCli({"chords", out}).Out, c.Chords) << c.Behaviour;
        ASSERT_EQ(RunCli({"save", c.Input, saved}).Status, 0);
        EXPECT_EQ(DumpWithoutChords(out), DumpWithoutChords(saved)) << c.Behaviour;
        if (c.Notice) {
            EXPECT_EQ(ReadFile(out), ReadFile(saved)) << c.Behaviour;
        }
    }
}

TEST_F(ChordCommands, AddChordsOnSongsThatTellNothing) {
    Track drums;
    drums.Note(0, 0x99, 36, 100).Note(96, 0x89, 36, 0).End();
    Track empty;
    empty.Tempo(0, 500000).End();
    Bytes damaged = SongOfNotes();
    damaged.resize(damaged.size() - 20);
    struct Case {
        const char* Behaviour;
        Bytes Song;
        int Status;
        bool Written;
    };
    const std::vector<Case> cases{
        {"drums only", SongBuilder(0, 96).AddTrack(drums).Bytes(), 0, true},
        {"no notes", SongBuilder(0, 96).AddTrack(empty).Bytes(), 0, true},
        {"division 1", SongBuilder(0, 1).AddTrack(drums).Bytes(), 0, true},
        {"damaged: written as far as read", damaged, 1, true},
        {"not a MIDI file", Bytes{'R', 'I', 'F', 'F'}, 1, false},
    };
    const std::string input = dir.File("in.mid");
    for (const auto& c : cases) {
        fs::remove(out);
        WriteFile(input, c.Song);
        const CliResult result = RunCli({"add-chords", input, out});
        EXPECT_EQ(result.Status, c.Status) << c.Behaviour << result.Err;
        EXPECT_EQ(fs::exists(out), c.Written) << c.Behaviour;
        if (c.Written && c.Status == 0) {
            EXPECT_EQ(RunCli({"chords", out}).Out, "") << c.Behaviour;
        }
        EXPECT_EQ(ReadFile(input), c.Song) << c.Behaviour;
    }
}

TEST_F(ChordCommands, SetChordsGivesBackEveryChordTheListShows) {
    // Every chord type over every root spelling, with and without a bass.
    Track track;
    const std::uint8_t roots[] = {0x31, 0x22, 0x44, 0x07, 0x65};
    for (std::uint8_t type = 0; type <= 34; ++type) {
        track.Chord(10, roots[type % 5], type);
        track.Chord(10, roots[(type + 2) % 5], type, roots[(type + 1) % 5]);
    }
    WriteFile(withChords, SongBuilder(1, 96).AddTrack(track.Note(0, 0x90, 60, 90).Note(96, 0x80, 60, 0).End()).Bytes());
    const CliResult list = RunCli({"chords", withChords});
    ASSERT_EQ(list.Status, 0) << list.Err;
    ASSERT_EQ(Lines(list.Out).size(), 70u);
    const std::string listFile = dir.File("list.txt");
    WriteFile(listFile, Bytes(list.Out.begin(), list.Out.end()));

    // Over a song whose chords are gone, and from standard input.
    ASSERT_EQ(RunCli({"strip-chords", withChords, plain}).Status, 0);
    ASSERT_EQ(RunCli({"set-chords", plain, listFile, out}).Status, 0);
    ASSERT_EQ(RunCli({"save", withChords, saved}).Status, 0);
    EXPECT_EQ(ReadFile(out), ReadFile(saved));
    const CliResult piped = RunCli({"set-chords", plain, "-", "-"}, {}, {listFile, dir.File("piped.mid")});
    EXPECT_EQ(piped.Status, 0) << piped.Err;
    EXPECT_EQ(ReadFile(dir.File("piped.mid")), ReadFile(saved));
}

// A list with Windows line ends reads as with LF.
std::string WithCrLf(const std::string& list) {
    std::string text;
    for (char c : list) text += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return text;
}

TEST_F(ChordCommands, SetChordsPutsTheListInPlaceOfTheSongsChords) {
    struct Case {
        const char* Behaviour;
        std::string List;
        std::string Chords;   // what chords prints for the output
        std::string Warning;  // a part of the one warning, or empty for none
    };
    const std::vector<Case> cases{
        {"the song's own chords give way", "0 C\n384 F\n768 G7\n", "0 C\n384 F\n768 G7\n", ""},
        {"two chords on one tick", "0 C\n384 F\n384 Gm\n", "0 C\n384 F\n384 Gm\n",
         "line 3: a second chord at tick 384, after line 2"},
        {"names as musicians write them", "0 C/E\n384 Bbmaj7\n768 C /E\n1152 N.C.\n",
         "0 C  /E\n384 BbMaj7\n768 C  /E\n1152 Cnc\n", ""},
        {"a chord on the song's last tick", "# notes\n\n1536 Cm7b5\n", "1536 Cm7b5\n", ""},
    };
    const std::string listFile = dir.File("list.txt");
    for (const auto& c : cases) {
        for (const std::string& list : {c.List, WithCrLf(c.List)}) {
            const bool crlf = list.size() != c.List.size();
            fs::remove(out);
            WriteFile(listFile, Bytes(list.begin(), list.end()));
            const CliResult result = RunCli({"set-chords", withChords, listFile, out});
            EXPECT_EQ(result.Status, 0) << c.Behaviour << crlf << result.Err;
            EXPECT_EQ(RunCli({"chords", out}).Out, c.Chords) << c.Behaviour << crlf;
            const auto warnings = result.ErrLines();
            if (c.Warning.empty()) {
                EXPECT_TRUE(result.Err.find("warning") == std::string::npos) << c.Behaviour << result.Err;
            } else {
                EXPECT_NE(result.Err.find(c.Warning), std::string::npos) << c.Behaviour << crlf << result.Err;
            }
            ASSERT_EQ(RunCli({"save", withChords, saved}).Status, 0);
            EXPECT_EQ(DumpWithoutChords(out), DumpWithoutChords(saved)) << c.Behaviour;
        }
    }
}

TEST_F(ChordCommands, SetChordsNamesABadLineAndWritesNothing) {
    struct Case {
        std::string List;
        std::string Error;
    };
    const std::vector<Case> cases{
        {"0 C\nx D\n", "line 2: expected \"TICK NAME\""},
        {"# notes\n\n0 Hm\n", "line 3: \"Hm\" is not a chord name"},
        {"0 C\n960 C7\n480 F\n", "line 3: tick 480 lies before the chord above it"},
        {"0 C  /X\n", "line 1: \"C  /X\" is not a chord name"},
        {"4294967296 C\n", "line 1: expected \"TICK NAME\""},
        {"0\n", "line 1: expected \"TICK NAME\""},
        {"0 C7(#11)x\n", "line 1: \"C7(#11)x\" is not a chord name"},
        {"0 C\n1537 F\n", "line 2: tick 1537 lies after the song's end at tick 1536"},
        {"0 C\n99999999 F\n", "line 2: tick 99999999 lies after the song's end at tick 1536"},
    };
    const std::string listFile = dir.File("list.txt");
    for (const auto& c : cases) {
        for (const std::string& list : {c.List, WithCrLf(c.List)}) {
            WriteFile(listFile, Bytes(list.begin(), list.end()));
            const CliResult result = RunCli({"set-chords", withChords, listFile, out});
            EXPECT_EQ(result.Status, 1) << c.List;
            EXPECT_NE(result.Err.find(c.Error), std::string::npos) << result.Err;
            EXPECT_EQ(result.ErrLines().size(), 2u) << result.Err;  // the line, and that nothing was written
            EXPECT_FALSE(fs::exists(out)) << c.List;
        }
    }
}

TEST_F(ChordCommands, ConvertAddsChordsAndCountsThem) {
    const fs::path base = dir.Path() / "base";
    fs::create_directories(base / "Midifile");
    fs::create_directories(base / "Convert");
    WriteFile(base / "Midifile" / "A.mid", SongOfNotes());
    WriteFile(base / "Midifile" / "B.mid", SongOfNotes(true));
    const CliResult result = RunCli({"convert", base.string(), "--add-chords"});
    EXPECT_EQ(result.Status, 0) << result.Err;
    EXPECT_NE(result.Out.find("2 songs: 2 converted, 0 damaged, 0 failed, 0 skipped, chords added to 1, kept in 1"),
              std::string::npos)
        << result.Out;
    EXPECT_EQ(RunCli({"chords", (base / "Convert" / "A_NO-VOC.mid").string()}).Out, "0 C\n384 F\n768 G7\n1152 C\n");
    EXPECT_EQ(RunCli({"chords", (base / "Convert" / "B_NO-VOC.mid").string()}).Out, "0 Eb7\n");
    const CliResult plainRun = RunCli({"convert", base.string()});
    EXPECT_EQ(plainRun.Out.find("chords"), std::string::npos) << plainRun.Out;
}

}  // namespace
}  // namespace tonalux::testing
