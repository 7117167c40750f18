// The format 1 writer: the meta track, one track per used channel, the track
// count, the note-off rule and the chunk lengths.
#include <gtest/gtest.h>

#include <utility>

#include "WriterFixture.h"

using namespace tonalux;
using namespace tonalux::testing;

namespace {

struct Chunk {
    std::string id;
    Bytes body;
};

// Splits a file into its chunks; every length must end exactly where the next
// chunk starts and the last one at the end of the file.
std::vector<Chunk> Chunks(const Bytes& file) {
    std::vector<Chunk> chunks;
    std::size_t at = 0;
    while (at + 8 <= file.size()) {
        const std::uint32_t length = (std::uint32_t{file[at + 4]} << 24) | (std::uint32_t{file[at + 5]} << 16) |
                                     (std::uint32_t{file[at + 6]} << 8) | file[at + 7];
        EXPECT_LE(at + 8 + length, file.size()) << "chunk at " << at << " runs past the end";
        if (at + 8 + length > file.size()) break;
        chunks.push_back({std::string(file.begin() + static_cast<std::ptrdiff_t>(at),
                                      file.begin() + static_cast<std::ptrdiff_t>(at + 4)),
                          Bytes(file.begin() + static_cast<std::ptrdiff_t>(at + 8),
                                file.begin() + static_cast<std::ptrdiff_t>(at + 8 + length))});
        at += 8 + length;
    }
    EXPECT_EQ(at, file.size()) << "bytes after the last chunk";
    return chunks;
}

int AnnouncedTracks(const Bytes& file) { return (file[10] << 8) | file[11]; }

using Format1 = WriterTest;

TEST_F(Format1, WorkedExampleOfFiftyThreeBytes) {
    midi.Division = 96;
    midi.AddTempoevent(MetaRecord(0, 0x51, {0x07, 0xA1, 0x20}));
    midi.AddMidievent(ChannelRecord(0, 0x90, 0x3C, 0x64));
    midi.AddMidievent(ChannelRecord(96, 0x80, 0x3C, 0x40));
    EXPECT_EQ(Save1(),
              "4D 54 68 64 00 00 00 06 00 01 00 02 00 60 "
              "4D 54 72 6B 00 00 00 0B 00 FF 51 03 07 A1 20 00 FF 2F 00 "
              "4D 54 72 6B 00 00 00 0C 00 90 3C 64 60 80 3C 40 00 FF 2F 00");
    EXPECT_EQ(midi.Format1TrackCount, 2);
}

TEST_F(Format1, OneTrackPerUsedChannelInAscendingOrderAfterTheMetaTrack) {
    midi.AddTempoevent(MetaRecord(0, 0x51, {0x07, 0xA1, 0x20}));
    midi.AddMidievent(ChannelRecord(7, 0x99, 36, 100));
    midi.AddMidievent(ChannelRecord(5, 0x91, 40, 100));
    midi.AddMidievent(ChannelRecord(3, 0x90, 50, 100));
    const Bytes file = Save(1);
    EXPECT_EQ(AnnouncedTracks(file), 4);
    const auto chunks = Chunks(file);
    ASSERT_EQ(chunks.size(), 5u);  // header and four tracks
    EXPECT_EQ(chunks[0].id, "MThd");
    EXPECT_EQ(Hex(chunks[1].body), "00 FF 51 03 07 A1 20 00 FF 2F 00");
    // Each channel track times its first event from the start of the track.
    EXPECT_EQ(Hex(chunks[2].body), "03 90 32 64 00 FF 2F 00");
    EXPECT_EQ(Hex(chunks[3].body), "05 91 28 64 00 FF 2F 00");
    EXPECT_EQ(Hex(chunks[4].body), "07 99 24 64 00 FF 2F 00");
    for (std::size_t i = 1; i < chunks.size(); ++i) EXPECT_EQ(chunks[i].id, "MTrk");
}

TEST_F(Format1, AllSixteenChannelsGiveSeventeenTracks) {
    midi.AddMetaevent(TextRecord(0, 0x01, "x"));
    for (std::uint8_t c = 0; c < 16; ++c) midi.AddMidievent(ChannelRecord(c, static_cast<std::uint8_t>(0xB0 | c), 7, 100));
    const Bytes file = Save(1);
    EXPECT_EQ(AnnouncedTracks(file), 17);
    EXPECT_EQ(Chunks(file).size(), 18u);
    EXPECT_EQ(midi.Format1TrackCount, 17);
}

TEST_F(Format1, MetaTrackIsWrittenAndCountedWithoutMetaEvents) {
    midi.AddMidievent(ChannelRecord(0, 0x92, 60, 100));
    const Bytes file = Save(1);
    EXPECT_EQ(AnnouncedTracks(file), 2);
    const auto chunks = Chunks(file);
    ASSERT_EQ(chunks.size(), 3u);
    EXPECT_EQ(Hex(chunks[1].body), "00 FF 2F 00");
}

TEST_F(Format1, EmptyModelGivesAHeaderAndAnEmptyMetaTrack) {
    EXPECT_EQ(Save1(), "4D 54 68 64 00 00 00 06 00 01 00 01 00 00 4D 54 72 6B 00 00 00 04 00 FF 2F 00");
}

TEST_F(Format1, NoteOnWithVelocityZeroIsWrittenAsNoteOff) {
    midi.AddMidievent(ChannelRecord(0, 0x94, 0x3C, 0x01));
    midi.AddMidievent(ChannelRecord(10, 0x94, 0x3C, 0x00));
    midi.AddMidievent(ChannelRecord(20, 0x84, 0x3C, 0x40));
    const auto chunks = Chunks(Save(1));
    ASSERT_EQ(chunks.size(), 3u);
    EXPECT_EQ(Hex(chunks[2].body), "00 94 3C 01 0A 84 3C 00 0A 84 3C 40 00 FF 2F 00");
    const MidiEvent kept = midi.GetMidievent(4, 1);  // the list keeps its note-on
    EXPECT_EQ(kept.Status, 0x94);
    EXPECT_EQ(kept.Kind, 0x90);
}

TEST_F(Format1, MetaTrackOrdersKindsAtEqualTicksWithSysexLast) {
    midi.AddSysex(SysexRecord(0, {0x43, 0xF7}));
    midi.AddLyricevent(TextRecord(0, 0x05, "a"));
    midi.AddMarkerevent(MarkerRecord(0, "M"));
    midi.AddMessure(MetaRecord(0, 0x58, {3, 2, 24, 8}));
    midi.AddTempoevent(MetaRecord(480, 0x51, {0x07, 0xA1, 0x20}));
    const auto chunks = Chunks(Save(1));
    ASSERT_EQ(chunks.size(), 2u);
    EXPECT_EQ(Hex(chunks[1].body),
              "00 FF 58 04 03 02 18 08 00 FF 06 01 4D 00 FF 05 01 61 00 F0 02 43 F7 83 60 FF 51 03 07 A1 20 00 FF 2F 00");
}

TEST_F(Format1, ChannelListOutOfOrderIsWrittenInTickOrder) {
    midi.AddMidievent(ChannelRecord(0, 0x90, 60, 1));
    midi.AddMidievent(ChannelRecord(10, 0x90, 61, 2));
    midi.AddMidievent(ChannelRecord(10, 0x90, 62, 3));
    midi.EditMidievent(0, 0, ChannelRecord(10, 0x90, 60, 1));
    midi.EditMidievent(0, 1, ChannelRecord(20, 0x90, 61, 2));
    const auto chunks = Chunks(Save(1));
    ASSERT_EQ(chunks.size(), 3u);
    EXPECT_EQ(Hex(chunks[2].body), "0A 90 3C 01 00 90 3E 03 0A 90 3D 02 00 FF 2F 00");
}

TEST_F(Format1, RecordWithoutBytesLeavesTheNextEventAtItsTrueTime) {
    midi.AddMidievent(ChannelRecord(10, 0x90, 60, 100));
    MidiEvent odd = ChannelRecord(50, 0x90, 61, 100);
    odd.Kind = 0xF0;
    midi.AddMidievent(odd);
    midi.AddMidievent(ChannelRecord(100, 0x80, 60, 0));
    const auto chunks = Chunks(Save(1));
    ASSERT_EQ(chunks.size(), 3u);
    EXPECT_EQ(Hex(chunks[2].body), "0A 90 3C 64 5A 80 3C 00 00 FF 2F 00");
}

}  // namespace
