// Chords from the notes: the beat grid, what is read and what is written.
// Songs are built as channel lists in the test; each case names the chords it
// must give, as "TICK NAME" the way the chord names read.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "chords/ChordBeats.h"
#include "ChordNames.h"
#include "ChordRecognition.h"
#include "ServiceRecords.h"
#include "StandardMidifile.h"
#include "TestSupport.h"

namespace tonalux {
namespace {

using testing::ChordRecord;
using testing::MetaRecord;

constexpr std::uint32_t kQuarter = 96;
constexpr std::uint32_t kBar = 4 * kQuarter;

MetaEvent TimeSignature(std::uint32_t tick, std::uint8_t numerator, std::uint8_t power) {
    return MetaRecord(tick, 0x58, {numerator, power, 24, 8});
}
MetaEvent KeySignature(std::uint32_t tick, int fifths) {
    return MetaRecord(tick, 0x59, {static_cast<std::uint8_t>(fifths), 0});
}

// A song under construction: notes on channels, metres and keys.
struct Song {
    std::array<std::vector<MidiEvent>, 16> Channels;
    std::vector<MetaEvent> Metres;
    std::vector<MetaEvent> Meta;
    std::uint16_t Division = kQuarter;

    // Plays `keys` together on `channel` from `tick` for `length` ticks; a
    // length of 0 leaves the notes without an end.
    Song& Play(std::uint32_t tick, std::uint32_t length, std::vector<int> keys, int channel = 0) {
        auto& list = Channels[static_cast<std::size_t>(channel)];
        for (int key : keys) {
            const auto status = static_cast<std::uint8_t>(0x90 | channel);
            list.push_back({tick, 0, channel, 0x90, status, static_cast<std::uint8_t>(key), 100, 0});
            if (length > 0)
                list.push_back({tick + length, 0, channel, 0x80, static_cast<std::uint8_t>(0x80 | channel),
                                static_cast<std::uint8_t>(key), 0, 0});
        }
        std::stable_sort(list.begin(), list.end(), [](const MidiEvent& a, const MidiEvent& b) { return a.Tick < b.Tick; });
        return *this;
    }
    // A triad with its root an octave below as bass, for a bar.
    Song& Bar(std::uint32_t bar, std::vector<int> chord, int bass) {
        Play(bar * kBar, kBar, {bass});
        return Play(bar * kBar, kBar, chord);
    }
};

std::vector<std::string> Named(const std::vector<MetaEvent>& events) {
    StandardMidifile engine(nullptr);
    std::vector<std::string> out;
    for (const MetaEvent& e : events) out.push_back(std::to_string(e.Tick) + " " + engine.YamChordCalculate(e));
    return out;
}

std::vector<std::string> Recognise(const Song& song) {
    return Named(detail::RecogniseFromNotes(song.Division, song.Metres, song.Channels, song.Meta,
                                            detail::ProfileWeights{}, detail::ModelWeights{}));
}

// C major, F major, G7, C major over bass notes: the common song.
Song Cadence() {
    return Song()
        .Bar(0, {60, 64, 67}, 48)
        .Bar(1, {60, 65, 69}, 53)
        .Bar(2, {59, 62, 65, 67}, 43)
        .Bar(3, {60, 64, 67}, 48);
}

struct RecognitionCase {
    const char* Behaviour;
    Song Input;
    std::vector<std::string> Chords;
};

TEST(ChordRecognition, SongsGiveTheirChords) {
    const std::vector<std::string> cadence{"0 C", "384 F", "768 G7", "1152 C"};
    Song drums = Cadence();
    for (std::uint32_t t = 0; t < 4 * kBar; t += kQuarter / 2) drums.Play(t, 20, {37, 42, 46, 49, 54, 61}, 9);
    Song onlyDrums;
    onlyDrums.Play(0, kBar, {36, 40, 43}, 9);
    Song waltz;  // 3/4: a bar is three beats, 288 ticks
    waltz.Metres = {TimeSignature(0, 3, 2)};
    waltz.Play(0, 288, {48}).Play(0, 288, {60, 64, 67}).Play(288, 288, {41}).Play(288, 288, {57, 60, 65});
    Song metreChange;  // one bar of 2/4, then 4/4 from tick 192
    metreChange.Metres = {TimeSignature(0, 2, 2), TimeSignature(192, 4, 2)};
    metreChange.Play(0, 192, {48, 60, 64, 67}).Play(192, kBar, {43, 59, 62, 67});
    Song twoInABar;
    twoInABar.Play(0, 192, {48, 60, 64, 67}).Play(192, 192, {53, 60, 65, 69}).Bar(1, {60, 64, 67}, 48);
    Song silence = Cadence();  // two bars of silence after the cadence, then C again
    silence.Bar(6, {60, 64, 67}, 48);
    Song shortRest = Song().Bar(0, {60, 64, 67}, 48);
    shortRest.Play(kBar + kQuarter, 3 * kQuarter, {48, 60, 64, 67});
    Song inversion = Song().Bar(0, {60, 64, 67}, 40);
    Song openNotes;  // notes that never end sound to the channel's last record
    openNotes.Play(0, 0, {48, 60, 64, 67});
    openNotes.Channels[0].push_back({2 * kBar, 0, 0, 0xB0, 0xB0, 7, 100, 0});  // a volume change ends the channel
    Song oneNote = Song().Play(0, kBar, {60});
    Song late;  // notes far beyond everything else: no grid reaches that far
    late.Play(4000000000u, 10, {48, 60, 64, 67});
    // C held for two bars, then F; controllers, pressure and bends naming the
    // keys of the C come in its first bar.
    Song otherEvents = Song().Play(0, 2 * kBar, {48, 60, 64, 67}).Bar(2, {60, 65, 69}, 53);
    for (std::uint8_t kind : {0xA0, 0xB0, 0xE0})
        for (std::uint8_t key : {48, 60, 64, 67})
            otherEvents.Channels[0].push_back({kQuarter, 0, 0, kind, kind, key, 0, 0});
    std::stable_sort(otherEvents.Channels[0].begin(), otherEvents.Channels[0].end(),
                     [](const MidiEvent& a, const MidiEvent& b) { return a.Tick < b.Tick; });
    // More notes on one channel than are gathered at a time: C and F bar by bar.
    Song longSong;
    std::vector<std::string> longChords;
    constexpr std::uint32_t kLongBars = 4500;  // four notes a bar
    longSong.Channels[0].reserve(8 * kLongBars);
    for (std::uint32_t bar = 0; bar < kLongBars; ++bar) {
        const bool c = bar % 2 == 0;
        for (int key : c ? std::vector<int>{48, 60, 64, 67} : std::vector<int>{41, 60, 65, 69}) {
            const auto k = static_cast<std::uint8_t>(key);
            longSong.Channels[0].push_back({bar * kBar, 0, 0, 0x90, 0x90, k, 100, 0});
            longSong.Channels[0].push_back({bar * kBar + kBar - 1, 0, 0, 0x80, 0x80, k, 0, 0});
        }
        longChords.push_back(std::to_string(bar * kBar) + (c ? " C" : " F"));
    }
    std::stable_sort(longSong.Channels[0].begin(), longSong.Channels[0].end(),
                     [](const MidiEvent& a, const MidiEvent& b) { return a.Tick < b.Tick; });

    const std::vector<RecognitionCase> cases{
        {"plain cadence", Cadence(), cadence},
        {"the drum channel is not read", drums, cadence},
        {"drums alone tell nothing", onlyDrums, {}},
        {"a waltz changes on its bars", waltz, {"0 C", "288 F"}},
        {"a change of metre starts a bar at its tick", metreChange, {"0 C", "192 G"}},
        {"two chords in a bar", twoInABar, {"0 C", "192 F", "384 C"}},
        {"a silence of a bar or more ends the chord", silence, {"0 C", "384 F", "768 G7", "1152 C", "1536 Cnc", "2304 C"}},
        {"a rest shorter than a bar keeps the chord", shortRest, {"0 C"}},
        {"another chord tone in the bass", inversion, {"0 C  /E"}},
        {"notes without an end", openNotes, {"0 C"}},
        {"a single note tells nothing", oneNote, {}},
        {"a note far out gets its chord", late, {"3999999936 C"}},
        {"events other than notes end no note", otherEvents, {"0 C", "768 F"}},
        {"every note of a long channel counts", longSong, longChords},
    };
    for (const auto& c : cases) EXPECT_EQ(Recognise(c.Input), c.Chords) << c.Behaviour;
}

TEST(ChordRecognition, RootsAreSpelledByTheKey) {
    // Bb major in F major, A# in B major; without a key signature F# minor
    // among D major chords, C# minor among E major ones.
    const Song bb = Song().Bar(0, {58, 62, 65}, 46);
    Song inF = bb, inB = bb;
    inF.Meta = {KeySignature(0, -1)};
    inB.Meta = {KeySignature(0, 5)};
    Song dMajor = Song().Bar(0, {62, 66, 69}, 50).Bar(1, {61, 66, 69}, 54).Bar(2, {62, 67, 71}, 55).Bar(3, {61, 64, 69}, 45);
    Song laterKey = Song().Bar(0, {58, 62, 65}, 46).Bar(1, {61, 65, 68}, 49);
    laterKey.Meta = {KeySignature(0, -2), KeySignature(kBar, 4)};
    const std::vector<RecognitionCase> cases{
        {"flat key", inF, {"0 Bb"}},
        {"sharp key", inB, {"0 A#"}},
        {"key from the notes", dMajor, {"0 D", "384 F#m", "768 G", "1152 A"}},
        {"the key in force at the chord", laterKey, {"0 Bb", "384 C#"}},
    };
    for (const auto& c : cases) EXPECT_EQ(Recognise(c.Input), c.Chords) << c.Behaviour;

    const std::vector<std::pair<int, std::string>> inC{{1, "Db"}, {3, "Eb"}, {6, "F#"}, {8, "Ab"}, {10, "Bb"}};
    StandardMidifile engine(nullptr);
    for (const auto& [pc, name] : inC)
        EXPECT_EQ(engine.YamChordCalculate(MakeChordEvent(0, SpellPitchClass(pc, 0), 0)), name) << pc;
}

TEST(ChordRecognition, BeatGridFollowsDivisionAndMetres) {
    struct GridCase {
        const char* Behaviour;
        std::uint16_t Division;
        std::vector<MetaEvent> Metres;
        std::uint32_t End;
        std::size_t MaxBeats;
        std::string Beats;  // "tick:strength" of every beat
    };
    const std::vector<GridCase> cases{
        {"4/4 without a time signature", 4, {}, 32, 100, "0:2 4:0 8:1 12:0 16:2 20:0 24:1 28:0"},
        {"3/4 then 4/4", 4, {TimeSignature(0, 3, 2), TimeSignature(12, 4, 2)}, 28, 100, "0:2 4:0 8:0 12:2 16:0 20:1 24:0"},
        {"6/8 beats in dotted quarters", 4, {TimeSignature(0, 6, 3)}, 24, 100, "0:2 6:1 12:2 18:1"},
        {"a metre changed inside a bar starts a bar", 4, {TimeSignature(6, 2, 2)}, 14, 100, "0:2 4:0 6:2 10:1"},
        {"a time signature without a metre is passed over", 4, {MetaRecord(0, 0x58, {0, 2}), MetaRecord(0, 0x58, {3})}, 8, 100,
         "0:2 4:0"},
        {"division 1: a beat per tick", 1, {}, 5, 100, "0:2 1:0 2:1 3:0 4:2"},
        {"beats shorter than a tick are one tick", 1, {TimeSignature(0, 4, 5)}, 3, 100, "0:2 1:0 2:1"},
        {"the largest division", 32767, {}, 65534, 100, "0:2 32767:0"},
        {"division 0 gives no beats", 0, {}, 100, 100, ""},
        {"a frame division gives no beats", 0xE728, {}, 100, 100, ""},
        {"at most the beats asked for", 4, {}, 4000000000u, 3, "0:2 4:0 8:1"},
    };
    for (const auto& c : cases) {
        std::string beats;
        for (const auto& beat : detail::BuildBeatGrid(c.Division, c.Metres, c.End, c.MaxBeats))
            beats += (beats.empty() ? "" : " ") + std::to_string(beat.Tick) + ":" + std::to_string(beat.Strength);
        EXPECT_EQ(beats, c.Beats) << c.Behaviour;
    }
}

TEST(ChordRecognition, ChordEventsAreKeptOrReplaced) {
    testing::RecordingHost host;
    StandardMidifile engine(nullptr);
    struct ListCase {
        const char* Behaviour;
        bool HadChords;
        bool Notes;
        bool Replace;
        ChordsFromNotes Outcome;
        std::vector<std::string> Chords;
    };
    const std::vector<ListCase> cases{
        {"a song without chords gets them", false, true, false, ChordsFromNotes::Added, {"0 C", "384 F", "768 G7", "1152 C"}},
        {"a song's own chords are kept", true, true, false, ChordsFromNotes::AlreadyHad, {"0 Eb7"}},
        {"or replaced when asked", true, true, true, ChordsFromNotes::Added, {"0 C", "384 F", "768 G7", "1152 C"}},
        {"no notes: nothing added", false, false, false, ChordsFromNotes::NoneFound, {}},
        {"no notes: the own chords stay even when asked to replace", true, false, true, ChordsFromNotes::NoneFound,
         {"0 Eb7"}},
    };
    for (const auto& c : cases) {
        engine.InitHauptcontainer();
        engine.Division = kQuarter;
        if (c.Notes)
            for (const auto& list : Cadence().Channels)
                for (const MidiEvent& e : list) engine.AddMidievent(e);
        if (c.HadChords) engine.AddYamchord(ChordRecord(0, 0x23, 19));
        const int notes = engine.GetSizeMidievents(0);
        const ChordRecognitionResult result = AddChordsFromNotes(engine, c.Replace);
        EXPECT_EQ(result.Outcome, c.Outcome) << c.Behaviour;
        std::vector<MetaEvent> chords;
        for (int i = 0; i < engine.GetSizeYamChordEvents(); ++i) chords.push_back(engine.GetYamchord(i));
        EXPECT_EQ(Named(chords), c.Chords) << c.Behaviour;
        EXPECT_EQ(engine.GetSizeMidievents(0), notes) << c.Behaviour;
    }
    engine.InitHauptcontainer();
}

TEST(ChordRecognition, EveryChordNameReadsBackToItsBytes) {
    StandardMidifile engine(nullptr);
    for (std::uint8_t type = 0; type <= 34; ++type) {
        for (std::uint8_t root : {0x31, 0x27, 0x44, 0x07, 0x66, 0x15}) {
            for (std::uint8_t bass : {0x7F, 0x33, 0x22, 0x47, 0x01, 0x65}) {
                const std::string name = engine.YamChordCalculate(ChordRecord(0, root, type, bass));
                const auto bytes = ChordFromName(name);
                ASSERT_TRUE(bytes) << name;
                EXPECT_EQ(bytes->Root, root) << name;
                EXPECT_EQ(bytes->Type, type) << name;
                EXPECT_EQ(bytes->Bass, bass) << name;
            }
        }
    }
    for (const char* bad : {"", "H", "c", "Cx", "C7x", "C  /", "C  /H", "C /E", "C  /Eb7", "Cmaj7", "#C", "Cbbbb"})
        EXPECT_FALSE(ChordFromName(bad)) << bad;
}

}  // namespace
}  // namespace tonalux
