#include <gtest/gtest.h>

#include <vector>

#include "ServiceRecords.h"
#include "StandardMidifile.h"
#include "TestSupport.h"

namespace tonalux {
namespace {

using testing::ChannelRecord;

class TrackChanging : public ::testing::Test {
protected:
    void SetUp() override { engine.InitHauptcontainer(); }
    void TearDown() override { engine.InitHauptcontainer(); }

    // Fills a channel with notes whose note numbers count up from base, one tick apart.
    void Fill(int channel, int count, std::uint8_t base) {
        for (int i = 0; i < count; ++i) {
            engine.AddMidievent(ChannelRecord(static_cast<std::uint32_t>(i * 10),
                                               static_cast<std::uint8_t>(0x90 | channel),
                                               static_cast<std::uint8_t>(base + i), 100));
        }
    }
    // Every event of the channel: its note number; checks channel and status on the way.
    std::vector<int> Notes(int channel) {
        std::vector<int> notes;
        for (int i = 0; i < engine.GetSizeMidievents(channel); ++i) {
            const MidiEvent e = engine.GetMidievent(channel, i);
            EXPECT_EQ(e.Channel, channel);
            EXPECT_EQ(e.Status & 0x0F, channel);
            EXPECT_EQ(e.Status & 0xF0, e.Kind);
            notes.push_back(e.Data1);
        }
        return notes;
    }

    testing::RecordingHost host;
    StandardMidifile engine{nullptr};
};

TEST_F(TrackChanging, ChannelChangingKeepsTheClassAndEveryOtherField) {
    MidiEvent e = ChannelRecord(1234, 0x93, 61, 77);
    e.Delta = 56;
    const MidiEvent moved = engine.ChannelChanging(e, 5);
    EXPECT_EQ(moved.Status, 0x95);
    EXPECT_EQ(moved.Channel, 5);
    EXPECT_EQ(moved.Kind, 0x90);
    EXPECT_EQ(moved.Tick, 1234u);
    EXPECT_EQ(moved.Delta, 56u);
    EXPECT_EQ(moved.Data1, 61);
    EXPECT_EQ(moved.Data2, 77);
    EXPECT_EQ(engine.ChannelChanging(ChannelRecord(0, 0xEF, 0, 64), 0).Status, 0xE0);
    EXPECT_EQ(engine.ChannelChanging(ChannelRecord(0, 0xC0, 5), 15).Status, 0xCF);
}

TEST_F(TrackChanging, TwoChannelsExchangeTheirEventsInOrder) {
    Fill(0, 3, 40);
    Fill(9, 5, 60);
    EXPECT_TRUE(engine.TrackChanging(0, 9));
    EXPECT_EQ(Notes(0), (std::vector<int>{60, 61, 62, 63, 64}));
    EXPECT_EQ(Notes(9), (std::vector<int>{40, 41, 42}));
    EXPECT_EQ(engine.GetMidievent(0, 4).Tick, 40u);
    // Exchanging back restores the song.
    engine.TrackChanging(9, 0);
    EXPECT_EQ(Notes(0), (std::vector<int>{40, 41, 42}));
    EXPECT_EQ(Notes(9), (std::vector<int>{60, 61, 62, 63, 64}));
}

TEST_F(TrackChanging, EventsAddedAfterTheExchangeAreStillPlacedByTick) {
    Fill(0, 3, 40);  // ticks 0..20
    Fill(9, 5, 60);  // ticks 0..40
    engine.TrackChanging(0, 9);
    engine.AddMidievent(ChannelRecord(25, 0x90, 99, 100));
    engine.AddMidievent(ChannelRecord(15, 0x99, 98, 100));
    EXPECT_EQ(Notes(0), (std::vector<int>{60, 61, 62, 99, 63, 64}));
    EXPECT_EQ(Notes(9), (std::vector<int>{40, 41, 98, 42}));
}

TEST_F(TrackChanging, AnEmptyChannelTakesTheOthersEvents) {
    Fill(2, 4, 50);
    engine.TrackChanging(2, 7);
    EXPECT_TRUE(Notes(2).empty());
    EXPECT_EQ(Notes(7), (std::vector<int>{50, 51, 52, 53}));
    engine.TrackChanging(2, 7);
    EXPECT_EQ(Notes(2), (std::vector<int>{50, 51, 52, 53}));
    EXPECT_TRUE(Notes(7).empty());
    engine.TrackChanging(11, 12);  // both empty
    EXPECT_TRUE(Notes(11).empty());
    EXPECT_TRUE(Notes(12).empty());
}

TEST_F(TrackChanging, AChannelWithItselfStaysAsItWas) {
    Fill(4, 3, 70);
    Fill(5, 2, 30);
    engine.TrackChanging(4, 4);
    EXPECT_EQ(Notes(4), (std::vector<int>{70, 71, 72}));
    EXPECT_EQ(Notes(5), (std::vector<int>{30, 31}));
}

TEST_F(TrackChanging, ChannelsOutsideZeroToFifteenChangeNothing) {
    Fill(0, 2, 10);
    EXPECT_TRUE(engine.TrackChanging(0, 16));
    EXPECT_TRUE(engine.TrackChanging(-1, 0));
    EXPECT_EQ(Notes(0), (std::vector<int>{10, 11}));
}

}  // namespace
}  // namespace tonalux
