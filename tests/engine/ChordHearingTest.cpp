// What the chord recognition hears before it names anything: which beat a
// note counts in, where the bars of a song start, and a beat that repeats the
// notes of the one before.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "chords/ChordBeats.h"

namespace tonalux {
namespace {

constexpr std::uint32_t kQuarter = 96;
constexpr std::uint8_t kF = 5;  // pitch class of F

// The beats of a C major bar (C E G for two bars) and of one more note.
struct Heard {
    std::vector<detail::Beat> Beats;
    std::vector<detail::BeatProfile> Profiles;
};

Heard Hear(const std::vector<detail::Note>& notes) {
    Heard heard;
    std::vector<std::uint32_t> firstBeats;
    heard.Beats = detail::NoteGrid(detail::MetreMap(kQuarter, {}), notes, detail::ProfileWeights{}.MaxBeatsPerNote, firstBeats);
    std::uint32_t soundEnd = 0;
    heard.Profiles = detail::ProfileNotes(heard.Beats, notes, firstBeats, detail::ProfileWeights{}, soundEnd);
    return heard;
}

TEST(ChordHearing, ANotePlayedAheadOfABeatCountsFromIt) {
    // An F over the C chord, from `start` to `end`; the beats whose profile
    // holds it (as weight and as heard), of beats 1 to 2.
    struct PushCase {
        const char* Behaviour;
        std::uint32_t Start, End;
        std::string Beats;
    };
    const std::vector<PushCase> cases{
        {"from the second half of a beat through the next: the next only", 144, 288, "2"},
        {"from exactly half a beat, through half the next: the next only", 144, 240, "2"},
        {"ending where the next beat starts: its own beat", 144, 192, "1"},
        {"one tick before the half: its own beat too", 143, 288, "1 2"},
        {"held less than half of the next beat: its own beat", 144, 239, "1 2"},
        {"from the first half of a beat: its own beat", 110, 288, "1 2"},
        {"inside one beat: that beat", 150, 190, "1"},
    };
    for (const auto& c : cases) {
        const Heard heard = Hear({{0, 2 * 4 * kQuarter, 60, 100},
                                  {0, 2 * 4 * kQuarter, 64, 100},
                                  {0, 2 * 4 * kQuarter, 67, 100},
                                  {c.Start, c.End, 65, 100}});
        std::string beats;
        for (std::size_t b = 1; b <= 2; ++b) {
            const bool weighs = heard.Profiles[b].Chroma[kF] > 0;
            const bool isHeard = ((heard.Profiles[b].Heard >> kF) & 1u) != 0;
            EXPECT_EQ(weighs, isHeard) << c.Behaviour << ": beat " << b;
            if (weighs) beats += (beats.empty() ? "" : " ") + std::to_string(b);
        }
        EXPECT_EQ(beats, c.Beats) << c.Behaviour;
        // A pushed note weighs on its beat as a note struck on that beat.
        if (c.Beats == "2") {
            const Heard struck = Hear({{0, 2 * 4 * kQuarter, 60, 100},
                                       {0, 2 * 4 * kQuarter, 64, 100},
                                       {0, 2 * 4 * kQuarter, 67, 100},
                                       {2 * kQuarter, c.End, 65, 100}});
            EXPECT_FLOAT_EQ(heard.Profiles[2].Chroma[kF], struck.Profiles[2].Chroma[kF]) << c.Behaviour;
        }
    }
}

TEST(ChordHearing, AMelodyKeyStruckTwiceWeighsAsOneHeld) {
    // C3 and a C major chord under a melody E5, held for the beat or struck
    // as two eighths: the melody's weight is the same either way.
    const auto topWeight = [](std::vector<detail::Note> top) {
        std::vector<detail::Note> notes{{0, kQuarter, 48, 100}, {0, kQuarter, 60, 100}, {0, kQuarter, 67, 100}};
        notes.insert(notes.end(), top.begin(), top.end());
        return Hear(notes).Profiles[0].Chroma[4];
    };
    EXPECT_NEAR(topWeight({{0, kQuarter / 2, 76, 100}, {kQuarter / 2, kQuarter, 76, 100}}),
                topWeight({{0, kQuarter, 76, 100}}), 1e-4f);
}

// Beat `b` of a song in bars of `beatsPerBar` quarter notes.
detail::Beat QuarterBeat(std::uint32_t b, std::uint8_t beatsPerBar) {
    detail::Beat beat;
    beat.Tick = b * kQuarter;
    beat.Ticks = kQuarter;
    beat.BarTicks = beatsPerBar * kQuarter;
    beat.InBar = static_cast<std::uint8_t>(b % beatsPerBar);
    beat.BeatsPerBar = beatsPerBar;
    beat.Strength = detail::StrengthOf(beat.InBar, beatsPerBar);
    beat.Index = b;
    return beat;
}

// `bars` bars of `beatsPerBar` beats whose sound changes (C major to F major
// and back, with the bass) every `period` beats, first on beat `changeAt`.
Heard Harmony(std::uint32_t bars, std::uint8_t beatsPerBar, std::uint32_t changeAt, std::uint32_t period) {
    Heard heard;
    for (std::uint32_t b = 0; b < bars * beatsPerBar; ++b) {
        heard.Beats.push_back(QuarterBeat(b, beatsPerBar));
        const bool f = ((b + period - changeAt) / period) % 2 == 1;
        detail::BeatProfile profile;
        for (int pc : f ? std::vector<int>{5, 9, 0} : std::vector<int>{0, 4, 7}) profile.Chroma[static_cast<std::size_t>(pc)] = 1;
        profile.Bass[f ? 5 : 0] = 1;
        profile.Total = 3;
        heard.Profiles.push_back(profile);
    }
    return heard;
}

TEST(ChordHearing, BarsStartWhereTheHarmonyMoves) {
    struct BarCase {
        const char* Behaviour;
        std::uint32_t Bars;
        std::uint8_t BeatsPerBar;
        std::uint32_t ChangeAt, Period;
        bool Moved;
        std::string Strengths;  // of the first bar's beats
    };
    const std::vector<BarCase> cases{
        {"a pickup beat: bars start a beat later", 16, 4, 1, 4, true, "0 2 0 1"},
        {"changes on the written bar lines: nothing moves", 16, 4, 0, 4, false, "2 0 1 0"},
        {"a waltz changing on its third beat", 16, 3, 2, 3, true, "0 0 2"},
        {"eight bars are enough to tell", 9, 4, 3, 4, true, "0 1 0 2"},
        {"seven bars are too few", 7, 4, 3, 4, false, "2 0 1 0"},
        {"every half bar, on the bar lines: nothing moves", 16, 4, 0, 2, false, "2 0 1 0"},
        {"every half bar, a beat after them: a beat later", 16, 4, 1, 2, true, "0 2 0 1"},
    };
    for (const auto& c : cases) {
        Heard heard = Harmony(c.Bars, c.BeatsPerBar, c.ChangeAt, c.Period);
        EXPECT_EQ(detail::AlignBars(heard.Beats, heard.Profiles, detail::ProfileWeights{}.BarMargin), c.Moved)
            << c.Behaviour;
        std::string strengths;
        for (std::size_t b = 0; b < c.BeatsPerBar; ++b)
            strengths += (b ? " " : "") + std::to_string(heard.Beats[b].Strength);
        EXPECT_EQ(strengths, c.Strengths) << c.Behaviour;
    }
}

TEST(ChordHearing, APlaceChangingALittleMoreThanTheBarLineMovesNothing) {
    // Bars of four beats sounding X, Y, Y, Z: the change into beat 2 is
    // `intoSecond`, into beat 1 (from Z to X) 1, into beat 4 what is left.
    struct MarginCase {
        const char* Behaviour;
        float Second;  // share of D in Y, C the rest; X is C alone, Z half C half D
        bool Moved;
    };
    const std::vector<MarginCase> cases{
        {"1.2 times the change on the bar line: the bars stay", 0.6f, false},
        {"1.4 times: the bars start on beat 2", 0.7f, true},
    };
    for (const auto& c : cases) {
        Heard heard;
        for (std::uint32_t b = 0; b < 16 * 4; ++b) {
            heard.Beats.push_back(QuarterBeat(b, 4));
            const float d = b % 4 == 0 ? 0.0f : b % 4 == 3 ? 0.5f : c.Second;
            detail::BeatProfile profile;
            profile.Chroma[0] = 1 - d;
            profile.Chroma[2] = d;
            profile.Total = 1;
            heard.Profiles.push_back(profile);
        }
        EXPECT_EQ(detail::AlignBars(heard.Beats, heard.Profiles, detail::ProfileWeights{}.BarMargin), c.Moved)
            << c.Behaviour;
        EXPECT_EQ(heard.Beats[1].Strength, c.Moved ? 2 : 0) << c.Behaviour;
    }
}

TEST(ChordHearing, ARestIsNoChangeOfHarmony) {
    // Phrases of two bars of one chord, C and F in turn, each after a rest on
    // its first beat (a beat the grid leaves out): only the rests lie between
    // different sounds, and they do not move the bars.
    Heard heard;
    for (std::uint32_t b = 0; b < 32 * 4; ++b) {
        if (b % 8 == 0) continue;
        heard.Beats.push_back(QuarterBeat(b, 4));
        detail::BeatProfile profile;
        for (int pc : (b / 8) % 2 == 0 ? std::vector<int>{0, 4, 7} : std::vector<int>{5, 9, 0})
            profile.Chroma[static_cast<std::size_t>(pc)] = 1;
        profile.Total = 3;
        heard.Profiles.push_back(profile);
    }
    EXPECT_FALSE(detail::AlignBars(heard.Beats, heard.Profiles, detail::ProfileWeights{}.BarMargin));
}

TEST(ChordHearing, ABassNoteIsHeardOnTheBeatsOfItsBarAfterIt) {
    // C2 alone on beat 1 of a 4/4 bar, a chord from `lowest` up on beats 2
    // to 4 and on the next bar's first beat: the beats that keep C2 as bass.
    struct CarryCase {
        const char* Behaviour;
        int Lowest;
        std::string Beats;
    };
    const std::vector<CarryCase> cases{
        {"a chord an octave above: the rest of the bar", 48, "1 2 3"},
        {"a chord exactly a fifth above: carried", 43, "1 2 3"},
        {"a chord less than a fifth above is its own bass", 42, ""},
    };
    for (const auto& c : cases) {
        const Heard heard = Hear({{0, kQuarter, 36, 100},
                                  {kQuarter, 5 * kQuarter, static_cast<std::uint8_t>(c.Lowest), 100},
                                  {kQuarter, 5 * kQuarter, 64, 100},
                                  {kQuarter, 5 * kQuarter, 67, 100}});
        std::string beats;
        for (std::size_t b = 1; b <= 4; ++b)
            if (heard.Profiles[b].BassKey == 36) beats += (beats.empty() ? "" : " ") + std::to_string(b);
        EXPECT_EQ(beats, c.Beats) << c.Behaviour;
    }
}

TEST(ChordHearing, BeatsRepeatingTheNotesBeforeThemKeepTheChord) {
    // Two beats whose weights point at C major and then at A minor, each the
    // first of a bar, where a change costs least. The second keeps the
    // first's chord when it sounds the same keys over the same bass, however
    // its weights lean, and changes when a key differs.
    struct SameCase {
        const char* Behaviour;
        std::uint16_t SecondHeard;
        bool Changes;
    };
    constexpr std::uint16_t kACEG = (1u << 9) | (1u << 0) | (1u << 4) | (1u << 7);
    const std::vector<SameCase> cases{
        {"the same keys over the same bass", kACEG, false},
        {"a key more", kACEG | (1u << 2), true},
    };
    for (const auto& c : cases) {
        std::vector<detail::Beat> beats(2);
        std::vector<detail::BeatProfile> profiles(2);
        for (std::size_t b = 0; b < 2; ++b) {
            beats[b].Tick = static_cast<std::uint32_t>(b) * kQuarter;
            beats[b].Ticks = kQuarter;
            beats[b].BarTicks = kQuarter;
            beats[b].Index = b;
            beats[b].Strength = 2;
            profiles[b].BassKey = 45;
            profiles[b].Classes = 4;
        }
        profiles[0].Heard = kACEG;
        profiles[1].Heard = c.SecondHeard;
        for (int pc : {0, 4, 7}) profiles[0].Chroma[static_cast<std::size_t>(pc)] = 3;
        for (int pc : {9, 0, 4}) profiles[1].Chroma[static_cast<std::size_t>(pc)] = 3;
        profiles[0].Chroma[9] = profiles[1].Chroma[7] = 0.3f;
        profiles[0].Bass[0] = profiles[1].Bass[9] = 1;
        for (auto& profile : profiles) profile.Total = 9.3f;
        const auto path = detail::BestPath(beats, profiles, {false, false}, detail::SongKey{}, detail::ModelWeights{});
        EXPECT_EQ(path[0] != path[1], c.Changes) << c.Behaviour;
    }
}

// `count` chords struck one after another on `channel`, the keys of each
// taken in turn from `cycle`, each ending as `zeroVelocity` says.
void Strike(std::array<std::vector<MidiEvent>, 16>& channels, int channel, const std::vector<std::vector<int>>& cycle,
            int count, bool zeroVelocity) {
    auto& list = channels[static_cast<std::size_t>(channel)];
    const auto status = [channel](int kind) { return static_cast<std::uint8_t>(kind | channel); };
    for (int i = 0; i < count; ++i) {
        const auto tick = static_cast<std::uint32_t>(i) * kQuarter;
        const std::vector<int>& keys = cycle[static_cast<std::size_t>(i) % cycle.size()];
        for (int key : keys) list.push_back({tick, 0, channel, 0x90, status(0x90), static_cast<std::uint8_t>(key), 90, 0});
        for (int key : keys)
            list.push_back(zeroVelocity ? MidiEvent{tick + kQuarter, 0, channel, 0x90, status(0x90), static_cast<std::uint8_t>(key), 0, 0}
                                        : MidiEvent{tick + kQuarter, 0, channel, 0x80, status(0x80), static_cast<std::uint8_t>(key), 64, 0});
    }
}

TEST(ChordHearing, TheHighestNotesAreAMelodysWhenOneVoiceCarriesThem) {
    struct Part {
        int Channel;
        std::vector<std::vector<int>> Cycle;
        int Count;
    };
    const Part bass{1, {{36}}, 32}, chords{2, {{60, 64, 67}}, 32};
    const std::vector<std::vector<int>> tune{{76}, {77}, {79}, {77}};  // steps up and down
    struct MelodyCase {
        const char* Behaviour;
        std::vector<Part> Parts;
        bool Melody;
    };
    const std::vector<MelodyCase> cases{
        {"one channel of melody and chords", {{0, {{48, 60, 64, 67, 76}}, 32}}, true},
        {"a bass and chords above it: no melody", {bass, chords}, false},
        {"a tune above chords and bass", {bass, chords, {3, tune, 32}}, true},
        {"an arpeggio above them is no tune", {bass, chords, {3, {{72}, {76}, {79}, {76}}, 32}}, false},
        {"a voice of one repeated key is no tune", {bass, chords, {3, {{79}}, 32}}, false},
        {"a voice striking a third of its notes with another is no tune",
         {bass, chords, {3, {{76, 75}, {77}, {79, 78}, {77}}, 32}}, false},
        {"drums are no voice", {bass, chords, {9, tune, 32}}, false},
        {"a voice of fewer than 16 notes is passed over", {bass, chords, {3, tune, 15}}, false},
        {"a voice of 16 notes counts", {bass, chords, {3, tune, 16}}, true},
    };
    for (const auto& c : cases) {
        for (bool zeroVelocity : {false, true}) {
            std::array<std::vector<MidiEvent>, 16> channels;
            for (const Part& part : c.Parts) Strike(channels, part.Channel, part.Cycle, part.Count, zeroVelocity);
            for (auto& list : channels)
                std::stable_sort(list.begin(), list.end(), [](const MidiEvent& a, const MidiEvent& b) { return a.Tick < b.Tick; });
            EXPECT_EQ(detail::MelodyOnTop(channels), c.Melody)
                << c.Behaviour << (zeroVelocity ? " (note-ons of velocity 0)" : " (note-offs)");
        }
    }
}

}  // namespace
}  // namespace tonalux
