// Vocoder services: removal of the keyboard's vocoder system-exclusive
// messages, the search for the channel that carries the vocoder's notes, and
// the tick of a channel's last event.
#include <algorithm>
#include <cstdint>

#include "EngineHost.h"
#include "lists/Hauptcontainer.h"
#include "StandardMidifile.h"

namespace tonalux {

namespace {

constexpr int kSysexListEmpty = 99999;
constexpr int kNoVocoderMessage = 88888;
constexpr int kVocoderMessageDeleted = 11111;

// Yamaha (0x43), device 0 (0x10), vocoder parameter group 4C 04. Only device
// number 0 is recognised.
constexpr std::uint8_t kVocoderHead[4] = {0x43, 0x10, 0x4C, 0x04};

bool IsVocoderMessage(const SysexEvent& event) {
    if (!event.Data || event.Length < 4) return false;
    return std::equal(std::begin(kVocoderHead), std::end(kVocoderHead), event.Data.get());
}

}  // namespace

bool StandardMidifile::DeleteVocoderNachrichten() {
    // Every vocoder message goes in one pass; the other messages keep their order.
    auto& sysex = detail::Lists().SysexEvents;
    sysex.erase(std::remove_if(sysex.begin(), sysex.end(), IsVocoderMessage), sysex.end());
    return true;
}

int StandardMidifile::VocoderAnalyse() {
    // Removes the first vocoder message of the list, if there is one.
    auto& sysex = detail::Lists().SysexEvents;
    if (sysex.empty()) return kSysexListEmpty;
    auto found = std::find_if(sysex.begin(), sysex.end(), IsVocoderMessage);
    if (found == sysex.end()) return kNoVocoderMessage;
    sysex.erase(found);
    return kVocoderMessageDeleted;
}

namespace {

// Whether the channel's mean note-on velocity is at or below `threshold`.
bool AtOrBelowThreshold(int channel, int threshold) {
    if (!detail::ValidChannel(channel)) return false;
    // Mean velocity of the sounding note-ons; note-offs, note-ons of velocity 0
    // and all other messages do not count.
    std::int64_t sum = 0;
    std::int64_t count = 0;
    for (const MidiEvent& event : detail::Lists().ChannelEvents[static_cast<std::size_t>(channel)]) {
        if (event.Kind == 0x90 && event.Data2 > 0) {
            sum += event.Data2;
            ++count;
        }
    }
    // A channel without a sounding note has no average and is never the
    // vocoder channel; otherwise the highest empty channel would win.
    if (count == 0) return false;
    const float average = static_cast<float>(sum) / static_cast<float>(count);
    return static_cast<float>(threshold) >= average;
}

}  // namespace

bool StandardMidifile::VocoderTrackAnalyse(int channel) {
    // The threshold is the one the host shows at this moment.
    return AtOrBelowThreshold(channel, CurrentEngineHost().VelocityThreshold());
}

int StandardMidifile::VocoderKanalAnalyse() { return VocoderKanalAnalyse(CurrentEngineHost().VelocityThreshold()); }

int StandardMidifile::VocoderKanalAnalyse(int threshold) {
    // The highest qualifying channel wins; the result is numbered 1 to 16.
    int result = kNoVocoderChannel;
    for (int channel = 0; channel < 16; ++channel) {
        if (AtOrBelowThreshold(channel, threshold)) result = channel + 1;
    }
    return result;
}

int StandardMidifile::MidiTrackEndTickFromStart(int channel) {
    // The last event in the list's own order; the list is not searched.
    if (!detail::ValidChannel(channel)) return 0;
    const auto& events = detail::Lists().ChannelEvents[static_cast<std::size_t>(channel)];
    if (events.empty()) return 0;
    return static_cast<int>(events.back().Tick);
}

}  // namespace tonalux
