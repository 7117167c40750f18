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
