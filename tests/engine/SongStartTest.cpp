// Start at the first note: the whole song moves so that its earliest note
// starts at tick 0.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ServiceRecords.h"
#include "SongBuilder.h"
#include "StandardMidifile.h"
#include "TestSupport.h"

namespace tonalux {
namespace {

using testing::Bytes;
using testing::SongBuilder;
using testing::Track;
using testing::WriteFile;

class SongStart : public ::testing::Test {
protected:
    void TearDown() override { engine.InitHauptcontainer(); }
    bool Load(const SongBuilder& song, bool startAtFirstNote) {
        const auto file = dir.Path() / "song.mid";
        WriteFile(file, song.Bytes());
        engine.SetStartFirstNote(startAtFirstNote);
        return engine.LoadMidifile(file.string());
    }
    std::vector<std::uint32_t> ChannelTicks(int channel) {
        std::vector<std::uint32_t> ticks;
        for (int i = 0; i < engine.GetSizeMidievents(channel); ++i) ticks.push_back(engine.GetMidievent(channel, i).Tick);
        return ticks;
    }

    testing::RecordingHost host;
    testing::TempDir dir;
    StandardMidifile engine{nullptr};
};

TEST_F(SongStart, SingleTrackStartsAtItsFirstNote) {
    const SongBuilder song = SongBuilder(0, 480).AddTrack(
        Track().Program(0, 0, 5).Note(1920, 0x90, 60, 100).Event(480, 0xB0, {7, 100}).End());
    ASSERT_TRUE(Load(song, true));
    EXPECT_EQ(ChannelTicks(0), (std::vector<std::uint32_t>{0, 0, 480}));
    EXPECT_EQ(engine.GetMidievent(0, 0).Kind, 0xC0);  // the program change keeps its place
    EXPECT_EQ(engine.GetMidievent(0, 1).Kind, 0x90);
    EXPECT_FALSE(engine.GetStartFirstNote());
}

TEST_F(SongStart, AllThreeTracksOfAFormatOneSongMoveTogether) {
    const SongBuilder song =
        SongBuilder(1, 96)
            .AddTrack(Track().Tempo(0, 500000).Text(960, 0x06, "Intro").Text(1040, 0x05, "la").End())
            .AddTrack(Track().Program(0, 0, 1).Note(1000, 0x90, 60, 100).Note(480, 0x80, 60, 64).End())
            .AddTrack(Track()
                          .Sysex(500, {0x7E, 0x7F, 0x09, 0x01, 0xF7})
                          .Note(1420, 0x91, 62, 90)
                          .Chord(480, 0x31, 0)
                          .Note(0, 0x81, 62, 0)
                          .End());
    ASSERT_TRUE(Load(song, true));
    // The earliest note lies at 1000 in the second track.
    EXPECT_EQ(ChannelTicks(0), (std::vector<std::uint32_t>{0, 0, 480}));
    EXPECT_EQ(ChannelTicks(1), (std::vector<std::uint32_t>{920, 1400}));
    ASSERT_EQ(engine.GetSizeTempoevents(), 1);
    EXPECT_EQ(engine.GetTempoevent(0).Tick, 0u);
    ASSERT_EQ(engine.GetSizeMarkerEvents(), 1);
    EXPECT_EQ(engine.GetMarkerevent(0).Tick, 0u);  // lay before the first note
    ASSERT_EQ(engine.GetSizeLyricEvents(), 1);
    EXPECT_EQ(engine.GetLyricevent(0).Tick, 1000u);
    ASSERT_EQ(engine.GetSizeSysexEvents(), 1);
    EXPECT_EQ(engine.GetSysex(0).Tick, 0u);
    ASSERT_EQ(engine.GetSizeYamChordEvents(), 1);
    EXPECT_EQ(engine.GetYamchord(0).Tick, 1400u);
    EXPECT_FALSE(engine.GetStartFirstNote());
}

TEST_F(SongStart, NoteOffAndSilentNoteOnCountAsNotes) {
    const SongBuilder song = SongBuilder(1, 96)
                                 .AddTrack(Track().Note(300, 0x90, 60, 0).Note(100, 0x90, 60, 80).End())
                                 .AddTrack(Track().Note(200, 0x82, 40, 0).Note(100, 0x92, 40, 80).End());
    ASSERT_TRUE(Load(song, true));
    EXPECT_EQ(ChannelTicks(0), (std::vector<std::uint32_t>{100, 200}));
    EXPECT_EQ(ChannelTicks(2), (std::vector<std::uint32_t>{0, 100}));
}

TEST_F(SongStart, WithoutTheOptionTicksAreAsRead) {
    const SongBuilder song = SongBuilder(1, 96)
                                 .AddTrack(Track().Tempo(0, 500000).End())
                                 .AddTrack(Track().Program(0, 0, 1).Note(1000, 0x90, 60, 100).End());
    ASSERT_TRUE(Load(song, false));
    EXPECT_EQ(ChannelTicks(0), (std::vector<std::uint32_t>{0, 1000}));
    EXPECT_FALSE(engine.GetStartFirstNote());
}

TEST_F(SongStart, SongWithoutNotesKeepsItsTicksAndTheOption) {
    const SongBuilder song = SongBuilder(0, 96).AddTrack(Track().Program(200, 0, 1).Tempo(100, 500000).End());
    ASSERT_TRUE(Load(song, true));
    EXPECT_EQ(ChannelTicks(0), (std::vector<std::uint32_t>{200}));
    EXPECT_EQ(engine.GetTempoevent(0).Tick, 300u);
    EXPECT_TRUE(engine.GetStartFirstNote());
}

}  // namespace
}  // namespace tonalux
