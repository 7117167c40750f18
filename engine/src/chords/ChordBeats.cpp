// What the chord recognition hears: the beat grid of the song and, for each
// beat, the weight of each pitch class and of the bass notes.
#include "chords/ChordBeats.h"
#include "chords/SideBySide.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tonalux::detail {

namespace {

constexpr std::size_t kDrumChannel = 9;
constexpr std::uint32_t kLastTick = std::numeric_limits<std::uint32_t>::max();

}  // namespace

namespace {

// The notes of the channels [from, to) but the drum channel, appended to `notes`.
void CollectChannels(const std::array<std::vector<MidiEvent>, 16>& channels, std::size_t from, std::size_t to,
                     std::vector<Note>& notes) {
    // The notes are written to a small buffer first, which every record
    // writes whether it ends a note or not, and then appended.
    constexpr std::size_t kChunk = 1024;
    std::array<Note, kChunk> chunk;
    // A key's sounding note: where it started, or kLastTick for none (a
    // note that starts on the last tick cannot sound).
    struct Open {
        std::uint32_t Start = kLastTick;
        std::uint8_t Velocity = 0;
    };
    for (std::size_t channel = from; channel < to; ++channel) {
        if (channel == kDrumChannel) continue;
        // The keys, then spare slots that never sound. The loop takes no
        // branch on what an event is (events of a song come in no order a
        // branch predictor could learn): an event that is no note event works
        // on a spare slot.
        std::array<Open, 256> open{};
        std::uint32_t last = 0;
        const std::vector<MidiEvent>& list = channels[channel];
        for (std::size_t first = 0; first < list.size(); first += kChunk) {
            const std::size_t stop = std::min(list.size(), first + kChunk);
            std::size_t count = 0;
            for (std::size_t i = first; i < stop; ++i) {
                const MidiEvent& event = list[i];
                last = std::max(last, event.Tick);
                const bool noteEvent = (event.Kind & ~0x10) == 0x80;
                const auto key = static_cast<std::uint8_t>(event.Data1 & 0x7Fu);
                Open& note = open[key | (static_cast<unsigned>(!noteEvent) << 7)];
                // A note event ends the sounding note of its key; only a note-on
                // with a velocity starts one.
                chunk[count] = {note.Start, event.Tick, key, note.Velocity};
                count += static_cast<std::size_t>(event.Tick > note.Start);
                const bool starts = noteEvent & (event.Kind == 0x90) & (event.Data2 > 0);
                note = {event.Tick | (kLastTick * static_cast<std::uint32_t>(!starts)), event.Data2};
            }
            notes.insert(notes.end(), chunk.begin(), chunk.begin() + static_cast<std::ptrdiff_t>(count));
        }
        // A note without its end sounds to the channel's last record.
        for (std::size_t key = 0; key < 128; ++key)
            if (open[key].Start < kLastTick)
                notes.push_back({open[key].Start, std::max(last, open[key].Start + 1), static_cast<std::uint8_t>(key),
                                 open[key].Velocity});
    }
}

}  // namespace

std::vector<Note> CollectNotes(const std::array<std::vector<MidiEvent>, 16>& channels) {
    // A note mostly takes two records, one that starts it and one that ends
    // it; a vector grows where a song restrikes its keys more often than
    // that, and is cut down only where most of it stays unused. A large song
    // is collected in two halves of its records at once, the channels below
    // `middle` and those from it, and joined in the order of the channels.
    std::array<std::size_t, 17> before{};  // the records of the channels before each
    for (std::size_t channel = 0; channel < channels.size(); ++channel)
        before[channel + 1] = before[channel] + (channel != kDrumChannel ? channels[channel].size() : 0);
    const std::size_t events = before.back();
    const bool split = Splits(events / 2);
    const auto middle = split ? static_cast<std::size_t>(
                                    std::upper_bound(before.begin(), before.end(), events / 2) - before.begin() - 1)
                              : channels.size();
    std::vector<Note> notes, upper;
    notes.reserve(events / 2 + 128 * channels.size());
    upper.reserve((events - before[middle]) / 2 + 128 * (channels.size() - middle));
    SideBySide(split, [&] { CollectChannels(channels, 0, middle, notes); },
               [&] { CollectChannels(channels, middle, channels.size(), upper); });
    notes.insert(notes.end(), upper.begin(), upper.end());
    if (notes.capacity() > 2 * notes.size()) notes.shrink_to_fit();
    return notes;
}

namespace {

constexpr int kWideTexture = 12;  // a melody stands an octave or more above the bass
constexpr std::size_t kBassRange = 3;    // notes this close above the lowest count as bass
// A note is heard on a beat where it starts or sounds for this share of the
// beat; a note that only rings into the beat is not.
constexpr float kHeardShare = 0.25f;

// A beat's sums while the notes come in, kept small as every note adds to
// them. The weights that depend on the beat's lowest and highest note are
// kept apart until those are known: the bass weight of the three lowest keys
// (from Lowest up) and the weight of the notes on the highest key.
struct BeatSums {
    std::array<float, 12> Chroma{};
    std::array<float, kBassRange + 1> LowKeys{};  // the last one takes what lies above the bass range
    float TopKey = 0;
    std::uint8_t Lowest = 127;
    std::uint8_t Highest = 0;
    std::uint8_t BassKey = 0xFF;
    std::uint16_t Heard = 0;

    // Notes come in any order of pitch, so the updates are written as
    // selections rather than branches, which would be mispredicted.
    void Add(std::uint8_t pitch, float weight, float bass, bool heard) {
        Chroma[pitch % 12u] += weight;
        // An empty beat has Highest 0 and TopKey 0, so its first note needs no case of its own.
        // (Chosen from small arrays, which keeps the choice free of branches.)
        const float kept[2] = {0.0f, TopKey}, added[2] = {0.0f, weight};
        TopKey = kept[pitch <= Highest] + added[pitch >= Highest];
        Highest = std::max(Highest, pitch);
        // A new lowest key moves the keys counted so far up by the distance.
        // Few notes of a beat bring one, so a branch costs less here than
        // moving the keys on every note.
        if (pitch < Lowest) {
            const unsigned shift = Lowest - pitch;
            LowKeys = {0.0f, shift == 1 ? LowKeys[0] : 0.0f, shift == 1 ? LowKeys[1] : shift == 2 ? LowKeys[0] : 0.0f,
                       LowKeys[kBassRange]};
            Lowest = pitch;
        }
        LowKeys[std::min<unsigned>(pitch - Lowest, kBassRange)] += bass;
        // A key not heard takes part as 0xFF, above every key.
        const auto unheard = static_cast<unsigned>(!heard);
        BassKey = std::min(BassKey, static_cast<std::uint8_t>(pitch | (0xFFu * unheard)));
        Heard = static_cast<std::uint16_t>(Heard | ((1u - unheard) << (pitch % 12u)));
    }

    // The profile: the highest voice above a wide texture counts `melody`
    // times, the lowest key full and the two above it half as bass.
    BeatProfile Profile(float melody) const {
        BeatProfile profile;
        profile.Chroma = Chroma;
        profile.Lowest = Lowest;
        profile.Highest = Highest;
        profile.BassKey = BassKey;
        profile.Heard = Heard;
        if (Lowest > Highest) return profile;
        if (Highest - Lowest >= kWideTexture) profile.Chroma[Highest % 12u] -= (1.0f - melody) * TopKey;
        for (std::size_t k = 0; k < kBassRange && Lowest + k < 128; ++k)
            profile.Bass[(Lowest + k) % 12] += LowKeys[k] * (k == 0 ? 1.0f : 0.5f);
        return profile;
    }
};

// Adds the notes to the beats they sound in.
class NoteProfiler {
public:
    NoteProfiler(const std::vector<Beat>& beats, const ProfileWeights& weights)
        : weights_(weights), sums_(beats.size()), spans_(beats.size()) {
        for (std::size_t b = 0; b < beats.size(); ++b) {
            const Beat& beat = beats[b];
            const auto end = std::min<std::uint64_t>(std::uint64_t{beat.Tick} + beat.Ticks, kLastTick);
            spans_[b] = {beat.Tick, static_cast<std::uint32_t>(end), 1.0f / static_cast<float>(beat.Ticks), beat.Strength};
        }
        // High notes are more often melody than chord: their weight falls
        // from middle C upward to HighWeight two octaves above.
        for (std::size_t pitch = 0; pitch < pitchWeight_.size(); ++pitch) {
            const float height = std::clamp((static_cast<float>(pitch) - 60.0f) / 24.0f, 0.0f, 1.0f);
            pitchWeight_[pitch] = 1.0f - height * (1.0f - weights.HighWeight);
        }
        // A louder note weighs more: half at velocity 0, one at 127 (the
        // table holds every byte value, so any velocity read is in it).
        for (std::size_t velocity = 0; velocity < velocityWeight_.size(); ++velocity)
            velocityWeight_[velocity] = 0.5f + static_cast<float>(velocity) / 254.0f;
        // A note weighs more in the beat it starts in, its bass most on the
        // first beat of a bar; by the beat's strength (0, 1, 2).
        onset_ = {1.0f + weights.Onset, 1.0f + weights.Onset, 1.0f + weights.Onset + weights.StrongOnset};
        bassOnset_ = {1.0f, 1.0f + weights.BassOnset, 1.0f + 2.0f * weights.BassOnset};
    }

    // The notes, with the place of each one's first beat, added to the beats
    // [lo, hi) only: two ranges of beats take the notes at once, and each beat
    // takes them in the order of the notes, as it would from one. A note that
    // reaches no beat of the range is passed over by its first beat alone,
    // without reading it. Returns the end of the last note read.
    std::uint32_t AddNotes(const std::vector<Note>& notes, const std::vector<std::uint32_t>& firstBeats,
                           std::size_t lo, std::size_t hi) {
        std::uint32_t soundEnd = 0;
        for (std::size_t i = 0; i < notes.size(); ++i) {
            const std::uint32_t first = firstBeats[i];
            // A note pushed to the next beat reaches one beat further.
            if (first == kNoBeat || first >= hi ||
                std::max<std::size_t>(std::min<std::size_t>(spans_.size(), first + weights_.MaxBeatsPerNote), first + 2) <= lo)
                continue;
            const Note& note = notes[i];
            if (note.End <= note.Start) continue;
            soundEnd = std::max(soundEnd, note.End);
            Add(note, first, lo, hi);
        }
        return soundEnd;
    }

    // The profiles of the beats [lo, hi), once their notes are added.
    void Profiles(std::size_t lo, std::size_t hi, std::vector<BeatProfile>& profiles) const {
        for (std::size_t b = lo; b < hi; ++b) profiles[b] = sums_[b].Profile(weights_.Melody);
    }

private:
    // A note: the beat it starts in, then the beats it is held over, those of [lo, hi).
    void Add(const Note& note, std::uint32_t first, std::size_t lo, std::size_t hi) {
        const std::size_t stop = std::min<std::size_t>(spans_.size(), first + weights_.MaxBeatsPerNote);
        const Span& beat = spans_[first];
        const std::uint8_t pitch = note.Pitch;
        const float loudness = velocityWeight_[note.Velocity] * pitchWeight_[pitch];
        const float share = static_cast<float>(std::min(beat.End, note.End) - note.Start) * beat.PerTick;
        // A note that starts in the second half of a beat and sounds on
        // through half the next is played ahead of that beat: it belongs to
        // the next beat's chord and counts from there, as if it started there.
        // Worked out without a branch, which would be mispredicted on every
        // other note. The last beat stands for the one after it, and as it
        // does not start where it ends, no note is pushed past it.
        const Span& next = spans_[std::min<std::size_t>(first + 1, spans_.size() - 1)];
        const bool pushed = (share <= 0.5f) & (next.Tick == beat.End) & (note.End >= beat.End + (next.End - next.Tick) / 2);
        const std::size_t from = first + static_cast<std::size_t>(pushed);  // the beat the note counts from
        const float nextShare = static_cast<float>(std::min(next.End, note.End) - next.Tick) * next.PerTick;
        const float shares[2] = {share, nextShare};
        const float fromShare = shares[pushed];
        if (from >= lo && from < hi) {
            const std::uint8_t strength = spans_[from].Strength;
            sums_[from].Add(pitch, fromShare * loudness * onset_[strength], fromShare * bassOnset_[strength], true);
        }
        const float held = loudness * weights_.Held;
        for (std::size_t b = std::max(from + 1, lo); b < std::min(stop, hi) && note.End > spans_[b].Tick; ++b) {
            const Span& in = spans_[b];
            const float heldShare = static_cast<float>(std::min(in.End, note.End) - in.Tick) * in.PerTick;
            sums_[b].Add(pitch, heldShare * held, heldShare, heldShare >= kHeardShare);
        }
    }

    // What a note's share in a beat needs: where the beat starts and ends
    // (within 32 bits, as the notes do), 1 / its length and its strength.
    struct Span {
        std::uint32_t Tick;
        std::uint32_t End;
        float PerTick;
        std::uint8_t Strength;
    };
    const ProfileWeights& weights_;
    std::vector<BeatSums> sums_;
    std::vector<Span> spans_;
    std::array<float, 128> pitchWeight_{};
    std::array<float, 256> velocityWeight_{};
    std::array<float, 3> onset_{};
    std::array<float, 3> bassOnset_{};
};

// A bass note is heard until the next one: on a beat where only the chord
// sounds (its lowest note a fifth or more above the bass before), the bass of
// the beat before stays, up to the end of the bar.
// The beats [lo, hi) take it; a bar's first beat takes none.
void CarryBass(const std::vector<Beat>& beats, std::vector<BeatProfile>& profiles, std::size_t lo, std::size_t hi) {
    constexpr int kAboveBass = 7;
    constexpr int kLongestCarry = 3;
    constexpr float kFading = 0.5f;
    int carried = 0;
    for (std::size_t b = std::max<std::size_t>(lo, 1); b < hi; ++b) {
        BeatProfile& profile = profiles[b];
        const BeatProfile& before = profiles[b - 1];
        const bool silent = profile.Lowest > profile.Highest;
        if (silent || beats[b].Strength == 2 || beats[b].Index != beats[b - 1].Index + 1 ||
            before.Lowest > 127 - kAboveBass || profile.Lowest < before.Lowest + kAboveBass || carried >= kLongestCarry) {
            carried = 0;
            continue;
        }
        for (std::size_t pc = 0; pc < 12; ++pc) profile.Bass[pc] = profile.Bass[pc] * (1.0f - kFading) + before.Bass[pc] * kFading;
        profile.Lowest = before.Lowest;
        if (before.BassKey < profile.BassKey) profile.BassKey = before.BassKey;
        ++carried;
    }
}

// The beat where about half the notes start (judged from a thousand of
// them), beats.size() / 2 when no note has a beat.
std::size_t MiddleBeat(const std::vector<std::uint32_t>& firstBeats, std::size_t beats) {
    constexpr std::size_t kSamples = 1024;
    std::vector<std::uint32_t> sample;
    sample.reserve(kSamples + 1);
    const std::size_t step = std::max<std::size_t>(1, firstBeats.size() / kSamples);
    for (std::size_t i = 0; i < firstBeats.size(); i += step)
        if (firstBeats[i] != kNoBeat) sample.push_back(firstBeats[i]);
    if (sample.empty()) return beats / 2;
    const auto median = sample.begin() + static_cast<std::ptrdiff_t>(sample.size() / 2);
    std::nth_element(sample.begin(), median, sample.end());
    return std::min<std::size_t>(*median, beats);
}

}  // namespace

bool AlignBars(std::vector<Beat>& beats, const std::vector<BeatProfile>& profiles, float margin) {
    constexpr std::uint32_t kFewestBars = 8;  // a few bars tell nothing of where bars start
    // How much the sound changes into each beat, summed by bar length and
    // place in the bar: half the distance between the shares of the pitch
    // classes, and of the bass, of the beat and the one before it.
    // The distances of a large song are worked out in two halves at once
    // (-1 where a beat has none), then summed in order.
    std::vector<float> distances(beats.size(), -1.0f);
    const auto distancesOf = [&](std::size_t from, std::size_t to) {
        for (std::size_t b = std::max<std::size_t>(from, 1); b < to; ++b) {
            const Beat& beat = beats[b];
            const BeatProfile& now = profiles[b];
            const BeatProfile& before = profiles[b - 1];
            if (beat.BeatsPerBar < 2 || beat.Index != beats[b - 1].Index + 1 || now.Total <= 0 || before.Total <= 0)
                continue;
            float bassNow = 0, bassBefore = 0;
            for (std::size_t pc = 0; pc < 12; ++pc) bassNow += now.Bass[pc], bassBefore += before.Bass[pc];
            float distance = 0;
            for (std::size_t pc = 0; pc < 12; ++pc) {
                distance += std::abs(now.Chroma[pc] / now.Total - before.Chroma[pc] / before.Total);
                if (bassNow > 0 && bassBefore > 0) distance += std::abs(now.Bass[pc] / bassNow - before.Bass[pc] / bassBefore);
            }
            distances[b] = distance;
        }
    };
    const bool split = Splits(beats.size() * 8);
    const std::size_t middle = split ? beats.size() / 2 : beats.size();
    SideBySide(split, [&] { distancesOf(0, middle); }, [&] { distancesOf(middle, beats.size()); });
    std::vector<std::vector<float>> change(256);
    std::vector<std::vector<std::uint32_t>> counted(256);
    for (std::size_t b = 1; b < beats.size(); ++b) {
        if (distances[b] < 0) continue;
        const Beat& beat = beats[b];
        std::vector<float>& places = change[beat.BeatsPerBar];
        if (places.empty()) places.assign(beat.BeatsPerBar, 0.0f), counted[beat.BeatsPerBar].assign(beat.BeatsPerBar, 0);
        places[beat.InBar] += distances[b];
        ++counted[beat.BeatsPerBar][beat.InBar];
    }
    std::array<std::uint8_t, 256> first{};  // the place in the bar that starts it, by bar length
    bool moved = false;
    for (std::size_t length = 2; length < change.size(); ++length) {
        // The mean change at each place, where every place was heard in enough bars.
        std::vector<float>& places = change[length];
        const std::vector<std::uint32_t>& bars = counted[length];
        if (places.empty() || *std::min_element(bars.begin(), bars.end()) < kFewestBars) continue;
        for (std::size_t place = 0; place < length; ++place) places[place] /= static_cast<float>(bars[place]);
        const auto most = static_cast<std::size_t>(std::max_element(places.begin(), places.end()) - places.begin());
        if (most != 0 && places[most] > margin * places[0]) first[length] = static_cast<std::uint8_t>(most), moved = true;
    }
    if (!moved) return false;
    for (Beat& beat : beats)
        if (beat.BeatsPerBar >= 2)
            beat.Strength = StrengthOf((beat.InBar + beat.BeatsPerBar - first[beat.BeatsPerBar]) % beat.BeatsPerBar,
                                       beat.BeatsPerBar);
    return true;
}

std::vector<BeatProfile> ProfileNotes(const std::vector<Beat>& beats, const std::vector<Note>& notes,
                                      const std::vector<std::uint32_t>& firstBeats, const ProfileWeights& weights,
                                      std::uint32_t& soundEnd) {
    NoteProfiler profiler(beats, weights);
    std::vector<BeatProfile> profiles(beats.size());
    // The profiles of the beats [lo, hi); the end of the last note.
    const auto profile = [&](std::size_t lo, std::size_t hi) {
        const std::uint32_t end = profiler.AddNotes(notes, firstBeats, lo, hi);
        profiler.Profiles(lo, hi, profiles);
        CarryBass(beats, profiles, lo, hi);
        for (std::size_t b = lo; b < hi; ++b) {
            BeatProfile& beat = profiles[b];
            float total = 0;
            for (float weight : beat.Chroma) total += weight;
            beat.Total = total;
            std::uint8_t classes = 0;
            for (float weight : beat.Chroma)
                if (total > 0 && weight >= weights.MinShare * total) ++classes;
            beat.Classes = classes;
        }
        return end;
    };
    // A large song: the beats before the bar where about half the notes have
    // started are profiled here, the others on a thread of its own. No bass
    // is carried into the first beat of a bar, so the halves need nothing of
    // each other.
    const bool split = Splits(notes.size());
    std::size_t middle = split ? MiddleBeat(firstBeats, beats.size()) : beats.size();
    while (middle < beats.size() && beats[middle].Strength != 2) ++middle;
    // Each note is read by the half its first beat lies in, so the song
    // sounds until the later of the two ends.
    std::uint32_t upperEnd = 0;
    SideBySide(split, [&] { soundEnd = profile(0, middle); }, [&] { upperEnd = profile(middle, beats.size()); });
    soundEnd = std::max(soundEnd, upperEnd);
    return profiles;
}

}  // namespace tonalux::detail
