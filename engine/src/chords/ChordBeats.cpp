// What the chord recognition hears: the beat grid of the song and, for each
// beat, the weight of each pitch class and of the bass notes.
#include "chords/ChordBeats.h"

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

std::uint32_t NotesReach(const std::array<std::vector<MidiEvent>, 16>& channels) {
    std::uint64_t reach = 0;
    for (std::size_t channel = 0; channel < channels.size(); ++channel)
        if (channel != kDrumChannel && !channels[channel].empty())
            reach = std::max<std::uint64_t>(reach, static_cast<std::uint64_t>(channels[channel].back().Tick) + 1);
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(reach, std::numeric_limits<std::uint32_t>::max()));
}

namespace {

constexpr int kWideTexture = 12;  // a melody stands an octave or more above the bass
constexpr std::size_t kBassRange = 3;    // notes this close above the lowest count as bass
constexpr std::size_t kEndedBatch = 1u << 14;  // ended notes added to their beats at a time

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

    // Notes come in any order of pitch, so the updates are written as
    // selections rather than branches, which would be mispredicted.
    void Add(std::uint8_t pitch, float weight, float bass) {
        Chroma[pitch % 12u] += weight;
        // An empty beat has Highest 0 and TopKey 0, so its first note needs no case of its own.
        TopKey = (pitch > Highest ? 0.0f : TopKey) + (pitch >= Highest ? weight : 0.0f);
        Highest = std::max(Highest, pitch);
        // A new lowest key moves the keys counted so far up by the distance.
        const std::size_t shift = std::min<std::size_t>(Lowest > pitch ? Lowest - pitch : 0, kBassRange);
        static_assert(kBassRange == 3, "the keys are moved one by one");
        const std::array<float, 2 * kBassRange> moved = {0.0f, 0.0f, 0.0f, LowKeys[0], LowKeys[1], LowKeys[2]};
        LowKeys[0] = moved[3 - shift];
        LowKeys[1] = moved[4 - shift];
        LowKeys[2] = moved[5 - shift];
        Lowest = std::min(Lowest, pitch);
        LowKeys[std::min<std::size_t>(pitch - Lowest, kBassRange)] += bass;
    }

    // The profile: the highest voice above a wide texture counts `melody`
    // times, the lowest key full and the two above it half as bass.
    BeatProfile Profile(float melody) const {
        BeatProfile profile;
        profile.Chroma = Chroma;
        profile.Lowest = Lowest;
        profile.Highest = Highest;
        if (Lowest > Highest) return profile;
        if (Highest - Lowest >= kWideTexture) profile.Chroma[Highest % 12u] -= (1.0f - melody) * TopKey;
        for (std::size_t k = 0; k < kBassRange && Lowest + k < 128; ++k)
            profile.Bass[(Lowest + k) % 12] += LowKeys[k] * (k == 0 ? 1.0f : 0.5f);
        return profile;
    }
};

// Adds the notes of the channel lists to the beats they sound in.
class NoteProfiler {
public:
    NoteProfiler(const std::vector<Beat>& beats, const ProfileWeights& weights)
        : beats_(beats), weights_(weights), sums_(beats.size()), perTick_(beats.size()) {
        for (std::size_t b = 0; b < beats.size(); ++b) perTick_[b] = 1.0f / static_cast<float>(beats[b].Ticks);
        // High notes are more often melody than chord: their weight falls
        // from middle C upward to HighWeight two octaves above.
        for (std::size_t pitch = 0; pitch < pitchWeight_.size(); ++pitch) {
            const float height = std::clamp((static_cast<float>(pitch) - 60.0f) / 24.0f, 0.0f, 1.0f);
            pitchWeight_[pitch] = 1.0f - height * (1.0f - weights.HighWeight);
        }
        // A note weighs more in the beat it starts in, its bass most on the
        // first beat of a bar; by the beat's strength (0, 1, 2).
        onset_ = {1.0f + weights.Onset, 1.0f + weights.Onset, 1.0f + weights.Onset + weights.StrongOnset};
        bassOnset_ = {1.0f, 1.0f + weights.BassOnset, 1.0f + 2.0f * weights.BassOnset};
    }

    // The notes of one channel list. The notes are first gathered as they end
    // and then added to their beats. The gathering takes no branch on what an
    // event is (events of a song come in no order a branch predictor could
    // learn): an event that is no note event works on a spare slot that never
    // sounds.
    void Channel(const std::vector<MidiEvent>& events) {
        if (beats_.empty()) return;
        constexpr std::size_t kKeys = 128;
        std::array<OpenNote, 2 * kKeys> open{};  // the keys, then the spare slots
        std::size_t count = 0;
        std::size_t cursor = 0;  // the beat of the latest tick, as the list is in tick order
        const std::size_t lastBeat = beats_.size() - 1;
        std::uint32_t last = 0;
        for (const MidiEvent& event : events) {
            last = std::max(last, event.Tick);
            // Mostly the next event lies in the same beat or the next one.
            cursor += static_cast<std::size_t>(cursor < lastBeat && beats_[cursor + 1].Tick <= event.Tick);
            while (cursor < lastBeat && beats_[cursor + 1].Tick <= event.Tick) ++cursor;
            const bool noteEvent = (event.Kind & ~0x10) == 0x80;
            OpenNote& note = open[(event.Data1 & 0x7Fu) | (static_cast<unsigned>(!noteEvent) << 7)];
            // A note event ends the sounding note of its key, if any.
            ended_[count] = {note.Start, event.Tick, note.FirstBeat, note.Velocity,
                             static_cast<std::uint8_t>(event.Data1 & 0x7Fu)};
            count += note.Sounding ? 1 : 0;
            if (count == ended_.size()) Flush(count), count = 0;
            const Beat& beat = beats_[cursor];
            const bool on = noteEvent & (event.Kind == 0x90) & (event.Data2 > 0) & (event.Tick >= beat.Tick) &
                            (event.Tick - beat.Tick < beat.Ticks);
            const std::uint32_t keep = 0u - static_cast<std::uint32_t>(on);  // all ones for a note-on
            note = {event.Tick & keep, static_cast<std::uint32_t>(cursor) & keep,
                    static_cast<std::uint8_t>(event.Data2 & keep), on};
        }
        // A note without its end sounds to the channel's last record.
        for (std::size_t key = 0; key < kKeys; ++key) {
            const OpenNote& note = open[key];
            if (!note.Sounding || note.Start == std::numeric_limits<std::uint32_t>::max()) continue;
            ended_[count++] = {note.Start, std::max(last, note.Start + 1), note.FirstBeat, note.Velocity,
                               static_cast<std::uint8_t>(key)};
            if (count == ended_.size()) Flush(count), count = 0;
        }
        Flush(count);
    }

    std::vector<BeatProfile> Profiles() const {
        std::vector<BeatProfile> profiles;
        profiles.reserve(sums_.size());
        for (const BeatSums& sums : sums_) profiles.push_back(sums.Profile(weights_.Melody));
        return profiles;
    }
    std::uint32_t SoundEnd() const { return soundEnd_; }

private:
    // The sounding note of a key.
    struct OpenNote {
        std::uint32_t Start = 0;
        std::uint32_t FirstBeat = 0;  // the beat it starts in
        std::uint8_t Velocity = 0;
        bool Sounding = false;
    };
    // A note that has ended.
    struct EndedNote {
        std::uint32_t Start;
        std::uint32_t End;
        std::uint32_t FirstBeat;
        std::uint8_t Velocity;
        std::uint8_t Pitch;
    };

    // Adds the ended notes gathered so far to their beats. Kept out of the
    // loop over the events, whose registers it would otherwise share.
#if defined(_MSC_VER)
    __declspec(noinline)
#elif defined(__GNUC__)
    __attribute__((noinline))
#endif
    void Flush(std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) Note(ended_[i]);
    }

    // A note that has ended.
    void Note(const EndedNote& note) {
        const std::uint32_t start = note.Start;
        const std::uint32_t end = note.End;
        const std::uint8_t pitch = note.Pitch;
        const std::size_t first = note.FirstBeat;
        if (end <= start) return;
        soundEnd_ = std::max(soundEnd_, end);
        const float loudness = (0.5f + static_cast<float>(note.Velocity) / 254.0f) * pitchWeight_[pitch];
        // The beat it starts in, then the beats it is held over.
        const Beat& beat = beats_[first];
        const auto firstEnd = std::min<std::uint64_t>(static_cast<std::uint64_t>(beat.Tick) + beat.Ticks, end);
        const float share = static_cast<float>(firstEnd - start) * perTick_[first];
        sums_[first].Add(pitch, share * loudness * onset_[beat.Strength], share * bassOnset_[beat.Strength]);
        const float held = loudness * weights_.Held;
        const std::size_t stop = std::min<std::size_t>(beats_.size(), first + weights_.MaxBeatsPerNote);
        for (std::size_t b = first + 1; b < stop && end > beats_[b].Tick; ++b) {
            const auto to = std::min<std::uint64_t>(static_cast<std::uint64_t>(beats_[b].Tick) + beats_[b].Ticks, end);
            const float heldShare = static_cast<float>(to - beats_[b].Tick) * perTick_[b];
            sums_[b].Add(pitch, heldShare * held, heldShare);
        }
    }

    const std::vector<Beat>& beats_;
    const ProfileWeights& weights_;
    std::vector<BeatSums> sums_;
    std::vector<float> perTick_;  // 1 / the length of each beat
    // The notes that have ended, added to their beats a batch at a time.
    std::vector<EndedNote> ended_ = std::vector<EndedNote>(kEndedBatch);
    std::array<float, 128> pitchWeight_{};
    std::array<float, 3> onset_{};
    std::array<float, 3> bassOnset_{};
    std::uint32_t soundEnd_ = 0;
};

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

std::vector<BeatProfile> ProfileNotes(const std::vector<Beat>& beats,
                                      const std::array<std::vector<MidiEvent>, 16>& channels,
                                      const ProfileWeights& weights, std::uint32_t& soundEnd) {
    NoteProfiler profiler(beats, weights);
    for (std::size_t channel = 0; channel < channels.size(); ++channel)
        if (channel != kDrumChannel) profiler.Channel(channels[channel]);
    soundEnd = profiler.SoundEnd();
    std::vector<BeatProfile> profiles = profiler.Profiles();
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
