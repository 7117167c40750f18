// Chords from the notes: the beat grid, what is read and what is written.
// Songs are built as channel lists in the test; each case names the chords it
// must give, as "TICK NAME" the way the chord names read.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "chords/ChordBeats.h"
#include "chords/ChordSpelling.h"
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
MetaEvent KeySignature(std::uint32_t tick, int fifths, bool minor = false) {
    return MetaRecord(tick, 0x59, {static_cast<std::uint8_t>(fifths), static_cast<std::uint8_t>(minor ? 1 : 0)});
}

// How a song ends its notes: both are common, and both must give the same chords.
enum class NoteEnd { NoteOff, ZeroVelocity };

// A song under construction: notes on channels, other events, metres and keys.
struct Song {
    struct Played {
        std::uint32_t Tick, Length;
        int Key, Channel;
    };
    std::vector<Played> Notes;
    std::vector<MidiEvent> Others;
    std::vector<MetaEvent> Metres;
    std::vector<MetaEvent> Meta;
    std::uint16_t Division = kQuarter;

    // Plays `keys` together on `channel` from `tick` for `length` ticks; a
    // length of 0 leaves the notes without an end.
    Song& Play(std::uint32_t tick, std::uint32_t length, std::vector<int> keys, int channel = 0) {
        for (int key : keys) Notes.push_back({tick, length, key, channel});
        return *this;
    }
    // A triad with its root an octave below as bass, for a bar.
    Song& Bar(std::uint32_t bar, std::vector<int> chord, int bass) {
        Play(bar * kBar, kBar, {bass});
        return Play(bar * kBar, kBar, chord);
    }
    // The channel lists, each in tick order; the notes end as `end` says.
    std::array<std::vector<MidiEvent>, 16> Channels(NoteEnd end) const {
        std::array<std::vector<MidiEvent>, 16> channels;
        for (const Played& note : Notes) {
            auto& list = channels[static_cast<std::size_t>(note.Channel)];
            const auto on = static_cast<std::uint8_t>(0x90 | note.Channel);
            const auto key = static_cast<std::uint8_t>(note.Key);
            list.push_back({note.Tick, 0, note.Channel, 0x90, on, key, 100, 0});
            if (note.Length == 0) continue;
            if (end == NoteEnd::NoteOff)
                list.push_back({note.Tick + note.Length, 0, note.Channel, 0x80, static_cast<std::uint8_t>(0x80 | note.Channel), key, 64, 0});
            else
                list.push_back({note.Tick + note.Length, 0, note.Channel, 0x90, on, key, 0, 0});
        }
        for (const MidiEvent& event : Others) channels[static_cast<std::size_t>(event.Channel)].push_back(event);
        for (auto& list : channels)
            std::stable_sort(list.begin(), list.end(), [](const MidiEvent& x, const MidiEvent& y) { return x.Tick < y.Tick; });
        return channels;
    }
};

std::vector<std::string> Named(const std::vector<MetaEvent>& events) {
    StandardMidifile engine(nullptr);
    std::vector<std::string> out;
    for (const MetaEvent& e : events) out.push_back(std::to_string(e.Tick) + " " + engine.YamChordCalculate(e));
    return out;
}

std::vector<std::string> Recognise(const Song& song, NoteEnd end) {
    return Named(detail::RecogniseFromNotes(song.Division, song.Metres, song.Channels(end), song.Meta,
                                            detail::ProfileWeights{}, detail::ModelWeights{}));
}

struct RecognitionCase {
    const char* Behaviour;
    Song Input;
    std::vector<std::string> Chords;
};

// Every case with both note endings.
void ExpectChords(const std::vector<RecognitionCase>& cases) {
    for (const auto& c : cases)
        for (NoteEnd end : {NoteEnd::NoteOff, NoteEnd::ZeroVelocity})
            EXPECT_EQ(Recognise(c.Input, end), c.Chords)
                << c.Behaviour << (end == NoteEnd::NoteOff ? " (note-offs)" : " (note-ons of velocity 0)");
}

// C major, F major, G7, C major over bass notes: the common song.
Song Cadence() {
    return Song()
        .Bar(0, {60, 64, 67}, 48)
        .Bar(1, {60, 65, 69}, 53)
        .Bar(2, {59, 62, 65, 67}, 43)
        .Bar(3, {60, 64, 67}, 48);
}

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
    Song barOfSilence = Cadence();  // exactly one bar of silence
    barOfSilence.Bar(5, {60, 64, 67}, 48);
    Song shortRest = Song().Bar(0, {60, 64, 67}, 48);
    shortRest.Play(kBar + kQuarter, 3 * kQuarter, {48, 60, 64, 67});
    Song inversion = Song().Bar(0, {60, 64, 67}, 40);
    Song openNotes;  // notes that never end sound to the channel's last record
    openNotes.Play(0, 0, {48, 60, 64, 67});
    openNotes.Others.push_back({2 * kBar, 0, 0, 0xB0, 0xB0, 7, 100, 0});  // a volume change ends the channel
    Song oneNote = Song().Play(0, kBar, {60});
    Song late;  // notes near the last tick there is
    late.Play(4000000000u, 10, {48, 60, 64, 67});
    Song farApart = Song().Bar(0, {60, 64, 67}, 48).Bar(1299, {60, 65, 69}, 53);
    // C held for two bars, then F; controllers, pressure and bends naming the
    // keys of the C come in its first bar.
    Song otherEvents = Song().Play(0, 2 * kBar, {48, 60, 64, 67}).Bar(2, {60, 65, 69}, 53);
    for (std::uint8_t kind : {0xA0, 0xB0, 0xE0})
        for (std::uint8_t key : {48, 60, 64, 67}) otherEvents.Others.push_back({kQuarter, 0, 0, kind, kind, key, 0, 0});
    // More notes on one channel than a song of a few bars: C and F bar by bar.
    Song longSong;
    std::vector<std::string> longChords;
    constexpr std::uint32_t kLongBars = 4500;
    for (std::uint32_t bar = 0; bar < kLongBars; ++bar) {
        const bool c = bar % 2 == 0;
        longSong.Play(bar * kBar, kBar - 1, c ? std::vector<int>{48, 60, 64, 67} : std::vector<int>{41, 60, 65, 69});
        longChords.push_back(std::to_string(bar * kBar) + (c ? " C" : " F"));
    }
    ExpectChords({
        {"plain cadence", Cadence(), cadence},
        {"the drum channel is not read", drums, cadence},
        {"drums alone tell nothing", onlyDrums, {}},
        {"a waltz changes on its bars", waltz, {"0 C", "288 F"}},
        {"a change of metre starts a bar at its tick", metreChange, {"0 C", "192 G"}},
        {"two chords in a bar", twoInABar, {"0 C", "192 F", "384 C"}},
        {"a silence of a bar or more ends the chord", silence, {"0 C", "384 F", "768 G7", "1152 C", "1536 Cnc", "2304 C"}},
        {"a silence of exactly a bar ends the chord", barOfSilence, {"0 C", "384 F", "768 G7", "1152 C", "1536 Cnc", "1920 C"}},
        {"a rest shorter than a bar keeps the chord", shortRest, {"0 C"}},
        {"another chord tone in the bass", inversion, {"0 C  /E"}},
        {"notes without an end", openNotes, {"0 C"}},
        {"a single note tells nothing", oneNote, {}},
        {"a note far out gets its chord", late, {"3999999936 C"}},
        {"chords 1,300 bars apart both count", farApart, {"0 C", "384 Cnc", "498816 F"}},
        {"events other than notes end no note", otherEvents, {"0 C", "768 F"}},
        {"every note of a long channel counts", longSong, longChords},
    });
}

TEST(ChordRecognition, ChordsAsAKeyboardPlayerNamesThem) {
    // Oom-pah waltz: the bass alone on the first beat, the chord on the others.
    Song oomPah;
    oomPah.Metres = {TimeSignature(0, 3, 2)};
    for (std::uint32_t bar = 0; bar < 2; ++bar) {
        const std::uint32_t at = bar * 288;
        oomPah.Play(at, kQuarter, {bar == 0 ? 48 : 41}).Play(at + kQuarter, kQuarter, bar == 0 ? std::vector<int>{60, 64, 67} : std::vector<int>{57, 60, 65});
        oomPah.Play(at + 2 * kQuarter, kQuarter, bar == 0 ? std::vector<int>{60, 64, 67} : std::vector<int>{57, 60, 65});
    }
    Song slashLater = Song().Bar(0, {60, 64, 67}, 48).Bar(1, {60, 64, 67}, 52);
    Song rootFifth;  // F7 over a bass going F, C (below), F, C in quarters, then in halves
    rootFifth.Play(0, 2 * kBar, {60, 63, 65, 69});
    for (std::uint32_t beat = 0; beat < 4; ++beat) rootFifth.Play(beat * kQuarter, kQuarter, {beat % 2 == 0 ? 41 : 36});
    rootFifth.Play(kBar, 2 * kQuarter, {41}).Play(kBar + 2 * kQuarter, 2 * kQuarter, {36});
    Song walkingToE = Song().Bar(0, {60, 64, 67}, 48);  // a passing E for one beat is no inversion
    walkingToE.Play(kBar, kQuarter, {48}).Play(kBar + kQuarter, kQuarter, {50}).Play(kBar + 2 * kQuarter, kQuarter, {52});
    walkingToE.Play(kBar + 3 * kQuarter, kQuarter, {53}).Play(kBar, kBar, {60, 64, 67});
    Song rootless = Song().Bar(0, {57, 60, 63}, 41).Bar(1, {57, 60, 63}, 48);  // F7 without its F
    Song sus = Song().Bar(0, {55, 60, 62}, 43).Bar(1, {55, 59, 62}, 43);      // G C D, then G B D
    Song susOverD = Song().Bar(0, {55, 60, 67}, 50).Bar(1, {55, 59, 62}, 43);  // G C G over D
    Song dimWalk;  // the four notes of a diminished seventh over a bass walking its tones
    dimWalk.Play(0, kBar, {57, 60, 63, 66});
    for (std::uint32_t beat = 0; beat < 4; ++beat) dimWalk.Play(beat * kQuarter, kQuarter, {45 + 3 * static_cast<int>(beat)});
    Song pushed;  // F played an eighth ahead of the bar, held through it
    pushed.Play(0, kBar - kQuarter / 2, {48, 60, 64, 67}).Play(kBar - kQuarter / 2, kBar + kQuarter / 2, {53, 60, 65, 69});
    Song shortAhead;  // a short F an eighth before the bar is the C bar's passing note
    shortAhead.Play(0, kBar, {48, 60, 64, 67}).Play(kBar - kQuarter / 2, kQuarter / 4, {65}).Bar(1, {60, 65, 69}, 53);
    Song augWalk;  // C E G# struck on every beat over a bass going C, C, E, E
    for (std::uint32_t beat = 0; beat < 4; ++beat)
        augWalk.Play(beat * kQuarter, kQuarter, {beat < 2 ? 48 : 52, 60, 64, 68});
    Song restruck;  // A C E G struck on every beat over A: the same notes, one chord
    for (std::uint32_t beat = 0; beat < 8; ++beat) restruck.Play(beat * kQuarter, kQuarter, {45, 60, 64, 67, 69});
    Song dimRestruck;  // A C Eb Gb over A, then over C with a passing D: the same chord
    dimRestruck.Play(0, 2 * kBar, {57, 60, 63, 66}).Play(0, kBar, {45}).Play(kBar, kBar, {48}).Play(kBar + kQuarter, 20, {74});
    // B D F for four bars, then G B D F: the diminished triad is the G7 without its root.
    Song dimBeforeSeventh = Song().Bar(0, {59, 62, 65}, 47).Bar(1, {59, 62, 65}, 47).Bar(2, {59, 62, 65}, 47);
    dimBeforeSeventh.Bar(3, {59, 62, 65}, 47).Bar(4, {55, 59, 62, 65}, 43);
    // C for three beats, then G over B for one, then C: a short chord keeps its bass.
    Song shortInversion = Song().Play(0, 3 * kQuarter, {48, 60, 64, 67}).Play(3 * kQuarter, kQuarter, {47, 55, 62, 67});
    shortInversion.Bar(1, {60, 64, 67}, 48);
    ExpectChords({
        {"a diminished triad before its dominant seventh is that seventh", dimBeforeSeventh, {"0 G7  /B", "1536 G7"}},
        {"a chord of one beat over its third keeps the bass", shortInversion, {"0 C", "288 G  /B", "384 C"}},
        {"a diminished seventh over a new bass stays that chord", dimRestruck, {"0 Ad7", "384 Ad7  /C"}},
        {"a chord played ahead of the bar starts on the bar", pushed, {"0 C", "384 F"}},
        {"a short note ahead of the bar is no push", shortAhead, {"0 C", "384 F"}},
        {"an augmented triad over a moving bass is one chord", augWalk, {"0 Caug", "192 Caug  /E"}},
        {"the same notes struck again give no new chord", restruck, {"0 Am7"}},
        {"the chord starts on its bass note", oomPah, {"0 C", "288 F"}},
        {"a bass a bar later gives a chord of its own", slashLater, {"0 C", "384 C  /E"}},
        {"a bass between root and fifth is no inversion", rootFifth, {"0 F7"}},
        {"a passing bass note is no inversion", walkingToE, {"0 C"}},
        {"a seventh chord without its root stays that chord", rootless, {"0 F7", "384 F7  /C"}},
        {"a suspended fourth is named so", sus, {"0 Gsus4", "384 G"}},
        {"a chord whose third is not played is not named", susOverD, {"0 D7sus4", "384 G"}},
        {"one diminished seventh over a walking bass is one chord", dimWalk, {"0 Ad7"}},
    });
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
    // In D minor the leading tone is C#, in A minor G#; a dominant's third in the bass by its root.
    Song dMinor = Song().Bar(0, {57, 61, 64, 67}, 49).Bar(1, {62, 65, 69}, 50).Bar(2, {61, 64, 67}, 49).Bar(3, {62, 65, 69}, 50);
    dMinor.Meta = {KeySignature(0, -1, true)};
    Song aMinor = Song().Bar(0, {52, 56, 59, 62}, 44).Bar(1, {57, 60, 64}, 45);
    aMinor.Meta = {KeySignature(0, 0, true)};
    Song leading = Song().Bar(0, {61, 64, 67, 70}, 40).Bar(1, {62, 65, 69}, 50);  // a dim7 before Dm
    Song gFlat = Song().Bar(0, {59, 63, 66}, 47);
    gFlat.Meta = {KeySignature(0, -6)};
    Song fSharp = Song().Bar(0, {65, 68, 71}, 53);
    fSharp.Meta = {KeySignature(0, 6)};
    Song cSharp = Song().Bar(0, {60, 63, 66}, 48);  // the seventh of C# major, seven sharps
    cSharp.Meta = {KeySignature(0, 7)};
    Song leadingInC = leading;  // the same in C major, where C# is no note of the key
    leadingInC.Meta = {KeySignature(0, 0)};
    // In A minor (by the mode of its signature) a G# chord that leads nowhere.
    Song modeMinor = Song().Bar(0, {57, 60, 64}, 45).Bar(1, {56, 59, 62}, 44).Bar(2, {56, 59, 64}, 52).Bar(3, {57, 60, 64}, 45);
    modeMinor.Meta = {KeySignature(0, 0, true)};
    ExpectChords({
        {"flat key", inF, {"0 Bb"}},
        {"sharp key", inB, {"0 A#"}},
        {"key from the notes", dMajor, {"0 D", "384 F#m", "768 G", "1152 A"}},
        {"the key in force at the chord", laterKey, {"0 Bb", "384 C#"}},
        {"the leading tone of a minor key", dMinor, {"0 A7  /C#", "384 Dm", "768 C#d", "1152 Dm"}},
        {"a dominant's third in a minor key", aMinor, {"0 E7  /G#", "384 Am"}},
        {"a diminished seventh by where it goes", leading, {"0 C#d7  /E", "384 Dm"}},
        {"the fourth of Gb major", gFlat, {"0 Cb"}},
        {"the seventh of F# major", fSharp, {"0 E#d"}},
        {"the seventh of C# major", cSharp, {"0 B#d"}},
        {"a diminished seventh by where it goes, in C major", leadingInC, {"0 C#d7  /E", "384 Dm"}},
        {"the raised seventh of a minor signature", modeMinor, {"0 Am", "384 G#d", "768 E", "1152 Am"}},
    });

    struct Spelling {
        int PitchClass, Fifths;
        bool Minor;
        const char* Name;
    };
    const std::vector<Spelling> spellings{
        {1, 0, false, "Db"}, {3, 0, false, "Eb"},  {6, 0, false, "F#"}, {8, 0, false, "Ab"}, {10, 0, false, "Bb"},
        {11, -6, false, "Cb"}, {5, 6, false, "E#"}, {1, -1, true, "C#"}, {11, -1, true, "B"}, {10, -1, true, "Bb"},
        {8, 0, true, "G#"},  {6, 0, true, "F#"},   {0, 7, false, "B#"}, {4, -7, false, "Fb"}, {3, 3, true, "D#"},
    };
    // A chord tone takes the letter of its degree above the root: a fifth
    // the fifth letter, diminished or augmented, a seventh the seventh.
    struct Tone {
        int Interval;
        int RootPitchClass, RootFifths;
        const char* Name;
    };
    const std::vector<Tone> tones{
        {6, 11, 0, "F"}, {8, 0, 0, "G#"}, {3, 1, 7, "E"}, {10, 6, 6, "E"}, {9, 0, 0, "A"}, {11, 10, -2, "A"},
    };
    StandardMidifile engine(nullptr);
    for (const auto& t : tones) {
        const std::uint8_t root = SpellPitchClass(t.RootPitchClass, t.RootFifths);
        const std::string name = engine.YamChordCalculate(MakeChordEvent(0, root, 0, detail::SpellChordTone(t.Interval, root)));
        EXPECT_EQ(name.substr(name.find('/') + 1), t.Name) << t.Interval << " above " << name;
    }
    for (const auto& s : spellings)
        EXPECT_EQ(engine.YamChordCalculate(MakeChordEvent(0, SpellPitchClass(s.PitchClass, s.Fifths, s.Minor), 0)), s.Name)
            << s.PitchClass << " in " << s.Fifths << (s.Minor ? " minor" : " major");
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
        {"6/8 changes on quarter notes", 4, {TimeSignature(0, 6, 3)}, 24, 100, "0:2 4:0 8:0 12:2 16:0 20:0"},
        {"a metre changed inside a bar starts a bar", 4, {TimeSignature(8, 2, 2)}, 14, 100, "0:2 4:0 8:2 12:1"},
        {"a metre between quarter notes starts on the next", 4, {TimeSignature(5, 3, 3)}, 21, 100, "0:2 4:0 8:2 12:0 16:0 20:2"},
        {"a time signature without a metre is passed over", 4, {MetaRecord(0, 0x58, {0, 2}), MetaRecord(0, 0x58, {3})}, 8, 100,
         "0:2 4:0"},
        {"division 1: a beat per tick", 1, {}, 5, 100, "0:2 1:0 2:1 3:0 4:2"},
        {"beats shorter than a tick are one tick", 1, {TimeSignature(0, 4, 5)}, 3, 100, "0:2 1:2 2:2"},
        {"the largest division", 32767, {}, 65534, 100, "0:2 32767:0"},
        {"division 0 gives no beats", 0, {}, 100, 100, ""},
        {"a frame division gives no beats", 0xE728, {}, 100, 100, ""},
        {"at most the beats asked for", 4, {}, 4000000000u, 3, "0:2 4:0 8:1"},
        {"3/8 on quarters: strong where its bars meet them", 4, {TimeSignature(0, 3, 3)}, 14, 100, "0:2 4:0 8:0 12:2"},
        {"12/8 on quarters, the half bar less strong", 4, {TimeSignature(0, 12, 3)}, 30, 100,
         "0:2 4:0 8:0 12:1 16:0 20:0 24:2 28:0"},
        {"2/2 keeps its half notes", 4, {TimeSignature(0, 2, 1)}, 20, 100, "0:2 8:1 16:2"},
        {"x/16 on quarters", 4, {TimeSignature(0, 7, 4)}, 16, 100, "0:2 4:0 8:0 12:0"},
        {"x/64, the shortest note a signature names, on quarters", 16, {TimeSignature(0, 8, 6)}, 32, 100, "0:2 16:2"},
        {"x/128 names no metre", 16, {TimeSignature(0, 8, 7)}, 32, 100, "0:2 16:0"},
    };
    for (const auto& c : cases) {
        std::string beats;
        for (const auto& beat : detail::BuildBeatGrid(c.Division, c.Metres, c.End, c.MaxBeats))
            beats += (beats.empty() ? "" : " ") + std::to_string(beat.Tick) + ":" + std::to_string(beat.Strength);
        EXPECT_EQ(beats, c.Beats) << c.Behaviour;
    }
}

TEST(ChordRecognition, EveryTickLiesInTheBeatFoundForIt) {
    // Ticks in and out of order, near metre changes and the last tick.
    const std::vector<std::pair<std::uint16_t, std::vector<MetaEvent>>> maps{
        {7, {TimeSignature(0, 3, 2), TimeSignature(70, 6, 3), TimeSignature(140, 4, 2)}},
        {32767, {TimeSignature(0, 5, 4), TimeSignature(32767 * 40, 2, 1)}},
        {1, {TimeSignature(3, 4, 5)}},
    };
    for (const auto& [division, signatures] : maps) {
        const detail::MetreMap metres(division, signatures);
        std::size_t hint = 0;
        for (std::uint32_t n = 0; n < 600; ++n) {
            const std::uint32_t tick = n < 300 ? n * 37 % 300 : 0xFFFFFFFF - n * 1000003u;
            const std::uint64_t index = metres.BeatOf(tick, hint);
            detail::Beat beat, next;
            ASSERT_TRUE(metres.BeatAt(index, beat)) << division << ": " << tick;
            EXPECT_LE(beat.Tick, tick) << division << ": " << tick;
            EXPECT_TRUE(!metres.BeatAt(index + 1, next) || next.Tick > tick) << division << ": " << tick;
        }
    }
}

TEST(ChordRecognition, TheGridHoldsTheBeatsTheNotesNeed) {
    // A note asks for the beats it sounds in, at most MaxBeatsPerNote, and the
    // beat after them; the ticks between notes cost nothing.
    const detail::MetreMap metres(kQuarter, {});
    struct GridCase {
        const char* Behaviour;
        std::vector<detail::Note> Notes;
        std::string Beats;  // the tick of every beat
    };
    const std::vector<GridCase> cases{
        {"a bar's note", {{0, kBar, 60, 100}}, "0 96 192 288 384"},
        {"a short note in the second beat", {{100, 110, 60, 100}}, "96 192"},
        {"notes far apart", {{0, 10, 60, 100}, {1700000000, 1700000010, 60, 100}}, "0 96 1699999968 1700000064"},
        {"overlapping notes share their beats", {{0, 150, 60, 100}, {100, 250, 64, 100}}, "0 96 192 288"},
        {"notes in any order", {{300, 310, 60, 100}, {0, 150, 64, 100}, {40, 50, 67, 100}}, "0 96 192 288 384"},
        {"notes far apart in any order", {{1700000000, 1700000010, 60, 100}, {0, 10, 60, 100}}, "0 96 1699999968 1700000064"},
        {"a long note counts for twelve beats", {{0, 100 * kBar, 60, 100}},
         "0 96 192 288 384 480 576 672 768 864 960 1056 1152"},
        {"no beat starts after the last tick", {{4294967200u, 4294967295u, 60, 100}}, "4294967136 4294967232"},
    };
    for (const auto& c : cases) {
        std::string beats;
        std::vector<std::uint32_t> firstBeats;
        for (const auto& beat : detail::NoteGrid(metres, c.Notes, detail::ProfileWeights{}.MaxBeatsPerNote, firstBeats))
            beats += (beats.empty() ? "" : " ") + std::to_string(beat.Tick);
        EXPECT_EQ(beats, c.Beats) << c.Behaviour;
    }
}

TEST(ChordRecognition, NotesAreReadFromTheirRecords) {
    // The records of one channel; the notes as "start-end:key:velocity".
    const auto on = [](std::uint32_t tick, std::uint8_t velocity = 100) {
        return MidiEvent{tick, 0, 0, 0x90, 0x90, 60, velocity, 0};
    };
    const auto off = [](std::uint32_t tick) { return MidiEvent{tick, 0, 0, 0x80, 0x80, 60, 64, 0}; };
    const MidiEvent volume{500, 0, 0, 0xB0, 0xB0, 60, 100, 0};  // names key 60 as its controller
    std::vector<MidiEvent> many;  // more notes than are gathered at a time
    std::string manyNotes;
    for (std::uint32_t n = 0; n < 3000; ++n) {
        many.insert(many.end(), {on(2 * n), on(2 * n + 1, 0)});
        manyNotes += (n ? " " : "") + std::to_string(2 * n) + "-" + std::to_string(2 * n + 1) + ":60:100";
    }
    struct NoteCase {
        const char* Behaviour;
        std::size_t Channel;
        std::vector<MidiEvent> Records;
        std::string Notes;
    };
    const std::vector<NoteCase> cases{
        {"a note-off ends a note", 0, {on(0), off(10)}, "0-10:60:100"},
        {"a note-on of velocity 0 ends a note", 3, {on(0, 90), on(10, 0)}, "0-10:60:90"},
        {"a note struck again ends the one before", 0, {on(0), on(10, 80), off(30)}, "0-10:60:100 10-30:60:80"},
        {"a controller naming the key ends no note", 0, {on(0), volume, off(600)}, "0-600:60:100"},
        {"a note without an end sounds to the last record", 0, {on(0), volume}, "0-500:60:100"},
        {"a note without length is left out", 0, {on(5), off(5)}, ""},
        {"a note may end on the last tick", 0, {on(100), off(0xFFFFFFFF)}, "100-4294967295:60:100"},
        {"a note starting on the last tick is left out", 0, {on(0xFFFFFFFF)}, ""},
        {"the drum channel is left out", 9, {on(0), off(10)}, ""},
        {"every note of a long channel", 15, many, manyNotes},
    };
    for (const auto& c : cases) {
        std::array<std::vector<MidiEvent>, 16> channels;
        channels[c.Channel] = c.Records;
        std::string notes;
        for (const detail::Note& n : detail::CollectNotes(channels))
            notes += (notes.empty() ? "" : " ") + std::to_string(n.Start) + "-" + std::to_string(n.End) + ":" +
                     std::to_string(n.Pitch) + ":" + std::to_string(n.Velocity);
        EXPECT_EQ(notes, c.Notes) << c.Behaviour;
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
            for (const auto& list : Cadence().Channels(NoteEnd::NoteOff))
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

TEST(ChordRecognition, ChordNamesAsMusiciansWriteThem) {
    // Each written name and the name the chord list prints for it.
    const std::vector<std::pair<const char*, const char*>> names{
        {"C/E", "C  /E"},       {"C /E", "C  /E"},       {"C / E", "C  /E"},      {"Cmaj7", "CMaj7"},
        {"CM7", "CMaj7"},       {"C\u0394" "7", "CMaj7"}, {"Bbmaj7", "BbMaj7"},    {"B\u266dmaj7", "BbMaj7"},
        {"Cdim", "Cd"},         {"C\u00b0", "Cd"},        {"Cdim7", "Cd7"},        {"Cm7b5", "Cm7b5"},
        {"C\u00f8", "Cm7b5"},    {"C7sus4", "C7sus4"},    {"C7sus", "C7sus4"},     {"Csus", "Csus4"},
        {"Cmin", "Cm"},         {"C-7", "Cm7"},          {"Cm", "Cm"},            {"CM", "C"},
        {"C+", "Caug"},         {"C6/9", "C6(9)"},       {"C9", "C7(9)"},         {"C13", "C7(13)"},
        {"Cadd9", "CMaj(9)"},   {"Cmmaj7", "CmM7"},      {"C5", "C1+5"},          {"Csus2", "C1+2+5"},
        {"F#m7/E", "F#m7  /E"}, {"Ebm/Gb", "Ebm  /Gb"},  {"N.C.", "Cnc"},         {"NC", "Cnc"},
        {"C  /E", "C  /E"},     {"C#7(b9)", "C#7(b9)"},  {"N", "Cnc"},            {"n.c.", "Cnc"},
        {"C\u00b07", "Cd7"},     {"Co7", "Cd7"},          {"C\u00f8" "7", "Cm7b5"}, {"C7\t", "C7"},
    };
    StandardMidifile engine(nullptr);
    for (const auto& [written, printed] : names) {
        const auto bytes = ChordFromWrittenName(written);
        ASSERT_TRUE(bytes) << written;
        EXPECT_EQ(engine.YamChordCalculate(ChordRecord(0, bytes->Root, bytes->Type, bytes->Bass)), printed) << written;
    }
    for (const char* bad : {"", "H", "Cx", "C/", "C/H", "C/E7", "Cmaj77", "N.C.C", "/E", "C//E"})
        EXPECT_FALSE(ChordFromWrittenName(bad)) << bad;
}

}  // namespace
}  // namespace tonalux
