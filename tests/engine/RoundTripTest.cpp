// Load, save and load again: every list comes back as it was (apart from the
// stored Delta, which the writers recompute from the ticks), and a song saved
// again after the reload gives the same file.
#include <gtest/gtest.h>

#include <sstream>

#include "ArrangerSong.h"
#include "WriterFixture.h"

using namespace tonalux;
using namespace tonalux::testing;

namespace {

std::string DataText(const DataBlock& data, std::uint32_t length) {
    return Hex(Bytes(data.get(), data.get() + length));
}

// Every record of every list as one line of text, list by list.
std::vector<std::string> Snapshot(StandardMidifile& midi, bool noteOffRule = false) {
    std::vector<std::string> lines;
    const auto meta = [&](const char* list, const MetaEvent& e) {
        std::ostringstream line;
        line << list << ' ' << e.Tick << ' ' << int{e.Status} << ' ' << int{e.Type} << ' ' << e.Length << ' '
             << DataText(e.Data, e.Length);
        lines.push_back(line.str());
    };
    for (int c = 0; c < 16; ++c) {
        for (int i = 0; i < midi.GetSizeMidievents(c); ++i) {
            MidiEvent e = midi.GetMidievent(c, i);
            if (noteOffRule && e.Kind == 0x90 && e.Data2 == 0) {
                e.Kind = 0x80;
                e.Status = static_cast<std::uint8_t>(0x80 | (e.Status & 0x0F));
            }
            std::ostringstream line;
            line << "channel " << c << ' ' << e.Tick << ' ' << e.Channel << ' ' << e.Kind << ' ' << int{e.Status}
                 << ' ' << int{e.Data1} << ' ' << int{e.Data2} << ' ' << int{e.Data3};
            lines.push_back(line.str());
        }
    }
    for (int i = 0; i < midi.GetSizeMetaEvents(); ++i) meta("meta", midi.GetMetaEvent(i));
    for (int i = 0; i < midi.GetSizeTempoevents(); ++i) meta("tempo", midi.GetTempoevent(i));
    for (int i = 0; i < midi.GetSizeMessureEvents(); ++i) meta("metre", midi.GetMessure(i));
    for (int i = 0; i < midi.GetSizeLyricEvents(); ++i) meta("lyric", midi.GetLyricevent(i));
    for (int i = 0; i < midi.GetSizeYamChordEvents(); ++i) meta("chord", midi.GetYamchord(i));
    for (int i = 0; i < midi.GetSizeMarkerEvents(); ++i) {
        const Marker m = midi.GetMarkerevent(i);
        std::ostringstream line;
        line << "marker " << m.Tick << ' ' << int{m.Status} << ' ' << int{m.Type} << ' ' << m.Length << ' '
             << DataText(m.Data, m.Length);
        lines.push_back(line.str());
    }
    for (int i = 0; i < midi.GetSizeSysexEvents(); ++i) {
        const SysexEvent e = midi.GetSysex(i);
        std::ostringstream line;
        line << "sysex " << e.Tick << ' ' << int{e.Status} << ' ' << int{e.Manufacturer} << ' ' << e.Length << ' '
             << DataText(e.Data, e.Length);
        lines.push_back(line.str());
    }
    return lines;
}

// Compares two snapshots and names the first line where they part.
::testing::AssertionResult SameLists(const std::vector<std::string>& expected, const std::vector<std::string>& actual) {
    for (std::size_t i = 0; i < std::min(expected.size(), actual.size()); ++i) {
        if (expected[i] != actual[i]) {
            return ::testing::AssertionFailure() << "record " << i << ": expected \"" << expected[i] << "\", got \""
                                                 << actual[i] << "\"";
        }
    }
    if (expected.size() != actual.size()) {
        return ::testing::AssertionFailure() << expected.size() << " records expected, " << actual.size() << " found";
    }
    return ::testing::AssertionSuccess();
}

class RoundTrip : public WriterTest {
protected:
    void Check(const Bytes& song) {
        ASSERT_TRUE(Load(song));
        const std::uint16_t division = midi.Division;
        const auto original = Snapshot(midi);
        const auto originalFormat1 = Snapshot(midi, true);
        ASSERT_GT(original.size(), 100u);

        const Bytes format0 = Save(0, "f0.mid");
        const Bytes format1 = Save(1, "f1.mid");
        EXPECT_TRUE(SameLists(original, Snapshot(midi))) << "saving changed the lists";

        ASSERT_TRUE(midi.LoadMidifile(dir.File("f0.mid")));
        EXPECT_EQ(midi.Format, 0);
        EXPECT_EQ(midi.Division, division);
        EXPECT_TRUE(SameLists(original, Snapshot(midi))) << "format 0";
        EXPECT_EQ(Save(0, "again0.mid"), format0);

        ASSERT_TRUE(midi.LoadMidifile(dir.File("f1.mid")));
        EXPECT_EQ(midi.Format, 1);
        EXPECT_EQ(midi.Division, division);
        EXPECT_TRUE(SameLists(originalFormat1, Snapshot(midi))) << "format 1";
        EXPECT_EQ(Save(1, "again1.mid"), format1);
        EXPECT_TRUE(host.messages.empty());
    }
};

TEST_F(RoundTrip, ArrangerSongsComeBackThroughBothFormats) {
    for (std::uint64_t seed : {1, 2, 3}) {
        SCOPED_TRACE(seed);
        Check(ArrangerSong(12000, seed, static_cast<std::uint16_t>(96 * seed)));
    }
}

TEST_F(RoundTrip, TwoTracksOnOneChannelComeBackInTickOrder) {
    Check(SharedChannelSong(5000));
}

TEST_F(RoundTrip, ArrangerSongHasEveryKindOfRecord) {
    ASSERT_TRUE(Load(ArrangerSong(5000)));
    for (int c = 0; c < 16; ++c) EXPECT_GT(midi.GetSizeMidievents(c), 8) << c;
    EXPECT_GT(midi.GetSizeMetaEvents(), 0);
    EXPECT_GT(midi.GetSizeTempoevents(), 1);
    EXPECT_GT(midi.GetSizeMessureEvents(), 1);
    EXPECT_GT(midi.GetSizeLyricEvents(), 0);
    EXPECT_GT(midi.GetSizeYamChordEvents(), 0);
    EXPECT_GT(midi.GetSizeMarkerEvents(), 0);
    EXPECT_GT(midi.GetSizeSysexEvents(), 3);
    EXPECT_EQ(ArrangerSong(5000), ArrangerSong(5000));
}

}  // namespace
