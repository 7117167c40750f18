// What the chord recognition hears: the beat grid of the song and, for each
// beat, the weight of each pitch class and of the bass notes.
#include "ChordBeats.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tonalux::detail {

namespace {

constexpr std::size_t kDrumChannel = 9;
constexpr int kDefaultNumerator = 4;
constexpr int kDefaultDenominatorPower = 2;  // 4/4
constexpr int kLargestDenominatorPower = 6;  // 1/64

struct Metre {
    std::uint32_t Tick = 0;
    int Numerator = kDefaultNumerator;
    int DenominatorPower = kDefaultDenominatorPower;
};

// The metres of the song in tick order; a time signature that names no metre
// is passed over, and of several at one tick the last counts.
std::vector<Metre> MetresOf(const std::vector<MetaEvent>& timeSignatures) {
    std::vector<Metre> metres{Metre{}};
    std::vector<Metre> read;
    for (const MetaEvent& signature : timeSignatures) {
        if (!signature.Data || signature.Length < 2) continue;
        const int numerator = signature.Data[0];
        const int power = signature.Data[1];
        if (numerator < 1 || power > kLargestDenominatorPower) continue;
        read.push_back({signature.Tick, numerator, power});
    }
    std::stable_sort(read.begin(), read.end(), [](const Metre& a, const Metre& b) { return a.Tick < b.Tick; });
    for (const Metre& metre : read) {
        if (metre.Tick == metres.back().Tick) metres.back() = metre;
        else metres.push_back(metre);
    }
    return metres;
}

// Adds the beats of one metre from `from` up to `to` (exclusive).
void AddMetreBeats(std::vector<Beat>& beats, const Metre& metre, double quarterTicks, std::uint64_t from,
                   std::uint64_t to, std::size_t maxBeats) {
    const double unit = quarterTicks * 4.0 / static_cast<double>(1u << metre.DenominatorPower);
    const bool compound = metre.Numerator % 3 == 0 && metre.Numerator > 3 && metre.DenominatorPower >= 3;
    const int beatsPerBar = compound ? metre.Numerator / 3 : metre.Numerator;
    // A beat is at least one tick long, so every step of the loop makes a beat.
    const double beatTicks = std::max(1.0, compound ? unit * 3.0 : unit);
    const auto barTicks = static_cast<std::uint32_t>(std::max(1.0, std::round(beatTicks * beatsPerBar)));
    for (std::uint64_t index = 0; beats.size() < maxBeats; ++index) {
        const auto tick = from + static_cast<std::uint64_t>(std::llround(static_cast<double>(index) * beatTicks));
        if (tick >= to) break;
        Beat beat;
        beat.Tick = static_cast<std::uint32_t>(tick);
        beat.BarTicks = barTicks;
        const auto inBar = static_cast<int>(index % static_cast<std::uint64_t>(beatsPerBar));
        beat.Strength = inBar == 0 ? 2 : (beatsPerBar % 2 == 0 && inBar == beatsPerBar / 2) ? 1 : 0;
        beats.push_back(beat);
    }
}

}  // namespace

std::vector<Beat> BuildBeatGrid(std::uint16_t division, const std::vector<MetaEvent>& timeSignatures,
                                std::uint32_t endTick, std::size_t maxBeats) {
    std::vector<Beat> beats;
    // A division with the high bit set counts frames, not beats.
    if (division == 0 || (division & 0x8000) != 0 || endTick == 0) return beats;
    const std::vector<Metre> metres = MetresOf(timeSignatures);
    for (std::size_t i = 0; i < metres.size() && beats.size() < maxBeats; ++i) {
        const std::uint64_t from = metres[i].Tick;
        const std::uint64_t to = i + 1 < metres.size() ? metres[i + 1].Tick : endTick;
        if (from >= endTick) break;
        AddMetreBeats(beats, metres[i], division, from, std::min<std::uint64_t>(to, endTick), maxBeats);
    }
    // Each beat lasts until the next; the last one as long as its kind.
    for (std::size_t i = 0; i < beats.size(); ++i) {
        if (i + 1 < beats.size()) {
            beats[i].Ticks = beats[i + 1].Tick - beats[i].Tick;
        } else {
            const std::uint32_t bar = beats[i].BarTicks;
            beats[i].Ticks = std::max<std::uint32_t>(1, i > 0 ? beats[i].Tick - beats[i - 1].Tick : bar);
        }
    }
    return beats;
}

std::vector<NoteSpan> CollectNotes(const std::array<std::vector<MidiEvent>, 16>& channels, std::uint32_t& endTick) {
    std::vector<NoteSpan> notes;
    std::size_t events = 0;
    for (const auto& list : channels) events += list.size();
    notes.reserve(events / 2);
    endTick = 0;
    for (std::size_t channel = 0; channel < channels.size(); ++channel) {
        if (channel == kDrumChannel) continue;
        const auto& events = channels[channel];
        // Start tick + 1 of the sounding note of each key, 0 when none sounds.
        std::array<std::uint64_t, 128> open{};
        std::array<std::uint8_t, 128> velocity{};
        auto close = [&](std::uint8_t key, std::uint64_t tick) {
            const std::uint64_t start = open[key] - 1;
            open[key] = 0;
            if (tick <= start) return;
            notes.push_back({static_cast<std::uint32_t>(start), static_cast<std::uint32_t>(tick), key, velocity[key]});
            endTick = std::max(endTick, static_cast<std::uint32_t>(tick));
        };
        std::uint32_t last = 0;
        for (const MidiEvent& event : events) {
            last = std::max(last, event.Tick);
            const bool on = event.Kind == 0x90 && event.Data2 > 0;
            const bool off = event.Kind == 0x80 || (event.Kind == 0x90 && event.Data2 == 0);
            if (!on && !off) continue;
            const std::uint8_t key = event.Data1 & 0x7F;
            if (open[key] != 0) close(key, event.Tick);
            if (on) {
                open[key] = static_cast<std::uint64_t>(event.Tick) + 1;
                velocity[key] = event.Data2;
            }
        }
        // A note without its end sounds to the channel's last record.
        for (std::size_t key = 0; key < open.size(); ++key) {
            if (open[key] == 0) continue;
            const std::uint64_t start = open[key] - 1;
            const std::uint64_t end = std::max<std::uint64_t>(last, start + 1);
            if (end > std::numeric_limits<std::uint32_t>::max()) continue;
            close(static_cast<std::uint8_t>(key), end);
        }
    }
    return notes;
}

namespace {

// The beat that holds a tick, found through a table of the beat at every
// 2^shift ticks (no more entries than twice the beats) and a short walk.
class BeatIndex {
public:
    explicit BeatIndex(const std::vector<Beat>& beats) : beats_(beats) {
        if (beats.empty()) return;
        const std::uint64_t end = beats.back().Tick + static_cast<std::uint64_t>(beats.back().Ticks);
        while ((end >> shift_) > 2 * beats.size()) ++shift_;
        table_.resize(static_cast<std::size_t>(end >> shift_) + 1);
        std::size_t b = 0;
        for (std::size_t k = 0; k < table_.size(); ++k) {
            const std::uint64_t tick = static_cast<std::uint64_t>(k) << shift_;
            while (b + 1 < beats.size() && beats[b + 1].Tick <= tick) ++b;
            table_[k] = static_cast<std::uint32_t>(b);
        }
        end_ = end;
    }
    // beats.size() for a tick past the grid.
    std::size_t At(std::uint32_t tick) const {
        if (tick >= end_) return beats_.size();
        std::size_t b = table_[tick >> shift_];
        constexpr int kWalk = 8;
        for (int step = 0; step < kWalk; ++step) {
            if (b + 1 >= beats_.size() || beats_[b + 1].Tick > tick) return b;
            ++b;
        }
        const auto after = std::upper_bound(beats_.begin() + static_cast<std::ptrdiff_t>(b), beats_.end(), tick,
                                            [](std::uint32_t t, const Beat& beat) { return t < beat.Tick; });
        return static_cast<std::size_t>(after - beats_.begin()) - 1;
    }

private:
    const std::vector<Beat>& beats_;
    std::vector<std::uint32_t> table_;
    unsigned shift_ = 0;
    std::uint64_t end_ = 0;
};

// Calls visit(beatIndex, overlapShare) for every beat the note sounds in,
// from `first`, the beat of its start, up to the longest a note counts for.
template <typename Visit>
void ForEachBeatOf(const std::vector<Beat>& beats, const NoteSpan& note, std::size_t first, std::uint32_t maxBeats,
                   Visit visit) {
    for (std::size_t b = first; b < beats.size() && b < first + maxBeats; ++b) {
        const std::uint64_t begin = beats[b].Tick;
        const std::uint64_t end = begin + beats[b].Ticks;
        if (note.End <= begin) break;
        const std::uint64_t from = std::max<std::uint64_t>(begin, note.Start);
        const std::uint64_t to = std::min<std::uint64_t>(end, note.End);
        if (to > from) visit(b, static_cast<float>(to - from) / static_cast<float>(beats[b].Ticks));
    }
}

// A bass note is heard until the next one: on a beat where only the chord
// sounds (its lowest note a fifth or more above the bass before), the bass of
// that beat stays, up to the end of the bar.
void CarryBass(const std::vector<Beat>& beats, std::vector<BeatProfile>& profiles) {
    constexpr int kAboveBass = 7;
    constexpr int kLongestCarry = 3;
    constexpr float kFading = 0.5f;
    int carried = 0;
    for (std::size_t b = 1; b < profiles.size(); ++b) {
        BeatProfile& profile = profiles[b];
        const BeatProfile& before = profiles[b - 1];
        const bool silent = profile.Lowest > profile.Highest;
        if (silent || beats[b].Strength == 2 || before.Lowest > 127 - kAboveBass || profile.Lowest < before.Lowest + kAboveBass ||
            carried >= kLongestCarry) {
            carried = 0;
            continue;
        }
        for (std::size_t pc = 0; pc < 12; ++pc) profile.Bass[pc] = profile.Bass[pc] * (1.0f - kFading) + before.Bass[pc] * kFading;
        profile.Lowest = before.Lowest;
        ++carried;
    }
}

}  // namespace

std::vector<BeatProfile> ProfileBeats(const std::vector<Beat>& beats, const std::vector<NoteSpan>& notes,
                                      const ProfileWeights& weights) {
    std::vector<BeatProfile> profiles(beats.size());
    // The beat each note starts in, looked up once.
    const BeatIndex index(beats);
    std::vector<std::uint32_t> firstBeat(notes.size());
    for (std::size_t i = 0; i < notes.size(); ++i) firstBeat[i] = static_cast<std::uint32_t>(index.At(notes[i].Start));
    // First the range of pitches on each beat, then the weights, which depend on it.
    for (std::size_t i = 0; i < notes.size(); ++i) {
        const NoteSpan& note = notes[i];
        ForEachBeatOf(beats, note, firstBeat[i], weights.MaxBeatsPerNote, [&](std::size_t b, float) {
            profiles[b].Lowest = std::min(profiles[b].Lowest, note.Pitch);
            profiles[b].Highest = std::max(profiles[b].Highest, note.Pitch);
        });
    }
    constexpr int kWideTexture = 12;  // a melody stands an octave or more above the bass
    constexpr int kBassRange = 3;     // notes this close above the lowest count as bass
    for (std::size_t i = 0; i < notes.size(); ++i) {
        const NoteSpan& note = notes[i];
        // High notes are more often melody than chord: their weight falls
        // from middle C upward to HighWeight two octaves above.
        const float height = std::clamp((static_cast<float>(note.Pitch) - 60.0f) / 24.0f, 0.0f, 1.0f);
        const float loudness = (0.5f + static_cast<float>(note.Velocity) / 254.0f) *
                               (1.0f - height * (1.0f - weights.HighWeight));
        const std::size_t first = firstBeat[i];
        const int pitchClass = note.Pitch % 12;
        ForEachBeatOf(beats, note, first, weights.MaxBeatsPerNote, [&](std::size_t b, float share) {
            BeatProfile& profile = profiles[b];
            float weight = share * loudness;
            if (b == first) weight *= 1.0f + weights.Onset + (beats[b].Strength == 2 ? weights.StrongOnset : 0.0f);
            else weight *= weights.Held;
            const bool melody = note.Pitch == profile.Highest && profile.Highest - profile.Lowest >= kWideTexture;
            if (melody) weight *= weights.Melody;
            profile.Chroma[static_cast<std::size_t>(pitchClass)] += weight;
            if (note.Pitch < profile.Lowest + kBassRange) {
                float bass = share * (note.Pitch == profile.Lowest ? 1.0f : 0.5f);
                if (b == first) bass *= 1.0f + weights.BassOnset * (beats[b].Strength == 2 ? 2.0f : beats[b].Strength == 1 ? 1.0f : 0.0f);
                profile.Bass[static_cast<std::size_t>(pitchClass)] += bass;
            }
        });
    }
    CarryBass(beats, profiles);
    for (BeatProfile& profile : profiles) {
        float total = 0;
        for (float weight : profile.Chroma) total += weight;
        profile.Total = total;
        std::uint8_t classes = 0;
        for (float weight : profile.Chroma)
            if (total > 0 && weight >= weights.MinShare * total) ++classes;
        profile.Classes = classes;
    }
    return profiles;
}

}  // namespace tonalux::detail
