// info --json and dump --json: one JSON document, read back with Python's
// json module and compared with what the text forms say.
#include <gtest/gtest.h>

#include <cstdlib>

#include "CliRunner.h"
#include "CliSongs.h"

namespace tonalux::testing {
namespace {

class JsonOutput : public ::testing::Test {
protected:
    void SetUp() override {
        WriteFile(song, CliSong());
        WriteFile(bad, SongWithUndecodableChord());
    }
    // Runs a Python program on `json` (given as its first argument) and
    // returns what it prints; a document json.load refuses fails the test.
    std::string ReadBack(const std::string& json, const std::string& program) {
        const std::string document = dir.File("document.json");
        const std::string script = dir.File("read.py");
        std::ofstream(document) << json;
        std::ofstream(script) << "import json, sys\nd = json.load(open(sys.argv[1], encoding='utf-8'))\n" << program;
        const auto result = RunProgram("/usr/bin/python3", {script, document});
        EXPECT_EQ(result.Status, 0) << result.Err << json;
        return result.Out;
    }
    TempDir dir;
    std::string song = dir.File("song.mid");
    std::string bad = dir.File("bad.mid");
};

TEST_F(JsonOutput, DumpDocumentHoldsTheHeaderAndEveryRecordOfTheTextDump) {
    const auto json = RunCli({"dump", song, "--json"});
    ASSERT_EQ(json.Status, 0) << json.Err;
    const std::string text = ReadBack(json.Out,
                                      "h = d['header']\n"
                                      "print('header format %d tracks %d division %d' % (h['format'], h['tracks'], "
                                      "h['division']))\n"
                                      "for r in d['records']: print(r['tick'], r['list'], r['bytes'])\n");
    EXPECT_EQ(text, RunCli({"dump", song}).Out);
    EXPECT_EQ(RunProgram("/usr/bin/python3", {"-m", "json.tool", dir.File("document.json")}).Status, 0);
}

TEST_F(JsonOutput, InfoDocumentHasOneObjectPerFileAndNamesTheOnesThatCannotBeRead) {
    const auto json = RunCli({"info", song, dir.File("missing.mid"), bad, "--json", "--threshold", "4"});
    EXPECT_EQ(json.Status, 1);
    EXPECT_NE(json.Err.find("cannot read " + dir.File("missing.mid") + ": No such file or directory"), std::string::npos)
        << json.Err;
    const std::string fields = ReadBack(json.Out,
                                        "for s in d:\n"
                                        "  if 'error' in s: print(s['file'], 'error', s['error']); continue\n"
                                        "  print(s['file'], s['format'], s['tracks'], s['division'], s['last_tick'],\n"
                                        "        s['vocoder'], s['records'], s['lists']['ch1'], s['lists']['chord'],\n"
                                        "        s['lists']['sysex'], sum(s['lists'].values()), s['chords'],\n"
                                        "        s['undecodable_chords'])\n");
    EXPECT_EQ(fields, song + " 1 2 96 1056 {'channel': None, 'threshold': 4} 15 5 2 2 15 ['F#m7', 'C  /E'] []\n" +
                          dir.File("missing.mid") + " error cannot read " + dir.File("missing.mid") + ": No such file or directory\n" + bad +
                          " 0 1 96 1056 {'channel': None, 'threshold': 4} 5 2 3 0 5 ['GMaj7', 'Cm'] "
                          "[{'tick': 480, 'root': '7F'}]\n");
    const auto found = RunCli({"info", song, "--json"});
    EXPECT_EQ(ReadBack(found.Out, "print(d[0]['vocoder']['channel'])\n"), "3\n");
}

TEST_F(JsonOutput, InfoDecodesAnSmpteDivisionAndSaysWhereASongIsDamaged) {
    Track track;
    track.Note(0, 0x90, 60, 100).Note(40, 0x80, 60, 0).End();
    const struct {
        std::uint16_t Division;
        std::string Text;
        std::string Json;
    } divisions[]{
        {0xE728, "SMPTE 25 frames per second, 40 ticks per frame",
         "{'frames_per_second': 25, 'drop_frame': False, 'ticks_per_frame': 40}"},
        {0xE350, "SMPTE 29.97 (drop frame) frames per second, 80 ticks per frame",
         "{'frames_per_second': 29, 'drop_frame': True, 'ticks_per_frame': 80}"},
        {0xE804, "SMPTE 24 frames per second, 4 ticks per frame",
         "{'frames_per_second': 24, 'drop_frame': False, 'ticks_per_frame': 4}"},
        {0x7FFF, "32767", "None"},
    };
    const std::string timed = dir.File("timed.mid");
    for (const auto& division : divisions) {
        WriteFile(timed, SongBuilder(0, division.Division).AddTrack(track).Bytes());
        const auto text = RunCli({"info", timed});
        EXPECT_NE(text.Out.find("\ndivision    " + division.Text + "\n"), std::string::npos) << text.Out;
        EXPECT_EQ(ReadBack(RunCli({"info", timed, "--json"}).Out, "print(d[0].get('smpte'), d[0]['division'])\n"),
                  division.Json + " " + std::to_string(division.Division) + "\n");
    }

    const Bytes whole = CliSong();
    WriteFile(dir.File("half.mid"), Bytes(whole.begin(), whole.end() - 20));
    const auto json = RunCli({"info", dir.File("half.mid"), song, "--json"});
    EXPECT_EQ(json.Status, 1);
    EXPECT_EQ(ReadBack(json.Out, "for s in d: print(s['damaged'], s.get('damage'))\n"),
              "True {'offset': 88, 'track': 2, 'records_kept': 11}\nFalse None\n");
}

TEST_F(JsonOutput, FileNamesThatAreNoUtf8StillGiveValidJson) {
    const std::string latin1 = dir.File("Caf\xE9 \"1\".mid");
    WriteFile(latin1, CliSong());
    const auto json = RunCli({"info", latin1, "--json"});
    ASSERT_EQ(json.Status, 0) << json.Err;
    EXPECT_EQ(ReadBack(json.Out, "sys.stdout.buffer.write(d[0]['file'].encode('utf-8'))\n"),
              dir.File("Caf\xC3\xA9 \"1\".mid"));
}

}  // namespace
}  // namespace tonalux::testing
