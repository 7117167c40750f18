// Which events of a song carry its words: the rule the reading of the
// lyrics and the writing of keyboard lyrics share.
#pragma once

#include <string_view>

#include "MidiRecords.h"

namespace tonalux::detail {

// FF 01: text event, where Soft Karaoke keeps its headers and syllables.
inline constexpr std::uint8_t kTextEventType = 0x01;

inline std::string_view TextOf(const MetaEvent& event) {
    if (!event.Data || event.Length == 0) return {};
    return {reinterpret_cast<const char*>(event.Data.get()), event.Length};
}

// A Soft Karaoke header: "@" and a letter (K kind, V version, I information,
// L language, T title lines).
inline bool IsKaraokeHeader(std::string_view text) { return text.size() >= 2 && text[0] == '@'; }

// A text event that is a syllable when the song is a karaoke song: any text
// event but a header.
inline bool IsKaraokeSyllableText(const MetaEvent& event) {
    return event.Type == kTextEventType && !IsKaraokeHeader(TextOf(event));
}

}  // namespace tonalux::detail
