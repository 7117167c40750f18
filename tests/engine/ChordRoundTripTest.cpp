// Chord services on songs read from disk and written again.
#include <gtest/gtest.h>

#include "ServiceRecords.h"
#include "SongBuilder.h"
#include "StandardMidifile.h"
#include "TestSupport.h"

namespace tonalux {
namespace {

using testing::Bytes;
using testing::Hex;
using testing::ReadFile;
using testing::SongBuilder;
using testing::Track;
using testing::WriteFile;

class ChordRoundTrip : public ::testing::Test {
protected:
    void TearDown() override { engine.InitHauptcontainer(); }

    testing::RecordingHost host;
    testing::TempDir dir;
    StandardMidifile engine{nullptr};
};

TEST_F(ChordRoundTrip, KeyboardChordIsWrittenAsAChordLyric) {
    const auto in = dir.Path() / "chords.mid";
    const auto out = dir.Path() / "ketron.mid";
    WriteFile(in, SongBuilder(0, 96).AddTrack(Track().Chord(1920, 0x44, 10).End()).Bytes());
    const Bytes before = ReadFile(in);
    ASSERT_TRUE(engine.LoadMidifile(in.string()));
    ASSERT_EQ(engine.GetSizeYamChordEvents(), 1);

    engine.YamahaChordToKetron();
    engine.DeleteAllYamChords();
    engine.SaveMidifile(0, out.string());

    // Delta 1920 is 8F 00.
    EXPECT_EQ(Hex(ReadFile(out)), Hex(SongBuilder(0, 96)
                                          .AddTrack(Track().Raw({0x8F, 0x00, 0xFF, 0x05, 0x05, 0x25, 0x46, 0x23,
                                                                 0x6D, 0x37})
                                                        .End())
                                          .Bytes()));
    EXPECT_EQ(ReadFile(in), before);
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(ChordRoundTrip, TransposedChordsAreWrittenWithTheirNewRoots) {
    const auto in = dir.Path() / "song.mid";
    const auto out = dir.Path() / "up3.mid";
    WriteFile(in, SongBuilder(0, 96)
                      .AddTrack(Track().Chord(0, 0x31, 0, 0x33, 0).Chord(96, 0x35, 2).Text(0, 0x05, "la").End())
                      .Bytes());
    ASSERT_TRUE(engine.LoadMidifile(in.string()));
    engine.Yamchordtranspose(3);
    engine.SaveMidifile(0, out.string());

    // Reading the written song again gives Eb/G and Bb7.
    ASSERT_TRUE(engine.LoadMidifile(out.string()));
    ASSERT_EQ(engine.GetSizeYamChordEvents(), 2);
    EXPECT_EQ(engine.YamChordCalculate(engine.GetYamchord(0)), "Eb  /G");
    EXPECT_EQ(engine.YamChordCalculate(engine.GetYamchord(1)), "Bb7");
    EXPECT_EQ(engine.GetYamchord(1).Tick, 96u);
    EXPECT_EQ(engine.GetSizeLyricEvents(), 1);
}

}  // namespace
}  // namespace tonalux
