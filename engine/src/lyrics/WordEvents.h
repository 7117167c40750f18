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

// A note for players rather than a sung word: a name of three or more
// capital letters, a colon and a space ("DURATION: 184", the play time that
// MMA writes at the start of its songs).
inline bool IsPlayerNote(std::string_view text) {
    std::size_t letters = 0;
    while (letters < text.size() && text[letters] >= 'A' && text[letters] <= 'Z') ++letters;
    return letters >= 3 && text.substr(letters, 2) == ": ";
}

// A text event that is a syllable when the song is a karaoke song: any text
// event but a header or a note for players.
inline bool IsKaraokeSyllableText(const MetaEvent& event) {
    const auto text = TextOf(event);
    return event.Type == kTextEventType && !IsKaraokeHeader(text) && !IsPlayerNote(text);
}

}  // namespace tonalux::detail
