#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <vector>

#include "ServiceRecords.h"
#include "StandardMidifile.h"
#include "TestSupport.h"

namespace tonalux {
namespace {

using testing::ChannelRecord;
using testing::ChordRecord;
using testing::DataOf;

class Transposition : public ::testing::Test {
protected:
    void SetUp() override { engine.InitHauptcontainer(); }
    void TearDown() override { engine.InitHauptcontainer(); }
    std::uint8_t Trans(int interval, std::uint8_t root) { return engine.YamByteTrans(interval, root); }
    std::vector<std::uint8_t> ChordBytes(int index) { return DataOf(engine.GetYamchord(index)); }

    testing::RecordingHost host;
    StandardMidifile engine{nullptr};
};

// ---- chord root bytes -----------------------------------------------------------

TEST_F(Transposition, RootBytesMoveBySemitonesAndWrapAroundTheOctave) {
    EXPECT_EQ(Trans(2, 0x31), 0x32);   // C -> D
    EXPECT_EQ(Trans(-1, 0x31), 0x37);  // C -> B
    EXPECT_EQ(Trans(1, 0x37), 0x31);   // B -> C
    EXPECT_EQ(Trans(25, 0x31), 0x41);  // C -> C#
    EXPECT_EQ(Trans(-13, 0x31), 0x37); // C -> B
    EXPECT_EQ(Trans(3, 0x33), 0x35);   // E -> G
}

TEST_F(Transposition, EveryPitchComesBackInItsFixedSpelling) {
    // C C# D Eb E F F# G Ab A Bb B
    const std::array<std::uint8_t, 12> fixed = {0x31, 0x41, 0x32, 0x23, 0x33, 0x34,
                                                0x44, 0x35, 0x26, 0x36, 0x27, 0x37};
    for (int k = 0; k < 12; ++k) EXPECT_EQ(Trans(k, 0x31), fixed[static_cast<std::size_t>(k)]) << k;
}

TEST_F(Transposition, IntervalZeroRespellsTheSeventeenSpellings) {
    const std::vector<std::pair<std::uint8_t, std::uint8_t>> cases = {
        {0x31, 0x31}, {0x41, 0x41}, {0x22, 0x41}, {0x32, 0x32}, {0x42, 0x23}, {0x23, 0x23},
        {0x33, 0x33}, {0x34, 0x34}, {0x44, 0x44}, {0x25, 0x44}, {0x35, 0x35}, {0x45, 0x26},
        {0x26, 0x26}, {0x36, 0x36}, {0x46, 0x27}, {0x27, 0x27}, {0x37, 0x37}};
    for (auto [from, to] : cases) EXPECT_EQ(Trans(0, from), to) << std::hex << unsigned(from);
}

TEST_F(Transposition, RareSpellingsAreKnownByTheirPitch) {
    EXPECT_EQ(Trans(0, 0x21), 0x37);  // Cb is B
    EXPECT_EQ(Trans(0, 0x43), 0x34);  // E# is F
    EXPECT_EQ(Trans(0, 0x47), 0x31);  // B# is C
    EXPECT_EQ(Trans(0, 0x24), 0x33);  // Fb is E
    EXPECT_EQ(Trans(0, 0x12), 0x31);  // Dbb is C
    EXPECT_EQ(Trans(0, 0x55), 0x36);  // G## is A
    EXPECT_EQ(Trans(0, 0x01), 0x36);  // Cbbb is A
    EXPECT_EQ(Trans(0, 0x67), 0x32);  // B### is D
    EXPECT_EQ(Trans(2, 0x21), 0x41);  // Cb up two is C#
}

TEST_F(Transposition, BytesThatSpellNoNoteStayAsTheyAre) {
    for (int k : {-25, -1, 0, 1, 7, 1000}) {
        EXPECT_EQ(Trans(k, 0x7F), 0x7F);
        EXPECT_EQ(Trans(k, 0x30), 0x30);  // no letter
        EXPECT_EQ(Trans(k, 0x38), 0x38);  // letter 8
        EXPECT_EQ(Trans(k, 0x71), 0x71);  // accidental 7
        EXPECT_EQ(Trans(k, 0x00), 0x00);
        EXPECT_EQ(Trans(k, 0xFF), 0xFF);
    }
}

TEST_F(Transposition, ExtremeIntervalsStillLandOnANote) {
    EXPECT_EQ(Trans(INT_MAX, 0x31), 0x35);  // 2147483647 = 7 mod 12: C -> G
    EXPECT_EQ(Trans(INT_MIN, 0x31), 0x33);  // -2147483648 = 4 mod 12: C -> E
    EXPECT_EQ(Trans(1200, 0x35), 0x35);
    EXPECT_EQ(Trans(-1201, 0x35), 0x44);  // G down a semitone is F#
}

// ---- chord events ----------------------------------------------------------------

TEST_F(Transposition, ChordAndBassRootMoveTypesStay) {
    engine.AddYamchord(ChordRecord(0, 0x31, 10, 0x33, 2));  // Cm7/E
    engine.AddYamchord(ChordRecord(480, 0x35, 0));           // G, no bass
    engine.Yamchordtranspose(3);
    EXPECT_EQ(ChordBytes(0), (std::vector<std::uint8_t>{0x43, 0x7B, 0x01, 0x23, 10, 0x35, 2}));  // Ebm7/G
    EXPECT_EQ(ChordBytes(1), (std::vector<std::uint8_t>{0x43, 0x7B, 0x01, 0x27, 0, 0x7F, 0x7F}));  // Bb
}

TEST_F(Transposition, ChordRangeIncludesBothEnds) {
    for (std::uint32_t tick : {959u, 960u, 961u}) engine.AddYamchord(ChordRecord(tick, 0x31, 0));
    engine.YamchordTransFromTo(2, 960, 960);
    EXPECT_EQ(ChordBytes(0)[3], 0x31);
    EXPECT_EQ(ChordBytes(1)[3], 0x32);
    EXPECT_EQ(ChordBytes(2)[3], 0x31);

    engine.YamchordTransFromTo(1, 959, 961);
    EXPECT_EQ(ChordBytes(0)[3], 0x41);
    EXPECT_EQ(ChordBytes(1)[3], 0x23);
    EXPECT_EQ(ChordBytes(2)[3], 0x41);

    engine.YamchordTransFromTo(5, 2000, 100);  // empty range
    EXPECT_EQ(ChordBytes(1)[3], 0x23);
}

TEST_F(Transposition, ChordsSharingOneBlockMoveOnceEach) {
    const MetaEvent chord = ChordRecord(0, 0x31, 0);
    engine.AddYamchord(chord);
    engine.AddYamchord(chord);
    engine.Yamchordtranspose(2);
    EXPECT_EQ(ChordBytes(0)[3], 0x32);
    EXPECT_EQ(ChordBytes(1)[3], 0x32);
    EXPECT_EQ(chord.Data[3], 0x31);  // the caller's copy keeps what it held
}

TEST_F(Transposition, ChordRecordTooShortIsLeftAlone) {
    MetaEvent stub = ChordRecord(0, 0x31, 0);
    stub.Length = 4;
    engine.AddYamchord(stub);
    EXPECT_TRUE(engine.Yamchordtranspose(2));
    EXPECT_EQ(engine.GetYamchord(0).Data[3], 0x31);
}

// ---- notes -------------------------------------------------------------------------

TEST_F(Transposition, NoteOnsAndOffsMoveOtherMessagesKeepTheirBytes) {
    engine.AddMidievent(ChannelRecord(0, 0x90, 60, 100));
    engine.AddMidievent(ChannelRecord(10, 0xB0, 60, 64));
    engine.AddMidievent(ChannelRecord(20, 0xA0, 60, 30));
    engine.AddMidievent(ChannelRecord(30, 0x80, 60, 64));
    engine.AddMidievent(ChannelRecord(40, 0x90, 60, 0));
    engine.TransposeChannel(0, 12);
    const std::vector<std::pair<int, int>> expected = {{72, 100}, {60, 64}, {60, 30}, {72, 64}, {72, 0}};
    ASSERT_EQ(engine.GetSizeMidievents(0), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(engine.GetMidievent(0, i).Data1, expected[static_cast<std::size_t>(i)].first) << i;
        EXPECT_EQ(engine.GetMidievent(0, i).Data2, expected[static_cast<std::size_t>(i)].second) << i;
    }
}

TEST_F(Transposition, OnlyTheGivenChannelMoves) {
    engine.AddMidievent(ChannelRecord(0, 0x93, 60, 100));
    engine.AddMidievent(ChannelRecord(0, 0x94, 60, 100));
    engine.TransposeChannel(3, -5);
    EXPECT_EQ(engine.GetMidievent(3, 0).Data1, 55);
    EXPECT_EQ(engine.GetMidievent(4, 0).Data1, 60);
    EXPECT_TRUE(engine.TransposeChannel(16, 3));  // no such channel: nothing happens
    EXPECT_TRUE(engine.TransposeChannel(-1, 3));
    EXPECT_EQ(engine.GetMidievent(3, 0).Data1, 55);
}

TEST_F(Transposition, NotesLeavingTheRangeComeBackByWholeOctaves) {
    for (std::uint8_t key : {0, 5, 60, 120, 127}) engine.AddMidievent(ChannelRecord(key, 0x90, key, 90));
    for (std::uint8_t key : {0, 5, 60, 120, 127}) engine.AddMidievent(ChannelRecord(key, 0x80, key, 0));
    engine.TransposeChannel(0, 10);
    // 0+10=10, 5+10=15, 70, 130->118, 137->125
    const std::vector<int> up = {10, 15, 70, 118, 125};
    for (int i = 0; i < 10; ++i) EXPECT_EQ(engine.GetMidievent(0, i).Data1, up[static_cast<std::size_t>(i / 2)]) << i;

    engine.InitHauptcontainer();
    for (std::uint8_t key : {0, 5, 60, 127}) engine.AddMidievent(ChannelRecord(key, 0x90, key, 90));
    engine.TransposeChannel(0, -7);
    // -7->5, -2->10, 53, 120
    const std::vector<int> down = {5, 10, 53, 120};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(engine.GetMidievent(0, i).Data1, down[static_cast<std::size_t>(i)]) << i;
}

TEST_F(Transposition, LargeIntervalsKeepThePitchClassInRange) {
    engine.AddMidievent(ChannelRecord(0, 0x90, 60, 90));
    engine.AddMidievent(ChannelRecord(1, 0x80, 61, 0));
    engine.TransposeChannel(0, 1000);
    for (int i = 0; i < 2; ++i) {
        const int note = engine.GetMidievent(0, i).Data1;
        EXPECT_LE(note, 127);
        EXPECT_EQ(note % 12, (60 + i + 1000) % 12);
        EXPECT_GT(note, 127 - 12);  // as high as it can go
    }
    engine.TransposeChannel(0, INT_MIN);
    for (int i = 0; i < 2; ++i) {
        const int note = engine.GetMidievent(0, i).Data1;
        EXPECT_GE(note, 0);
        EXPECT_LT(note, 12);  // as low as it can go
        EXPECT_EQ(note, static_cast<int>(((60LL + i + 1000 + INT_MIN) % 12 + 12) % 12));
    }
}

TEST_F(Transposition, NoteRangeIncludesBothEnds) {
    // The note-off at 200 ends the note-on at 100 and moves only with it.
    engine.AddMidievent(ChannelRecord(100, 0x90, 60, 90));
    engine.AddMidievent(ChannelRecord(200, 0x80, 60, 0));
    engine.AddMidievent(ChannelRecord(201, 0x90, 60, 90));
    engine.TransposeChannelFromTo(0, 2, 101, 200);
    EXPECT_EQ(engine.GetMidievent(0, 0).Data1, 60);
    EXPECT_EQ(engine.GetMidievent(0, 1).Data1, 60);
    EXPECT_EQ(engine.GetMidievent(0, 2).Data1, 60);
    engine.TransposeChannelFromTo(0, 2, 100, 200);
    EXPECT_EQ(engine.GetMidievent(0, 0).Data1, 62);
    EXPECT_EQ(engine.GetMidievent(0, 1).Data1, 62);
    EXPECT_EQ(engine.GetMidievent(0, 2).Data1, 60);
    engine.TransposeChannelFromTo(0, 2, 201, 201);
    EXPECT_EQ(engine.GetMidievent(0, 2).Data1, 62);
    engine.TransposeChannelFromTo(0, 2, -5, 99);
    EXPECT_EQ(engine.GetMidievent(0, 0).Data1, 62);
}

}  // namespace
}  // namespace tonalux
