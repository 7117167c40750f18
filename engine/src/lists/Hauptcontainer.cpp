#include "lists/Hauptcontainer.h"

namespace tonalux::detail {

void Hauptcontainer::Clear() {
    // clear() keeps the capacity, so the next load of a song of similar size
    // does not allocate its lists again.
    for (auto& channel : ChannelEvents) channel.clear();
    MetaEvents.clear();
    TempoEvents.clear();
    MessureEvents.clear();
    LyricEvents.clear();
    MarkerEvents.clear();
    YamChordEvents.clear();
    SysexEvents.clear();
    SaveMidiEvents.clear();
    SaveMetaEvents.clear();
    EndTick = 0;
}

std::size_t Hauptcontainer::RecordCount() const {
    std::size_t count = MetaEvents.size() + TempoEvents.size() + MessureEvents.size() + LyricEvents.size() +
                        MarkerEvents.size() + YamChordEvents.size() + SysexEvents.size();
    for (const auto& channel : ChannelEvents) count += channel.size();
    return count;
}

Hauptcontainer theLists;
WriterState theWriter;

}  // namespace tonalux::detail
