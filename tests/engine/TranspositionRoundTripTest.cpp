// Transposition and channel exchange on a song read from disk and written again.
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

TEST(TranspositionRoundTrip, TransposedAndExchangedChannelsAreWrittenOnTheirNewChannels) {
    testing::RecordingHost host;
    testing::TempDir dir;
    const auto in = dir.Path() / "song.mid";
    const auto out = dir.Path() / "moved.mid";
    WriteFile(in, SongBuilder(0, 96)
                      .AddTrack(Track()
                                    .Event(0, 0xB0, {0x07, 0x64})
                                    .Note(0, 0x90, 60, 100)
                                    .Note(48, 0x99, 36, 90)
                                    .Note(48, 0x80, 60, 64)
                                    .Note(48, 0x89, 36, 64)
                                    .End())
                      .Bytes());
    const Bytes before = ReadFile(in);

    StandardMidifile engine(nullptr);
    ASSERT_TRUE(engine.LoadMidifile(in.string()));
    engine.TransposeChannel(0, 12);
    engine.TransposeChannel(9, -40);  // 36 - 40 is below 0: up an octave to 8
    engine.TrackChanging(0, 9);
    engine.SaveMidifile(0, out.string());

    EXPECT_EQ(Hex(ReadFile(out)), Hex(SongBuilder(0, 96)
                                          .AddTrack(Track()
                                                        .Event(0, 0xB9, {0x07, 0x64})
                                                        .Note(0, 0x99, 72, 100)
                                                        .Note(48, 0x90, 8, 90)
                                                        .Note(48, 0x89, 72, 64)
                                                        .Note(48, 0x80, 8, 64)
                                                        .End())
                                          .Bytes()));
    EXPECT_EQ(ReadFile(in), before);
    EXPECT_TRUE(host.messages.empty());
    engine.InitHauptcontainer();
}

}  // namespace
}  // namespace tonalux
