// From the chord path to the chord of every beat: the stretches of one chord,
// the names a player gives to what the path found (a diminished triad inside
// a dominant seventh, a diminished seventh by where it goes), the start of a
// chord on the bass note before it, and the bass of every beat.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "chords/ChordBeats.h"

namespace tonalux::detail {

namespace {

// Templates by their place in kTemplates.
constexpr std::size_t kSeventh = 2;
constexpr std::size_t kDiminished = 9;
constexpr std::size_t kDiminishedSeventh = 10;
constexpr std::size_t kAugmented = 11;
constexpr std::size_t kFifth = 7;        // semitones from the root to its fifth
constexpr std::size_t kMajorThird = 4;

std::size_t TemplateOf(std::size_t state) { return state / 12; }
std::size_t RootOf(std::size_t state) { return state % 12; }
std::size_t StateOf(std::size_t templateIndex, std::size_t root) { return templateIndex * 12 + root % 12; }

// Beats [From, To) of one chord.
struct Stretch {
    std::size_t From = 0;
    std::size_t To = 0;
    std::size_t State = 0;
};

std::vector<Stretch> StretchesOf(const std::vector<bool>& none, const std::vector<std::size_t>& path) {
    std::vector<Stretch> stretches;
    for (std::size_t b = 0; b < path.size(); ++b) {
        if (none[b]) continue;
        if (!stretches.empty() && stretches.back().To == b && stretches.back().State == path[b]) ++stretches.back().To;
        else stretches.push_back({b, b + 1, path[b]});
    }
    return stretches;
}

// Joins neighbouring stretches of the same chord.
void JoinEqual(std::vector<Stretch>& stretches) {
    std::vector<Stretch> joined;
    for (const Stretch& stretch : stretches) {
        if (!joined.empty() && joined.back().To == stretch.From && joined.back().State == stretch.State)
            joined.back().To = stretch.To;
        else joined.push_back(stretch);
    }
    stretches = std::move(joined);
}

bool Touch(const Stretch& a, const Stretch& b) { return a.To == b.From; }

// The pitch classes heard over a stretch.
std::uint16_t HeardOver(const Stretch& stretch, const std::vector<BeatProfile>& profiles) {
    unsigned heard = 0;
    for (std::size_t b = stretch.From; b < stretch.To; ++b) heard |= profiles[b].Heard;
    return static_cast<std::uint16_t>(heard);
}

// What the path found, as a player names it: notes of a seventh chord without
// its root, right after it, are that chord still; a diminished triad beside
// the dominant seventh a major third below it is that seventh without its
// root; a chord that sounds the very notes of the chord before it (the four
// roots of a diminished seventh, the three of an augmented triad) is that chord.
void NameAsPlayed(std::vector<Stretch>& stretches, const std::vector<BeatProfile>& profiles) {
    for (std::size_t i = 0; i < stretches.size(); ++i) {
        Stretch& stretch = stretches[i];
        if (i > 0 && Touch(stretches[i - 1], stretch) && kTemplates[TemplateOf(stretches[i - 1].State)].Intervals[3] >= 0) {
            const std::size_t before = stretches[i - 1].State;
            const std::uint16_t heard = HeardOver(stretch, profiles);
            if ((heard & ~ChordTones(TemplateOf(before), RootOf(before))) == 0 && ((heard >> RootOf(before)) & 1u) == 0)
                stretch.State = before;
        }
        if (TemplateOf(stretch.State) == kDiminished) {
            const std::size_t seventh = StateOf(kSeventh, RootOf(stretch.State) + 12 - kMajorThird);
            if ((i > 0 && Touch(stretches[i - 1], stretch) && stretches[i - 1].State == seventh) ||
                (i + 1 < stretches.size() && Touch(stretch, stretches[i + 1]) && stretches[i + 1].State == seventh))
                stretch.State = seventh;
        }
        const auto symmetric = [](std::size_t state) {
            return TemplateOf(state) == kDiminishedSeventh || TemplateOf(state) == kAugmented;
        };
        if (i > 0 && Touch(stretches[i - 1], stretch) && (symmetric(stretch.State) || symmetric(stretches[i - 1].State))) {
            // The notes of a diminished seventh or an augmented triad heard
            // over two chords in a row (part of it over one bass note, then
            // the whole chord over another): the symmetric chord names both.
            const std::uint16_t heard = HeardOver(stretch, profiles);
            const std::size_t before = stretches[i - 1].State;
            const auto holds = [heard, &symmetric](std::size_t state) {
                return symmetric(state) && (heard & ~ChordTones(TemplateOf(state), RootOf(state))) == 0;
            };
            if (heard == HeardOver(stretches[i - 1], profiles) && holds(stretch.State) != holds(before)) {
                if (holds(before)) stretch.State = before;
                else stretches[i - 1].State = stretch.State;
            }
        }
        if (i > 0 && Touch(stretches[i - 1], stretch) &&
            TemplateOf(stretches[i - 1].State) == TemplateOf(stretch.State) &&
            ChordTones(TemplateOf(stretch.State), RootOf(stretch.State)) ==
                ChordTones(TemplateOf(stretches[i - 1].State), RootOf(stretches[i - 1].State)))
            stretch.State = stretches[i - 1].State;
    }
    JoinEqual(stretches);
}

// A diminished seventh is named by where it goes: the one of its four roots a
// semitone below the next chord's root, otherwise the one in the bass. An
// augmented triad, whose three roots sound alike too, is named by its bass.
void RootSymmetricChords(std::vector<Stretch>& stretches, const std::vector<BeatProfile>& profiles) {
    for (std::size_t i = 0; i < stretches.size(); ++i) {
        Stretch& stretch = stretches[i];
        const std::size_t t = TemplateOf(stretch.State);
        if (t != kDiminishedSeventh && t != kAugmented) continue;
        const std::uint16_t tones = ChordTones(t, RootOf(stretch.State));
        const std::uint8_t bassKey = profiles[stretch.From].BassKey;
        if (t == kDiminishedSeventh && i + 1 < stretches.size() && Touch(stretch, stretches[i + 1])) {
            const std::size_t below = (RootOf(stretches[i + 1].State) + 11) % 12;
            if (((tones >> below) & 1u) != 0) {
                stretch.State = StateOf(kDiminishedSeventh, below);
                continue;
            }
        }
        if (bassKey < 128 && ((tones >> (bassKey % 12)) & 1u) != 0) stretch.State = StateOf(t, bassKey % 12u);
    }
}

// A chord starts on the beats just before it that sound only its tones (a
// bass note on the first beat of a waltz), where the path had no chord yet.
void StartOnItsBass(std::vector<Stretch>& stretches, const std::vector<Beat>& beats,
                    const std::vector<BeatProfile>& profiles, const std::vector<bool>& none) {
    for (Stretch& stretch : stretches) {
        const std::uint16_t tones = ChordTones(TemplateOf(stretch.State), RootOf(stretch.State));
        std::size_t from = stretch.From;
        while (from > 0 && none[from - 1] && beats[from - 1].Index + 1 == beats[from].Index &&
               profiles[from - 1].Heard != 0 && (profiles[from - 1].Heard & ~tones) == 0)
            --from;
        stretch.From = from;
    }
}

// The bass of every beat of a stretch: the lowest note heard on it (or the
// one before), written when it is a chord tone other than the root that
// lasts long enough.
void BassOfBeats(const Stretch& stretch, const std::vector<Beat>& beats, const std::vector<BeatProfile>& profiles,
                 std::vector<BeatChord>& chords) {
    const std::size_t root = RootOf(stretch.State);
    const std::uint16_t tones = ChordTones(TemplateOf(stretch.State), root);
    std::vector<std::uint8_t> bass(stretch.To - stretch.From);
    std::uint8_t heard = static_cast<std::uint8_t>(root);
    for (std::size_t b = stretch.From; b < stretch.To; ++b) {
        if (profiles[b].BassKey < 128) heard = static_cast<std::uint8_t>(profiles[b].BassKey % 12);
        bass[b - stretch.From] = heard;
    }
    for (std::size_t from = stretch.From; from < stretch.To;) {
        std::size_t to = from + 1;
        while (to < stretch.To && bass[to - stretch.From] == bass[from - stretch.From]) ++to;
        const std::uint8_t pc = bass[from - stretch.From];
        const std::size_t interval = (pc + 12 - root) % 12;
        const std::uint64_t ticks = std::uint64_t{beats[to - 1].Tick} + beats[to - 1].Ticks - beats[from].Tick;
        const std::uint64_t needed = interval == kFifth ? beats[from].BarTicks : beats[from].BarTicks / 2;
        const bool whole = from == stretch.From && to == stretch.To;
        const bool written = interval != 0 && ((tones >> pc) & 1u) != 0 && (whole || ticks >= needed);
        for (std::size_t b = from; b < to; ++b) chords[b].Bass = written ? pc : 0x7F;
        from = to;
    }
}

}  // namespace

std::vector<BeatChord> ChooseChords(const std::vector<Beat>& beats, const std::vector<BeatProfile>& profiles,
                                    const SongKey& key, const ModelWeights& weights) {
    const std::vector<bool> none = NoChordBeats(beats, profiles);
    std::vector<Stretch> stretches = StretchesOf(none, BestPath(beats, profiles, none, key, weights));
    NameAsPlayed(stretches, profiles);
    RootSymmetricChords(stretches, profiles);
    StartOnItsBass(stretches, beats, profiles, none);
    std::vector<BeatChord> chords(beats.size());
    for (const Stretch& stretch : stretches) {
        for (std::size_t b = stretch.From; b < stretch.To; ++b) {
            chords[b].Root = static_cast<std::uint8_t>(RootOf(stretch.State));
            chords[b].Type = kTemplates[TemplateOf(stretch.State)].Type;
        }
        BassOfBeats(stretch, beats, profiles, chords);
    }
    return chords;
}

}  // namespace tonalux::detail
