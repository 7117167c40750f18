#include <gtest/gtest.h>

#include <vector>

#include "ServiceRecords.h"
#include "SongBuilder.h"
#include "StandardMidifile.h"
#include "TestSupport.h"

namespace tonalux {
namespace {

using testing::Bytes;
using testing::ChannelRecord;
using testing::DataOf;
using testing::SysexRecord;

const Bytes kVocoder = {0x43, 0x10, 0x4C, 0x04, 0x00, 0x20, 0x7F, 0xF7};
const Bytes kXgSystemOn = {0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00, 0xF7};
const Bytes kGmOn = {0x7E, 0x7F, 0x09, 0x01, 0xF7};

class Vocoder : public ::testing::Test {
protected:
    void SetUp() override { engine.InitHauptcontainer(); }
    void TearDown() override { engine.InitHauptcontainer(); }

    void Sysex(const Bytes& body, std::uint32_t tick = 0) { engine.AddSysex(SysexRecord(tick, body)); }
    void NoteOns(int channel, std::initializer_list<std::uint8_t> velocities) {
        std::uint32_t tick = 0;
        for (std::uint8_t v : velocities) {
            engine.AddMidievent(ChannelRecord(tick, static_cast<std::uint8_t>(0x90 | channel), 60, v));
            tick += 10;
        }
    }
    std::vector<Bytes> SysexBodies() {
        std::vector<Bytes> out;
        for (int i = 0; i < engine.GetSizeSysexEvents(); ++i) out.push_back(DataOf(engine.GetSysex(i)));
        return out;
    }

    testing::RecordingHost host;
    StandardMidifile engine{nullptr};
};

// ---- removal ---------------------------------------------------------------------

TEST_F(Vocoder, AnalyseRemovesOneVocoderMessagePerCall) {
    EXPECT_EQ(engine.VocoderAnalyse(), 99999);
    Sysex(kXgSystemOn, 0);
    Sysex(kVocoder, 10);
    Sysex(kVocoder, 20);
    EXPECT_EQ(engine.VocoderAnalyse(), 11111);
    EXPECT_EQ(engine.GetSizeSysexEvents(), 2);
    EXPECT_EQ(engine.GetSysex(1).Tick, 20u);  // the first one went
    EXPECT_EQ(engine.VocoderAnalyse(), 11111);
    EXPECT_EQ(engine.VocoderAnalyse(), 88888);
    EXPECT_EQ(engine.VocoderAnalyse(), 88888);
    EXPECT_EQ(SysexBodies(), (std::vector<Bytes>{kXgSystemOn}));
    engine.DeleteSysex(0);
    EXPECT_EQ(engine.VocoderAnalyse(), 99999);
}

TEST_F(Vocoder, OnlyTheFourByteHeadOfDeviceZeroCounts) {
    const Bytes otherGroup = {0x43, 0x10, 0x4C, 0x05, 0x00, 0xF7};
    const Bytes otherDevice = {0x43, 0x11, 0x4C, 0x04, 0x00, 0xF7};
    const Bytes bareHead = {0x43, 0x10, 0x4C, 0x04};
    const Bytes tooShort = {0x43, 0x10, 0x4C};
    const Bytes longVocoder = [] {
        Bytes b = {0x43, 0x10, 0x4C, 0x04};
        b.resize(300, 0x11);
        b.push_back(0xF7);
        return b;
    }();
    for (const Bytes* b : {&otherGroup, &bareHead, &otherDevice, &tooShort, &longVocoder, &kGmOn}) Sysex(*b);
    EXPECT_TRUE(engine.DeleteVocoderNachrichten());
    EXPECT_EQ(SysexBodies(), (std::vector<Bytes>{otherGroup, otherDevice, tooShort, kGmOn}));
}

TEST_F(Vocoder, ShortBodyWithVocoderBytesBehindItsEndIsKept) {
    // Length says two bytes: what lies behind them is not part of the message.
    SysexEvent e = SysexRecord(0, kVocoder);
    e.Length = 2;
    engine.AddSysex(e);
    e.Data = nullptr;
    e.Length = 8;
    engine.AddSysex(e);
    engine.DeleteVocoderNachrichten();
    EXPECT_EQ(engine.VocoderAnalyse(), 88888);
    EXPECT_EQ(engine.GetSizeSysexEvents(), 2);
}

TEST_F(Vocoder, DeleteRemovesAllVocoderMessagesOnlyAndKeepsTheOrder) {
    EXPECT_TRUE(engine.DeleteVocoderNachrichten());  // empty list
    // 1500 vocoder messages among 700 others.
    std::vector<std::uint32_t> keptTicks;
    for (std::uint32_t i = 0; i < 2200; ++i) {
        if (i % 22 < 7) {
            Bytes other = kGmOn;
            other[3] = static_cast<std::uint8_t>(i & 0x7F);
            Sysex(other, i);
            keptTicks.push_back(i);
        } else {
            Sysex(kVocoder, i);
        }
    }
    ASSERT_EQ(keptTicks.size(), 700u);
    EXPECT_TRUE(engine.DeleteVocoderNachrichten());
    ASSERT_EQ(engine.GetSizeSysexEvents(), 700);
    for (int i = 0; i < 700; ++i) {
        const SysexEvent e = engine.GetSysex(i);
        EXPECT_EQ(e.Tick, keptTicks[static_cast<std::size_t>(i)]);
        EXPECT_EQ(e.Data[3], static_cast<std::uint8_t>(e.Tick & 0x7F));
    }
    EXPECT_EQ(engine.VocoderAnalyse(), 88888);
}

TEST_F(Vocoder, LoadedSongLosesItsVocoderMessagesAndNothingElse) {
    testing::TempDir dir;
    testing::Track track;
    track.Sysex(0, kGmOn).Sysex(0, kXgSystemOn);
    for (int i = 0; i < 1200; ++i) track.Sysex(1, kVocoder);
    track.Note(0, 0x90, 60, 100).Sysex(0, kXgSystemOn).Note(96, 0x80, 60, 0).End();
    const auto file = dir.Path() / "vocoder.mid";
    testing::WriteFile(file, testing::SongBuilder(0, 96).AddTrack(track).Bytes());
    const Bytes before = testing::ReadFile(file);

    ASSERT_TRUE(engine.LoadMidifile(file.string()));
    ASSERT_EQ(engine.GetSizeSysexEvents(), 1203);
    engine.DeleteVocoderNachrichten();
    EXPECT_EQ(SysexBodies(), (std::vector<Bytes>{kGmOn, kXgSystemOn, kXgSystemOn}));
    EXPECT_EQ(engine.GetSysex(2).Tick, 1200u);
    EXPECT_EQ(engine.GetSizeMidievents(0), 2);
    EXPECT_EQ(testing::ReadFile(file), before);  // the input file is not touched
    EXPECT_TRUE(host.messages.empty());
}

// ---- vocoder channel ---------------------------------------------------------------

TEST_F(Vocoder, ChannelQualifiesWhenItsMeanVelocityIsAtMostTheThreshold) {
    host.threshold = 5;
    NoteOns(0, {5, 5, 5});
    NoteOns(1, {4, 7});      // 5.5
    NoteOns(2, {4, 6});      // 5.0
    NoteOns(3, {5, 5, 5, 6});  // 5.25
    EXPECT_TRUE(engine.VocoderTrackAnalyse(0));
    EXPECT_FALSE(engine.VocoderTrackAnalyse(1));
    EXPECT_TRUE(engine.VocoderTrackAnalyse(2));
    EXPECT_FALSE(engine.VocoderTrackAnalyse(3));
}

TEST_F(Vocoder, OnlySoundingNoteOnsCount) {
    host.threshold = 5;
    NoteOns(0, {3});
    engine.AddMidievent(ChannelRecord(100, 0x90, 61, 0));     // note-on velocity 0
    engine.AddMidievent(ChannelRecord(110, 0x80, 61, 127));   // note-off
    engine.AddMidievent(ChannelRecord(120, 0xB0, 7, 127));    // controller
    engine.AddMidievent(ChannelRecord(130, 0xA0, 60, 127));   // key pressure
    engine.AddMidievent(ChannelRecord(140, 0xE0, 0, 127));    // pitch bend
    EXPECT_TRUE(engine.VocoderTrackAnalyse(0));
}

TEST_F(Vocoder, ChannelWithoutSoundingNotesNeverQualifies) {
    host.threshold = 127;
    EXPECT_FALSE(engine.VocoderTrackAnalyse(5));  // empty
    engine.AddMidievent(ChannelRecord(0, 0x96, 60, 0));
    engine.AddMidievent(ChannelRecord(0, 0x86, 60, 0));
    engine.AddMidievent(ChannelRecord(0, 0xC6, 3));
    EXPECT_FALSE(engine.VocoderTrackAnalyse(6));
    EXPECT_EQ(engine.VocoderKanalAnalyse(), 99);
    EXPECT_FALSE(engine.VocoderTrackAnalyse(16));
    EXPECT_FALSE(engine.VocoderTrackAnalyse(-1));
}

TEST_F(Vocoder, HighestQualifyingChannelWinsNumberedFromOne) {
    host.threshold = 5;
    NoteOns(2, {3, 4});
    NoteOns(9, {5});
    NoteOns(12, {100, 90});
    EXPECT_EQ(engine.VocoderKanalAnalyse(), 10);
    NoteOns(15, {1});
    EXPECT_EQ(engine.VocoderKanalAnalyse(), 16);
    NoteOns(0, {1});
    EXPECT_EQ(engine.VocoderKanalAnalyse(), 16);
}

TEST_F(Vocoder, NoQualifyingChannelGivesNinetyNine) {
    host.threshold = 5;
    NoteOns(0, {100});
    NoteOns(15, {6});
    EXPECT_EQ(engine.VocoderKanalAnalyse(), 99);
}

TEST_F(Vocoder, ThresholdIsReadWhenTheAnalysisRuns) {
    NoteOns(4, {20, 30});  // 25
    host.threshold = 24;
    EXPECT_EQ(engine.VocoderKanalAnalyse(), 99);
    host.threshold = 25;
    EXPECT_EQ(engine.VocoderKanalAnalyse(), 5);
    host.threshold = 0;
    EXPECT_EQ(engine.VocoderKanalAnalyse(), 99);
}

TEST_F(Vocoder, AverageOfManyLoudNotesDoesNotOverflow) {
    host.threshold = 127;
    for (std::uint32_t i = 0; i < 20000; ++i) engine.AddMidievent(ChannelRecord(i, 0x91, 60, 127));
    EXPECT_TRUE(engine.VocoderTrackAnalyse(1));
    host.threshold = 126;
    EXPECT_FALSE(engine.VocoderTrackAnalyse(1));
}

// ---- last tick of a channel ------------------------------------------------------------

TEST_F(Vocoder, EndTickIsTheTickOfTheLastEventInListOrder) {
    EXPECT_EQ(engine.MidiTrackEndTickFromStart(3), 0);
    engine.AddMidievent(ChannelRecord(100, 0x93, 60, 90));
    engine.AddMidievent(ChannelRecord(2500, 0x83, 60, 0));
    EXPECT_EQ(engine.MidiTrackEndTickFromStart(3), 2500);
    // An edit that puts the list out of order: the last element still answers.
    MidiEvent last = engine.GetMidievent(3, 1);
    last.Tick = 50;
    engine.EditMidievent(3, 1, last);
    EXPECT_EQ(engine.MidiTrackEndTickFromStart(3), 50);
    EXPECT_EQ(engine.MidiTrackEndTickFromStart(4), 0);
    EXPECT_EQ(engine.MidiTrackEndTickFromStart(16), 0);
}

}  // namespace
}  // namespace tonalux
