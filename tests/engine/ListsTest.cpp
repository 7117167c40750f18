// The model, meta-event resolution and the list operations.
#include <gtest/gtest.h>


#include "SongBuilder.h"
#include "StandardMidifile.h"
#include "TestSupport.h"

using namespace tonalux;
using namespace tonalux::testing;

namespace {

class Lists : public ::testing::Test {
protected:
    void SetUp() override { midi.InitHauptcontainer(); }
    bool Load(const Bytes& bytes) {
        const std::string path = dir.File("song.mid");
        WriteFile(path, bytes);
        return midi.LoadMidifile(path);
    }
    static MetaEvent Meta(std::uint32_t tick, std::uint8_t type, std::uint8_t tag = 0) {
        MetaEvent e{};
        e.Tick = tick;
        e.Status = 0xFF;
        e.Type = type;
        e.Length = 1;
        e.Data = DataBlock(new std::uint8_t[2]{tag, 0});
        return e;
    }
    static MidiEvent Note(int channel, std::uint32_t tick, std::uint8_t key) {
        MidiEvent e{};
        e.Tick = tick;
        e.Channel = channel;
        e.Kind = 0x90;
        e.Status = static_cast<std::uint8_t>(0x90 | channel);
        e.Data1 = key;
        e.Data2 = 100;
        return e;
    }

    TempDir dir;
    RecordingHost host;
    StandardMidifile midi{nullptr};
};

TEST_F(Lists, ModelStartsAndResetsAsDocumented) {
    EXPECT_FALSE(midi.GetStartFirstNote());
    EXPECT_EQ(midi.Musteraufruf(), 1);
    SongBuilder song(1, 480);
    song.AddTrack(Track().Note(0, 0x90, 60, 100).End());
    ASSERT_TRUE(Load(song.Bytes()));
    EXPECT_EQ(midi.Fileinitialisierung(), 1);
    EXPECT_EQ(midi.Division, 0);
    EXPECT_EQ(midi.TrackCount, 0);
    EXPECT_EQ(midi.Format, 0);
    EXPECT_TRUE(midi.HeaderOk);
    EXPECT_EQ(midi.GetSizeMidievents(0), 1);  // the lists are left alone
    EXPECT_TRUE(midi.InitHauptcontainer());
    EXPECT_EQ(midi.GetSizeMidievents(0), 0);
}

TEST_F(Lists, OwnerDestroysItsComponentsAndRegistrationIsRecorded) {
    auto* owner = new Component(nullptr);
    auto* engine = new StandardMidifile(owner);
    auto* second = new StandardMidifile(owner);
    EXPECT_EQ(engine->Owner(), owner);
    delete second;  // destroyed first: leaves its owner's list
    ASSERT_EQ(owner->Components().size(), 1u);
    engine->Register();
    engine->Register();
    delete owner;  // destroys the engine object with it (checked by the sanitizers)
    int found = 0;
    for (const auto& entry : RegisteredComponentClasses())
        if (entry.Page == "Beispiele" && entry.ClassName == "StandardMidifile") ++found;
    EXPECT_EQ(found, 1);
}

TEST_F(Lists, ResolutionSortsMetaEventsIntoTypedLists) {
    SongBuilder song(0, 96);
    song.AddTrack(Track()
                      .Tempo(0, 500000)
                      .Meta(0, 0x58, {4, 2, 24, 8})
                      .Text(0, 0x05, "la")
                      .Text(0, 0x01, "text")
                      .Meta(0, 0x59, {0, 0})
                      .Text(960, 0x06, "Intro")
                      .Tempo(960, 400000)
                      .Chord(0, 0x35, 0x13, 0x7F, 0x00)
                      .Meta(0, 0x7F, {0x43, 0x7B, 0x00, 0x00})
                      .Meta(0, 0x7F, {0x43, 0x7B, 0x02, 1, 2, 3, 4})
                      .Tempo(960, 300000)
                      .End());
    ASSERT_TRUE(Load(song.Bytes()));
    EXPECT_EQ(midi.GetSizeTempoevents(), 3);
    EXPECT_EQ(midi.GetTempoevent(2).Tick, 2880u);
    EXPECT_EQ(midi.GetSizeMessureEvents(), 1);
    EXPECT_EQ(midi.GetSizeLyricEvents(), 1);
    EXPECT_EQ(midi.GetLyricevent(0).Tick, midi.GetMessure(0).Tick);
    ASSERT_EQ(midi.GetSizeMarkerEvents(), 1);
    const Marker marker = midi.GetMarkerevent(0);
    EXPECT_EQ(marker.Tick, 960u);
    EXPECT_EQ(marker.Type, 0x06);
    EXPECT_EQ(marker.Length, 5u);
    EXPECT_STREQ(reinterpret_cast<const char*>(marker.Data.get()), "Intro");
    EXPECT_EQ(marker.Reserved, 0u);
    for (auto byte : marker.Text) EXPECT_EQ(byte, 0);
    ASSERT_EQ(midi.GetSizeYamChordEvents(), 1);
    EXPECT_EQ(midi.GetYamchord(0).Data[3], 0x35);
    // Left behind: text, key signature and the two sequencer events that are not chords.
    ASSERT_EQ(midi.GetSizeMetaEvents(), 4);
    EXPECT_EQ(midi.GetMetaEvent(0).Type, 0x01);
    EXPECT_EQ(midi.GetMetaEvent(1).Type, 0x59);
    EXPECT_EQ(midi.GetMetaEvent(2).Length, 4u);
    EXPECT_EQ(midi.GetMetaEvent(3).Data[2], 0x02);

    // A second resolution changes nothing; one after an Add moves only the new record.
    midi.DatenAufloesen();
    EXPECT_EQ(midi.GetSizeMetaEvents(), 4);
    EXPECT_EQ(midi.GetSizeTempoevents(), 3);
    midi.AddMetaevent(Meta(5000, 0x51));
    midi.DatenAufloesen();
    EXPECT_EQ(midi.GetSizeMetaEvents(), 4);
    EXPECT_EQ(midi.GetSizeTempoevents(), 4);
}

TEST_F(Lists, TempoTimeSignatureAndChordAddsGoAfterEqualTicksAndUpdateDeltas) {
    midi.AddTempoevent(Meta(0, 0x51, 1));
    midi.AddTempoevent(Meta(960, 0x51, 2));
    midi.AddTempoevent(Meta(480, 0x51, 3));
    midi.AddTempoevent(Meta(480, 0x51, 4));
    ASSERT_EQ(midi.GetSizeTempoevents(), 4);
    EXPECT_EQ(midi.GetTempoevent(1).Data[0], 3);
    EXPECT_EQ(midi.GetTempoevent(2).Data[0], 4);
    EXPECT_EQ(midi.GetTempoevent(1).Delta, 480u);
    EXPECT_EQ(midi.GetTempoevent(2).Delta, 0u);
    EXPECT_EQ(midi.GetTempoevent(3).Delta, 480u);
    midi.AddMessure(Meta(10, 0x58, 1));
    midi.AddMessure(Meta(10, 0x58, 2));
    EXPECT_EQ(midi.GetMessure(1).Data[0], 2);
    midi.AddYamchord(Meta(7, 0x7F, 1));
    EXPECT_EQ(midi.GetYamchord(0).Delta, 7u);
}

TEST_F(Lists, GeneralMetaAddGoesBeforeEqualTicks) {
    midi.AddMetaevent(Meta(100, 0x01, 1));
    midi.AddMetaevent(Meta(100, 0x01, 2));
    midi.AddMetaevent(Meta(50, 0x01, 3));
    ASSERT_EQ(midi.GetSizeMetaEvents(), 3);
    EXPECT_EQ(midi.GetMetaEvent(0).Data[0], 3);
    EXPECT_EQ(midi.GetMetaEvent(1).Data[0], 2);
    EXPECT_EQ(midi.GetMetaEvent(2).Data[0], 1);
    EXPECT_EQ(midi.GetMetaEvent(1).Delta, 50u);
    EXPECT_EQ(midi.GetMetaEvent(2).Delta, 0u);
}

TEST_F(Lists, LyricAddGoesAfterTheLastNotLaterRecord) {
    midi.AddLyricevent(Meta(100, 0x05, 1));
    midi.AddLyricevent(Meta(200, 0x05, 2));
    midi.AddLyricevent(Meta(100, 0x05, 3));  // same tick as the first: after it
    midi.AddLyricevent(Meta(200, 0x05, 4));  // same tick as the last: after it
    midi.AddLyricevent(Meta(50, 0x05, 5));   // earlier than all: first
    midi.AddLyricevent(Meta(300, 0x05, 6));  // later than all: last
    std::string order;
    for (int i = 0; i < midi.GetSizeLyricEvents(); ++i) order += std::to_string(midi.GetLyricevent(i).Data[0]);
    EXPECT_EQ(order, "513246");
    midi.DeleteLyricevent(0);
    EXPECT_EQ(midi.GetLyricevent(0).Data[0], 1);
    EXPECT_EQ(midi.GetLyricevent(1).Data[0], 3);
}

TEST_F(Lists, MarkerAndSysexAdds) {
    Marker m{};
    m.Tick = 10;
    m.Reserved = 7;
    midi.AddMarkerevent(m);
    m.Tick = 5;
    midi.AddMarkerevent(m);
    m.Tick = 10;
    m.Reserved = 8;
    midi.AddMarkerevent(m);
    EXPECT_EQ(midi.GetMarkerevent(0).Tick, 5u);
    EXPECT_EQ(midi.GetMarkerevent(2).Reserved, 8u);

    SysexEvent s{};
    s.Tick = 100;
    midi.AddSysex(s);
    s.Tick = 10;
    midi.AddSysex(s);  // appended whatever its tick
    EXPECT_EQ(midi.GetSysex(1).Tick, 10u);
}

TEST_F(Lists, ChannelAddsUseTheReadersPlacement) {
    midi.AddMidievent(Note(4, 0, 1));
    midi.AddMidievent(Note(4, 960, 2));
    midi.AddMidievent(Note(4, 480, 3));
    midi.AddMidievent(Note(4, 480, 4));
    ASSERT_EQ(midi.GetSizeMidievents(4), 4);
    EXPECT_EQ(midi.GetMidievent(4, 1).Data1, 3);
    EXPECT_EQ(midi.GetMidievent(4, 2).Data1, 4);
    EXPECT_EQ(midi.GetMidievent(4, 1).Delta, 480u);
    EXPECT_EQ(midi.GetMidievent(4, 3).Delta, 480u);
}

TEST_F(Lists, EditReplacesTheWholeRecordWhereItStands) {
    midi.AddTempoevent(Meta(0, 0x51));
    midi.AddTempoevent(Meta(100, 0x51));
    MetaEvent moved = midi.GetTempoevent(0);
    moved.Tick = 500;
    midi.EditTempoevent(0, moved);
    EXPECT_EQ(midi.GetTempoevent(0).Tick, 500u);
    EXPECT_EQ(midi.GetTempoevent(1).Tick, 100u);
    midi.AddMidievent(Note(0, 0, 60));
    MidiEvent e = midi.GetMidievent(0, 0);
    e.Data1 = 61;
    midi.EditMidievent(0, 0, e);
    EXPECT_EQ(midi.GetMidievent(0, 0).Data1, 61);
    midi.DeleteMidievent(0, 0);
    EXPECT_EQ(midi.GetSizeMidievents(0), 0);
}

TEST_F(Lists, CopiesShareTheirDataBlock) {
    MetaEvent e = Meta(0, 0x01, 9);
    midi.AddMetaevent(e);
    EXPECT_EQ(midi.GetMetaEvent(0).Data.get(), e.Data.get());
}

TEST_F(Lists, IndexesOutsideTheListAreRefusedNotRead) {
    EXPECT_THROW(midi.GetMidievent(16, 0), std::out_of_range);
    EXPECT_THROW(midi.GetMidievent(0, 0), std::out_of_range);
    EXPECT_THROW(midi.DeleteTempoevent(-1), std::out_of_range);
    EXPECT_THROW(midi.AddMidievent(Note(17, 0, 1)), std::out_of_range);
}

TEST_F(Lists, StartAtFirstNoteMovesTheWholeSong) {
    SongBuilder song(1, 96);
    song.AddTrack(Track().Tempo(0, 500000).Text(2400, 0x06, "late").End());
    song.AddTrack(Track().Program(0, 1, 7).Note(1920, 0x91, 60, 100).Note(480, 0x81, 60, 0).End());
    song.AddTrack(Track().Note(2000, 0x92, 64, 100).End());
    const Bytes bytes = song.Bytes();

    midi.SetStartFirstNote(true);
    ASSERT_TRUE(Load(bytes));
    EXPECT_FALSE(midi.GetStartFirstNote());
    EXPECT_EQ(midi.GetMidievent(1, 0).Tick, 0u);    // program change
    EXPECT_EQ(midi.GetMidievent(1, 1).Tick, 0u);    // first note
    EXPECT_EQ(midi.GetMidievent(1, 2).Tick, 480u);  // 2400 before
    EXPECT_EQ(midi.GetMidievent(2, 0).Tick, 80u);   // the third track moves too
    EXPECT_EQ(midi.GetMarkerevent(0).Tick, 480u);
    EXPECT_EQ(midi.GetTempoevent(0).Tick, 0u);

    ASSERT_TRUE(Load(bytes));  // the option acted once
    EXPECT_EQ(midi.GetMidievent(1, 1).Tick, 1920u);
}

}  // namespace

namespace {

TEST(ListsAfterReset, AddingInTickOrderAfterALoadAndAResetStaysLinear) {
    RecordingHost host;
    TempDir dir;
    StandardMidifile midi(nullptr);
    SongBuilder song(0, 96);
    song.AddTrack(Track().Note(0, 0x90, 60, 1).Note(2000000, 0x90, 61, 1).End());
    WriteFile(dir.File("a.mid"), song.Bytes());
    ASSERT_TRUE(midi.LoadMidifile(dir.File("a.mid")));
    midi.InitHauptcontainer();
    // A scan of the list per record would take 5 * 10^11 steps: many minutes,
    // past the tests' time-out.
    for (std::uint32_t i = 0; i < 1000000; ++i) {
        MidiEvent e{};
        e.Tick = i;
        e.Kind = 0x90;
        e.Status = 0x90;
        midi.AddMidievent(e);
    }
    EXPECT_EQ(midi.GetSizeMidievents(0), 1000000);
    EXPECT_EQ(midi.GetMidievent(0, 999999).Tick, 999999u);
}

}  // namespace
