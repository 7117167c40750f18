// The byte-level rules of a Standard MIDI File that the reader, the writers
// and the command-line tool share: the chunks, how many bytes a channel
// message takes, how a variable-length quantity is read and written, the meta
// types the engine sorts into lists of their own and the keyboard chord
// event. One place for each rule.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace tonalux {

// ---- chunks ---------------------------------------------------------------

// Every chunk: a four-letter identifier, a 32-bit big-endian length, and that
// many bytes. The file starts with the header chunk, whose six bytes of
// fields are format, number of tracks and division (16 bits each); the
// tracks follow in chunks of their own.
inline constexpr std::array<std::uint8_t, 4> kHeaderChunkId{'M', 'T', 'h', 'd'};
inline constexpr std::array<std::uint8_t, 4> kTrackChunkId{'M', 'T', 'r', 'k'};
inline constexpr std::size_t kChunkHeaderBytes = 8;      // identifier and length
inline constexpr std::size_t kChunkLengthOffset = 4;     // of the length within the chunk
inline constexpr std::size_t kHeaderFieldBytes = 6;      // format, tracks, division
inline constexpr std::size_t kFileHeaderBytes = kChunkHeaderBytes + kHeaderFieldBytes;

// ---- meta events ---------------------------------------------------------------

inline constexpr std::uint8_t kMetaStatus = 0xFF;
inline constexpr std::uint8_t kEndOfTrackType = 0x2F;
// The end-of-track event behind its delta time: FF 2F 00.
inline constexpr std::array<std::uint8_t, 3> kEndOfTrackEvent{kMetaStatus, kEndOfTrackType, 0x00};

// The meta types that have lists of their own (the song texts are in SongTexts.h).
inline constexpr std::uint8_t kLyricType = 0x05;
inline constexpr std::uint8_t kMarkerType = 0x06;
inline constexpr std::uint8_t kTempoType = 0x51;
inline constexpr std::uint8_t kTimeSignatureType = 0x58;
inline constexpr std::uint8_t kSequencerSpecificType = 0x7F;

// A keyboard chord event is the sequencer-specific event of seven data bytes
// that start with this signature; four chord bytes follow it.
inline constexpr std::uint32_t kKeyboardChordLength = 7;
inline constexpr std::array<std::uint8_t, 3> kKeyboardChordSignature{0x43, 0x7B, 0x01};

// Whether a meta event of this type, length and data is a keyboard chord.
// The data are looked at only when type and length fit.
inline bool IsKeyboardChordEvent(std::uint8_t type, std::uint32_t length, const std::uint8_t* data) {
    if (type != kSequencerSpecificType || length != kKeyboardChordLength || data == nullptr) return false;
    return data[0] == kKeyboardChordSignature[0] && data[1] == kKeyboardChordSignature[1] &&
           data[2] == kKeyboardChordSignature[2];
}

// ---- variable-length quantities and channel messages -------------------------

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

// A variable-length quantity as read: its value, the bytes it took, and
// whether bits were lost beyond the 32 of the value.
struct VlqRead {
    std::uint32_t Value = 0;
    std::size_t Bytes = 0;
    bool Overflow = false;
};

// Reads the variable-length quantity at `at`, not passing `end`: as many
// bytes as carry bit 7, plus the final one, without a limit on their number;
// bits beyond 32 shift out at the top (and set Overflow). Nothing when the
// bytes end before its final byte.
inline std::optional<VlqRead> GetVlq(const std::uint8_t* at, const std::uint8_t* end) {
    std::uint32_t value = 0;
    std::uint32_t lost = 0;
    for (const std::uint8_t* from = at; at < end;) {
        const std::uint8_t byte = *at++;
        lost |= value >> 25;
        value = (value << 7) | (byte & 0x7Fu);
        if ((byte & 0x80u) == 0) return VlqRead{value, static_cast<std::size_t>(at - from), lost != 0};
    }
    return std::nullopt;
}

}  // namespace tonalux
