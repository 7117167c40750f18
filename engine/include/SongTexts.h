// The meta types of a song's own texts that the reader drops unless asked to
// keep them, and that a conversion can set for the whole song.
#pragma once

#include <cstdint>

namespace tonalux {

// FF 02: copyright notice.
inline constexpr std::uint8_t kCopyrightNoticeType = 0x02;
// FF 03: sequence or track name; in a format 0 track, or in the first track of
// a format 1 file, it names the song.
inline constexpr std::uint8_t kSequenceNameType = 0x03;

// Whether a meta type is one of the two song texts above.
constexpr bool IsSongTextType(std::uint8_t type) { return type == kCopyrightNoticeType || type == kSequenceNameType; }

}  // namespace tonalux
