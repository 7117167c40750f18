// Moving channel messages to another channel, and exchanging the contents of
// two channel lists.
#include <cstdint>
#include <utility>

#include "lists/Hauptcontainer.h"
#include "StandardMidifile.h"

namespace tonalux {

MidiEvent StandardMidifile::ChannelChanging(MidiEvent e, int newChannel) {
    // The status byte keeps its message class and takes the new channel nibble.
    e.Channel = newChannel;
    e.Status = static_cast<std::uint8_t>((e.Status & 0xF0) | (newChannel & 0x0F));
    return e;
}

bool StandardMidifile::TrackChanging(int a, int b) {
    if (a < 0 || a > 15 || b < 0 || b > 15) return true;
    auto& lists = detail::Lists().ChannelEvents;
    auto& listA = lists[static_cast<std::size_t>(a)];
    auto& listB = lists[static_cast<std::size_t>(b)];
    // List a takes b's events and list b takes a's, each in its former order;
    // every event is re-channelled to the list it now lies in. With a equal
    // to b the swap does nothing and the events keep their channel.
    if (a != b) {
        std::swap(listA, listB);
        // The tick of the last event appended to a list goes with the list, so
        // that an event added later is still placed by its tick.
        std::swap(LastChannelTick[a], LastChannelTick[b]);
    }
    for (MidiEvent& event : listA) event = ChannelChanging(event, a);
    for (MidiEvent& event : listB) event = ChannelChanging(event, b);
    return true;
}

}  // namespace tonalux
