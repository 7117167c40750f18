// Memory and work of loading and saving stay bounded by what a file really
// holds: absurd track counts and lengths cost nothing, many tracks and a
// megabyte of noise are handled in linear time. No test here reads a clock:
// the inputs are large enough that a quadratic path would run for many
// minutes, past the time-out ctest gives every engine test.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "LoadFixture.h"
#include "SongBuilder.h"
#include "StandardMidifile.h"
#include "TestSupport.h"

using namespace tonalux;
using namespace tonalux::testing;

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

// A value of /proc/self/status in kilobytes, or -1.
long StatusKilobytes(const std::string& key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(key + ":", 0) == 0) return std::stol(line.substr(key.size() + 1));
    }
    return -1;
}

// Peak resident memory gained while it lives. The kernel's peak is reset at
// the start where that is allowed; otherwise growth over the earlier peak is
// measured, which can only be smaller.
class PeakMemory {
public:
    PeakMemory() {
        std::ofstream("/proc/self/clear_refs") << "5";
        start_ = StatusKilobytes("VmHWM");
    }
    long GrowthMegabytes() const { return (StatusKilobytes("VmHWM") - start_) / 1024; }

private:
    long start_;
};

Bytes Header(std::uint16_t tracks) {
    Bytes bytes{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1};
    AppendBE(bytes, tracks, 2);
    AppendBE(bytes, 96, 2);
    return bytes;
}

// Noise from a fixed seed, the same on every run.
Bytes Noise(std::size_t size, std::uint32_t seed) {
    Bytes bytes(size);
    for (auto& byte : bytes) {
        seed = seed * 1664525u + 1013904223u;
        byte = static_cast<std::uint8_t>(seed >> 24);
    }
    return bytes;
}

using BoundedResources = LoadTest;

TEST_F(BoundedResources, AnnouncedButAbsentTracksCostNothing) {
    SongBuilder song(1, 96);
    song.AddTrack(Track().Note(0, 0x90, 60, 100).Note(96, 0x80, 60, 0).End());
    song.AnnounceTracks(65535);
    const PeakMemory memory;
    EXPECT_TRUE(Load(song.Bytes()));
    EXPECT_LE(memory.GrowthMegabytes(), 8);
    EXPECT_EQ(midi.GetSizeMidievents(0), 2);
    EXPECT_EQ(host.messages, std::vector<std::string>{"Byteread Error!"});
}

TEST_F(BoundedResources, FourGigabyteLengthsAllocateNothing) {
    // A chunk that claims 4 GB, holding a note, a meta event that claims 4 GB
    // (the largest length a five-byte quantity gives) and nothing behind it.
    Bytes chunk = Header(1);
    Append(chunk, {'M', 'T', 'r', 'k', 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x90, 60, 100});
    Append(chunk, {0x00, 0xFF, 0x01, 0x8F, 0xFF, 0xFF, 0xFF, 0x7F, 'a', 'b', 'c'});
    // The same with a system-exclusive event, in a chunk of honest length
    // followed by a second chunk that must still be read.
    SongBuilder song(1, 96);
    song.AddTrack(Track().Note(0, 0x91, 62, 100).Raw({0x00, 0xF0, 0x8F, 0xFF, 0xFF, 0xFF, 0x7F, 0x43, 0xF7}));
    song.AddTrack(Track().Note(0, 0x92, 64, 100).End());
    // A meta length whose quantity runs on through the rest of the file.
    Bytes endless = Header(1);
    Append(endless, {'M', 'T', 'r', 'k', 0, 0x10, 0, 0, 0x00, 0xFF, 0x01});
    endless.resize(endless.size() + 1024 * 1024, 0xFF);

    const PeakMemory memory;
    EXPECT_TRUE(Load(chunk));
    EXPECT_EQ(midi.GetSizeMidievents(0), 1);
    EXPECT_EQ(midi.GetSizeMetaEvents(), 0);
    EXPECT_EQ(host.messages, std::vector<std::string>{"Byteread Error!"});

    EXPECT_TRUE(Load(song.Bytes()));
    EXPECT_EQ(midi.GetSizeMidievents(1), 1);
    EXPECT_EQ(midi.GetSizeMidievents(2), 1);
    EXPECT_EQ(midi.GetSizeSysexEvents(), 0);
    EXPECT_EQ(host.messages, std::vector<std::string>{"Byteread Error!"});

    EXPECT_TRUE(Load(endless));
    EXPECT_EQ(midi.GetSizeMetaEvents(), 0);
    EXPECT_EQ(host.messages, std::vector<std::string>{"Byteread Error!"});

    // The megabyte of the last file is read into memory once; nothing is
    // allocated for the lengths the files claim.
    EXPECT_LE(memory.GrowthMegabytes(), kSanitized ? 64 : 16);
}

TEST_F(BoundedResources, SixtyFiveThousandTracksLoadAndSaveInLinearTime) {
    // Every track holds ten notes on channel 1 from tick 0 to 190 and so
    // reaches back to tick 0 on the list the earlier tracks already took to
    // tick 190: 1,310,700 records, nearly all of them behind their list. Put
    // in place one by one, they would move some 10^12 records.
    constexpr int kTracks = 65535;
    constexpr std::uint32_t kNotes = 10;
    Track track;
    for (std::uint32_t n = 0; n < kNotes; ++n) track.Note(n ? 10 : 0, 0x90, 60, 100).Note(10, 0x80, 60, 0);
    const Bytes body = track.End().Body();
    Bytes bytes = Header(kTracks);
    for (int t = 0; t < kTracks; ++t) {
        Append(bytes, {'M', 'T', 'r', 'k'});
        AppendBE(bytes, static_cast<std::uint32_t>(body.size()), 4);
        Append(bytes, body);
    }
    const PeakMemory memory;
    ASSERT_TRUE(Load(bytes));
    EXPECT_TRUE(host.messages.empty());
    constexpr int kRecords = kTracks * 2 * kNotes;
    ASSERT_EQ(midi.GetSizeMidievents(0), kRecords);
    // Stable by tick: every track's note-on at tick 0 first, then their
    // note-offs at tick 10, and every track's last note-off at the end.
    EXPECT_EQ(midi.GetMidievent(0, kTracks - 1).Tick, 0u);
    EXPECT_EQ(midi.GetMidievent(0, kTracks).Tick, 10u);
    EXPECT_EQ(midi.GetMidievent(0, kTracks).Kind, 0x80);
    EXPECT_EQ(midi.GetMidievent(0, kRecords - 1).Tick, 2 * kNotes * 10 - 10);
    EXPECT_TRUE(midi.SaveMidifile(0, dir.File("out0.mid")));
    EXPECT_TRUE(midi.SaveMidifile(1, dir.File("out1.mid")));
    // 1.3 million records of 20 bytes, their save sequence, the file and
    // the output: some tens of megabytes.
    EXPECT_LE(memory.GrowthMegabytes(), kSanitized ? 512 : 160);
    // Every note of every track, in one track of the format 0 file.
    EXPECT_EQ(ReadFile(dir.File("out0.mid")).size(), 22u + std::size_t{kRecords} * 4 + 4);
}

TEST_F(BoundedResources, OneMegabyteOfRandomBytesLoadsAsFarAsItIsSound) {
    const std::size_t megabyte = 1024 * 1024;
    // Noise as it comes, noise behind a header that announces every track,
    // and noise without system bytes (0xF0 and above) as the events of one
    // chunk: delta times, channel messages and running status all the way.
    Bytes noise = Noise(megabyte, 7);
    Bytes headed = Header(65535);
    Append(headed, Noise(megabyte - headed.size(), 11));
    Bytes events = Header(1);
    Append(events, {'M', 'T', 'r', 'k'});
    AppendBE(events, static_cast<std::uint32_t>(megabyte - events.size() - 4), 4);
    for (std::uint8_t byte : Noise(megabyte - events.size(), 13)) events.push_back(byte >= 0xF0 ? byte & 0x7F : byte);

    for (const Bytes* file : {&noise, &headed, &events}) {
        ASSERT_EQ(file->size(), megabyte);
        Load(*file);
        EXPECT_LE(host.messages.size(), 1u);
    }
    // The noise in the chunk is read as events to its end.
    EXPECT_GT(ChannelEvents(), 100000);
}

}  // namespace
