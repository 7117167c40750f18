// How records are stored so that every list stays in tick order. One rule
// serves the channel, meta and system-exclusive lists, for records the reader
// reads and records callers add, and one insertion by tick serves every list
// operation, the reader and the writers' save sequences.
//
// A record whose tick is not behind the latest tick its list reached is
// appended. One behind it is late (a later track reaching back in time) and
// is placed: in a channel list and in the system-exclusive list after the
// records of the same tick, in the meta list before them. Outside a load it is
// placed at once. During a load it waits in a list of late records of its own
// (placing each one at once would scan the list once per record), and all of
// them are merged in when the load ends, in the order the one-by-one placement
// gives.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace tonalux::detail {

// Where a record goes among the records of its own tick.
enum class Ties { Before, After };

// The place of a record of `tick`: right behind the last record that goes
// before it, that is one of an earlier tick, or with Ties::After of the same
// tick too; at the front when there is none. In a list in tick order that is
// behind every earlier record and before (Ties::Before) or behind
// (Ties::After) those of the same tick. The list is searched from its end,
// where records added in time mostly go, so the search costs no more than
// moving the records behind the place.
template <typename Record>
std::size_t TickPlace(const std::vector<Record>& list, std::uint32_t tick, Ties ties) {
    std::size_t at = list.size();
    if (ties == Ties::After) {
        while (at > 0 && list[at - 1].Tick > tick) --at;
    } else {
        while (at > 0 && list[at - 1].Tick >= tick) --at;
    }
    return at;
}

// Inserts `record` at its place by its Tick; returns the place.
template <typename Record>
std::size_t InsertByTick(std::vector<Record>& list, Record record, Ties ties) {
    const std::size_t at = TickPlace(list, record.Tick, ties);
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(at), std::move(record));
    return at;
}

// Delta of the record at `index` as its distance from the record before it.
template <typename Record>
void DeltaFromPrevious(std::vector<Record>& list, std::size_t index) {
    list[index].Delta = index == 0 ? list[index].Tick : list[index].Tick - list[index - 1].Tick;
}

// After a record was placed at `index`: its own Delta and that of the record after it.
template <typename Record>
void UpdateDeltasAround(std::vector<Record>& list, std::size_t index) {
    DeltaFromPrevious(list, index);
    if (index + 1 < list.size()) DeltaFromPrevious(list, index + 1);
}

// Stores a record of `tick` by the rule above; `fill` writes its fields
// into a value-initialised record, `lastTick` is the latest tick the list
// reached, `placeNow` places a late record outside a load. A record in time
// is written where it stays, at the list's end: a record put together
// elsewhere and copied in would be read back right after its fields were
// written one by one, which the processor cannot forward from its stores,
// and that wait dominated the reading of a song.
template <typename Record, typename Fill, typename PlaceNow>
[[gnu::always_inline]] inline void StoreInTickOrder(std::vector<Record>& list, std::vector<Record>& late,
                                                    std::uint32_t& lastTick, std::uint32_t tick, bool loading,
                                                    Fill fill, PlaceNow placeNow) {
    if (lastTick > tick) [[unlikely]] {
        Record record{};
        fill(record);
        if (loading)
            late.push_back(std::move(record));
        else
            placeNow(std::move(record));
        return;
    }
    fill(list.emplace_back());
    lastTick = tick;
}

// The same for a record already put together.
template <typename Record, typename PlaceNow>
[[gnu::always_inline]] inline void StoreInTickOrder(std::vector<Record>& list, std::vector<Record>& late,
                                                    std::uint32_t& lastTick, Record&& record, bool loading,
                                                    PlaceNow placeNow) {
    const std::uint32_t tick = record.Tick;
    StoreInTickOrder(
        list, late, lastTick, tick, loading, [&record](Record& into) { into = std::move(record); }, placeNow);
}

// Merges the late records of a load (in order of arrival) into their list,
// where InsertByTick would have put them one by one. The list's own records
// are in tick order, and every late record of a tick arrived after the list's
// records of that tick (the list's latest tick only grows during a load).
// With Ties::Before (the meta list) the late records of a tick go before the
// list's, the last to arrive first, as each went in front of the others;
// with Ties::After behind them, in order of arrival. Each late record
// and the record after it get their Delta from their new neighbours.
//
// The merge runs from the back of the list, grown by the late records, so
// that it works in the list's own room: no second list, and a list that had
// the room at the load before keeps it. The cost is the length of the list
// behind the earliest late record, plus the sorting of the late records.
template <typename Record>
void PlaceLate(std::vector<Record>& list, std::vector<Record>& late, Ties ties) {
    const bool lateFirst = ties == Ties::Before;
    if (late.empty()) return;
    // A later track reaching back usually brings its late records in tick
    // order already; they are sorted only when they are not.
    const auto byTick = [](const Record& a, const Record& b) { return a.Tick < b.Tick; };
    if (!std::is_sorted(late.begin(), late.end(), byTick)) std::stable_sort(late.begin(), late.end(), byTick);
    if (lateFirst) {
        for (auto run = late.begin(); run != late.end();) {
            const auto end = std::upper_bound(run, late.end(), *run, byTick);
            std::reverse(run, end);
            run = end;
        }
    }
    // Whether the late record goes before the list's own record.
    const auto lateBefore = [lateFirst](const Record& l, const Record& own) {
        return lateFirst ? l.Tick <= own.Tick : l.Tick < own.Tick;
    };

    std::size_t own = list.size();
    std::size_t next = late.size();
    list.resize(own + next);
    std::size_t at = list.size();
    // Own records are taken from below the places written, so none is
    // overwritten before it is moved; once every late record is placed, the
    // own records left are where they belong.
    while (next > 0) {
        --at;
        if (own > 0 && lateBefore(late[next - 1], list[own - 1])) {
            list[at] = std::move(list[--own]);
            continue;
        }
        list[at] = std::move(late[--next]);
        // The record that will stand before it is the one the merge would
        // place next.
        const Record* before = nullptr;
        if (own > 0 && next > 0) {
            before = lateBefore(late[next - 1], list[own - 1]) ? &list[own - 1] : &late[next - 1];
        } else if (own > 0) {
            before = &list[own - 1];
        } else if (next > 0) {
            before = &late[next - 1];
        }
        list[at].Delta = before ? list[at].Tick - before->Tick : list[at].Tick;
        if (at + 1 < list.size()) list[at + 1].Delta = list[at + 1].Tick - list[at].Tick;
    }
    late.clear();
}

}  // namespace tonalux::detail
