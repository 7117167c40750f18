// Start at the first note: after reading, the whole song moves so that its
// earliest note (note-on or note-off, velocity 0 included, in any track)
// starts at tick 0. Every event at or after that tick moves back by it; every
// event before it moves to tick 0, keeping its place in its list. All tracks
// move together, so the song keeps its timing, and its end moves with them.
#include "lists/Hauptcontainer.h"
#include "StandardMidifile.h"

namespace tonalux {

namespace {

template <typename Record>
void ShiftList(std::vector<Record>& list, std::uint32_t start) {
    for (auto& record : list) record.Tick = record.Tick >= start ? record.Tick - start : 0;
}

std::uint32_t Shifted(std::uint32_t tick, std::uint32_t start) { return tick >= start ? tick - start : 0; }

}  // namespace

void StandardMidifile::ShiftSongToFirstNote() {
    const std::uint32_t start = firstNoteTick_;
    if (start == 0) return;
    auto& lists = detail::Lists();
    for (auto& channel : lists.ChannelEvents) ShiftList(channel, start);
    ShiftList(lists.MetaEvents, start);
    ShiftList(lists.TempoEvents, start);
    ShiftList(lists.MessureEvents, start);
    ShiftList(lists.LyricEvents, start);
    ShiftList(lists.MarkerEvents, start);
    ShiftList(lists.YamChordEvents, start);
    ShiftList(lists.SysexEvents, start);
    for (auto& tick : LastChannelTick) tick = Shifted(tick, start);
    LastMetaTick = Shifted(LastMetaTick, start);
    LastSysexTick = Shifted(LastSysexTick, start);
    lists.EndTick = Shifted(lists.EndTick, start);
}

}  // namespace tonalux
