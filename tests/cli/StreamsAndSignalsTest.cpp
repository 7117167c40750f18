// Inputs and outputs that are no regular files (pipes, FIFOs, devices, a
// terminal), and a conversion stopped by a signal: every song written is
// complete, no temporary file is left, and the tool says how far it came.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <thread>

#include "CliRunner.h"
#include "CliSongs.h"

namespace fs = std::filesystem;

namespace tonalux::testing {
namespace {

// Writes the bytes into a FIFO once a reader opens it, or reads it whole.
std::thread FeedFifo(const std::string& fifo, const Bytes& bytes) {
    return std::thread([fifo, bytes] { WriteFile(fifo, bytes); });
}
std::thread DrainFifo(const std::string& fifo, Bytes& into) {
    return std::thread([fifo, &into] { into = ReadFile(fifo); });
}

class Streams : public ::testing::Test {
protected:
    void SetUp() override {
        WriteFile(song, CliSong());
        ASSERT_EQ(RunCli({"save", song, saved}).Status, 0);
        ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    }
    TempDir dir;
    std::string song = dir.File("song.mid");
    std::string saved = dir.File("saved.mid");
    std::string fifo = dir.File("fifo.mid");
};

TEST_F(Streams, PipesFifosAndDevicesAreReadAsSongs) {
    auto feeder = FeedFifo(fifo, CliSong());
    const auto fromFifo = RunCli({"save", fifo, dir.File("from-fifo.mid")});
    feeder.join();
    ASSERT_EQ(fromFifo.Status, 0) << fromFifo.Err;
    EXPECT_EQ(Hex(ReadFile(dir.File("from-fifo.mid"))), Hex(ReadFile(saved)));

    // A pipe the shell hands over as a name, as in `info <(cat song.mid)`.
    const auto piped = RunCli({"info", "/dev/stdin"}, {}, {song, ""});
    ASSERT_EQ(piped.Status, 0) << piped.Err;
    EXPECT_NE(piped.Out.find("vocoder     channel 3 (threshold 5)\n"), std::string::npos) << piped.Out;

    struct Case {
        std::string input;
        std::string error;
    };
    const std::vector<Case> cases{
        {"/dev/null", "tonalux-cli info: /dev/null: not a MIDI file (incorrect fileheader)\n"},
        {dir.Path().string(), "tonalux-cli info: cannot read " + dir.Path().string() + ": Is a directory\n"},
    };
    for (const auto& c : cases) {
        const auto result = RunCli({"info", c.input});
        EXPECT_EQ(result.Status, 1) << c.input;
        EXPECT_EQ(result.Err, c.error) << c.input;
    }
}

TEST_F(Streams, DevicesAndFifosAsOutputsAreWrittenDirectly) {
    const auto toNull = RunCli({"save", song, "/dev/null"});
    EXPECT_EQ(toNull.Status, 0) << toNull.Err;
    EXPECT_EQ(StatusOf("/dev/null").Kind, FileKind::Device);

    Bytes drained;
    auto drainer = DrainFifo(fifo, drained);
    const auto toFifo = RunCli({"save", song, fifo});
    drainer.join();
    ASSERT_EQ(toFifo.Status, 0) << toFifo.Err;
    EXPECT_EQ(Hex(drained), Hex(ReadFile(saved)));
    EXPECT_EQ(StatusOf(fifo).Kind, FileKind::Pipe);

    const auto full = RunCli({"save", song, "/dev/full"});
    EXPECT_EQ(full.Status, 1);
    EXPECT_EQ(full.Err, "tonalux-cli save: could not write /dev/full: No space left on device\n");
}

TEST_F(Streams, ATerminalGetsNoSongUnlessForced) {
    for (const std::string out : {"-", "/dev/tty"}) {
        const auto refused = RunCliOnTerminal({"save", song, out});
        EXPECT_EQ(refused.Status, 1) << out;
        EXPECT_NE(refused.Out.find("refusing to write a binary song to the terminal"), std::string::npos)
            << refused.Out;
        EXPECT_EQ(refused.Out.find("MThd"), std::string::npos) << out;
    }
    const auto forced = RunCliOnTerminal({"save", song, "-", "--force"});
    EXPECT_EQ(forced.Status, 0) << forced.Out;
    EXPECT_NE(forced.Out.find("MThd"), std::string::npos);
}

TEST(StoppedConversion, EndsAfterTheSongBeingWrittenLeavesNoTemporaryFileAndSaysHowFarItCame) {
    struct Case {
        int signal;
        const char* name;
        int status;
    };
    constexpr std::size_t kSongs = 600;
    for (const Case& c : {Case{SIGINT, "SIGINT", 130}, Case{SIGTERM, "SIGTERM", 143}, Case{SIGHUP, "SIGHUP", 129}}) {
        TempDir base;
        fs::create_directories(base.Path() / "Midifile");
        fs::create_directories(base.Path() / "Convert");
        for (std::size_t i = 0; i < kSongs; ++i)
            WriteFile(base.Path() / "Midifile" / ("S" + std::to_string(1000 + i) + ".mid"), CliSong(3, 5));
        const pid_t child =
            StartProgram({TONALUX_CLI_PATH, "convert", base.Path().string()}, {}, "", base.File("out"), base.File("err"));
        ASSERT_GT(child, 0);
        // The signal comes once the first song is on disk, in the middle of the run.
        while (!fs::exists(base.Path() / "Convert" / "S1000_VOC-3.mid")) std::this_thread::yield();
        ::kill(child, c.signal);
        const int status = WaitForProgram(child);
        ASSERT_TRUE(WIFEXITED(status)) << c.name << " ended the tool at once";
        EXPECT_EQ(WEXITSTATUS(status), c.status) << c.name;

        const auto written = fs::directory_iterator(base.Path() / "Convert");
        std::size_t outputs = 0;
        for (const auto& entry : written) {
            ++outputs;
            EXPECT_EQ(entry.path().extension(), ".mid") << entry.path();
            EXPECT_EQ(Hex(ReadFile(entry.path())), Hex(ReadFile(base.Path() / "Convert" / "S1000_VOC-3.mid")));
        }
        ASSERT_LT(outputs, kSongs) << c.name << " came after the last song";
        EXPECT_EQ(SlurpText(base.File("err")), "tonalux-cli convert: stopped by " + std::string(c.name) +
                                                   " after " + std::to_string(outputs) + " of " +
                                                   std::to_string(kSongs) +
                                                   " songs; the others were not converted\n");
        EXPECT_NE(SlurpText(base.File("out")).find(std::to_string(outputs) + " converted"), std::string::npos)
            << SlurpText(base.File("out"));
    }
}

}  // namespace
}  // namespace tonalux::testing
