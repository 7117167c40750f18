// Loading a song again: the same lists, the same report and the same saved
// files, in the lists' room of the load before (no list is moved); tracks
// that interleave on shared channels saved as one track in tick order; and
// the bytes of a load from memory, which the reader walks where they lie.
#include <gtest/gtest.h>

#include <memory>
#include <tuple>
#include <vector>

#include "ArrangerSong.h"
#include "LoadFixture.h"
#include "lists/Hauptcontainer.h"

using namespace tonalux;
using namespace tonalux::testing;

namespace {

// Channel 0 played by two tracks, the second reaching back in time, and
// channel 1 between them; notes end by note-off and by note-on velocity 0.
Bytes InterleavedSong() {
    SongBuilder song(1, 96);
    song.AddTrack(Track().Tempo(0, 500'000).End());
    song.AddTrack(Track()
                      .Note(0, 0x90, 0x3C, 0x64)
                      .Note(48, 0x80, 0x3C, 0x40)
                      .Note(48, 0x90, 0x3E, 0x64)
                      .Running(48, {0x3E, 0x00})
                      .End());
    song.AddTrack(Track().Note(24, 0x91, 0x40, 0x50).Note(48, 0x91, 0x40, 0x00).Program(24, 1, 5).End());
    song.AddTrack(Track().Event(0, 0xB0, {0x07, 0x64}).Event(72, 0xB0, {0x0A, 0x40}).End());
    return song.Bytes();
}

// What a load leaves: each channel record with its stored Delta, the report,
// and the song saved in both formats.
struct Loaded {
    std::vector<std::tuple<int, std::uint32_t, std::uint32_t, int, int, int>> channelRecords;
    std::tuple<bool, std::uint32_t, int, std::uint32_t> report;
    Bytes format0;
    Bytes format1;

    bool operator==(const Loaded&) const = default;
};

Loaded Capture(StandardMidifile& midi) {
    Loaded loaded;
    for (int c = 0; c < 16; ++c) {
        for (int i = 0; i < midi.GetSizeMidievents(c); ++i) {
            const MidiEvent e = midi.GetMidievent(c, i);
            loaded.channelRecords.emplace_back(c, e.Tick, e.Delta, e.Status, e.Data1, e.Data2);
        }
    }
    const LoadReport& r = midi.LastLoadReport();
    loaded.report = {r.Damaged, r.DamageOffset, r.DamageTrack, r.Records};
    EXPECT_TRUE(midi.SaveMidiBytes(0, loaded.format0));
    EXPECT_TRUE(midi.SaveMidiBytes(1, loaded.format1));
    return loaded;
}

// Where each channel list keeps its records.
std::vector<const MidiEvent*> ChannelRooms() {
    std::vector<const MidiEvent*> rooms;
    for (const auto& list : detail::Lists().ChannelEvents) rooms.push_back(list.data());
    return rooms;
}

class ReloadTest : public LoadTest {};

TEST_F(ReloadTest, LoadingAgainGivesTheSameSongInTheSameRoom) {
    Bytes damaged = ArrangerSong(3'000, 5);
    damaged.resize(damaged.size() - 7);  // the last track cut short
    const struct {
        const char* name;
        Bytes song;
    } cases[] = {
        {"tracks on channels of their own", ArrangerSong(20'000, 3)},
        {"two tracks on one channel, the second reaching back", SharedChannelSong(5'000, 4)},
        {"interleaved tracks ending notes both ways", InterleavedSong()},
        {"a damaged song", damaged},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Load(c.song);
        const Loaded first = Capture(midi);
        const auto rooms = ChannelRooms();

        StandardMidifile fresh(nullptr);
        ASSERT_TRUE(fresh.LoadMidifile(dir.File("song.mid")));
        EXPECT_TRUE(Capture(fresh) == first);
        EXPECT_EQ(ChannelRooms(), rooms);

        fresh.LoadMidiBytes(c.song.data(), c.song.size());
        EXPECT_TRUE(Capture(fresh) == first);
        EXPECT_EQ(ChannelRooms(), rooms);
        EXPECT_GT(std::get<3>(first.report), 0u);
    }
}

TEST_F(ReloadTest, InterleavedTracksAreSavedAsOneTrackInTickOrder) {
    ASSERT_TRUE(Load(InterleavedSong()));
    Bytes saved;
    ASSERT_TRUE(midi.SaveMidiBytes(0, saved));
    // Every message with its status; at equal ticks channel 0 before channel
    // 1, and the late controller of channel 0 behind the note of its tick.
    EXPECT_EQ(Hex(saved), Hex(SongBuilder(0, 96)
                                  .AddTrack(Track()
                                                .Tempo(0, 500'000)
                                                .Note(0, 0x90, 0x3C, 0x64)
                                                .Event(0, 0xB0, {0x07, 0x64})
                                                .Note(24, 0x91, 0x40, 0x50)
                                                .Note(24, 0x80, 0x3C, 0x40)
                                                .Event(24, 0xB0, {0x0A, 0x40})
                                                .Note(0, 0x91, 0x40, 0x00)
                                                .Note(24, 0x90, 0x3E, 0x64)
                                                .Program(0, 1, 5)
                                                .Note(48, 0x90, 0x3E, 0x00)
                                                .End())
                                  .Bytes()));
}

TEST_F(ReloadTest, ABytesLoadLeavesTheCallersBytesAndKeepsARejectedFileOfItsOwn) {
    Bytes song = InterleavedSong();
    const Bytes original = song;
    ASSERT_TRUE(midi.LoadMidiBytes(song.data(), song.size()));
    EXPECT_EQ(song, original);

    // After a rejected header the object reads its own copy of the bytes,
    // whatever becomes of the caller's.
    auto rejected = std::make_unique<Bytes>(Bytes{'R', 'I', 'F', 'F', 0x00, 0x00, 0x00, 0x04, 0x90, 0x3C});
    EXPECT_FALSE(midi.LoadMidiBytes(rejected->data(), rejected->size()));
    rejected.reset();
    EXPECT_EQ(midi.ReadvarByte(0, 4), 0x52494646);  // "RIFF"
    EXPECT_EQ(midi.Eventanalyse(8), 0x90);
    EXPECT_EQ(midi.ReadvarByte(9, 1), 0x3C);

    // Nothing at all is a rejected header too.
    EXPECT_FALSE(midi.LoadMidiBytes(nullptr, 0));
    EXPECT_EQ(midi.Eventanalyse(0), 999);
    midi.InitHauptcontainer();
    EXPECT_EQ(midi.ReadvarByte(0, 4), 0);
}

}  // namespace
