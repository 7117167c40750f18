#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string>
#include <vector>

#include "ServiceRecords.h"
#include "StandardMidifile.h"
#include "TestSupport.h"

namespace tonalux {
namespace {

using testing::ChordRecord;
using testing::DataOf;
using testing::LyricRecord;
using testing::TextOf;

class ChordConversion : public ::testing::Test {
protected:
    void SetUp() override { engine.InitHauptcontainer(); }
    void TearDown() override { engine.InitHauptcontainer(); }

    // The lyric list as "tick:text" entries.
    std::vector<std::string> Lyrics() {
        std::vector<std::string> out;
        for (int i = 0; i < engine.GetSizeLyricEvents(); ++i) {
            const MetaEvent e = engine.GetLyricevent(i);
            out.push_back(std::to_string(e.Tick) + ":" + TextOf(e));
        }
        return out;
    }

    testing::RecordingHost host;
    StandardMidifile engine{nullptr};
};

TEST_F(ChordConversion, ChordLyricIsPercentAndNameWithClosingZero) {
    const MetaEvent lyric = engine.ChToMeta("F#m7", 1920);
    EXPECT_EQ(lyric.Tick, 1920u);
    EXPECT_EQ(lyric.Delta, 0u);
    EXPECT_EQ(lyric.Status, 0xFF);
    EXPECT_EQ(lyric.Type, 0x05);
    EXPECT_EQ(lyric.Length, 5u);
    EXPECT_EQ(DataOf(lyric), (std::vector<std::uint8_t>{0x25, 0x46, 0x23, 0x6D, 0x37}));
    EXPECT_EQ(lyric.Data[5], 0);

    const MetaEvent empty = engine.ChToMeta("", 0);
    EXPECT_EQ(empty.Length, 1u);
    EXPECT_EQ(DataOf(empty), (std::vector<std::uint8_t>{0x25}));
    EXPECT_EQ(empty.Data[1], 0);
}

TEST_F(ChordConversion, ChordLyricTickOutsideTheTickRangeIsBroughtToItsEnd) {
    EXPECT_EQ(engine.ChToMeta("C", -5).Tick, 0u);
    // The largest long: past the last tick where a long has 64 bits, the
    // largest tick it can name where it has 32 (Windows).
    const auto largest = std::numeric_limits<long>::max();
    EXPECT_EQ(engine.ChToMeta("C", largest).Tick, std::min<unsigned long long>(largest, 0xFFFFFFFFu));
}

TEST_F(ChordConversion, ChordsAtTicksBeyondWhatA32BitLongHoldsKeepTheirTicks) {
    for (const std::uint32_t tick : {0x7FFFFFFFu, 0x80000000u, 0xFFFFFFF0u}) {
        engine.InitHauptcontainer();
        engine.AddYamchord(ChordRecord(tick, 0x31, 0));
        engine.YamahaChordToKetron();
        EXPECT_EQ(Lyrics(), std::vector<std::string>{std::to_string(tick) + ":%C"});
    }
}

TEST_F(ChordConversion, EveryChordBecomesALyricAtItsTick) {
    engine.AddYamchord(ChordRecord(0, 0x31, 0));
    engine.AddYamchord(ChordRecord(960, 0x31, 0, 0x33));
    engine.AddYamchord(ChordRecord(1920, 0x44, 10));
    EXPECT_TRUE(engine.YamahaChordToKetron());
    EXPECT_EQ(Lyrics(), (std::vector<std::string>{"0:%C", "960:%C  /E", "1920:%F#m7"}));
    EXPECT_EQ(engine.GetLyricevent(1).Length, 6u);
    EXPECT_EQ(engine.GetSizeYamChordEvents(), 3);  // the chord events stay
}

TEST_F(ChordConversion, ChordLyricsGoAfterSungLyricsOfTheSameTick) {
    engine.AddLyricevent(LyricRecord(0, "Hel"));
    engine.AddLyricevent(LyricRecord(960, "lo"));
    engine.AddLyricevent(LyricRecord(2000, "world"));
    engine.AddYamchord(ChordRecord(0, 0x35, 0));
    engine.AddYamchord(ChordRecord(960, 0x31, 0));
    engine.AddYamchord(ChordRecord(960, 0x32, 8));
    engine.AddYamchord(ChordRecord(3000, 0x36, 8));
    engine.YamahaChordToKetron();
    EXPECT_EQ(Lyrics(), (std::vector<std::string>{"0:Hel", "0:%G", "960:lo", "960:%C", "960:%Dm", "2000:world",
                                                  "3000:%Am"}));
}

TEST_F(ChordConversion, ASongWithoutChordsGetsNoLyric) {
    engine.AddLyricevent(LyricRecord(10, "la"));
    EXPECT_TRUE(engine.YamahaChordToKetron());
    EXPECT_EQ(Lyrics(), (std::vector<std::string>{"10:la"}));
}

TEST_F(ChordConversion, UndecodableChordStopsTheConversionKeepingTheLyricsBeforeIt) {
    engine.AddYamchord(ChordRecord(0, 0x31, 0));
    engine.AddYamchord(ChordRecord(480, 0x7F, 0));
    engine.AddYamchord(ChordRecord(960, 0x32, 0));
    EXPECT_THROW(engine.YamahaChordToKetron(), ChordDecodeError);
    EXPECT_EQ(Lyrics(), (std::vector<std::string>{"0:%C"}));
}

TEST_F(ChordConversion, DeletingChordLyricsKeepsEveryOtherLyric) {
    engine.AddLyricevent(LyricRecord(0, "%C"));
    engine.AddLyricevent(LyricRecord(10, "la"));
    engine.AddLyricevent(LyricRecord(20, "%G7"));
    engine.AddLyricevent(LyricRecord(30, "100%"));
    engine.AddLyricevent(LyricRecord(40, ""));
    engine.AddLyricevent(LyricRecord(50, "%"));
    EXPECT_TRUE(engine.DelAllKetronChords());
    EXPECT_EQ(Lyrics(), (std::vector<std::string>{"10:la", "30:100%", "40:"}));
    EXPECT_TRUE(engine.DelAllKetronChords());
    EXPECT_EQ(Lyrics().size(), 3u);
}

TEST_F(ChordConversion, RenewingChordLyricsReplacesTheOldOnes) {
    engine.AddYamchord(ChordRecord(0, 0x31, 0));
    engine.YamahaChordToKetron();
    engine.Yamchordtranspose(2);
    engine.DelAllKetronChords();
    engine.YamahaChordToKetron();
    EXPECT_EQ(Lyrics(), (std::vector<std::string>{"0:%D"}));
}

TEST_F(ChordConversion, DeletingAllChordsEmptiesTheChordList) {
    EXPECT_TRUE(engine.DeleteAllYamChords());
    engine.AddYamchord(ChordRecord(0, 0x31, 0));
    engine.AddYamchord(ChordRecord(5, 0x32, 0));
    EXPECT_TRUE(engine.DeleteAllYamChords());
    EXPECT_EQ(engine.GetSizeYamChordEvents(), 0);
}

}  // namespace
}  // namespace tonalux
