// The chord model: templates of the chord tones, the key of the song as a
// prior, and a Viterbi pass over the beats that prefers staying on a chord and
// changing at the start of a bar.
#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstddef>
#include <functional>
#include <limits>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#if defined(__SSE2__)
#include <immintrin.h>
#endif

#include "chords/ChordBeats.h"
#include "chords/SideBySide.h"

namespace tonalux::detail {

namespace {

static_assert(kStates % 8 == 0, "the states are searched eight at a time");


// Krumhansl-Kessler key profiles, from the tonic upward.
constexpr std::array<float, 12> kMajorProfile = {6.35f, 2.23f, 3.48f, 2.33f, 4.38f, 4.09f,
                                                  2.52f, 5.19f, 2.39f, 3.66f, 2.29f, 2.88f};
constexpr std::array<float, 12> kMinorProfile = {6.33f, 2.68f, 3.52f, 5.38f, 2.60f, 3.53f,
                                                  2.54f, 4.75f, 3.98f, 2.69f, 3.34f, 3.17f};

// A beat that sounds what the beat before it sounds, bass included.
bool SameNotes(const std::vector<Beat>& beats, const std::vector<BeatProfile>& profiles, std::size_t b) {
    return beats[b].Index == beats[b - 1].Index + 1 && profiles[b].Heard != 0 &&
           profiles[b].Heard == profiles[b - 1].Heard && profiles[b].BassKey == profiles[b - 1].BassKey;
}

// The pitch classes of the key, the raised seventh of minor included.
std::array<bool, 12> ScaleOf(const SongKey& key) {
    static constexpr std::array<int, 7> kMajor = {0, 2, 4, 5, 7, 9, 11};
    static constexpr std::array<int, 8> kMinor = {0, 2, 3, 5, 7, 8, 10, 11};
    std::array<bool, 12> scale{};
    if (key.Minor) for (int step : kMinor) scale[static_cast<std::size_t>((key.Tonic + step) % 12)] = true;
    else for (int step : kMajor) scale[static_cast<std::size_t>((key.Tonic + step) % 12)] = true;
    return scale;
}

float Correlation(const std::array<float, 12>& a, const std::array<float, 12>& profile, int shift) {
    float meanA = 0, meanB = 0;
    for (std::size_t i = 0; i < 12; ++i) meanA += a[i], meanB += profile[i];
    meanA /= 12, meanB /= 12;
    float num = 0, da = 0, db = 0;
    for (std::size_t i = 0; i < 12; ++i) {
        const float x = a[(i + static_cast<std::size_t>(shift)) % 12] - meanA;
        const float y = profile[i] - meanB;
        num += x * y, da += x * x, db += y * y;
    }
    return da > 0 && db > 0 ? num / std::sqrt(da * db) : 0.0f;
}

// The emission of a state is linear in the beat's shares of each pitch class
// and of the bass:
//   - cost - NonChordTone * (weight outside the chord) + sum of tone weight * share
//   + BassRoot * bass on the root + BassTone * bass on the other tones
//   - BassOther * bass outside the chord - KeyOutside * tones outside the key,
// so each template keeps one factor per tone for the chord share and one for
// the bass share, and each state a constant. States are numbered template * 12
// + root, so that the twelve roots of a template are worked out side by side.
struct ModelTerms {
    std::array<std::array<float, 4>, kTemplates.size()> ChromaFactor{};
    std::array<std::array<float, 4>, kTemplates.size()> BassFactor{};
    // A tone that must sound costs MissingTone, given back when it is heard.
    std::array<std::array<float, 4>, kTemplates.size()> HeardFactor{};
    std::array<float, kStates> Constant{};  // without bass
    float BassConstant = 0;                 // added when the beat has a bass
    bool SharedRoot = true;                 // every template has the root factors of the first
};

// The tones of a chord that must sound for it to be named: all but the root
// and the fifth, which a player often leaves out.
constexpr bool MustSound(std::int8_t interval) { return interval > 0 && interval != 7; }

ModelTerms TermsOf(const SongKey& key, const ModelWeights& w) {
    const std::array<bool, 12> scale = ScaleOf(key);
    ModelTerms terms;
    terms.BassConstant = -w.BassOther;
    for (std::size_t t = 0; t < kTemplates.size(); ++t) {
        const ChordTemplate& chord = kTemplates[t];
        for (std::size_t i = 0; i < chord.Intervals.size(); ++i) {
            if (chord.Intervals[i] < 0) continue;
            terms.ChromaFactor[t][i] = w.Tones[t][i] + w.NonChordTone;
            terms.BassFactor[t][i] = (i == 0 ? w.BassRoot : w.BassTone) + w.BassOther;
            terms.HeardFactor[t][i] = MustSound(chord.Intervals[i]) ? w.MissingTone : 0.0f;
        }
        terms.SharedRoot = terms.SharedRoot && terms.ChromaFactor[t][0] == terms.ChromaFactor[0][0] &&
                           terms.BassFactor[t][0] == terms.BassFactor[0][0];
        float mustSound = 0;
        for (float factor : terms.HeardFactor[t]) mustSound += factor;
        for (std::size_t root = 0; root < 12; ++root) {
            float outside = 0;
            for (std::int8_t interval : chord.Intervals)
                if (interval >= 0 && !scale[(root + static_cast<std::size_t>(interval)) % 12]) outside += 1.0f;
            terms.Constant[t * 12 + root] = -w.Cost[t] - w.NonChordTone - w.KeyOutside * outside - mustSound;
        }
    }
    return terms;
}

// The emissions of the twelve roots of template `t`: the constants, then the
// term of each tone in the order of the tones. Which tones a template has and
// which of them must sound is known here, so the row takes no branch; a term
// is a chroma, a bass and (for a tone that must sound) a heard share.
template <std::size_t t>
void TemplateRow(const ModelTerms& terms, float scale, float bassConstant, const std::array<float, 12>& rootTerm,
                 const std::array<float, 24>& chroma, const std::array<float, 24>& bass,
                 const std::array<float, 24>& heard, std::array<float, kStates>& out) {
    constexpr ChordTemplate chord = kTemplates[t];
    // The twelve roots side by side, kept in registers until the row is done.
    std::array<float, 12> row;
    for (std::size_t root = 0; root < 12; ++root) row[root] = (terms.Constant[t * 12 + root] + bassConstant) * scale;
    if (terms.SharedRoot) {
        for (std::size_t root = 0; root < 12; ++root) row[root] += rootTerm[root];
    } else {
        const float cf = terms.ChromaFactor[t][0], bf = terms.BassFactor[t][0];
        for (std::size_t root = 0; root < 12; ++root) row[root] += cf * chroma[root] + bf * bass[root];
    }
    [&]<std::size_t... i>(std::index_sequence<i...>) {
        const auto tone = [&]<std::size_t k>(std::integral_constant<std::size_t, k>) {
            constexpr std::int8_t interval = chord.Intervals[k];
            if constexpr (interval >= 0) {
                const float cf = terms.ChromaFactor[t][k], bf = terms.BassFactor[t][k];
                const float* c = chroma.data() + interval;
                const float* b = bass.data() + interval;
                if constexpr (MustSound(interval)) {
                    const float hf = terms.HeardFactor[t][k];
                    const float* h = heard.data() + interval;
                    for (std::size_t root = 0; root < 12; ++root) row[root] += cf * c[root] + bf * b[root] + hf * h[root];
                } else {
                    for (std::size_t root = 0; root < 12; ++root) row[root] += cf * c[root] + bf * b[root];
                }
            }
        };
        (tone(std::integral_constant<std::size_t, i + 1>{}), ...);
    }(std::make_index_sequence<3>{});
    std::copy(row.begin(), row.end(), out.begin() + static_cast<std::ptrdiff_t>(t * 12));
}

// The emission of every state for one beat, times `scale`; 0 for all on a beat
// that tells nothing.
void Emissions(const BeatProfile& profile, const ModelTerms& terms, float scale, std::array<float, kStates>& out) {
    if (profile.Classes < 2 || profile.Total <= 0) {
        out.fill(0.0f);
        return;
    }
    // Shares twice over, so that the tone at an interval above any root is one index away.
    std::array<float, 24> chroma{}, bass{};
    float bassTotal = 0;
    for (float weight : profile.Bass) bassTotal += weight;
    // The emission is linear in the shares and the constants, so the scale
    // goes into them.
    const float chromaScale = scale / profile.Total;
    const float bassScale = bassTotal > 0 ? scale / bassTotal : 0.0f;
    for (std::size_t pc = 0; pc < 12; ++pc) {
        chroma[pc] = chroma[pc + 12] = profile.Chroma[pc] * chromaScale;
        bass[pc] = bass[pc + 12] = profile.Bass[pc] * bassScale;
    }
    const float bassConstant = bassTotal > 0 ? terms.BassConstant : 0.0f;
    // `scale` for each pitch class heard, twice over like the shares.
    std::array<float, 24> heard{};
    const float values[2] = {0.0f, scale};  // chosen without a branch
    for (std::size_t pc = 0; pc < 12; ++pc) heard[pc] = heard[pc + 12] = values[(profile.Heard >> pc) & 1u];
    // The root's term, the same for every template when their root factors
    // agree (as they do in the fitted model), is worked out once.
    std::array<float, 12> rootTerm;
    for (std::size_t root = 0; root < 12; ++root)
        rootTerm[root] = terms.ChromaFactor[0][0] * chroma[root] + terms.BassFactor[0][0] * bass[root];
    [&]<std::size_t... t>(std::index_sequence<t...>) {
        (TemplateRow<t>(terms, scale, bassConstant, rootTerm, chroma, bass, heard, out), ...);
    }(std::make_index_sequence<kTemplates.size()>{});
}

}  // namespace

std::uint16_t ChordTones(std::size_t templateIndex, std::size_t root) {
    unsigned tones = 0;
    for (std::int8_t interval : kTemplates[templateIndex].Intervals)
        if (interval >= 0) tones |= 1u << ((root + static_cast<std::size_t>(interval)) % 12);
    return static_cast<std::uint16_t>(tones);
}

int SongKey::Fifths() const {
    const int major = Minor ? (Tonic + 3) % 12 : Tonic;
    const int fifths = (major * 7) % 12;
    return fifths > 6 ? fifths - 12 : fifths;
}

SongKey EstimateKey(const std::vector<BeatProfile>& profiles) {
    std::array<float, 12> total{};
    for (const BeatProfile& profile : profiles)
        for (std::size_t pc = 0; pc < 12; ++pc) total[pc] += profile.Chroma[pc];
    SongKey best;
    float bestScore = -2.0f;
    for (int tonic = 0; tonic < 12; ++tonic) {
        for (bool minor : {false, true}) {
            const float score = Correlation(total, minor ? kMinorProfile : kMajorProfile, tonic);
            if (score > bestScore) bestScore = score, best = {tonic, minor};
        }
    }
    return best;
}

// Beats that start a silence of a bar or more, or lie in one, or come before
// the first beat that tells something: no chord there.
std::vector<bool> NoChordBeats(const std::vector<Beat>& beats, const std::vector<BeatProfile>& profiles) {
    std::vector<bool> none(beats.size(), false);
    std::size_t b = 0;
    while (b < beats.size() && profiles[b].Classes < 2) none[b++] = true;
    while (b < beats.size()) {
        if (profiles[b].Total > 0) {
            ++b;
            continue;
        }
        // A silence lasts until the next beat that sounds; the beats between
        // that are not in the grid are silent too. Silence that runs to the
        // end of the grid counts as long.
        std::size_t end = b;
        while (end < beats.size() && profiles[end].Total <= 0) ++end;
        const std::uint64_t ticks = end < beats.size() ? beats[end].Tick - beats[b].Tick : UINT64_MAX;
        if (ticks >= beats[b].BarTicks)
            for (std::size_t i = b; i < end; ++i) none[i] = true;
        b = end;
    }
    return none;
}

namespace {

// For each beat and state, one bit: whether the best way into it stayed on
// the state; otherwise it came from the best state of the beat before.
constexpr std::size_t kStayBytes = kStates / 8;

// One beat of the pass. `score` holds the scores of the beat before, whose
// best is `top`; they count less `top`, so that the best is 0 (scores only
// matter relative to each other). The best way into each state stays on it
// or moves from the best state at `moved`: its bit in `stay` (eight states to
// a byte) tells which, and `score` gets the new scores with the emissions
// added. Returns the best of them. One pass over the states, four at a time.
float Step(std::array<float, kStates>& score, float top, float moved, const std::array<float, kStates>& emitted,
           std::uint8_t* stay) {
#if defined(__SSE2__)
    const __m128 bar = _mm_set1_ps(moved), offset = _mm_set1_ps(top);
    __m128 best0 = _mm_set1_ps(-std::numeric_limits<float>::infinity()), best1 = best0;
    for (std::size_t byte = 0; byte < kStayBytes; ++byte) {
        float* at = score.data() + byte * 8;
        const __m128 low = _mm_sub_ps(_mm_loadu_ps(at), offset);
        const __m128 high = _mm_sub_ps(_mm_loadu_ps(at + 4), offset);
        stay[byte] = static_cast<std::uint8_t>(_mm_movemask_ps(_mm_cmpge_ps(low, bar)) |
                                               (_mm_movemask_ps(_mm_cmpge_ps(high, bar)) << 4));
        // max(bar, x) is x where they are equal, as std::max(x, bar) is.
        const __m128 nextLow = _mm_add_ps(_mm_max_ps(bar, low), _mm_loadu_ps(emitted.data() + byte * 8));
        const __m128 nextHigh = _mm_add_ps(_mm_max_ps(bar, high), _mm_loadu_ps(emitted.data() + byte * 8 + 4));
        _mm_storeu_ps(at, nextLow);
        _mm_storeu_ps(at + 4, nextHigh);
        best0 = _mm_max_ps(best0, nextLow);
        best1 = _mm_max_ps(best1, nextHigh);
    }
    alignas(16) float lanes[4];
    _mm_store_ps(lanes, _mm_max_ps(best0, best1));
    return std::max(std::max(lanes[0], lanes[1]), std::max(lanes[2], lanes[3]));
#else
    float best = -std::numeric_limits<float>::infinity();
    for (std::size_t byte = 0; byte < kStayBytes; ++byte) {
        unsigned bits = 0;
        for (unsigned k = 0; k < 8; ++k) {
            const std::size_t s = byte * 8 + k;
            const float before = score[s] - top;
            bits |= static_cast<unsigned>(before >= moved) << k;
            score[s] = std::max(before, moved) + emitted[s];
            best = std::max(best, score[s]);
        }
        stay[byte] = static_cast<std::uint8_t>(bits);
    }
    return best;
#endif
}

// The first state whose value is `top`, the largest.
std::size_t FirstAt(const std::array<float, kStates>& values, float top) {
#if defined(__SSE2__)
    const __m128 bar = _mm_set1_ps(top);
    for (std::size_t s = 0; s < kStates; s += 4) {
        const int equal = _mm_movemask_ps(_mm_cmpeq_ps(_mm_loadu_ps(values.data() + s), bar));
        if (equal != 0) return s + static_cast<std::size_t>(std::countr_zero(static_cast<unsigned>(equal)));
    }
    return 0;
#else
    return static_cast<std::size_t>(std::find(values.begin(), values.end(), top) - values.begin());
#endif
}

// The emissions of a song's beats, worked out in blocks ahead of the pass
// that takes them in order. The blocks lie in a ring; a block's place is
// taken again only once the pass is through with it. A second thread and the
// pass itself work out the blocks, each taking the next one free, so the pass
// waits for no block it could work out itself.
class EmissionRing {
public:
    static constexpr std::size_t kBlock = 128;  // beats
    static constexpr std::size_t kRing = 8;     // blocks

    EmissionRing(std::size_t beats, const std::function<void(std::size_t, std::array<float, kStates>&)>& emit)
        : beats_(beats), blocks_((beats + kBlock - 1) / kBlock), emit_(emit), slots_(kRing * kBlock) {
        for (auto& ready : ready_) ready.store(kNone);
        if (Splits(beats_ * 8)) {
            try {
                second_ = std::thread([this] { Help(); });
            } catch (const std::system_error&) {
                // No thread to be had: the pass works out every block.
            }
        }
    }
    ~EmissionRing() {
        stop_.store(true);
        if (second_.joinable()) second_.join();
    }
    EmissionRing(const EmissionRing&) = delete;
    EmissionRing& operator=(const EmissionRing&) = delete;

    // The emissions of beat `b`, the beats asked for in order.
    const std::array<float, kStates>& At(std::size_t b) {
        const std::size_t block = b / kBlock;
        if (b % kBlock == 0) {
            if (block > 0) passed_.store(block, std::memory_order_release);  // the block before is done with
            while (ready_[block % kRing].load(std::memory_order_acquire) != block)
                if (!WorkOne()) std::this_thread::yield();
        }
        return slots_[(block % kRing) * kBlock + b % kBlock];
    }

private:
    static constexpr std::size_t kNone = ~std::size_t{0};

    // Works out the next free block; false when none is free now.
    bool WorkOne() {
        std::size_t block = next_.load();
        do {
            if (block >= blocks_ || block >= passed_.load(std::memory_order_acquire) + kRing) return false;
        } while (!next_.compare_exchange_weak(block, block + 1));
        const std::size_t from = block * kBlock, to = std::min(beats_, from + kBlock);
        for (std::size_t b = from; b < to; ++b) emit_(b, slots_[(block % kRing) * kBlock + b - from]);
        ready_[block % kRing].store(block, std::memory_order_release);
        return true;
    }
    void Help() {
        while (!stop_.load() && next_.load() < blocks_)
            if (!WorkOne()) std::this_thread::yield();
    }

    const std::size_t beats_;
    const std::size_t blocks_;
    const std::function<void(std::size_t, std::array<float, kStates>&)>& emit_;
    std::vector<std::array<float, kStates>> slots_;
    std::array<std::atomic<std::size_t>, kRing> ready_;  // the block each place holds, worked out
    std::atomic<std::size_t> next_{0};                   // the first block nobody took yet
    std::atomic<std::size_t> passed_{0};                 // the blocks the pass is through with
    std::atomic<bool> stop_{false};
    std::thread second_;
};

}  // namespace

// The most likely chord path, by Viterbi over the beats.
std::vector<std::size_t> BestPath(const std::vector<Beat>& beats, const std::vector<BeatProfile>& profiles,
                                  const std::vector<bool>& none, const SongKey& key, const ModelWeights& w) {
    const ModelTerms terms = TermsOf(key, w);
    const std::size_t n = beats.size();
    std::vector<std::uint8_t> stayed(n * kStayBytes);
    std::vector<std::size_t> bestBefore(n, 0);
    std::array<float, kStates> score{};  // less `top`, as Step takes them
    float top = 0;
    // A beat with less sound than most tells less: its emissions are scaled
    // down below Confidence times the mean weight of the sounding beats.
    double sum = 0;
    std::size_t sounding = 0;
    for (const BeatProfile& profile : profiles)
        if (profile.Total > 0) sum += profile.Total, ++sounding;
    const float enough = sounding > 0 ? w.Confidence * static_cast<float>(sum / static_cast<double>(sounding)) : 0.0f;
    const std::function<void(std::size_t, std::array<float, kStates>&)> emit = [&](std::size_t b, std::array<float, kStates>& out) {
        Emissions(profiles[b], terms, profiles[b].Total < enough ? profiles[b].Total / enough : 1.0f, out);
    };
    EmissionRing emissions(n, emit);
    std::size_t best = 0;  // the best state of the beat before, whose score is `top`
    for (std::size_t b = 0; b < n; ++b) {
        const std::array<float, kStates>& emitted = emissions.At(b);
        bestBefore[b] = best;
        float penalty = w.Change;
        if (beats[b].Strength == 1) penalty *= w.ChangeHalf;
        if (beats[b].Strength == 0) penalty *= w.ChangeOther;
        if (b == 0 || none[b - 1]) penalty = 0;  // after no chord any chord may begin
        else if (SameNotes(beats, profiles, b)) penalty = std::numeric_limits<float>::infinity();
        const float moved = (score[best] - top) - penalty;
        top = Step(score, top, moved, emitted, stayed.data() + b * kStayBytes);
        best = FirstAt(score, top);
    }
    std::vector<std::size_t> path(n, 0);
    if (n == 0) return path;
    std::size_t state = best;
    for (std::size_t b = n; b-- > 0;) {
        path[b] = state;
        if (((stayed[b * kStayBytes + state / 8] >> (state % 8)) & 1u) == 0) state = bestBefore[b];
    }
    return path;
}

}  // namespace tonalux::detail
