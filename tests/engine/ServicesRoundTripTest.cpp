// The engine services on songs read from disk and written again: what the
// written file holds, and that the song read is never changed.
#include <gtest/gtest.h>

#include <functional>

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

class ServicesRoundTrip : public ::testing::Test {
protected:
    void TearDown() override { engine.InitHauptcontainer(); }

    // Writes `input`, reads it, applies `edit`, saves as format 0 and returns
    // the bytes written; the input file must come out unchanged.
    Bytes Convert(const Bytes& input, const std::function<void(StandardMidifile&)>& edit) {
        const auto in = dir.Path() / "song.mid";
        const auto out = dir.Path() / "out.mid";
        WriteFile(in, input);
        EXPECT_TRUE(engine.LoadMidifile(in.string()));
        edit(engine);
        EXPECT_TRUE(engine.SaveMidifile(0, out.string()));
        EXPECT_EQ(ReadFile(in), input);
        return ReadFile(out);
    }

    testing::RecordingHost host;
    testing::TempDir dir;
    StandardMidifile engine{nullptr};
};

const Bytes kVocoder = {0x43, 0x10, 0x4C, 0x04, 0x00, 0x20, 0x7F, 0xF7};
const Bytes kGmOn = {0x7E, 0x7F, 0x09, 0x01, 0xF7};

TEST_F(ServicesRoundTrip, WrittenSongKeepsEverythingButTheVocoderMessages) {
    const Bytes input = SongBuilder(0, 96)
                            .AddTrack(Track()
                                          .Sysex(0, kGmOn)
                                          .Sysex(10, kVocoder)
                                          .Note(10, 0x92, 60, 4)
                                          .Sysex(10, kVocoder)
                                          .Note(76, 0x82, 60, 0)
                                          .Note(0, 0x91, 64, 100)
                                          .Note(96, 0x81, 64, 0)
                                          .End())
                            .Bytes();
    int vocoderChannel = 0;
    const Bytes output = Convert(input, [&](StandardMidifile& e) {
        e.DeleteVocoderNachrichten();
        vocoderChannel = e.VocoderKanalAnalyse();
    });
    EXPECT_EQ(vocoderChannel, 3);
    EXPECT_EQ(Hex(output), Hex(SongBuilder(0, 96)
                                   .AddTrack(Track()
                                                 .Sysex(0, kGmOn)
                                                 .Note(20, 0x92, 60, 4)
                                                 // equal ticks: lower channel first
                                                 .Note(86, 0x91, 64, 100)
                                                 .Note(0, 0x82, 60, 0)
                                                 .Note(96, 0x81, 64, 0)
                                                 .End())
                                   .Bytes()));
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(ServicesRoundTrip, TransposedAndExchangedChannelsAreWrittenOnTheirNewChannels) {
    const Bytes input = SongBuilder(0, 96)
                            .AddTrack(Track()
                                          .Event(0, 0xB0, {0x07, 0x64})
                                          .Note(0, 0x90, 60, 100)
                                          .Note(48, 0x99, 36, 90)
                                          .Note(48, 0x80, 60, 64)
                                          .Note(48, 0x89, 36, 64)
                                          .End())
                            .Bytes();
    const Bytes output = Convert(input, [](StandardMidifile& e) {
        e.TransposeChannel(0, 12);
        e.TransposeChannel(9, -40);  // 36 - 40 is below 0: up an octave to 8
        e.TrackChanging(0, 9);
    });
    EXPECT_EQ(Hex(output), Hex(SongBuilder(0, 96)
                                   .AddTrack(Track()
                                                 .Event(0, 0xB9, {0x07, 0x64})
                                                 .Note(0, 0x99, 72, 100)
                                                 .Note(48, 0x90, 8, 90)
                                                 .Note(48, 0x89, 72, 64)
                                                 .Note(48, 0x80, 8, 64)
                                                 .End())
                                   .Bytes()));
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(ServicesRoundTrip, KeyboardChordIsWrittenAsAChordLyric) {
    const Bytes input = SongBuilder(0, 96).AddTrack(Track().Chord(1920, 0x44, 10).End()).Bytes();
    const Bytes output = Convert(input, [](StandardMidifile& e) {
        ASSERT_EQ(e.GetSizeYamChordEvents(), 1);
        e.YamahaChordToKetron();
        e.DeleteAllYamChords();
    });
    // Delta 1920 is 8F 00.
    EXPECT_EQ(Hex(output),
              Hex(SongBuilder(0, 96)
                      .AddTrack(Track().Raw({0x8F, 0x00, 0xFF, 0x05, 0x05, 0x25, 0x46, 0x23, 0x6D, 0x37}).End())
                      .Bytes()));
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(ServicesRoundTrip, TransposedChordsAreWrittenWithTheirNewRoots) {
    const Bytes input = SongBuilder(0, 96)
                            .AddTrack(Track().Chord(0, 0x31, 0, 0x33, 0).Chord(96, 0x35, 2).Text(0, 0x05, "la").End())
                            .Bytes();
    const Bytes output = Convert(input, [](StandardMidifile& e) { e.Yamchordtranspose(3); });

    // Reading the written song again gives Eb/G and BbMaj7.
    WriteFile(dir.Path() / "up3.mid", output);
    ASSERT_TRUE(engine.LoadMidifile((dir.Path() / "up3.mid").string()));
    ASSERT_EQ(engine.GetSizeYamChordEvents(), 2);
    EXPECT_EQ(engine.YamChordCalculate(engine.GetYamchord(0)), "Eb  /G");
    EXPECT_EQ(engine.YamChordCalculate(engine.GetYamchord(1)), "BbMaj7");
    EXPECT_EQ(engine.GetYamchord(1).Tick, 96u);
    EXPECT_EQ(engine.GetSizeLyricEvents(), 1);
}

}  // namespace
}  // namespace tonalux
