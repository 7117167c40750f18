// The format 0 track of a song large enough for the channel merge to work in
// parts: the events come in the stable order by tick of the channel lists
// laid end to end, also when editing left lists out of order exactly where
// the merge cuts them. And the single-record encoders, which go through
// the same encoder as the whole track.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "write/TickMerge.h"
#include "WriterFixture.h"

using namespace tonalux;
using namespace tonalux::testing;

namespace {

using Merge = WriterTest;

// The events of a format 0 track as the lists describe them: every channel
// record, channel 0 to 15 each in list order, sorted stably by tick, each
// written with its delta time, its status and its data.
std::string ExpectedTrack(StandardMidifile& midi) {
    std::vector<MidiEvent> records;
    for (int c = 0; c < 16; ++c) {
        for (int i = 0; i < midi.GetSizeMidievents(c); ++i) records.push_back(midi.GetMidievent(c, i));
    }
    std::stable_sort(records.begin(), records.end(),
                     [](const MidiEvent& a, const MidiEvent& b) { return a.Tick < b.Tick; });
    Bytes track;
    std::uint32_t last = 0;
    for (const MidiEvent& e : records) {
        std::uint32_t delta = e.Tick - last;
        last = e.Tick;
        Bytes vlq{static_cast<std::uint8_t>(delta & 0x7F)};
        while (delta >>= 7) vlq.insert(vlq.begin(), static_cast<std::uint8_t>((delta & 0x7F) | 0x80));
        track.insert(track.end(), vlq.begin(), vlq.end());
        track.push_back(e.Status);
        track.push_back(e.Data1);
        if (e.Kind != 0xC0 && e.Kind != 0xD0) track.push_back(e.Data2);
    }
    return Hex(track);
}

std::string WrittenTrack(const Bytes& file) { return Hex(Bytes(file.begin() + 22, file.end() - 4)); }

// 4000 records on all 16 channels, a few ticks apart, so that many records of
// different channels share a tick; the channels differ in length.
void AddDenseSong(StandardMidifile& midi) {
    for (std::uint32_t i = 0; i < 4000; ++i) {
        const auto channel = static_cast<std::uint8_t>((i * 7) % 16);
        const std::uint8_t kind = i % 5 == 0 ? 0xC0 : 0x90;
        midi.AddMidievent(ChannelRecord(i / 3 + (channel < 4 ? 100 : 0), static_cast<std::uint8_t>(kind | channel),
                                        static_cast<std::uint8_t>(i % 128), static_cast<std::uint8_t>(1 + i % 100)));
    }
}

TEST_F(Merge, LargeSongGoesOutInStableTickOrder) {
    AddDenseSong(midi);
    EXPECT_EQ(WrittenTrack(Save(0)), ExpectedTrack(midi));
}

// The ticks where the format 0 merge cuts the channel lists into parts: for
// each cut, the first tick before which its share of all records lies.
std::vector<std::uint32_t> CutTicks(StandardMidifile& midi) {
    std::vector<std::uint32_t> ticks;
    for (int c = 0; c < 16; ++c) {
        for (int i = 0; i < midi.GetSizeMidievents(c); ++i) ticks.push_back(midi.GetMidievent(c, i).Tick);
    }
    std::sort(ticks.begin(), ticks.end());
    std::vector<std::uint32_t> cuts;
    for (std::size_t part = 1; part < detail::kMergeParts; ++part) {
        cuts.push_back(ticks[ticks.size() * part / detail::kMergeParts - 1] + 1);
    }
    return cuts;
}

TEST_F(Merge, ListsEditedOutOfOrderAnywhereGoOutInStableTickOrder) {
    // Every list that has records on both sides of a cut gets its two records
    // there swapped, so that it breaks its order exactly where the merge cuts
    // it (the ticks stay the same, and so do the cuts).
    AddDenseSong(midi);
    int swapped = 0;
    for (const std::uint32_t cut : CutTicks(midi)) {
        for (int c = 0; c < 16; ++c) {
            int at = 0;
            while (at < midi.GetSizeMidievents(c) && midi.GetMidievent(c, at).Tick < cut) ++at;
            if (at == 0 || at == midi.GetSizeMidievents(c)) continue;
            const MidiEvent before = midi.GetMidievent(c, at - 1);
            midi.EditMidievent(c, at - 1, midi.GetMidievent(c, at));
            midi.EditMidievent(c, at, before);
            ++swapped;
        }
    }
    ASSERT_GT(swapped, 8);
    EXPECT_EQ(WrittenTrack(Save(0)), ExpectedTrack(midi));

    // Swaps of neighbours elsewhere in one list, and a record moved from the
    // start of a list to a late tick.
    const int size = midi.GetSizeMidievents(5);
    for (int at : {0, size / 4, size - 2}) {
        SCOPED_TRACE(at);
        const MidiEvent a = midi.GetMidievent(5, at);
        MidiEvent b = midi.GetMidievent(5, at + 1);
        b.Tick = a.Tick > 0 ? a.Tick - 1 : 0;
        midi.EditMidievent(5, at, b);
        midi.EditMidievent(5, at + 1, a);
        EXPECT_EQ(WrittenTrack(Save(0)), ExpectedTrack(midi));
    }
    MidiEvent moved = midi.GetMidievent(9, 0);
    moved.Tick = 1200;
    midi.EditMidievent(9, 0, moved);
    EXPECT_EQ(WrittenTrack(Save(0)), ExpectedTrack(midi));
}

TEST_F(Merge, SingleRecordEncodersWriteOnlyMessagesOfTheirSize) {
    // Each encoder takes the first record of the format 0 save sequence, or of
    // a channel list for format 1, which applies the note-off rule.
    const auto encode = [&](bool (StandardMidifile::*encoder)()) {
        midi.InitWritePuffer();
        (midi.*encoder)();
        return Hex(midi.WrittenBytes());
    };
    const auto encode1 = [&](bool (StandardMidifile::*encoder)(int), int channel) {
        midi.InitWritePuffer();
        (midi.*encoder)(channel);
        return Hex(midi.WrittenBytes());
    };
    using M = StandardMidifile;

    midi.InsertSaveMidiEventToContainer(ChannelRecord(1, 0x92, 60, 0));
    EXPECT_EQ(encode(&M::MidiEventToPuffer), "01 92 3C 00");
    EXPECT_EQ(encode(&M::LongMidiEventToPuffer), "01 92 3C 00");
    EXPECT_EQ(encode(&M::ShortMidiEventToPuffer), "");

    midi.InitHauptcontainer();
    midi.InsertSaveMidiEventToContainer(ChannelRecord(2, 0xC1, 5));
    EXPECT_EQ(encode(&M::MidiEventToPuffer), "02 C1 05");
    EXPECT_EQ(encode(&M::ShortMidiEventToPuffer), "02 C1 05");
    EXPECT_EQ(encode(&M::LongMidiEventToPuffer), "");

    midi.InitHauptcontainer();
    midi.InsertSaveMidiEventToContainer(ChannelRecord(2, 0x90, 0x80, 1));  // no valid message
    EXPECT_EQ(encode(&M::MidiEventToPuffer), "");
    EXPECT_EQ(encode(&M::LongMidiEventToPuffer), "");

    midi.InitHauptcontainer();
    midi.AddMidievent(ChannelRecord(3, 0x94, 60, 0));
    EXPECT_EQ(encode1(&M::MidiEventToPufferFormatOne, 4), "03 84 3C 00");
    EXPECT_EQ(encode1(&M::LongMidiEventToFormatOnePuffer, 4), "03 84 3C 00");
    EXPECT_EQ(encode1(&M::ShortMidiEventToFormatOnePuffer, 4), "");
    EXPECT_EQ(encode1(&M::MidiEventToPufferFormatOne, 3), "");
    EXPECT_EQ(encode1(&M::MidiEventToPufferFormatOne, 16), "");
}

}  // namespace
