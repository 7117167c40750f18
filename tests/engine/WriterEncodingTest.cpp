// The writers' byte encoders: variable-length quantities at their limits,
// and files far larger than the old fixed buffer.
#include <gtest/gtest.h>

#include <utility>

#include "WriterFixture.h"

using namespace tonalux;
using namespace tonalux::testing;

namespace {

using Encoding = WriterTest;

TEST_F(Encoding, VariableLengthQuantitiesAtTheirBoundaries) {
    const std::pair<std::uint32_t, const char*> cases[] = {
        {0, "00"},
        {127, "7F"},
        {128, "81 00"},
        {8192, "C0 00"},
        {16383, "FF 7F"},
        {16384, "81 80 00"},
        {0x1FFFFF, "FF FF 7F"},
        {0x200000, "81 80 80 00"},
        {0x0FFFFFFF, "FF FF FF 7F"},
        // Beyond what a file's delta time may hold: five groups, which the
        // reader takes back to the same 32-bit value.
        {0x10000000, "81 80 80 80 00"},
        {0xFFFFFFFF, "8F FF FF FF 7F"},
    };
    for (const auto& [value, hex] : cases) {
        midi.InitWritePuffer();
        midi.WriteVarLength(value);
        EXPECT_EQ(Hex(midi.WrittenBytes()), hex) << value;
    }
}

TEST_F(Encoding, DeltaTimesAtTheirBoundariesReadBackToTheSameTicks) {
    const std::uint32_t ticks[] = {0,           127, 255, 16383 + 255, 16384 + 16383 + 255, 0x0FFFFFFF + 16384 + 16383 + 255,
                                   0xFFFFFFFF};
    for (std::uint32_t tick : ticks) midi.AddMidievent(ChannelRecord(tick, 0x90, 60, 100));
    const Bytes file = Save(0);
    EXPECT_EQ(Hex(Bytes(file.begin() + 22, file.end() - 4)),
              "00 90 3C 64 7F 90 3C 64 81 00 90 3C 64 FF 7F 90 3C 64 81 80 00 90 3C 64 FF FF FF 7F 90 3C 64 "
              "8E FF FD FE 02 90 3C 64");
    ASSERT_TRUE(Load(file));
    ASSERT_EQ(midi.GetSizeMidievents(0), 7);
    for (int i = 0; i < 7; ++i) EXPECT_EQ(midi.GetMidievent(0, i).Tick, ticks[i]);
}

TEST_F(Encoding, MetaLengthBeyondOneByteUsesTwoGroups) {
    midi.AddMetaevent(MetaRecord(0, 0x01, Bytes(200, 'a')));
    const Bytes file = Save(0);
    EXPECT_EQ(Hex(Bytes(file.begin() + 22, file.begin() + 27)), "00 FF 01 81 48");
    EXPECT_EQ(file.size(), 22u + 5 + 200 + 4);
}

TEST_F(Encoding, FilesAboveFiveMillionBytesComeOutWhole) {
    // Five system-exclusive blocks of 1.1 million bytes each, 1000 ticks
    // apart, and 100,000 notes one tick apart across the 16 channels.
    constexpr std::uint32_t kBlock = 1100000;
    constexpr std::uint32_t kNotes = 100000;
    for (std::uint32_t i = 0; i < 5; ++i) {
        Bytes body(kBlock, static_cast<std::uint8_t>(i));
        body.back() = 0xF7;
        midi.AddSysex(SysexRecord(i * 1000, body));
    }
    for (std::uint32_t i = 0; i < kNotes; ++i) {
        midi.AddMidievent(ChannelRecord(i, static_cast<std::uint8_t>(0x90 | (i % 16)), 60, 100));
    }
    // F0, a three-byte length and the block; a note is delta, status and two data bytes.
    constexpr std::size_t kSysexBytes = 5 * (1 + 3 + kBlock);
    constexpr std::size_t kNoteBytes = kNotes * 4;
    // In one track every delta is one byte. In the meta track the first
    // delta is one byte and the four of 1000 ticks two; each channel track
    // starts at a delta below 16.
    const std::size_t expected[] = {22 + (5 + kSysexBytes) + kNoteBytes + 4,
                                    14 + 8 + (1 + 4 * 2 + kSysexBytes) + 4 + 16 * (8 + 4) + kNoteBytes};
    const Bytes files[] = {Save(0, "big0.mid"), Save(1, "big1.mid")};
    for (int format : {0, 1}) {
        const Bytes& file = files[format];
        EXPECT_EQ(file.size(), expected[format]);
        EXPECT_EQ(Hex(Bytes(file.end() - 4, file.end())), "00 FF 2F 00");
        ASSERT_TRUE(Load(file));
        ASSERT_EQ(midi.GetSizeSysexEvents(), 5);
        EXPECT_EQ(midi.GetSysex(4).Tick, 4000u);
        EXPECT_EQ(midi.GetSysex(4).Length, kBlock);
        EXPECT_EQ(midi.GetSysex(4).Data[kBlock - 2], 4);
        EXPECT_EQ(midi.GetSysex(4).Data[kBlock - 1], 0xF7);
        EXPECT_EQ(midi.GetSizeMidievents(15), static_cast<int>(kNotes / 16));
        EXPECT_EQ(midi.GetMidievent(15, 0).Tick, 15u);
    }
}

}  // namespace
