// Storing the events the reader reads, and the sorted insertions.
//
// Each list is kept in tick order. An event that arrives at a tick earlier
// than what its list already reached (a later track reaching back in time)
// is placed: in a channel list and in the system-exclusive list after the
// records of the same tick, in the meta list before them.
//
// During a load, such late events are not placed one by one (that would scan
// the list once per event). They are appended and marked, and placed all at
// once at the end of the load, in the order the one-by-one placement gives:
//  - channel and system-exclusive lists: a stable sort by tick of the arrival
//    order;
//  - the meta list: within one tick, the late events in reverse order of
//    arrival (each went in front of the others), then the events that were
//    appended, in order of arrival. Kept copyright notices and track names
//    are the exception: a late one goes after the records of its tick, so
//    that they stay in the order of the tracks that hold them and the first
//    track's name stays the first.
// Outside a load (the Add operations) every event is placed at once.
#include <algorithm>
#include <numeric>
#include <string>
#include <vector>

#include "Hauptcontainer.h"
#include "StandardMidifile.h"

namespace tonalux {

namespace {

using detail::Lists;

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

// Merges the runs of a list that consists of ascending runs into one list
// sorted by tick. Equal ticks keep their order (std::merge takes from the
// first range first), so the result is the stable sort of the list; the cost
// is n log(number of runs).
void MergeRuns(std::vector<MidiEvent>& list) {
    std::vector<std::size_t> bounds{0};
    for (std::size_t i = 1; i < list.size(); ++i)
        if (list[i].Tick < list[i - 1].Tick) bounds.push_back(i);
    bounds.push_back(list.size());
    if (bounds.size() <= 2) return;

    std::vector<MidiEvent> buffer(list.size());
    const auto byTick = [](const MidiEvent& a, const MidiEvent& b) { return a.Tick < b.Tick; };
    while (bounds.size() > 2) {
        std::vector<std::size_t> merged{0};
        for (std::size_t r = 0; r + 1 < bounds.size(); r += 2) {
            const std::size_t begin = bounds[r];
            const std::size_t middle = bounds[r + 1];
            const std::size_t end = r + 2 < bounds.size() ? bounds[r + 2] : middle;
            std::merge(list.begin() + static_cast<std::ptrdiff_t>(begin), list.begin() + static_cast<std::ptrdiff_t>(middle),
                       list.begin() + static_cast<std::ptrdiff_t>(middle), list.begin() + static_cast<std::ptrdiff_t>(end),
                       buffer.begin() + static_cast<std::ptrdiff_t>(begin), byTick);
            merged.push_back(end);
        }
        list.swap(buffer);
        bounds.swap(merged);
    }
}

// Marks of the records of a meta or system-exclusive list during a load.
constexpr std::uint8_t kInTime = 0;
constexpr std::uint8_t kLate = 1;            // placed by its list's rule
constexpr std::uint8_t kLateAfterTick = 2;   // placed after the records of its tick

// Reorders a meta or system-exclusive list after a load by the placement
// rules, and gives the late records and their followers their new Delta.
template <typename Record>
void PlaceByArrival(std::vector<Record>& list, const std::vector<std::uint8_t>& late, bool lateGoesFirst) {
    const std::size_t n = list.size();
    std::vector<std::size_t> order(n);
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        if (list[a].Tick != list[b].Tick) return list[a].Tick < list[b].Tick;
        const bool firstA = lateGoesFirst && late[a] == kLate;
        const bool firstB = lateGoesFirst && late[b] == kLate;
        if (firstA != firstB) return firstA;
        return firstA ? a > b : a < b;
    });
    std::vector<Record> placed;
    placed.reserve(n);
    std::vector<std::uint8_t> placedLate(n);
    for (std::size_t i = 0; i < n; ++i) {
        placed.push_back(std::move(list[order[i]]));
        placedLate[i] = late[order[i]];
    }
    list.swap(placed);
    for (std::size_t i = 0; i < n; ++i)
        if (placedLate[i]) UpdateDeltasAround(list, i);
}

// Stores a meta or system-exclusive record as the reader does: appended when
// it is not behind its list's time; a late record is appended and marked
// during a load, and placed at once by `placeNow` outside a load.
template <typename Record, typename Place>
void AppendOrPlace(std::vector<Record>& list, std::uint32_t& lastTick, Record&& record, bool loading,
                   std::vector<std::uint8_t>& lateMarks, bool& anyLate, Place placeNow,
                   std::uint8_t lateMark = kLate) {
    const bool late = lastTick > record.Tick;
    if (late && !loading) {
        const std::uint32_t tick = record.Tick;
        placeNow(std::move(record), tick);
        return;
    }
    if (late)
        anyLate = true;
    else
        lastTick = record.Tick;
    list.push_back(std::move(record));
    if (loading) lateMarks.push_back(late ? lateMark : kInTime);
}

// Inserts `record` at `tick` before the first record that `goesBefore`
// accepts, and updates the Deltas around it; false when the list cannot grow.
template <typename Record, typename GoesBefore>
bool InsertBefore(std::vector<Record>& list, Record&& record, std::uint32_t tick, GoesBefore goesBefore) {
    try {
        const auto place = std::find_if(list.begin(), list.end(), goesBefore);
        const auto at = static_cast<std::size_t>(place - list.begin());
        record.Tick = tick;
        list.insert(place, std::move(record));
        UpdateDeltasAround(list, at);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace

// ---- channel events -----------------------------------------------------------

bool StandardMidifile::InsertMidiEventToConatiner(MidiEvent event) {
    auto& list = Lists().ChannelEvents.at(static_cast<std::size_t>(event.Channel));
    std::uint32_t& last = LastChannelTick[event.Channel];
    if (last > event.Tick) {
        if (loading_) {
            // Data3 is always 0 in a stored record; during a load it marks a
            // record that arrived behind its list's time, until it is placed.
            event.Data3 = 1;
            channelLate_[event.Channel] = true;
            list.push_back(event);
        } else {
            InsertMidievent(event, event.Tick);
        }
        return true;
    }
    list.push_back(event);
    last = event.Tick;
    return true;
}

int StandardMidifile::InsertMidievent(MidiEvent event, std::uint32_t tick) {
    // After the records of the same tick.
    auto& list = Lists().ChannelEvents.at(static_cast<std::size_t>(event.Channel));
    InsertBefore(list, std::move(event), tick, [tick](const MidiEvent& e) { return e.Tick > tick; });
    return 1;
}

// ---- meta events --------------------------------------------------------------

bool StandardMidifile::InsertMetaEventToContainer(MetaEvent event) {
    // Copyright notices and track names are kept only when asked for.
    if (IsSongTextType(event.Type)) {
        if (!keepSongNames_) return true;
        AppendOrPlace(
            Lists().MetaEvents, LastMetaTick, std::move(event), loading_, metaLate_, anyMetaLate_,
            [](MetaEvent&& late, std::uint32_t tick) {
                InsertBefore(Lists().MetaEvents, std::move(late), tick, [tick](const MetaEvent& e) { return e.Tick > tick; });
            },
            kLateAfterTick);
        return true;
    }
    AppendOrPlace(Lists().MetaEvents, LastMetaTick, std::move(event), loading_, metaLate_, anyMetaLate_,
                  [this](MetaEvent&& late, std::uint32_t tick) { InsertMetaEvent(std::move(late), tick); });
    return true;
}

bool StandardMidifile::InsertMetaEvent(MetaEvent event, std::uint32_t tick) {
    // Before the records of the same tick.
    if (InsertBefore(Lists().MetaEvents, std::move(event), tick, [tick](const MetaEvent& e) { return e.Tick >= tick; }))
        return true;
    CurrentEngineHost().ShowMessage("Bytepos :" + std::to_string(Bytepos));
    return false;
}

// ---- system-exclusive events ------------------------------------------------------

int StandardMidifile::InsertSysexEventToContainer(SysexEvent event) {
    AppendOrPlace(Lists().SysexEvents, LastSysexTick, std::move(event), loading_, sysexLate_, anySysexLate_,
                  [this](SysexEvent&& late, std::uint32_t tick) { InsertSysexEvent(std::move(late), tick); });
    return 1;
}

bool StandardMidifile::InsertSysexEvent(SysexEvent event, std::uint32_t tick) {
    // After the records of the same tick.
    if (InsertBefore(Lists().SysexEvents, std::move(event), tick, [tick](const SysexEvent& e) { return e.Tick > tick; }))
        return true;
    CurrentEngineHost().ShowMessage("SysBytepos :" + std::to_string(Bytepos));
    return false;
}

// ---- end of a load ------------------------------------------------------------------

void StandardMidifile::PlaceLateRecords() {
    auto& lists = Lists();
    for (int channel = 0; channel < 16; ++channel) {
        if (!channelLate_[channel]) continue;
        auto& list = lists.ChannelEvents[static_cast<std::size_t>(channel)];
        MergeRuns(list);
        for (std::size_t i = 0; i < list.size(); ++i) {
            if (list[i].Data3 == 0) continue;
            list[i].Data3 = 0;
            UpdateDeltasAround(list, i);
        }
        channelLate_[channel] = false;
    }
    if (anyMetaLate_) PlaceByArrival(lists.MetaEvents, metaLate_, true);
    if (anySysexLate_) PlaceByArrival(lists.SysexEvents, sysexLate_, false);
    anyMetaLate_ = false;
    anySysexLate_ = false;
}

}  // namespace tonalux
