// The beats of a song: where each beat lies by the metres in force, and the
// beats that the notes of a song need.
#include <algorithm>
#include <cmath>
#include <limits>

#include "chords/ChordBeats.h"
#include "chords/SideBySide.h"

namespace tonalux::detail {

namespace {

constexpr int kDefaultNumerator = 4;
constexpr int kDefaultDenominatorPower = 2;  // 4/4
constexpr int kLargestDenominatorPower = 6;  // 1/64
constexpr std::uint64_t kLastTickWide = std::numeric_limits<std::uint32_t>::max();  // the last tick, in 64 bits
// Songs whose notes lie within this many beats per note (and some) have their
// beats counted in one array over the span; others have their spans sorted.
constexpr std::uint64_t kDenseBeatsPerNote = 8;
constexpr std::uint64_t kDenseBeats = 4096;

struct Metre {
    std::uint32_t Tick = 0;
    int Numerator = kDefaultNumerator;
    int DenominatorPower = kDefaultDenominatorPower;
};

// The metres of the song in tick order; a time signature that names no metre
// is passed over, and of several at one tick the last counts. A time
// signature between two quarter notes of the song starts its metre on the
// next one, so that every beat lies on the song's quarter notes, where its
// chords are counted.
std::vector<Metre> MetresOf(std::uint16_t division, const std::vector<MetaEvent>& timeSignatures) {
    std::vector<Metre> metres{Metre{}};
    std::vector<Metre> read;
    for (const MetaEvent& signature : timeSignatures) {
        if (!signature.Data || signature.Length < 2) continue;
        const int numerator = signature.Data[0];
        const int power = signature.Data[1];
        if (numerator < 1 || power > kLargestDenominatorPower) continue;
        const std::uint64_t quarter = (std::uint64_t{signature.Tick} + division - 1) / division * division;
        read.push_back({static_cast<std::uint32_t>(std::min(quarter, kLastTickWide)), numerator, power});
    }
    std::stable_sort(read.begin(), read.end(), [](const Metre& a, const Metre& b) { return a.Tick < b.Tick; });
    for (const Metre& metre : read) {
        if (metre.Tick == metres.back().Tick) metres.back() = metre;
        else metres.push_back(metre);
    }
    return metres;
}

// `ticks` / `divisor` for ticks of 32 bits, by the high half of `ticks`
// times the reciprocal (2^64 / divisor rounded up), which is exact for any
// dividend and divisor of 32 bits; a division would cost far more per note.
std::uint64_t DivideTicks(std::uint32_t ticks, std::uint64_t reciprocal) {
    const std::uint64_t high = (reciprocal >> 32) * ticks;
    const std::uint64_t low = (reciprocal & 0xFFFFFFFFu) * ticks;
    return (high + (low >> 32)) >> 32;
}

}  // namespace

MetreMap::MetreMap(std::uint16_t division, const std::vector<MetaEvent>& timeSignatures) {
    // A division with the high bit set counts frames, not beats.
    if (division == 0 || (division & 0x8000) != 0) return;
    const std::vector<Metre> metres = MetresOf(division, timeSignatures);
    for (const Metre& metre : metres) {
        const double unit = division * 4.0 / static_cast<double>(1u << metre.DenominatorPower);
        // 6/8, 9/8, 12/8 (and in sixteenths) beat in dotted notes; 3/8 beats in eighths.
        const bool compound = metre.Numerator % 3 == 0 && metre.Numerator > 3 && metre.DenominatorPower >= 3;
        Part part;
        part.Tick = metre.Tick;
        part.BeatsPerBar = static_cast<std::uint32_t>(compound ? metre.Numerator / 3 : metre.Numerator);
        const double metreBeat = compound ? unit * 3.0 : unit;
        part.BarTicks = static_cast<std::uint32_t>(std::max(1.0, std::round(metreBeat * part.BeatsPerBar)));
        // A metre whose beat is no whole number of quarter notes (3/8, 6/8,
        // x/16) has its chords change on quarter notes: songs count their
        // beats in quarters whatever the signature says, and a chord on an
        // eighth or a dotted quarter would fall between those beats.
        part.Quarters = std::fmod(metreBeat, static_cast<double>(division)) != 0.0;
        part.BeatTicks = std::max(1.0, part.Quarters ? static_cast<double>(division) : metreBeat);
        if (part.BeatTicks == std::floor(part.BeatTicks)) part.WholeTicks = static_cast<std::uint32_t>(part.BeatTicks);
        if (part.WholeTicks > 1) part.Reciprocal = std::numeric_limits<std::uint64_t>::max() / part.WholeTicks + 1;
        if (!parts_.empty()) {
            // The beats of the metre before that start before this one.
            const Part& before = parts_.back();
            const std::uint64_t span = part.Tick - before.Tick;
            auto count = static_cast<std::uint64_t>(std::ceil(static_cast<double>(span) / before.BeatTicks));
            while (count > 0 && TickOf(before, before.FirstBeat + count - 1) >= part.Tick) --count;
            while (TickOf(before, before.FirstBeat + count) < part.Tick) ++count;
            part.FirstBeat = before.FirstBeat + count;
            parts_.back().End = part.Tick;
        }
        parts_.push_back(part);
    }
}

std::uint64_t MetreMap::TickOf(const Part& part, std::uint64_t beat) const {
    return part.Tick + static_cast<std::uint64_t>(std::llround(static_cast<double>(beat - part.FirstBeat) * part.BeatTicks));
}

std::uint64_t MetreMap::BeatOf(std::uint32_t tick) const {
    std::size_t hint = 0;
    return BeatOf(tick, hint);
}

std::uint64_t MetreMap::BeatOf(std::uint32_t tick, std::size_t& hint) const {
    // Mostly the metre of the tick before, with beats of whole ticks.
    if (hint < parts_.size()) {
        const Part& part = parts_[hint];
        if (part.Tick <= tick && tick < part.End && part.Reciprocal != 0)
            return part.FirstBeat + DivideTicks(tick - part.Tick, part.Reciprocal);
    }
    return SearchBeatOf(tick, hint);
}

std::uint64_t MetreMap::SearchBeatOf(std::uint32_t tick, std::size_t& hint) const {
    if (parts_.empty()) return 0;
    // Ticks mostly come in order: the metre of the tick before and its
    // neighbours are tried first, a search over all metres only after them.
    const auto holds = [&](std::size_t part) { return parts_[part].Tick <= tick && tick < parts_[part].End; };
    if (hint >= parts_.size()) hint = 0;
    if (!holds(hint)) {
        if (hint + 1 < parts_.size() && holds(hint + 1)) ++hint;
        else if (hint > 0 && holds(hint - 1)) --hint;
        else
            hint = static_cast<std::size_t>(std::upper_bound(parts_.begin(), parts_.end(), tick,
                                                             [](std::uint32_t t, const Part& p) { return t < p.Tick; }) -
                                            parts_.begin()) - 1;
    }
    const Part* part = &parts_[hint];
    if (part->WholeTicks == 1) return part->FirstBeat + (tick - part->Tick);
    if (part->WholeTicks != 0) return part->FirstBeat + DivideTicks(tick - part->Tick, part->Reciprocal);
    auto beat = part->FirstBeat + static_cast<std::uint64_t>(static_cast<double>(tick - part->Tick) / part->BeatTicks);
    while (beat > part->FirstBeat && TickOf(*part, beat) > tick) --beat;
    while (TickOf(*part, beat + 1) <= tick) ++beat;
    return beat;
}

bool MetreMap::BeatAt(std::uint64_t index, Beat& beat) const {
    std::size_t hint = 0;
    return BeatAt(index, beat, hint);
}

bool MetreMap::BeatAt(std::uint64_t index, Beat& beat, std::size_t& hint) const {
    if (parts_.empty()) return false;
    // Beats mostly come in order: the metre of the beat before and the next are tried first.
    const auto holds = [&](std::size_t part) {
        return parts_[part].FirstBeat <= index && (part + 1 == parts_.size() || index < parts_[part + 1].FirstBeat);
    };
    if (hint >= parts_.size()) hint = 0;
    if (!holds(hint)) {
        if (hint + 1 < parts_.size() && holds(hint + 1)) ++hint;
        else
            hint = static_cast<std::size_t>(
                       std::upper_bound(parts_.begin(), parts_.end(), index,
                                        [](std::uint64_t i, const Part& p) { return i < p.FirstBeat; }) - parts_.begin()) - 1;
    }
    const auto part = parts_.begin() + static_cast<std::ptrdiff_t>(hint);
    const std::uint64_t tick = TickOf(*part, index);
    if (tick > kLastTickWide) return false;
    // A beat lasts until the next, which may belong to the next metre.
    const auto next = std::next(part);
    const std::uint64_t nextTick = next != parts_.end() && next->FirstBeat == index + 1 ? next->Tick : TickOf(*part, index + 1);
    beat.Tick = static_cast<std::uint32_t>(tick);
    beat.Ticks = static_cast<std::uint32_t>(std::clamp<std::uint64_t>(nextTick - tick, 1, kLastTickWide));
    beat.BarTicks = part->BarTicks;
    if (part->Quarters) {
        // Quarter notes: strong where a bar of the metre starts, less where its half does.
        const std::uint64_t inBar = (tick - part->Tick) % part->BarTicks;
        const bool evenBar = part->BeatsPerBar % 2 == 0;
        beat.Strength = inBar == 0 ? 2 : (evenBar && inBar * 2 == part->BarTicks) ? 1 : 0;
        beat.InBar = 0;
        beat.BeatsPerBar = 0;
    } else {
        const std::uint64_t inBar = (index - part->FirstBeat) % part->BeatsPerBar;
        beat.Strength = StrengthOf(static_cast<std::uint32_t>(inBar), part->BeatsPerBar);
        // Bars of more beats than a byte holds are not moved.
        const bool small = part->BeatsPerBar <= 255;
        beat.InBar = small ? static_cast<std::uint8_t>(inBar) : 0;
        beat.BeatsPerBar = small ? static_cast<std::uint8_t>(part->BeatsPerBar) : 0;
    }
    beat.Index = index;
    return true;
}

std::uint8_t StrengthOf(std::uint32_t inBar, std::uint32_t beatsPerBar) {
    return inBar == 0 ? 2 : (beatsPerBar % 2 == 0 && inBar * 2 == beatsPerBar) ? 1 : 0;
}

std::vector<Beat> BuildBeatGrid(std::uint16_t division, const std::vector<MetaEvent>& timeSignatures,
                                std::uint32_t endTick, std::size_t maxBeats) {
    const MetreMap metres(division, timeSignatures);
    std::vector<Beat> beats;
    Beat beat;
    std::size_t hint = 0;
    for (std::uint64_t index = 0; beats.size() < maxBeats && metres.BeatAt(index, beat, hint) && beat.Tick < endTick;
         ++index)
        beats.push_back(beat);
    return beats;
}

std::vector<Beat> NoteGrid(const MetreMap& metres, const std::vector<Note>& notes, std::uint32_t maxBeatsPerNote,
                           std::vector<std::uint32_t>& firstBeats) {
    std::vector<Beat> beats;
    firstBeats.assign(notes.size(), kNoBeat);
    if (!metres.HasBeats() || notes.empty()) return beats;
    // Each note asks for the beats [first, end): those it sounds in and the
    // one after them. The notes of a channel come in order, so notes whose
    // beats meet are joined into runs as they come, and the runs are few.
    // A beat is at least a tick long, so its number fits in 32 bits:
    // firstBeats holds each note's first beat until its place is known.
    const std::uint64_t longest = std::max<std::uint32_t>(1, maxBeatsPerNote);
    using Runs = std::vector<std::pair<std::uint64_t, std::uint64_t>>;
    std::uint32_t* const places = firstBeats.data();
    const auto runsOf = [&](std::size_t from, std::size_t to, Runs& out) {
        if (from >= to) return;
        std::uint64_t runFirst = 0, runEnd = 0;
        std::size_t startHint = 0, endHint = 0;
        for (std::size_t i = from; i < to; ++i) {
            const std::uint64_t first = metres.BeatOf(notes[i].Start, startHint);
            const std::uint64_t end = std::min(metres.BeatOf(notes[i].End - 1, endHint), first + longest - 1) + 2;
            places[i] = static_cast<std::uint32_t>(first);
            if (first >= runFirst && first <= runEnd) {
                runEnd = std::max(runEnd, end);
                continue;
            }
            if (runEnd > runFirst) out.emplace_back(runFirst, runEnd);
            runFirst = first, runEnd = end;
        }
        out.emplace_back(runFirst, runEnd);
    };
    // A large song's notes are looked up in two halves at once; the runs of
    // both together ask for the same beats as those of the whole.
    const bool split = Splits(notes.size());
    const std::size_t half = split ? notes.size() / 2 : notes.size();
    Runs runs, upper;
    SideBySide(split, [&] { runsOf(0, half, runs); }, [&] { runsOf(half, notes.size(), upper); });
    runs.insert(runs.end(), upper.begin(), upper.end());
    std::sort(runs.begin(), runs.end());
    const std::uint64_t low = runs.front().first;
    std::uint64_t high = 0;
    for (const auto& run : runs) high = std::max(high, run.second);
    Beat beat;
    if (high - low <= kDenseBeatsPerNote * notes.size() + kDenseBeats) {
        // The beats from the first to the last lie close enough to count them
        // all: each run adds 1 where its beats begin and takes it away where
        // they end, and a beat is made where the running sum is above 0. The
        // same array then gives the place in the grid of each beat.
        std::vector<std::uint32_t> starts(high - low + 1, 0);
        for (const auto& [first, end] : runs) ++starts[first - low], --starts[end - low];
        std::uint32_t sounding = 0;  // never below 0: a run begins before it ends
        std::size_t hint = 0;
        std::uint64_t k = 0;
        for (; k < high - low; ++k) {
            sounding += starts[k];
            starts[k] = kNoBeat;
            if (sounding == 0) continue;
            if (!metres.BeatAt(low + k, beat, hint)) break;
            starts[k] = static_cast<std::uint32_t>(beats.size());
            beats.push_back(beat);
        }
        std::fill(starts.begin() + static_cast<std::ptrdiff_t>(k), starts.end(), kNoBeat);
        const auto placeOf = [&](std::size_t from, std::size_t to) {
            for (std::size_t i = from; i < to; ++i) places[i] = starts[places[i] - low];
        };
        SideBySide(split, [&] { placeOf(0, half); }, [&] { placeOf(half, notes.size()); });
        return beats;
    }
    // Far apart: the beats of the runs in order, where runs overlap once.
    std::uint64_t next = 0;  // the first beat not yet made
    bool full = false;
    std::size_t hint = 0;
    for (const auto& [first, end] : runs) {
        for (std::uint64_t index = std::max(first, next); index < end && !full; ++index) {
            full = !metres.BeatAt(index, beat, hint);
            if (!full) beats.push_back(beat);
        }
        next = std::max(next, end);
    }
    for (std::uint32_t& place : firstBeats) {
        const auto at = std::lower_bound(beats.begin(), beats.end(), place,
                                         [](const Beat& b, std::uint64_t index) { return b.Index < index; });
        place = at != beats.end() && at->Index == place ? static_cast<std::uint32_t>(at - beats.begin()) : kNoBeat;
    }
    return beats;
}

}  // namespace tonalux::detail
