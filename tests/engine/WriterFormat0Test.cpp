// The format 0 writer: one track with every event, the order of events at
// equal ticks, and the bytes of each kind of event.
#include <gtest/gtest.h>

#include "TurnClocks.h"
#include "WriterFixture.h"

using namespace tonalux;
using namespace tonalux::testing;

namespace {

using Format0 = WriterTest;

constexpr const char* kEnd = "00 FF 2F 00";

TEST_F(Format0, EmptyModelGivesTheTwentySixByteFile) {
    EXPECT_EQ(Save0(), "4D 54 68 64 00 00 00 06 00 00 00 01 00 00 4D 54 72 6B 00 00 00 04 00 FF 2F 00");
}

TEST_F(Format0, WorkedExampleOfFortyOneBytes) {
    midi.Division = 96;
    midi.AddTempoevent(MetaRecord(0, 0x51, {0x07, 0xA1, 0x20}));
    midi.AddMidievent(ChannelRecord(0, 0x90, 0x3C, 0x64));
    midi.AddMidievent(ChannelRecord(96, 0x80, 0x3C, 0x40));
    EXPECT_EQ(Save0(),
              "4D 54 68 64 00 00 00 06 00 00 00 01 00 60 4D 54 72 6B 00 00 00 13 "
              "00 FF 51 03 07 A1 20 00 90 3C 64 60 80 3C 40 00 FF 2F 00");
}

TEST_F(Format0, DivisionIsWrittenHighByteFirst) {
    midi.Division = 480;
    const Bytes bytes = Save(0);
    EXPECT_EQ(bytes[12], 0x01);
    EXPECT_EQ(bytes[13], 0xE0);
}

TEST_F(Format0, MetaAndSysexComeBeforeChannelEventsOfTheSameTick) {
    midi.AddMidievent(ChannelRecord(10, 0x90, 60, 100));
    midi.AddSysex(SysexRecord(10, {0x7E, 0x7F, 0x09, 0x01, 0xF7}));
    midi.AddTempoevent(MetaRecord(10, 0x51, {0x07, 0xA1, 0x20}));
    EXPECT_EQ(Save0(), Format0Head(23) + " 0A FF 51 03 07 A1 20 00 F0 05 7E 7F 09 01 F7 00 90 3C 64 " + kEnd);
}

TEST_F(Format0, ChannelsOfTheSameTickGoInAscendingOrderEachInListOrder) {
    midi.AddMidievent(ChannelRecord(0, 0x93, 60, 1));
    midi.AddMidievent(ChannelRecord(0, 0x93, 61, 2));
    midi.AddMidievent(ChannelRecord(0, 0x91, 62, 3));
    midi.AddMidievent(ChannelRecord(0, 0xB1, 7, 4));
    EXPECT_EQ(Save0(), Format0Head(20) + " 00 91 3E 03 00 B1 07 04 00 93 3C 01 00 93 3D 02 " + kEnd);
}

TEST_F(Format0, MetaKindsOfTheSameTickFollowTheirListOrder) {
    // Added in reverse of the written order: general meta, time signature,
    // tempo, marker, lyric, keyboard chord, system-exclusive.
    midi.AddSysex(SysexRecord(5, {0x43, 0xF7}));
    midi.AddYamchord(MetaRecord(5, 0x7F, {0x43, 0x7B, 0x01, 0x31, 0x00, 0x7F, 0x7F}));
    midi.AddLyricevent(TextRecord(5, 0x05, "la"));
    midi.AddMarkerevent(MarkerRecord(5, "A"));
    midi.AddTempoevent(MetaRecord(5, 0x51, {0x07, 0xA1, 0x20}));
    midi.AddMessure(MetaRecord(5, 0x58, {4, 2, 24, 8}));
    midi.AddMetaevent(MetaRecord(5, 0x59, {0, 0}));
    EXPECT_EQ(Save0(), Format0Head(52) +
                           " 05 FF 59 02 00 00"
                           " 00 FF 58 04 04 02 18 08"
                           " 00 FF 51 03 07 A1 20"
                           " 00 FF 06 01 41"
                           " 00 FF 05 02 6C 61"
                           " 00 FF 7F 07 43 7B 01 31 00 7F 7F"
                           " 00 F0 02 43 F7 " +
                           kEnd);
}

TEST_F(Format0, EventsAreTimedFromTheirTicksNotTheirStoredDelta) {
    MidiEvent early = ChannelRecord(0, 0x90, 60, 100);
    early.Delta = 77;
    MidiEvent late = ChannelRecord(128, 0x80, 60, 0);
    late.Delta = 5;
    midi.AddMidievent(early);
    midi.AddMidievent(late);
    EXPECT_EQ(Save0(), Format0Head(13) + " 00 90 3C 64 81 00 80 3C 00 " + kEnd);
}

TEST_F(Format0, EveryMessageKeepsItsStatusAndNoteOnZeroStaysANoteOn) {
    midi.AddMidievent(ChannelRecord(0, 0x94, 60, 100));
    midi.AddMidievent(ChannelRecord(1, 0x94, 60, 0));
    midi.AddMidievent(ChannelRecord(2, 0xC4, 5));
    midi.AddMidievent(ChannelRecord(3, 0xD4, 9));
    midi.AddMidievent(ChannelRecord(4, 0xE4, 0x00, 0x40));
    midi.AddMidievent(ChannelRecord(5, 0xA4, 60, 3));
    EXPECT_EQ(Save0(), Format0Head(26) + " 00 94 3C 64 01 94 3C 00 01 C4 05 01 D4 09 01 E4 00 40 01 A4 3C 03 " + kEnd);
}

TEST_F(Format0, MetaOfLengthZeroAndEventsAfterTheLastNote) {
    midi.AddMidievent(ChannelRecord(0, 0x90, 60, 100));
    midi.AddMetaevent(MetaRecord(200, 0x01, {}));
    midi.AddSysex(SysexRecord(300, {0x41, 0x10, 0xF7}));
    EXPECT_EQ(Save0(), Format0Head(19) + " 00 90 3C 64 81 48 FF 01 00 64 F0 03 41 10 F7 " + kEnd);
}

TEST_F(Format0, SysexIsWrittenBackByteForByte) {
    const Bytes body{0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00, 0xF7};
    SongBuilder song(0, 480);
    song.AddTrack(Track().Sysex(0, body).Sysex(480, {0x7E, 0x7F, 0x09, 0x01, 0xF7}).End());
    ASSERT_TRUE(Load(song.Bytes()));
    EXPECT_EQ(Save(0), song.Bytes());
}

TEST_F(Format0, ContinuationPacketIsWrittenWithItsOwnStatus) {
    midi.AddSysex(SysexRecord(0, {0x43, 0x12}));
    midi.AddSysex(SysexRecord(10, {0x00, 0xF7}, 0xF7));
    EXPECT_EQ(Save0(), Format0Head(14) + " 00 F0 02 43 12 0A F7 02 00 F7 " + kEnd);
}

TEST_F(Format0, SysexAddedOutOfOrderIsWrittenAtItsTick) {
    midi.AddSysex(SysexRecord(20, {0x01, 0xF7}));
    midi.AddSysex(SysexRecord(10, {0x02, 0xF7}));
    EXPECT_EQ(Save0(), Format0Head(14) + " 0A F0 02 02 F7 0A F0 02 01 F7 " + kEnd);
}

TEST_F(Format0, RecordWithoutBytesLeavesTheNextEventAtItsTrueTime) {
    midi.AddMidievent(ChannelRecord(0, 0x90, 60, 100));
    MidiEvent odd = ChannelRecord(50, 0x90, 61, 100);
    odd.Kind = 0x70;  // no channel message class
    midi.AddMidievent(odd);
    midi.AddMidievent(ChannelRecord(100, 0x80, 60, 0));
    MetaEvent notMeta = MetaRecord(60, 0x01, {0x41});
    notMeta.Status = 0x42;
    midi.AddMetaevent(notMeta);
    EXPECT_EQ(Save0(), Format0Head(12) + " 00 90 3C 64 64 80 3C 00 " + kEnd);
}

TEST_F(Format0, ListOutOfOrderAfterEditingIsWrittenInTickOrder) {
    midi.AddMidievent(ChannelRecord(0, 0x90, 60, 1));
    midi.AddMidievent(ChannelRecord(10, 0x90, 61, 2));
    midi.AddMidievent(ChannelRecord(20, 0x90, 62, 3));
    midi.EditMidievent(0, 0, ChannelRecord(30, 0x90, 60, 1));
    EXPECT_EQ(Save0(), Format0Head(16) + " 0A 90 3D 02 0A 90 3E 03 0A 90 3C 01 " + kEnd);
    EXPECT_EQ(midi.GetMidievent(0, 0).Tick, 30u);  // the list itself is left as it was
}

TEST_F(Format0, SavingLeavesTheListsAsTheyWereAndRepeatsItself) {
    midi.AddMidievent(ChannelRecord(5, 0x91, 60, 1));
    midi.AddMidievent(ChannelRecord(0, 0x90, 61, 2));
    midi.AddTempoevent(MetaRecord(3, 0x51, {0x07, 0xA1, 0x20}));
    const Bytes first = Save(0);
    EXPECT_EQ(midi.GetSizeMidievents(0), 1);
    EXPECT_EQ(midi.GetSizeMidievents(1), 1);
    EXPECT_EQ(midi.GetSizeTempoevents(), 1);
    Save(1, "other.mid");
    EXPECT_EQ(Save(0), first);
}

TEST_F(Format0, NamedStepsAssembleTheFileFromTheSaveSequences) {
    midi.Division = 96;
    midi.InsertSaveMidiEventToContainer(ChannelRecord(10, 0x90, 60, 1));
    midi.InsertSaveMidiEventToContainer(ChannelRecord(5, 0x91, 61, 2));
    midi.InsertSaveMidiEventToContainer(ChannelRecord(10, 0x92, 62, 3));  // after the one of the same tick
    midi.InsertSaveMetaEventToContainer(MetaRecord(10, 0x01, {0x41}));
    midi.InsertSaveMetaEventToContainer(MetaRecord(0, 0x51, {0x07, 0xA1, 0x20}));
    ASSERT_TRUE(midi.SaveMidifileFormatNull(dir.File("steps.mid")));
    EXPECT_EQ(Hex(ReadFile(dir.File("steps.mid"))),
              Format0Head(28, 96) + " 00 FF 51 03 07 A1 20 05 91 3D 02 05 FF 01 01 41 00 90 3C 01 00 92 3E 03 " + kEnd);

    // The single-record encoders take the record at the start of each sequence.
    midi.InitWritePuffer();
    midi.MetaEventToPuffer();
    midi.MidiEventToPuffer();
    midi.EndTrackSetzen();
    EXPECT_EQ(Hex(midi.WrittenBytes()), "00 FF 51 03 07 A1 20 05 91 3D 02 00 FF 2F 00");
}

TEST_F(Format0, WindowGetsTurnsByTimeNotPerEvent) {
    for (std::uint32_t i = 0; i < 20000; ++i) {
        midi.AddMidievent(ChannelRecord(i, static_cast<std::uint8_t>(0x90 | (i % 16)), 60, 100));
    }
    Bytes still;
    {
        const TurnClockFor clock(&StandingClock);
        still = Save(0);
    }
    EXPECT_EQ(host.processed, 0);  // 20,000 records, no time passed: no turn

    const TurnClockFor clock(&RacingClock);
    EXPECT_EQ(Save(0), still);  // turns change nothing in the file
    EXPECT_GT(host.processed, 0);
    EXPECT_LE(host.processed, 20000);
    EXPECT_TRUE(host.messages.empty());
}

}  // namespace
