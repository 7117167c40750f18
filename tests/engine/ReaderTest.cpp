// Reading Standard MIDI Files into the event lists.
#include <gtest/gtest.h>

#include "SongBuilder.h"
#include "StandardMidifile.h"
#include "TestSupport.h"

using namespace tonalux;
using namespace tonalux::testing;

namespace {

class Reader : public ::testing::Test {
protected:
    bool Load(const Bytes& bytes) {
        const std::string path = dir.File("song.mid");
        WriteFile(path, bytes);
        return midi.LoadMidifile(path);
    }
    std::vector<std::uint32_t> Ticks(int channel) {
        std::vector<std::uint32_t> ticks;
        for (int i = 0; i < midi.GetSizeMidievents(channel); ++i) ticks.push_back(midi.GetMidievent(channel, i).Tick);
        return ticks;
    }
    std::string MetaText(const MetaEvent& e) { return std::string(reinterpret_cast<const char*>(e.Data.get())); }

    TempDir dir;
    RecordingHost host;
    StandardMidifile midi{nullptr};
};

TEST_F(Reader, ReadsNotesWithRunningStatusAndAbsoluteTicks) {
    // The eleven-byte track: 90 3C 64, running status 3C 00 after 96 ticks, end of track.
    SongBuilder song(0, 96);
    song.AddTrack(Track().Note(0, 0x90, 0x3C, 0x64).Running(0x60, {0x3C, 0x00}).End());
    ASSERT_TRUE(Load(song.Bytes()));
    ASSERT_EQ(midi.GetSizeMidievents(0), 2);
    const MidiEvent first = midi.GetMidievent(0, 0);
    const MidiEvent second = midi.GetMidievent(0, 1);
    EXPECT_EQ(first.Tick, 0u);
    EXPECT_EQ(first.Kind, 0x90);
    EXPECT_EQ(first.Status, 0x90);
    EXPECT_EQ(first.Data1, 0x3C);
    EXPECT_EQ(first.Data2, 0x64);
    EXPECT_EQ(second.Tick, 96u);
    EXPECT_EQ(second.Delta, 96u);
    EXPECT_EQ(second.Kind, 0x90);
    EXPECT_EQ(second.Status, 0x90);
    EXPECT_EQ(second.Data2, 0);
    EXPECT_EQ(second.Data3, 0);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(midi.Division, 96);
    EXPECT_EQ(midi.TrackCount, 1);
    EXPECT_EQ(midi.Format, 0);
    EXPECT_EQ(midi.HeaderLength, 6u);
    EXPECT_TRUE(midi.HeaderOk);
}

TEST_F(Reader, SortsEachChannelListAcrossTracksKeepingArrivalOrderAtEqualTicks) {
    SongBuilder song(1, 96);
    song.AddTrack(Track().Note(0, 0x91, 60, 100).Note(960, 0x91, 62, 100).End());
    song.AddTrack(Track().Note(480, 0x91, 64, 100).Note(480, 0x91, 65, 1).End());
    ASSERT_TRUE(Load(song.Bytes()));
    EXPECT_EQ(Ticks(1), (std::vector<std::uint32_t>{0, 480, 960, 960}));
    EXPECT_EQ(midi.GetMidievent(1, 1).Delta, 480u);  // the late record, from the one before it
    EXPECT_EQ(midi.GetMidievent(1, 2).Delta, 480u);  // the record after it
    EXPECT_EQ(midi.GetMidievent(1, 2).Data1, 62);    // equal tick: the earlier arrival first
    EXPECT_EQ(midi.GetMidievent(1, 3).Data1, 65);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(midi.GetMidievent(1, i).Data3, 0) << i;
}

TEST_F(Reader, ManyTracksOnOneChannelGiveTheStableOrderOfTheirTicks) {
    // Five tracks, each reaching back in time on channel 2.
    SongBuilder song(1, 96);
    std::vector<std::pair<std::uint32_t, int>> expected;
    for (int t = 0; t < 5; ++t) {
        Track track;
        std::uint32_t tick = 0;
        for (int i = 0; i < 20; ++i) {
            const std::uint32_t delta = static_cast<std::uint32_t>((i * 7 + t * 3) % 5) * 10;
            tick += delta;
            track.Note(delta, 0x92, static_cast<std::uint8_t>(t * 20 + i), 90);
            expected.push_back({tick, t * 20 + i});
        }
        song.AddTrack(track.End());
    }
    std::stable_sort(expected.begin(), expected.end(), [](auto a, auto b) { return a.first < b.first; });
    ASSERT_TRUE(Load(song.Bytes()));
    ASSERT_EQ(midi.GetSizeMidievents(2), 100);
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(midi.GetMidievent(2, i).Tick, expected[static_cast<std::size_t>(i)].first) << i;
        EXPECT_EQ(midi.GetMidievent(2, i).Data1, expected[static_cast<std::size_t>(i)].second) << i;
    }
}

TEST_F(Reader, PlacesALateMetaEventBeforeThoseOfItsTick) {
    SongBuilder song(1, 96);
    song.AddTrack(Track().Text(0, 0x01, "A").Text(1920, 0x01, "B").End());
    song.AddTrack(Track().Text(0, 0x01, "C").Text(0, 0x01, "D").Text(1920, 0x01, "E").End());
    ASSERT_TRUE(Load(song.Bytes()));
    ASSERT_EQ(midi.GetSizeMetaEvents(), 5);
    std::string order;
    for (int i = 0; i < 5; ++i) order += MetaText(midi.GetMetaEvent(i));
    // C and D arrive behind tick 1920: each goes in front of the records of
    // tick 0. E is not behind (1920 is the latest tick) and is appended.
    EXPECT_EQ(order, "DCABE");
}

TEST_F(Reader, LateMetaEventsOutOfTickOrderAreEachPlacedBeforeTheirTick) {
    SongBuilder song(1, 96);
    song.AddTrack(Track().Text(0, 0x01, "A").Text(1920, 0x01, "B").End());
    song.AddTrack(Track().Text(500, 0x01, "C").Text(0, 0x01, "D").End());
    song.AddTrack(Track().Text(0, 0x01, "E").Text(500, 0x01, "F").End());
    ASSERT_TRUE(Load(song.Bytes()));
    ASSERT_EQ(midi.GetSizeMetaEvents(), 6);
    std::string order;
    for (int i = 0; i < 6; ++i) order += MetaText(midi.GetMetaEvent(i));
    // One by one: C before B, D before C, E before A, F before D.
    EXPECT_EQ(order, "EAFDCB");
    EXPECT_EQ(midi.GetMetaEvent(2).Delta, 500u);  // F, from A
    EXPECT_EQ(midi.GetMetaEvent(5).Delta, 1420u);  // B, from C
}

TEST_F(Reader, SysexLateEventsGoAfterThoseOfTheirTick) {
    SongBuilder song(1, 96);
    song.AddTrack(Track().Sysex(0, {0x41, 0x01, 0xF7}).Sysex(100, {0x41, 0x02, 0xF7}).End());
    song.AddTrack(Track().Sysex(0, {0x41, 0x03, 0xF7}).End());
    ASSERT_TRUE(Load(song.Bytes()));
    ASSERT_EQ(midi.GetSizeSysexEvents(), 3);
    EXPECT_EQ(midi.GetSysex(0).Data[1], 0x01);
    EXPECT_EQ(midi.GetSysex(1).Data[1], 0x03);
    EXPECT_EQ(midi.GetSysex(2).Data[1], 0x02);
}

TEST_F(Reader, StoresMetaAndSysexBodiesWithATerminatingZero) {
    SongBuilder song(0, 96);
    song.AddTrack(Track()
                      .Text(0, 0x01, "")
                      .Note(0, 0x90, 60, 1)
                      .Meta(0, 0x7F, Bytes(200, 0x55))
                      .Sysex(0, {0x43, 0x10, 0x4C, 0x00, 0xF7})
                      .End());
    const Bytes bytes = song.Bytes();
    ASSERT_TRUE(Load(bytes));
    ASSERT_EQ(midi.GetSizeMetaEvents(), 2);
    const MetaEvent empty = midi.GetMetaEvent(0);
    EXPECT_EQ(empty.Length, 0u);
    EXPECT_EQ(empty.Data[0], 0);
    EXPECT_EQ(midi.GetSizeMidievents(0), 1);  // the event after the empty text is read correctly
    EXPECT_EQ(midi.GetMetaEvent(1).Length, 200u);
    EXPECT_EQ(midi.GetMetaEvent(1).Data[200], 0);
    const SysexEvent sysex = midi.GetSysex(0);
    EXPECT_EQ(sysex.Status, 0xF0);
    EXPECT_EQ(sysex.Length, 5u);
    EXPECT_EQ(sysex.Manufacturer, 0x43);
    EXPECT_EQ(Hex(Bytes(sysex.Data.get(), sysex.Data.get() + 6)), "43 10 4C 00 F7 00");
    // The length 200 was written as 81 48.
    EXPECT_NE(Hex(bytes).find("FF 7F 81 48 55"), std::string::npos);
}

TEST_F(Reader, DropsCopyrightTrackNameAndEndOfTrack) {
    SongBuilder song(0, 96);
    song.AddTrack(Track().Text(0, 0x02, "(c)").Text(0, 0x03, "Name").Text(0, 0x04, "Piano").End());
    ASSERT_TRUE(Load(song.Bytes()));
    ASSERT_EQ(midi.GetSizeMetaEvents(), 1);
    EXPECT_EQ(midi.GetMetaEvent(0).Type, 0x04);
}

TEST_F(Reader, ReadsLongDeltaTimes) {
    SongBuilder song(0, 96);
    song.AddTrack(Track().Raw({0x81, 0x80, 0x00, 0x90, 60, 100}).Raw({0xFF, 0xFF, 0xFF, 0x7F, 0x80, 60, 0}).End());
    ASSERT_TRUE(Load(song.Bytes()));
    EXPECT_EQ(midi.GetMidievent(0, 0).Tick, 16384u);
    EXPECT_EQ(midi.GetMidievent(0, 1).Delta, 0x0FFFFFFFu);
}

TEST_F(Reader, RunningStatusCarriesIntoTheNextTrack) {
    SongBuilder song(1, 96);
    song.AddTrack(Track().Note(0, 0x93, 60, 100).End());
    song.AddTrack(Track().Running(10, {62, 90}).End());
    ASSERT_TRUE(Load(song.Bytes()));
    ASSERT_EQ(midi.GetSizeMidievents(3), 2);
    EXPECT_EQ(midi.GetMidievent(3, 1).Data1, 62);
    EXPECT_EQ(midi.GetMidievent(3, 1).Status, 0x93);
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(Reader, DataByteAfterAMetaEventContinuesTheLastChannelStatus) {
    SongBuilder song(0, 96);
    song.AddTrack(Track()
                      .Note(0, 0xB2, 7, 100)
                      .Text(0, 0x01, "x")
                      .Running(5, {10, 64})
                      .Sysex(0, {0x43, 0xF7})
                      .Running(5, {11, 1})
                      .End());
    ASSERT_TRUE(Load(song.Bytes()));
    ASSERT_EQ(midi.GetSizeMidievents(2), 3);
    EXPECT_EQ(midi.GetMidievent(2, 1).Status, 0xB2);
    EXPECT_EQ(midi.GetMidievent(2, 1).Data1, 10);
    EXPECT_EQ(midi.GetMidievent(2, 2).Tick, 10u);
    EXPECT_EQ(midi.GetSizeMetaEvents(), 1);
    EXPECT_EQ(midi.GetSizeSysexEvents(), 1);
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(Reader, OneAndTwoDataByteClasses) {
    SongBuilder song(0, 96);
    song.AddTrack(Track()
                      .Event(0, 0xC5, {12})
                      .Event(0, 0xD5, {40})
                      .Event(0, 0xE5, {0x00, 0x40})
                      .Event(0, 0xA5, {60, 30})
                      .End());
    ASSERT_TRUE(Load(song.Bytes()));
    ASSERT_EQ(midi.GetSizeMidievents(5), 4);
    EXPECT_EQ(midi.GetMidievent(5, 0).Kind, 0xC0);
    EXPECT_EQ(midi.GetMidievent(5, 0).Data2, 0);
    EXPECT_EQ(midi.GetMidievent(5, 1).Kind, 0xD0);
    EXPECT_EQ(midi.GetMidievent(5, 2).Data2, 0x40);
    EXPECT_EQ(midi.GetMidievent(5, 3).Kind, 0xA0);
    EXPECT_EQ(midi.GetMidievent(5, 3).Channel, 5);
}

TEST_F(Reader, EscapePacketsAreKeptAsSystemExclusiveWithTheirStatus) {
    SongBuilder song(0, 96);
    song.AddTrack(Track().Sysex(0, {0x43, 0x12}).Sysex(10, {0x00, 0xF7}, 0xF7).Note(0, 0x90, 60, 1).End());
    ASSERT_TRUE(Load(song.Bytes()));
    ASSERT_EQ(midi.GetSizeSysexEvents(), 2);
    EXPECT_EQ(midi.GetSysex(1).Status, 0xF7);
    EXPECT_EQ(midi.GetSysex(1).Length, 2u);
    EXPECT_EQ(midi.GetSysex(1).Tick, 10u);
    EXPECT_EQ(midi.GetSizeMidievents(0), 1);
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(Reader, ShortTracksAreReadWhole) {
    // A chunk of four bytes holds only its end of track; one of seven bytes
    // holds a program change that belongs to the song.
    SongBuilder song(1, 96);
    song.AddTrack(Track().End());
    song.AddTrack(Track().Program(0, 0, 5).End());
    song.AddTrack(Track().Note(0, 0x91, 60, 100).End());
    ASSERT_TRUE(Load(song.Bytes()));
    ASSERT_EQ(midi.GetSizeMidievents(0), 1);
    EXPECT_EQ(midi.GetMidievent(0, 0).Data1, 5);
    EXPECT_EQ(midi.GetSizeMidievents(1), 1);
}

TEST_F(Reader, EndOfTrackDoesNotEndTheChunk) {
    SongBuilder song(0, 96);
    song.AddTrack(Track().End().Note(0, 0x90, 60, 1));
    ASSERT_TRUE(Load(song.Bytes()));
    EXPECT_EQ(midi.GetSizeMidievents(0), 1);
}

TEST_F(Reader, ZeroTracksGiveEmptyLists) {
    ASSERT_TRUE(Load(SongBuilder(0, 96).Bytes()));
    EXPECT_EQ(midi.GetSizeMetaEvents(), 0);
    for (int c = 0; c < 16; ++c) EXPECT_EQ(midi.GetSizeMidievents(c), 0);
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(Reader, RefusesAFileThatIsNotASong) {
    SongBuilder song(0, 96);
    song.AddTrack(Track().Note(0, 0x90, 60, 1).End());
    Bytes bytes = song.Bytes();
    ASSERT_TRUE(Load(bytes));
    bytes[3] = 'D';  // "MThD"
    EXPECT_FALSE(Load(bytes));
    EXPECT_EQ(host.messages, std::vector<std::string>{"incorrect fileheader"});
    EXPECT_FALSE(midi.HeaderOk);
    EXPECT_EQ(midi.GetSizeMidievents(0), 0);  // the lists were emptied before the check

    host.messages.clear();
    EXPECT_FALSE(Load(Bytes{'M', 'T', 'h', 'd', 0, 0}));
    EXPECT_EQ(host.messages, std::vector<std::string>{"incorrect fileheader"});

    host.messages.clear();
    EXPECT_FALSE(midi.LoadMidifile(dir.File("missing.mid")));
    EXPECT_EQ(host.messages, std::vector<std::string>{"FileOpenError!"});

    host.messages.clear();
    EXPECT_FALSE(midi.LoadMidifile(dir.Path().string()));  // a folder
    EXPECT_EQ(host.messages, std::vector<std::string>{"FileOpenError!"});
}

TEST_F(Reader, LoadingThroughAnotherObjectReplacesTheSongForAll) {
    SongBuilder song(0, 96);
    song.AddTrack(Track().Note(0, 0x90, 60, 1).End());
    ASSERT_TRUE(Load(song.Bytes()));
    StandardMidifile other(nullptr);
    SongBuilder empty(0, 96);
    empty.AddTrack(Track().End());
    WriteFile(dir.File("empty.mid"), empty.Bytes());
    ASSERT_TRUE(other.LoadMidifile(dir.File("empty.mid")));
    EXPECT_EQ(midi.GetSizeMidievents(0), 0);
}

TEST_F(Reader, NumberAndClassHelpers) {
    SongBuilder song(0, 0x1E0);
    song.AddTrack(Track().Note(0, 0x9A, 60, 1).End());
    ASSERT_TRUE(Load(song.Bytes()));
    EXPECT_EQ(midi.Kanalermittlung(0x9A), 10);
    EXPECT_EQ(midi.Kanalermittlung(0xCF), 15);
    // The buffer is released after the load; the helpers then refuse quietly.
    EXPECT_EQ(midi.Eventanalyse(22), 999);
    EXPECT_EQ(midi.Division, 0x1E0);
}

TEST_F(Reader, ReaderStepsAfterALoadReadNothingAndChangeNoList) {
    SongBuilder song(1, 96);
    song.AddTrack(Track().Tempo(0, 500000).Text(0, 0x01, "hi").Sysex(0, {0x43, 0xF7}).End());
    song.AddTrack(Track().Program(0, 0, 3).Note(0, 0x90, 60, 100).Running(96, {60, 0}).End());
    const Bytes bytes = song.Bytes();
    ASSERT_TRUE(Load(bytes));
    const LoadReport before = midi.LastLoadReport();
    const std::vector<std::uint32_t> ticks = Ticks(0);

    // Positions at the header, at the first events and past the end, with
    // each step's own arguments.
    for (const std::uint32_t at : {0u, 14u, 22u, static_cast<std::uint32_t>(bytes.size()), 0xFFFFFFF0u}) {
        EXPECT_FALSE(midi.LoadMidiHeader()) << at;
        EXPECT_EQ(midi.ReadvarByte(at, 4), 0) << at;
        EXPECT_TRUE(midi.MiditrackLesen(2)) << at;
        EXPECT_EQ(midi.MidiTracklaenge(at), 0u) << at;
        EXPECT_TRUE(midi.TrackSingleRead(at, 40)) << at;
        EXPECT_EQ(midi.ReadEventtime(at), 0u) << at;
        EXPECT_EQ(midi.ReadDynLaeng(at), 0u) << at;
        EXPECT_TRUE(midi.ReadEvent(at)) << at;
        EXPECT_FALSE(midi.EndOfTrack(at)) << at;
        EXPECT_TRUE(midi.ReadShortMsg(at, 0xC0, 0)) << at;
        EXPECT_TRUE(midi.ReadLongMsg(at, 0x90, 0)) << at;
        EXPECT_TRUE(midi.ReadMetaMsg(at, 0xFF, 0)) << at;
        EXPECT_TRUE(midi.ReadSysexMsg(at, 0, 0)) << at;
        EXPECT_EQ(midi.Eventanalyse(static_cast<int>(at & 0x7FFFFFFF)), 999) << at;
    }
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(Ticks(0), ticks);
    EXPECT_EQ(midi.GetSizeMetaEvents(), 1);
    EXPECT_EQ(midi.GetSizeTempoevents(), 1);
    EXPECT_EQ(midi.GetSizeSysexEvents(), 1);
    EXPECT_EQ(midi.TrackCount, 2);
    EXPECT_EQ(midi.Division, 96);
    EXPECT_EQ(midi.LastLoadReport().Records, before.Records);
    EXPECT_FALSE(midi.LastLoadReport().Damaged);
}

}  // namespace
