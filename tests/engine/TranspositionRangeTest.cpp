// Transposition within a tick range moves whole notes: a note-on in the range
// takes the note-off that ends it along, wherever that lies.
#include <gtest/gtest.h>

#include <vector>

#include "LoadFixture.h"
#include "SongBuilder.h"
#include "StandardMidifile.h"

using namespace tonalux;
using namespace tonalux::testing;

namespace {

class TranspositionRange : public LoadTest {
protected:
    // Loads one track on channel 0 and moves the range 100 to 200 by `interval`.
    void LoadAndMove(const Track& track, int interval) {
        SongBuilder song(0, 96);
        song.AddTrack(track);
        ASSERT_TRUE(Load(song.Bytes()));
        ASSERT_TRUE(midi.TransposeChannelFromTo(0, interval, 100, 200));
    }
    std::vector<int> Notes() {
        std::vector<int> notes;
        for (int i = 0; i < midi.GetSizeMidievents(0); ++i) notes.push_back(midi.GetMidievent(0, i).Data1);
        return notes;
    }
};

TEST_F(TranspositionRange, NotesCrossingEitherEndMoveWithTheirNoteOn) {
    LoadAndMove(Track()
                    .Note(50, 0x90, 60, 100)   //  50 on 60: before the range
                    .Note(100, 0x90, 64, 100)  // 150 on 64: in the range
                    .Note(0, 0x80, 60, 0)      // 150 off 60: ends the note before the range
                    .Note(100, 0x80, 64, 0)    // 250 off 64: ends the note in the range
                    .End(),
                2);
    EXPECT_EQ(Notes(), (std::vector<int>{60, 66, 60, 66}));
}

TEST_F(TranspositionRange, OverlappingNotesOfOneNumberPairFirstOnWithFirstOff) {
    LoadAndMove(Track()
                    .Note(0, 0x90, 60, 100)    //   0 on: outside
                    .Note(100, 0x90, 60, 100)  // 100 on: inside
                    .Note(50, 0x90, 60, 0)     // 150 velocity 0 ends the first
                    .Note(150, 0x80, 60, 0)    // 300 ends the second
                    .Note(0, 0x90, 61, 100)    // 300 on 61: outside, never ended
                    .End(),
                -3);
    EXPECT_EQ(Notes(), (std::vector<int>{60, 57, 60, 57, 61}));
}

TEST_F(TranspositionRange, NoteOffsThatEndNoNoteFollowTheRangeByTheirOwnTick) {
    LoadAndMove(Track()
                    .Note(150, 0x80, 60, 0)   // 150: in the range
                    .Note(0, 0x90, 62, 100)   // 150 on 62
                    .Note(10, 0x80, 62, 0)    // 160 ends it
                    .Note(10, 0x80, 62, 0)    // 170: a second off, ends nothing
                    .Note(130, 0x80, 60, 0)   // 300: outside
                    .Event(0, 0xA0, {60, 40}) // key pressure keeps its bytes
                    .End(),
                1);
    EXPECT_EQ(Notes(), (std::vector<int>{61, 63, 63, 63, 60, 60}));
}

TEST_F(TranspositionRange, BothEndsOfANoteFoldIntoTheNoteRangeAlike) {
    LoadAndMove(Track().Note(100, 0x90, 120, 100).Note(200, 0x80, 120, 0).Note(0, 0x90, 5, 100).End(), 10);
    EXPECT_EQ(Notes(), (std::vector<int>{118, 118, 5}));  // 130 comes back an octave
    LoadAndMove(Track().Note(150, 0x90, 5, 100).Note(150, 0x90, 5, 0).End(), -10);
    EXPECT_EQ(Notes(), (std::vector<int>{7, 7}));  // -5 comes back an octave
}

TEST_F(TranspositionRange, ManyOverlappingNotesAreStillPairedInOrder) {
    // 20,000 note-ons of one number at ticks 0..19,999, then their offs: the
    // k-th off ends the k-th on. Only the ons at 100 to 200 move, and so do
    // the offs with the same place in the queue.
    Track track;
    for (int k = 0; k < 20000; ++k) track.Note(k == 0 ? 0 : 1, 0x90, 60, 100);
    for (int k = 0; k < 20000; ++k) track.Note(1, 0x80, 60, 0);
    LoadAndMove(track.End(), 12);
    const std::vector<int> notes = Notes();
    ASSERT_EQ(notes.size(), 40000u);
    for (int k = 0; k < 20000; ++k) {
        const int expected = k >= 100 && k <= 200 ? 72 : 60;
        ASSERT_EQ(notes[static_cast<std::size_t>(k)], expected) << k;
        ASSERT_EQ(notes[static_cast<std::size_t>(20000 + k)], expected) << k;
    }
}

}  // namespace

TEST_F(TranspositionRange, ChannelsOutsideTheSixteenAreLeftAlone) {
    // Text events fill the list kept beside the channel lists, so a channel
    // number read one past them would show.
    SongBuilder song(0, 96);
    song.AddTrack(Track().Text(0, 0x01, "verse").Note(0, 0x90, 60, 100).Text(200, 0x01, "end").Note(0, 0x80, 60, 0).End());
    ASSERT_TRUE(Load(song.Bytes()));
    for (int channel : {-1, 16}) {
        EXPECT_TRUE(midi.TransposeChannel(channel, 2)) << channel;
        EXPECT_TRUE(midi.TransposeChannelFromTo(channel, 2, 0, 1000)) << channel;
        EXPECT_EQ(midi.MidiTrackEndTickFromStart(channel), 0) << channel;
    }
    EXPECT_EQ(Notes(), (std::vector<int>{60, 60}));
    EXPECT_EQ(midi.MidiTrackEndTickFromStart(0), 200);
}
