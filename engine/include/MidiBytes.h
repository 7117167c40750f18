// The byte-level rules of a Standard MIDI File that the reader, the writers
// and the command-line tool share: how many bytes a channel message takes and
// how a variable-length quantity is written. One place for each rule.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace tonalux {

// A 32-bit value takes at most five groups of seven bits. Values up to
// 0x0FFFFFFF, the largest a delta time may have in a file, take four.
inline constexpr std::size_t kMaxVlqBytes = 5;

// Message bytes (status included) of each channel message class 0x80 to 0xE0.
inline constexpr std::array<std::uint8_t, 7> kChannelMessageBytes{
    3,  // 0x80 note-off
    3,  // 0x90 note-on
    3,  // 0xA0 key pressure
    3,  // 0xB0 controller
    2,  // 0xC0 program change
    2,  // 0xD0 channel pressure
    3,  // 0xE0 pitch bend
};

// Bytes of a channel message (status included) of the class `kind` (0x80,
// 0x90, ... 0xE0); 0 for anything that is none of the seven classes.
constexpr std::size_t ChannelMessageBytes(std::int32_t kind) {
    if (kind < 0x80 || kind > 0xE0 || (kind & 0x0F) != 0) return 0;
    return kChannelMessageBytes[static_cast<std::size_t>((kind >> 4) - 8)];
}

// Writes value as a variable-length quantity (seven bits a byte, most
// significant first, every byte but the last with bit 7 set) at out, which
// must have room for kMaxVlqBytes; returns the end of what was written.
inline std::uint8_t* PutVlq(std::uint8_t* out, std::uint32_t value) {
    if (value < 0x80) {
        *out++ = static_cast<std::uint8_t>(value);
        return out;
    }
    int groups = 1;
    while (groups < 5 && (value >> (7 * groups)) != 0) ++groups;
    for (int g = groups - 1; g > 0; --g) *out++ = static_cast<std::uint8_t>(((value >> (7 * g)) & 0x7F) | 0x80);
    *out++ = static_cast<std::uint8_t>(value & 0x7F);
    return out;
}

}  // namespace tonalux
