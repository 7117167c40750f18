// Storing the events the reader reads, and the sorted insertions. The rule
// that keeps each list in tick order is in TickOrder.h.
#include <algorithm>
#include <string>
#include <vector>

#include "Hauptcontainer.h"
#include "StandardMidifile.h"
#include "TickOrder.h"

namespace tonalux {

namespace {

using detail::Lists;
using detail::UpdateDeltasAround;

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
    // A channel outside 0 to 15 raises std::out_of_range here, before anything is touched.
    auto& list = Lists().ChannelEvents.at(static_cast<std::size_t>(event.Channel));
    const auto channel = static_cast<std::size_t>(event.Channel);
    detail::StoreInTickOrder(list, channelLate_[channel], LastChannelTick[channel],
                             std::move(event), loading_,
                             [this](MidiEvent&& late) { InsertMidievent(late, late.Tick); });
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
    // Copyright notices and track names are not kept.
    if (event.Type == 0x02 || event.Type == 0x03) return true;
    detail::StoreInTickOrder(Lists().MetaEvents, metaLate_, LastMetaTick, std::move(event), loading_,
                             [this](MetaEvent&& late) {
                                 const std::uint32_t tick = late.Tick;
                                 InsertMetaEvent(std::move(late), tick);
                             });
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
    detail::StoreInTickOrder(Lists().SysexEvents, sysexLate_, LastSysexTick, std::move(event), loading_,
                             [this](SysexEvent&& late) {
                                 const std::uint32_t tick = late.Tick;
                                 InsertSysexEvent(std::move(late), tick);
                             });
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
    for (std::size_t channel = 0; channel < 16; ++channel)
        detail::PlaceLate(lists.ChannelEvents[channel], channelLate_[channel], false);
    detail::PlaceLate(lists.MetaEvents, metaLate_, true);
    detail::PlaceLate(lists.SysexEvents, sysexLate_, false);
}

void StandardMidifile::DropLateRecords() {
    for (auto& late : channelLate_) late.clear();
    metaLate_.clear();
    sysexLate_.clear();
}

}  // namespace tonalux
