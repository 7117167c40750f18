// The words commands: lyrics prints a song's words, karaoke writes them as
// keyboard lyrics, convert --karaoke does that for every song of a folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "CliRunner.h"
#include "CliSongs.h"

namespace fs = std::filesystem;

namespace tonalux::testing {
namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// A format 1 karaoke song in cp1250: headers in the second track, the words
// with the notes in the third, and a comment text event in the first.
Bytes KaraokeSong() {
    SongBuilder song(1, 96);
    song.AddTrack(Track().Tempo(0, 500000).End());
    song.AddTrack(Track().Text(0, 0x01, "@KMIDI KARAOKE FILE").Text(0, 0x01, "@TWlaz\xB3 kotek").End());
    song.AddTrack(Track()
                      .Text(0, 0x03, "Words")
                      .Text(0, 0x01, "\\Wlaz\xB3")
                      .Note(0, 0x90, 60, 100)
                      .Text(48, 0x01, " ko")
                      .Text(48, 0x01, "tek")
                      .Text(48, 0x01, "/na")
                      .Text(48, 0x01, " p\xB3o")
                      .Text(48, 0x01, "tek")
                      .Note(0, 0x80, 60, 0)
                      .End());
    return song.Bytes();
}

// Lyric events in UTF-8 with the marks of the MIDI recommendations.
Bytes LyricEventSong() {
    Track track;
    track.Note(0, 0x90, 60, 100)
        .Text(0, 0x05, "\xD0\x96\xD1\x83")
        .Text(10, 0x05, "\xD0\xBA \r")
        .Text(10, 0x05, "\xE2\x80\x9E" "a\xE2\x80\x9C\r\n")
        .Text(10, 0x05, "b")
        .Note(10, 0x80, 60, 0)
        .End();
    return SongBuilder(0, 96).AddTrack(track).Bytes();
}

// Notes and nothing else.
Bytes SongWithoutWords() {
    return SongBuilder(0, 96).AddTrack(Track().Note(0, 0x90, 60, 100).Note(96, 0x80, 60, 0).End()).Bytes();
}

// The dump of a song without its text and lyric records.
std::vector<std::string> DumpWithoutWords(const std::string& path) {
    auto lines = Lines(RunCli({"dump", path}).Out);
    lines.erase(std::remove_if(lines.begin(), lines.end(),
                               [](const std::string& l) {
                                   return l.find(" lyric ") != std::string::npos ||
                                          l.find("meta FF 01") != std::string::npos ||
                                          l.find("meta FF 03") != std::string::npos;
                               }),
                lines.end());
    return lines;
}

class LyricsCommands : public ::testing::Test {
protected:
    void SetUp() override {
        WriteFile(karaoke, KaraokeSong());
        WriteFile(lyricEvents, LyricEventSong());
    }
    TempDir dir;
    const std::string karaoke = dir.File("karaoke.mid");
    const std::string lyricEvents = dir.File("lyrics.mid");
    const std::string out = dir.File("out.mid");
    const std::string saved = dir.File("saved.mid");
};

TEST_F(LyricsCommands, LyricsPrintsLinesPagesAndJson) {
    struct Case {
        const char* Behaviour;
        std::vector<std::string> Args;
        std::string Out;
        std::string Note;  // the line on standard error, after the command and the file
    };
    const std::vector<Case> cases{
        {"karaoke text in cp1250", {"lyrics", karaoke}, "Wlazł kotek\nna płotek\n",
         "6 syllables from karaoke text, cp1250"},
        {"lyric events with CR and CR LF", {"lyrics", lyricEvents}, "Жук\n„a“\n\nb\n",
         "4 syllables from lyric events, utf-8"},
        {"a charset given", {"lyrics", "--from-charset", "cp1252", karaoke}, "Wlaz³ kotek\nna p³otek\n",
         "6 syllables from karaoke text, cp1252 (given)"},
        {"json",
         {"lyrics", "--json", lyricEvents},
         "{\"charset\": \"utf-8\", \"title\": \"\", \"syllables\": [\n"
         "  {\"tick\": 0, \"text\": \"Жу\", \"line\": true, \"page\": true},\n"
         "  {\"tick\": 10, \"text\": \"к\", \"line\": false, \"page\": false},\n"
         "  {\"tick\": 20, \"text\": \"„a“\", \"line\": true, \"page\": false},\n"
         "  {\"tick\": 30, \"text\": \"b\", \"line\": true, \"page\": true}\n"
         "]}\n",
         "4 syllables from lyric events, utf-8"},
    };
    for (const auto& c : cases) {
        const CliResult result = RunCli(c.Args);
        EXPECT_EQ(result.Status, 0) << c.Behaviour << result.Err;
        EXPECT_EQ(result.Out, c.Out) << c.Behaviour;
        EXPECT_EQ(result.ErrLines(), std::vector<std::string>{"tonalux-cli lyrics: " + c.Args.back() + ": " + c.Note})
            << c.Behaviour;
    }
}

TEST_F(LyricsCommands, KaraokeWritesKeyboardLyricsAndChangesNothingElse) {
    struct Case {
        const char* Behaviour;
        std::string Input;
        std::vector<std::string> Options;
        std::string Lyrics;  // what lyrics prints for the output
        std::string Note;
    };
    const std::vector<Case> cases{
        {"karaoke text becomes lyric events in its code page", karaoke, {},
         "Wlazł kotek\nna płotek\n",
         "6 syllables from karaoke text, cp1250 to cp1250, 0 characters transliterated, title as song name"},
        {"UTF-8 words in cp1252, transliterated", lyricEvents, {"--marks", "rp017"}, "Zhuk\n„a“\n\nb\n",
         "4 syllables from lyric events, utf-8 to cp1252, 3 characters transliterated"},
        {"a chosen charset and a wrap", karaoke, {"--charset", "utf-8", "--wrap", "5"},
         "Wlazł\nkotek\nna\npłotek\n",
         "6 syllables from karaoke text, cp1250 to utf-8, 0 characters transliterated, 2 lines wrapped, "
         "title as song name"},
    };
    for (const auto& c : cases) {
        fs::remove(out);
        std::vector<std::string> args{"karaoke", c.Input, out};
        args.insert(args.end(), c.Options.begin(), c.Options.end());
        const CliResult result = RunCli(args);
        EXPECT_EQ(result.Status, 0) << c.Behaviour << result.Err;
        EXPECT_EQ(result.ErrLines(), std::vector<std::string>{"tonalux-cli karaoke: " + c.Input + ": " + c.Note})
            << c.Behaviour;
        EXPECT_EQ(RunCli({"lyrics", out}).Out, c.Lyrics) << c.Behaviour;
        // No karaoke syllable remains as a text event; every other event stays.
        const std::string dump = RunCli({"dump", out}).Out;
        EXPECT_EQ(dump.find("meta FF 01 04 2F"), std::string::npos) << c.Behaviour;
        ASSERT_EQ(RunCli({"save", c.Input, saved}).Status, 0);
        EXPECT_EQ(DumpWithoutWords(out), DumpWithoutWords(saved)) << c.Behaviour;
    }
    // The karaoke headers stay.
    EXPECT_NE(RunCli({"dump", out}).Out.find("meta FF 01 13 40 4B"), std::string::npos);
}

TEST_F(LyricsCommands, SongsWithoutWordsAndWrongOptions) {
    const std::string plain = dir.File("plain.mid");
    WriteFile(plain, SongWithoutWords());
    CliResult result = RunCli({"karaoke", plain, out});
    EXPECT_EQ(result.Status, 0) << result.Err;
    EXPECT_EQ(result.ErrLines(), std::vector<std::string>{"tonalux-cli karaoke: " + plain + ": no words; copied unchanged"});
    ASSERT_EQ(RunCli({"save", plain, saved}).Status, 0);
    EXPECT_EQ(ReadFile(out), ReadFile(saved));
    result = RunCli({"lyrics", plain});
    EXPECT_EQ(result.Status, 0);
    EXPECT_EQ(result.Out, "");

    const std::vector<std::vector<std::string>> wrong{
        {"karaoke", "--marks", "xf", karaoke, out},     {"karaoke", "--charset", "latin1", karaoke, out},
        {"karaoke", "--wrap", "0", karaoke, out},       {"lyrics", "--from-charset", "koi8-r", karaoke},
        {"karaoke", "--wrap", "many", karaoke, out},
    };
    fs::remove(out);
    for (const auto& args : wrong) {
        result = RunCli(args);
        EXPECT_EQ(result.Status, 2) << args[1] << result.Err;
        EXPECT_FALSE(fs::exists(out)) << args[1];
    }
}

TEST_F(LyricsCommands, ConvertWritesTheWordsOfEverySongAndCountsThem) {
    const fs::path base = dir.Path() / "base";
    fs::create_directories(base / "Midifile");
    fs::create_directories(base / "Convert");
    WriteFile(base / "Midifile" / "A.mid", KaraokeSong());
    WriteFile(base / "Midifile" / "B.mid", LyricEventSong());
    WriteFile(base / "Midifile" / "C.mid", SongWithoutWords());
    const CliResult result = RunCli({"convert", base.string(), "--karaoke"});
    EXPECT_EQ(result.Status, 0) << result.Err;
    EXPECT_NE(result.Out.find("3 songs: 3 converted, 0 damaged, 0 failed, 0 skipped, words converted in 2, "
                              "3 characters transliterated"),
              std::string::npos)
        << result.Out;
    EXPECT_EQ(result.ErrLines(),
              (std::vector<std::string>{
                  "tonalux-cli convert: A.mid: 6 syllables from karaoke text, cp1250 to cp1250, 0 characters "
                  "transliterated, title as song name",
                  "tonalux-cli convert: B.mid: 4 syllables from lyric events, utf-8 to cp1252, 3 characters "
                  "transliterated",
                  "tonalux-cli convert: C.mid: no words"}));
    EXPECT_EQ(RunCli({"lyrics", (base / "Convert" / "A_NO-VOC.mid").string()}).Out, "Wlazł kotek\nna płotek\n");
    const CliResult plainRun = RunCli({"convert", base.string()});
    EXPECT_EQ(plainRun.Out.find("words"), std::string::npos) << plainRun.Out;
    EXPECT_EQ(plainRun.Err, "");
}

}  // namespace
}  // namespace tonalux::testing
