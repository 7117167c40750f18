// The layout of a file as the reader takes it: the header's own length,
// chunks that are not tracks, and system-common messages inside a track.
#include <gtest/gtest.h>

#include "LoadFixture.h"
#include "SongBuilder.h"
#include "StandardMidifile.h"
#include "TestSupport.h"

using namespace tonalux;
using namespace tonalux::testing;

namespace {

using ReaderLayout = LoadTest;

// Bytes that read as a note-on and a system-exclusive event if a chunk of
// them were taken for a track.
const Bytes kEventLikeText{0x00, 0x90, 0x3C, 0x64, 0x00, 0xF0, 0x01, 0xF7, 'X', 'F', '0', '2'};

TEST_F(ReaderLayout, ChunksOtherThanTracksAreSkippedWhereverTheyStand) {
    SongBuilder song(1, 96);
    song.AddChunk("XFIH", kEventLikeText)
        .AddTrack(Track().Tempo(0, 500000).End())
        .AddChunk("XFKM", kEventLikeText)
        .AddTrack(Track().Note(0, 0x91, 62, 100).Note(96, 0x81, 62, 0).End())
        .AddChunk("XFIH", kEventLikeText);
    const Bytes bytes = song.Bytes();
    ASSERT_EQ(bytes[11], 2);  // the header counts the two tracks only
    ASSERT_TRUE(Load(bytes));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(midi.TrackCount, 2);
    EXPECT_EQ(midi.GetSizeTempoevents(), 1);
    EXPECT_EQ(midi.GetSizeMidievents(1), 2);
    EXPECT_EQ(midi.GetSizeMidievents(0), 0);
    EXPECT_EQ(midi.GetSizeSysexEvents(), 0);
    EXPECT_FALSE(midi.LastLoadReport().Damaged);
    EXPECT_EQ(midi.LastLoadReport().Records, 3u);
}

TEST_F(ReaderLayout, TrackIndexOfTheReportCountsTracksOnly) {
    SongBuilder song(1, 96);
    song.AddChunk("XFIH", kEventLikeText)
        .AddTrack(Track().Note(0, 0x90, 60, 100).End())
        .AddChunk("XFKM", {})
        .AddTrack(Track().Note(0, 0x91, 62, 100).Raw({0x00, 0xF5}).End());
    ASSERT_TRUE(Load(song.Bytes()));
    EXPECT_EQ(midi.LastLoadReport().DamageTrack, 1);
}

TEST_F(ReaderLayout, FirstChunkFollowsAHeaderOfTenBytes) {
    SongBuilder song(0, 96);
    song.HeaderLength(10).AddTrack(Track().Note(0, 0x90, 60, 100).Note(96, 0x80, 60, 0).End());
    const Bytes bytes = song.Bytes();
    ASSERT_EQ(Hex(Bytes(bytes.begin(), bytes.begin() + 22)),
              "4D 54 68 64 00 00 00 0A 00 00 00 01 00 60 00 00 00 00 4D 54 72 6B");
    ASSERT_TRUE(Load(bytes));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(midi.HeaderLength, 10u);
    ASSERT_EQ(midi.GetSizeMidievents(0), 2);
    EXPECT_EQ(midi.GetMidievent(0, 1).Tick, 96u);
}

TEST_F(ReaderLayout, HeaderShorterThanItsFieldsIsDamageAndReadingGoesOnAtByteFourteen) {
    SongBuilder song(0, 96);
    song.HeaderLength(2).AddTrack(Track().Note(0, 0x90, 60, 100).End());
    ASSERT_TRUE(Load(song.Bytes()));
    EXPECT_EQ(host.messages, std::vector<std::string>{"Byteread Error!"});
    EXPECT_EQ(midi.GetSizeMidievents(0), 1);
    EXPECT_TRUE(midi.LastLoadReport().Damaged);
    EXPECT_EQ(midi.LastLoadReport().DamageOffset, 4u);
    EXPECT_EQ(midi.LastLoadReport().DamageTrack, -1);
}

TEST_F(ReaderLayout, SystemCommonMessagesArePassedOverWithTheirDataBytes) {
    struct Case {
        std::uint8_t status;
        int dataBytes;
    };
    const Case cases[] = {{0xF1, 1}, {0xF2, 2}, {0xF3, 1}, {0xF6, 0}, {0xF8, 0}, {0xF9, 0},
                          {0xFA, 0}, {0xFB, 0},  {0xFC, 0}, {0xFD, 0}, {0xFE, 0}};
    for (const Case& c : cases) {
        // Data bytes 0x40 would be read as a note if the message were cut short.
        Bytes message{0x0A, c.status};
        for (int i = 0; i < c.dataBytes; ++i) message.push_back(0x40);
        SongBuilder song(0, 96);
        song.AddTrack(Track().Note(0, 0x90, 60, 100).Raw(message).Note(5, 0x80, 60, 0).End());
        ASSERT_TRUE(Load(song.Bytes())) << std::hex << int{c.status};
        EXPECT_TRUE(host.messages.empty()) << std::hex << int{c.status};
        ASSERT_EQ(midi.GetSizeMidievents(0), 2) << std::hex << int{c.status};
        EXPECT_EQ(midi.GetMidievent(0, 1).Tick, 15u) << std::hex << int{c.status};  // the delta 10 counts
        EXPECT_EQ(midi.GetMidievent(0, 1).Data1, 60) << std::hex << int{c.status};
        EXPECT_EQ(midi.GetSizeSysexEvents() + midi.GetSizeMetaEvents(), 0) << std::hex << int{c.status};
    }
}

TEST_F(ReaderLayout, SystemCommonMessageCutShortIsDamage) {
    // 0xF2 needs two data bytes; a status byte comes after one.
    SongBuilder song(0, 96);
    song.AddTrack(Track().Raw({0x00, 0xF2, 0x10, 0xFF, 0x2F, 0x00}));
    ASSERT_TRUE(Load(song.Bytes()));
    EXPECT_EQ(host.messages, std::vector<std::string>{"Byteread Error!"});
    EXPECT_EQ(midi.LastLoadReport().DamageOffset, 14u + 8u + 3u);
    EXPECT_EQ(midi.GetSizeMetaEvents() + ChannelEvents(), 0);
    // At the chunk's end.
    SongBuilder cut(0, 96);
    cut.AddTrack(Track().Note(0, 0x90, 60, 100).Raw({0x00, 0xF3}));
    ASSERT_TRUE(Load(cut.Bytes()));
    EXPECT_EQ(host.messages, std::vector<std::string>{"Byteread Error!"});
    EXPECT_EQ(midi.GetSizeMidievents(0), 1);
}

TEST_F(ReaderLayout, UndefinedStatusBytesAreDamageAndSkipped) {
    SongBuilder song(0, 96);
    song.AddTrack(Track().Note(0, 0x90, 60, 100).Raw({0x00, 0xF4}).Raw({0x00, 0xF5}).Note(0, 0x80, 60, 0).End());
    ASSERT_TRUE(Load(song.Bytes()));
    EXPECT_EQ(host.messages, std::vector<std::string>{"Byteread Error!"});
    EXPECT_EQ(midi.GetSizeMidievents(0), 2);
    EXPECT_EQ(midi.GetSizeSysexEvents() + midi.GetSizeMetaEvents(), 0);
}

}  // namespace
