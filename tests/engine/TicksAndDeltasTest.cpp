// Times as the reader gives them: the end-of-track event takes no time but
// gives the song's end, which the writers keep,
// records placed behind their list's last tick get their Delta from their new
// neighbours, and only a chord event of exactly seven bytes is a chord.
#include <gtest/gtest.h>

#include "LoadFixture.h"
#include "MidiBytes.h"

using namespace tonalux;
using namespace tonalux::testing;

namespace {

using TicksAndDeltas = LoadTest;

std::string Text(const MetaEvent& e) { return std::string(reinterpret_cast<const char*>(e.Data.get()), e.Length); }

TEST_F(TicksAndDeltas, EndOfTrackDeltaCountsForNothing) {
    // Events behind an end of track in the same chunk keep the time of the
    // events before it; the next track starts at 0 whatever the end of the
    // track before it says.
    SongBuilder song(1, 96);
    song.AddTrack(Track().Note(0, 0x91, 60, 100).Note(96, 0x81, 60, 0).End(500).Note(10, 0x91, 62, 100).End(900));
    song.AddTrack(Track().End(700).Note(5, 0x92, 64, 100).Text(5, 0x01, "x").End(300));
    ASSERT_TRUE(Load(song.Bytes()));
    ASSERT_EQ(midi.GetSizeMidievents(1), 3);
    EXPECT_EQ(midi.GetMidievent(1, 2).Tick, 106u);
    EXPECT_EQ(midi.GetMidievent(1, 2).Delta, 10u);
    EXPECT_EQ(midi.MidiTrackEndTickFromStart(1), 106);
    ASSERT_EQ(midi.GetSizeMidievents(2), 1);
    EXPECT_EQ(midi.GetMidievent(2, 0).Tick, 5u);
    ASSERT_EQ(midi.GetSizeMetaEvents(), 1);
    EXPECT_EQ(midi.GetMetaEvent(0).Tick, 10u);

    // The song ends with the latest end of track, 900 ticks after the last
    // note: written again, the single end of track comes there.
    EXPECT_EQ(midi.EndTick(), 1006u);
    ASSERT_TRUE(midi.SaveMidifile(0, dir.File("out.mid")));
    const Bytes out = ReadFile(dir.File("out.mid"));
    const Bytes tail(out.end() - 9, out.end());
    EXPECT_EQ(Hex(tail), "0A 91 3E 64 87 04 FF 2F 00");  // 10 ticks after the note-off at 96
}

// The tick at which each track chunk of a written file ends: the sum of its
// delta times, the end of track's included. Every event of a written file has
// its status byte.
std::vector<std::uint32_t> TrackEnds(const Bytes& file) {
    std::vector<std::uint32_t> ends;
    std::size_t at = kFileHeaderBytes;
    while (at + kChunkHeaderBytes <= file.size()) {
        const std::size_t end = at + kChunkHeaderBytes + (std::size_t{file[at + 4]} << 24 | file[at + 5] << 16 |
                                                          file[at + 6] << 8 | file[at + 7]);
        std::uint32_t tick = 0;
        for (at += kChunkHeaderBytes; at < end;) {
            const auto delta = GetVlq(file.data() + at, file.data() + end);
            tick += delta->Value;
            at += delta->Bytes;
            const std::uint8_t status = file[at++];
            if (status == kMetaStatus) ++at;  // the type
            if (status >= 0xF0) {
                const auto length = GetVlq(file.data() + at, file.data() + end);
                at += length->Bytes + length->Value;
            } else {
                at += ChannelMessageBytes(status & 0xF0) - 1;
            }
        }
        ends.push_back(tick);
    }
    return ends;
}

TEST_F(TicksAndDeltas, TheSongKeepsItsLengthInBothFormats) {
    struct Case {
        const char* name;
        Track first;
        Track second;
        bool startAtFirstNote;
        std::uint32_t endTick;  // of the song, and of every written track
    };
    const Case cases[] = {
        {"16,384 ticks of rest after the last note",
         Track().Tempo(0, 500000).Note(0, 0x90, 60, 100).Note(480, 0x80, 60, 0).End(16384),
         Track().Note(0, 0x91, 62, 100).Note(240, 0x81, 62, 0).End(), false, 16864},
        {"the start at the first note moves the end with the notes",
         Track().Tempo(0, 500000).Note(960, 0x90, 60, 100).Note(480, 0x80, 60, 0).End(16384),
         Track().Note(1000, 0x91, 62, 100).Note(240, 0x81, 62, 0).End(), true, 16864},
        {"a track that ends after the other's end of track",
         Track().Note(0, 0x90, 60, 100).End(100), Track().Note(0, 0x91, 62, 100).Note(500, 0x81, 62, 0).End(), false,
         500},
        {"a track whose time runs past 32 bits, its last event before its latest",
         [] {
             Track track;
             for (int i = 0; i < 16; ++i) track.Note(0x0FFFFFFF, 0x90, 60, 100);
             return track.Note(0x20, 0x80, 60, 0).End();
         }(),
         Track().Note(0, 0x91, 62, 100).End(), false, 0xFFFFFFF0u},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SongBuilder song(1, 96);
        song.AddTrack(c.first).AddTrack(c.second);
        midi.SetStartFirstNote(c.startAtFirstNote);
        ASSERT_TRUE(Load(song.Bytes()));
        EXPECT_EQ(midi.EndTick(), c.endTick);
        for (const int format : {0, 1}) {
            SCOPED_TRACE(format);
            Bytes saved;
            ASSERT_TRUE(midi.SaveMidiBytes(format, saved));
            const std::vector<std::uint32_t> ends = TrackEnds(saved);
            EXPECT_EQ(ends, std::vector<std::uint32_t>(format == 0 ? 1 : 3, c.endTick));
        }
        // Read again, the written song ends where the song did.
        Bytes saved;
        ASSERT_TRUE(midi.SaveMidiBytes(1, saved));
        ASSERT_TRUE(midi.LoadMidiBytes(saved.data(), saved.size()));
        EXPECT_EQ(midi.EndTick(), c.endTick);
    }
}

TEST_F(TicksAndDeltas, RecordsPlacedBehindTheirListTakeTheirDeltaFromTheirNeighbours) {
    // Track 2's records arrive after track 1 reached tick 960 and go between
    // the records of ticks 200 and 960.
    SongBuilder song(1, 96);
    song.AddTrack(Track()
                      .Text(0, 0x01, "A")
                      .Sysex(0, {0x41, 0x01, 0xF7})
                      .Text(200, 0x01, "B")
                      .Sysex(0, {0x41, 0x02, 0xF7})
                      .Text(760, 0x01, "D")
                      .Sysex(0, {0x41, 0x04, 0xF7})
                      .End());
    song.AddTrack(Track().Text(300, 0x01, "C").Sysex(0, {0x41, 0x03, 0xF7}).End());
    ASSERT_TRUE(Load(song.Bytes()));
    ASSERT_EQ(midi.GetSizeMetaEvents(), 4);
    ASSERT_EQ(midi.GetSizeSysexEvents(), 4);
    std::string order;
    for (int i = 0; i < 4; ++i) order += Text(midi.GetMetaEvent(i));
    EXPECT_EQ(order, "ABCD");
    for (int i = 0; i < 4; ++i) EXPECT_EQ(midi.GetSysex(i).Data[1], i + 1) << i;

    // As read, C is 300 ticks into its track and D 760 ticks after B; each
    // message follows its text at delta 0. Placed, C and message 3 count from
    // the records of tick 200 before them, and the records of tick 960 from them.
    const std::uint32_t meta[] = {0, 200, 100, 660};
    const std::uint32_t sysex[] = {0, 0, 100, 660};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(midi.GetMetaEvent(i).Delta, meta[i]) << "meta " << i;
        EXPECT_EQ(midi.GetSysex(i).Delta, sysex[i]) << "sysex " << i;
    }
}

TEST_F(TicksAndDeltas, OnlyASevenByteKeyboardChordEventIsAChord) {
    const Bytes chord{0x43, 0x7B, 0x01, 0x35, 0x13, 0x7F, 0x00};
    Bytes eight = chord;
    eight.push_back(0x00);
    Bytes nine = eight;
    nine.push_back(0x7F);
    SongBuilder song(0, 96);
    song.AddTrack(Track().Meta(0, 0x7F, chord).Meta(10, 0x7F, eight).Meta(10, 0x7F, nine).End());
    ASSERT_TRUE(Load(song.Bytes()));
    ASSERT_EQ(midi.GetSizeYamChordEvents(), 1);
    EXPECT_EQ(midi.GetYamchord(0).Tick, 0u);
    ASSERT_EQ(midi.GetSizeMetaEvents(), 2);
    EXPECT_EQ(midi.GetMetaEvent(0).Length, 8u);
    EXPECT_EQ(midi.GetMetaEvent(1).Length, 9u);
}

}  // namespace
