// Damaged files: the reader never reads outside the file, never loops for
// ever, keeps what it could read and says "Byteread Error!" once.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "LoadFixture.h"
#include "SongBuilder.h"
#include "StandardMidifile.h"
#include "TestSupport.h"

using namespace tonalux;
using namespace tonalux::testing;

namespace {

using DamagedFile = LoadTest;

Bytes SmallSong() {
    SongBuilder song(1, 96);
    song.AddTrack(Track()
                      .Tempo(0, 500000)
                      .Text(0, 0x01, "hello")
                      .Sysex(0, {0x43, 0x10, 0x4C, 0x04, 0x01, 0xF7})
                      .Chord(0, 0x31, 0)
                      .End());
    song.AddTrack(Track()
                      .Program(0, 0, 3)
                      .Note(0, 0x90, 60, 100)
                      .Running(96, {60, 0})
                      .Event(0, 0xE0, {0, 64})
                      .End());
    return song.Bytes();
}

TEST_F(DamagedFile, TruncatedAtEveryPositionKeepsTheCompleteEventsBeforeTheCut) {
    const Bytes full = SmallSong();
    ASSERT_TRUE(Load(full));
    ASSERT_TRUE(host.messages.empty());
    const int all = ChannelEvents();
    int previous = 0;
    for (std::size_t size = 0; size < full.size(); ++size) {
        const Bytes cut(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(size));
        const bool loaded = Load(cut);
        if (size < 14) {
            EXPECT_FALSE(loaded) << size;
            EXPECT_EQ(host.messages, std::vector<std::string>{"incorrect fileheader"}) << size;
            continue;
        }
        EXPECT_TRUE(loaded) << size;
        ASSERT_EQ(host.messages.size(), 1u) << size;
        EXPECT_EQ(host.messages[0], "Byteread Error!") << size;
        const int now = ChannelEvents();
        EXPECT_GE(now, previous) << size;  // a longer file never gives fewer events
        EXPECT_LE(now, all) << size;
        previous = now;
    }
}

TEST_F(DamagedFile, AbsurdLengthsAreDamageNotAllocations) {
    // A track that claims 4 GB, a meta event that claims 256 MB.
    Bytes bytes{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96, 'M', 'T', 'r', 'k', 0xFF, 0xFF, 0xFF, 0xFF};
    Append(bytes, {0x00, 0x90, 60, 100, 0x00, 0xFF, 0x01, 0xFF, 0xFF, 0xFF, 0x7F, 'a', 'b'});
    EXPECT_TRUE(Load(bytes));
    EXPECT_EQ(host.messages, std::vector<std::string>{"Byteread Error!"});
    EXPECT_EQ(midi.GetSizeMidievents(0), 1);
    EXPECT_EQ(midi.GetSizeMetaEvents(), 0);
}

// A song whose first chunk's length is replaced, and what each channel list
// must hold after the load: the damaged track ends where the next track chunk
// whose length fits the file begins, and reading goes on with it.
struct RecoveryCase {
    const char* name;
    std::vector<Track> tracks;
    bool farPast;  // a length far past the end, or one byte past it
    std::vector<int> eventsPerChannel;
    std::uint32_t endTick;
};

TEST_F(DamagedFile, ALengthPastTheFileEndsTheTrackWhereTheNextTrackBegins) {
    const Track first = Track().Note(0, 0x90, 60, 100).Note(96, 0x80, 60, 0).End();
    const Track second = Track().Note(0, 0x91, 62, 100).Note(192, 0x81, 62, 0).End(96);
    const Track third = Track().Note(48, 0x92, 64, 100).End();
    // Without an end of track, a missed chunk would be read as events.
    const Track unended = Track().Note(0, 0x90, 60, 100).Note(96, 0x80, 60, 0);
    const std::vector<RecoveryCase> cases{
        {"three tracks", {first, second, third}, true, {2, 2, 1}, 288},
        {"three tracks, one byte past", {first, second, third}, false, {2, 2, 1}, 288},
        // The next track is the last chunk and ends exactly at the file's end.
        {"the last track next", {first, second}, true, {2, 2}, 288},
        {"the last track next, one byte past", {first, second}, false, {2, 2}, 288},
        {"an empty last chunk next", {unended, Track()}, true, {2}, 96},
        {"an empty last chunk next, one byte past", {unended, Track()}, false, {2}, 96},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SongBuilder song(1, 96);
        for (const auto& track : c.tracks) song.AddTrack(track);
        Bytes bytes = song.Bytes();
        const std::uint32_t length =
            c.farPast ? 0xFFFFFFF0u : static_cast<std::uint32_t>(bytes.size() - 22 + 1);
        for (int i = 0; i < 4; ++i) bytes[18 + i] = static_cast<std::uint8_t>(length >> (24 - 8 * i));
        ASSERT_TRUE(Load(bytes));
        EXPECT_EQ(host.messages, std::vector<std::string>{"Byteread Error!"});
        EXPECT_EQ(midi.LastLoadReport().DamageOffset, 18u);
        EXPECT_EQ(midi.LastLoadReport().DamageTrack, 0);
        for (int channel = 0; channel < 16; ++channel) {
            const std::size_t i = static_cast<std::size_t>(channel);
            EXPECT_EQ(midi.GetSizeMidievents(channel), i < c.eventsPerChannel.size() ? c.eventsPerChannel[i] : 0)
                << "channel " << channel + 1;
        }
        EXPECT_EQ(midi.GetSizeMetaEvents() + midi.GetSizeSysexEvents(), 0);
        EXPECT_EQ(midi.EndTick(), c.endTick);
    }
}

TEST_F(DamagedFile, MoreTracksAnnouncedThanPresent) {
    SongBuilder song(1, 96);
    song.AddTrack(Track().Note(0, 0x90, 60, 100).End());
    song.AnnounceTracks(65535);
    EXPECT_TRUE(Load(song.Bytes()));
    EXPECT_EQ(host.messages, std::vector<std::string>{"Byteread Error!"});
    EXPECT_EQ(midi.GetSizeMidievents(0), 1);
}

TEST_F(DamagedFile, HeaderOnly) {
    SongBuilder song(0, 96);
    song.AnnounceTracks(1);
    EXPECT_TRUE(Load(song.Bytes()));
    EXPECT_EQ(host.messages, std::vector<std::string>{"Byteread Error!"});
    EXPECT_EQ(ChannelEvents(), 0);
}

TEST_F(DamagedFile, DataByteWithNoStatusYetIsSkipped) {
    SongBuilder song(0, 96);
    song.AddTrack(Track().Running(0, {0x3C}).Note(0, 0x90, 60, 100).End());
    EXPECT_TRUE(Load(song.Bytes()));
    EXPECT_EQ(host.messages, std::vector<std::string>{"Byteread Error!"});
    EXPECT_EQ(midi.GetSizeMidievents(0), 1);
    EXPECT_EQ(midi.GetSizeSysexEvents(), 0);
}

TEST_F(DamagedFile, RandomBytesNeverCrashOrHang) {
    std::uint32_t state = 12345;
    const auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return static_cast<std::uint8_t>(state >> 24);
    };
    const Bytes good = SmallSong();
    for (int round = 0; round < 300; ++round) {
        Bytes bytes = good;
        // Flip a few bytes after the header, sometimes grow the file with noise.
        for (int k = 0; k < 1 + round % 6; ++k) bytes[14 + next() % (bytes.size() - 14)] = next();
        if (round % 3 == 0)
            for (int k = 0; k < 50; ++k) bytes.push_back(next());
        Load(bytes);
        EXPECT_LE(host.messages.size(), 1u) << round;
    }
}

}  // namespace
