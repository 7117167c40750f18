// The vocoder services as the folder conversion uses them: read, remove the
// vocoder messages, find the vocoder channel, write.
#include <gtest/gtest.h>

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

const Bytes kVocoder = {0x43, 0x10, 0x4C, 0x04, 0x00, 0x20, 0x7F, 0xF7};
const Bytes kGmOn = {0x7E, 0x7F, 0x09, 0x01, 0xF7};

TEST(VocoderRoundTrip, WrittenSongKeepsEverythingButTheVocoderMessages) {
    testing::RecordingHost host;
    testing::TempDir dir;
    const auto in = dir.Path() / "song.mid";
    const auto out = dir.Path() / "song_VOC-3.mid";
    WriteFile(in, SongBuilder(0, 96)
                      .AddTrack(Track()
                                    .Sysex(0, kGmOn)
                                    .Sysex(10, kVocoder)
                                    .Note(10, 0x92, 60, 4)
                                    .Sysex(10, kVocoder)
                                    .Note(76, 0x82, 60, 0)
                                    .Note(0, 0x91, 64, 100)
                                    .Note(96, 0x81, 64, 0)
                                    .End())
                      .Bytes());
    const Bytes before = ReadFile(in);

    StandardMidifile engine(nullptr);
    ASSERT_TRUE(engine.LoadMidifile(in.string()));
    engine.DeleteVocoderNachrichten();
    EXPECT_EQ(engine.VocoderKanalAnalyse(), 3);
    engine.SaveMidifile(0, out.string());

    EXPECT_EQ(Hex(ReadFile(out)), Hex(SongBuilder(0, 96)
                                          .AddTrack(Track()
                                                        .Sysex(0, kGmOn)
                                                        .Note(20, 0x92, 60, 4)
                                                        // equal ticks: lower channel first
                                                        .Note(86, 0x91, 64, 100)
                                                        .Note(0, 0x82, 60, 0)
                                                        .Note(96, 0x81, 64, 0)
                                                        .End())
                                          .Bytes()));
    EXPECT_EQ(ReadFile(in), before);
    EXPECT_TRUE(host.messages.empty());
    engine.InitHauptcontainer();
}

}  // namespace
}  // namespace tonalux
