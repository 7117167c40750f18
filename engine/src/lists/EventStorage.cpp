// Storing the events the reader reads, and the sorted insertions. The rule
// that keeps each list in tick order is in TickOrder.h.
#include <string>
#include <vector>

#include "lists/Hauptcontainer.h"
#include "StandardMidifile.h"
#include "lists/TickOrder.h"

namespace tonalux {

namespace {

using detail::Lists;
using detail::UpdateDeltasAround;

using detail::Ties;

// Inserts `record` at `tick` by the tie rule, and updates the Deltas around
// it; false when the list cannot grow.
template <typename Record>
bool InsertAt(std::vector<Record>& list, Record&& record, std::uint32_t tick, Ties ties) {
    try {
        record.Tick = tick;
        UpdateDeltasAround(list, detail::InsertByTick(list, std::move(record), ties));
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
    InsertAt(list, std::move(event), tick, Ties::After);
    return 1;
}

// ---- meta events --------------------------------------------------------------

bool StandardMidifile::InsertMetaEventToContainer(MetaEvent event) {
    // Copyright notices and track names are kept only when asked for. A late
    // one goes after the records of its tick, not before them, so that they
    // stay in the order of the tracks that hold them and the first track's
    // name stays the first.
    if (IsSongTextType(event.Type)) {
        if (!keepSongNames_) return true;
        detail::StoreInTickOrder(Lists().MetaEvents, songTextLate_, LastMetaTick, std::move(event), loading_,
                                 [](MetaEvent&& late) {
                                     const std::uint32_t tick = late.Tick;
                                     InsertAt(Lists().MetaEvents, std::move(late), tick, Ties::After);
                                 });
        return true;
    }
    detail::StoreInTickOrder(Lists().MetaEvents, metaLate_, LastMetaTick, std::move(event), loading_,
                             [this](MetaEvent&& late) {
                                 const std::uint32_t tick = late.Tick;
                                 InsertMetaEvent(std::move(late), tick);
                             });
    return true;
}

bool StandardMidifile::InsertMetaEvent(MetaEvent event, std::uint32_t tick) {
    // Before the records of the same tick.
    if (InsertAt(Lists().MetaEvents, std::move(event), tick, Ties::Before))
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
    if (InsertAt(Lists().SysexEvents, std::move(event), tick, Ties::After))
        return true;
    CurrentEngineHost().ShowMessage("SysBytepos :" + std::to_string(Bytepos));
    return false;
}

// ---- end of a load ------------------------------------------------------------------

void StandardMidifile::PlaceLateRecords() {
    auto& lists = Lists();
    for (std::size_t channel = 0; channel < 16; ++channel)
        detail::PlaceLate(lists.ChannelEvents[channel], channelLate_[channel], Ties::After);
    detail::PlaceLate(lists.MetaEvents, metaLate_, Ties::Before);
    detail::PlaceLate(lists.MetaEvents, songTextLate_, Ties::After);
    detail::PlaceLate(lists.SysexEvents, sysexLate_, Ties::After);
}

void StandardMidifile::DropLateRecords() {
    for (auto& late : channelLate_) late.clear();
    metaLate_.clear();
    songTextLate_.clear();
    sysexLate_.clear();
}

}  // namespace tonalux
