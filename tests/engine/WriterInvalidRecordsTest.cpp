// Records that editing can produce but no valid file holds are written as
// nothing, so the file stays readable and the next event keeps its time.
#include "WriterFixture.h"

using namespace tonalux;
using namespace tonalux::testing;

namespace {

using InvalidRecords = WriterTest;

void AddInvalidRecords(StandardMidifile& midi) {
    midi.AddMidievent(ChannelRecord(0, 0x90, 0x3C, 0x64));
    midi.AddMidievent(ChannelRecord(10, 0x90, 0xBC, 0x94));  // data bytes with bit 7
    MidiEvent noStatus = ChannelRecord(20, 0x90, 0x3C, 0);
    noStatus.Status = 0x10;  // not a status byte
    midi.AddMidievent(noStatus);
    MidiEvent wrongSize = ChannelRecord(25, 0x90, 0x3C, 0);
    wrongSize.Status = 0xC0;  // a two-byte status on a three-byte class
    midi.AddMidievent(wrongSize);
    midi.AddMetaevent(MetaRecord(5, 0x2F, {}));  // an end of track among the records
    midi.AddMidievent(ChannelRecord(30, 0x80, 0x3C, 0x40));
}

TEST_F(InvalidRecords, AreLeftOutOfBothFormats) {
    AddInvalidRecords(midi);
    EXPECT_EQ(Hex(Save(0)),
              "4D 54 68 64 00 00 00 06 00 00 00 01 00 00 4D 54 72 6B 00 00 00 0C "
              "00 90 3C 64 1E 80 3C 40 00 FF 2F 00");
    EXPECT_EQ(Hex(Save(1)),
              "4D 54 68 64 00 00 00 06 00 01 00 02 00 00 4D 54 72 6B 00 00 00 04 00 FF 2F 00 "
              "4D 54 72 6B 00 00 00 0C 00 90 3C 64 1E 80 3C 40 00 FF 2F 00");
}

TEST_F(InvalidRecords, AChannelWithoutAWritableRecordGetsNoTrack) {
    midi.AddMidievent(ChannelRecord(0, 0x90, 0x3C, 0x64));
    midi.AddMidievent(ChannelRecord(0, 0x93, 0x3C, 0xFA));
    const Bytes bytes = Save(1);
    EXPECT_EQ(Hex(Bytes(bytes.begin() + 10, bytes.begin() + 12)), "00 02");
    EXPECT_EQ(bytes.size(), 14u + 12u + 16u);  // header, meta track, the track of channel 1
}

}  // namespace
