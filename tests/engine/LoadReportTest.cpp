// The report of the last load: whether and where damage was met, and how many
// records the lists hold afterwards.
#include <gtest/gtest.h>

#include <new>

#include "LoadFixture.h"
#include "SongBuilder.h"
#include "StandardMidifile.h"
#include "TestSupport.h"

using namespace tonalux;
using namespace tonalux::testing;

namespace {

using LoadReportTest = LoadTest;

// Header (14 bytes), then two tracks. The first chunk starts at 14, its events
// at 22; the second chunk starts right behind the first.
Bytes TwoTrackSong() {
    SongBuilder song(1, 96);
    song.AddTrack(Track()
                      .Tempo(0, 500000)                            // typed list
                      .Text(0, 0x01, "hello")                      // meta list
                      .Sysex(0, {0x43, 0x10, 0x4C, 0x04, 0x01, 0xF7})  // system-exclusive list
                      .Chord(0, 0x31, 0)                           // typed list
                      .End());
    song.AddTrack(Track().Program(0, 0, 3).Note(0, 0x90, 60, 100).Running(96, {60, 0}).End());
    return song.Bytes();
}

std::uint32_t SecondChunkStart(const Bytes& song) {
    return 14 + 8 + (static_cast<std::uint32_t>(song[18]) << 24 | static_cast<std::uint32_t>(song[19]) << 16 |
                     static_cast<std::uint32_t>(song[20]) << 8 | song[21]);
}

TEST_F(LoadReportTest, CleanLoadCountsTheRecordsOfEveryList) {
    ASSERT_TRUE(Load(TwoTrackSong()));
    const LoadReport& report = midi.LastLoadReport();
    EXPECT_FALSE(report.Damaged);
    EXPECT_EQ(report.DamageOffset, 0u);
    EXPECT_EQ(report.DamageTrack, -1);
    // Tempo, text, chord, system-exclusive, program change and two notes.
    EXPECT_EQ(report.Records, 7u);
    EXPECT_EQ(midi.GetSizeTempoevents(), 1);
    EXPECT_EQ(midi.GetSizeYamChordEvents(), 1);
}

TEST_F(LoadReportTest, TruncatedLoadNamesTheTrackAndTheChunkThatRunsPastTheEnd) {
    const Bytes full = TwoTrackSong();
    const std::uint32_t second = SecondChunkStart(full);
    // Cut inside the second note of the second track.
    const Bytes cut(full.begin(), full.end() - 5);
    ASSERT_TRUE(Load(cut));
    EXPECT_EQ(host.messages, std::vector<std::string>{"Byteread Error!"});
    const LoadReport& report = midi.LastLoadReport();
    EXPECT_TRUE(report.Damaged);
    EXPECT_EQ(report.DamageOffset, second + 4);  // the length that claims more than the file holds
    EXPECT_EQ(report.DamageTrack, 1);
    EXPECT_EQ(report.Records, 6u);
}

TEST_F(LoadReportTest, DamageInsideATrackGivesItsOffsetAndTrack) {
    SongBuilder song(1, 96);
    song.AddTrack(Track().Note(0, 0x90, 60, 100).End());
    // The second chunk's events start at 14 + 16 + 8: a note (4 bytes), then
    // delta 0 and the undefined status 0xF4.
    song.AddTrack(Track().Note(0, 0x91, 62, 100).Raw({0x00, 0xF4}).Note(0, 0x81, 62, 0).End());
    ASSERT_TRUE(Load(song.Bytes()));
    const LoadReport& report = midi.LastLoadReport();
    EXPECT_TRUE(report.Damaged);
    EXPECT_EQ(report.DamageOffset, 14u + 16u + 8u + 4u + 1u);
    EXPECT_EQ(report.DamageTrack, 1);
    EXPECT_EQ(report.Records, 3u);
}

TEST_F(LoadReportTest, DamageOutsideATrackHasNoTrack) {
    SongBuilder song(1, 96);
    song.AddTrack(Track().Note(0, 0x90, 60, 100).End());
    song.AnnounceTracks(3);
    const Bytes bytes = song.Bytes();
    ASSERT_TRUE(Load(bytes));
    const LoadReport& report = midi.LastLoadReport();
    EXPECT_TRUE(report.Damaged);
    EXPECT_EQ(report.DamageOffset, bytes.size());  // where the second track should begin
    EXPECT_EQ(report.DamageTrack, -1);
    EXPECT_EQ(report.Records, 1u);
}

TEST_F(LoadReportTest, EveryLoadReplacesTheReport) {
    Bytes damaged = TwoTrackSong();
    damaged.resize(damaged.size() - 5);
    ASSERT_TRUE(Load(damaged));
    ASSERT_TRUE(midi.LastLoadReport().Damaged);

    // A load that fails: no file.
    host.messages.clear();
    EXPECT_FALSE(midi.LoadMidifile(dir.File("missing.mid")));
    EXPECT_EQ(host.messages, std::vector<std::string>{"FileOpenError!"});
    EXPECT_FALSE(midi.LastLoadReport().Damaged);
    EXPECT_EQ(midi.LastLoadReport().DamageTrack, -1);
    EXPECT_EQ(midi.LastLoadReport().Records, 0u);

    // A rejected header leaves the lists empty and is no damage.
    ASSERT_TRUE(Load(TwoTrackSong()));
    Bytes wrongHeader = TwoTrackSong();
    wrongHeader[3] = 'D';
    EXPECT_FALSE(Load(wrongHeader));
    EXPECT_EQ(host.messages, std::vector<std::string>{"incorrect fileheader"});
    EXPECT_FALSE(midi.LastLoadReport().Damaged);
    EXPECT_EQ(midi.LastLoadReport().Records, 0u);
}

// A host that fails like an exhausted memory when damage is reported, so a
// load breaks off in the middle of a track.
class FailingHost : public RecordingHost {
public:
    void ShowMessage(const std::string& text) override {
        RecordingHost::ShowMessage(text);
        if (text == "Byteread Error!") throw std::bad_alloc();
    }
};

TEST(LoadReportFailure, ALoadBrokenOffPlacesWhatItStoredAndCountsIt) {
    TempDir dir;
    FailingHost host;
    StandardMidifile midi(nullptr);
    SongBuilder song(1, 96);
    song.AddTrack(Track().Note(0, 0x90, 60, 100).Note(960, 0x80, 60, 0).Sysex(0, {0x41, 0xF7}).End());
    // The second track reaches back in time on the same channel and the
    // system-exclusive list, then meets damage.
    song.AddTrack(Track().Sysex(0, {0x43, 0xF7}).Note(480, 0x90, 64, 100).Raw({0x00, 0xF4}).End());
    WriteFile(dir.File("song.mid"), song.Bytes());

    EXPECT_FALSE(midi.LoadMidifile(dir.File("song.mid")));
    EXPECT_EQ(host.messages, (std::vector<std::string>{"Byteread Error!", "FileOpenError!"}));
    ASSERT_EQ(midi.GetSizeMidievents(0), 3);
    const std::vector<std::uint32_t> ticks{midi.GetMidievent(0, 0).Tick, midi.GetMidievent(0, 1).Tick,
                                           midi.GetMidievent(0, 2).Tick};
    EXPECT_EQ(ticks, (std::vector<std::uint32_t>{0, 480, 960}));
    EXPECT_EQ(midi.GetMidievent(0, 1).Delta, 480u);
    EXPECT_EQ(midi.GetMidievent(0, 2).Delta, 480u);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(midi.GetMidievent(0, i).Data3, 0) << i;
    ASSERT_EQ(midi.GetSizeSysexEvents(), 2);
    EXPECT_EQ(midi.GetSysex(0).Manufacturer, 0x43);  // tick 0, placed before the one at 960
    EXPECT_EQ(midi.GetSysex(1).Tick, 960u);

    const LoadReport& report = midi.LastLoadReport();
    EXPECT_TRUE(report.Damaged);
    EXPECT_EQ(report.DamageTrack, 1);
    EXPECT_EQ(report.Records, 5u);
}

}  // namespace
