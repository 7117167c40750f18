// The engine's event records. They are passed by value through the whole
// engine interface, so their field order and widths are part of it.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

namespace tonalux {

// A data block holds Length bytes followed by one byte 0, so text events can be
// used as zero-terminated strings. Every copy of a record shares the block; it
// lives as long as any record refers to it.
using DataBlock = std::shared_ptr<std::uint8_t[]>;

// One channel-voice message.
struct MidiEvent {
    std::uint32_t Tick;    // absolute time: sum of the delta times of its track
    std::uint32_t Delta;   // delta time as read from the file
    std::int32_t Channel;  // 0..15, low nibble of the status byte
    std::int32_t Kind;     // status class: 0x80, 0x90, ... 0xE0
    std::uint8_t Status;   // complete status byte, channel included
    std::uint8_t Data1;
    std::uint8_t Data2;    // 0 for the one-data-byte classes 0xC0 and 0xD0
    std::uint8_t Data3;    // always 0
};

// One meta event; also used for the typed lists and inside the writers.
struct MetaEvent {
    std::uint32_t Tick;
    std::uint32_t Delta;
    std::uint8_t Status;   // 0xFF
    std::uint8_t Type;     // meta type byte
    std::uint32_t Length;  // number of data bytes
    DataBlock Data;
};

// One system-exclusive event. Status is 0xF0, or 0xF7 for a continuation or
// escape packet; Data runs from the manufacturer byte to the closing 0xF7.
struct SysexEvent {
    std::uint32_t Tick;
    std::uint32_t Delta;
    std::uint8_t Status;
    std::uint8_t Manufacturer;  // copy of the first data byte
    std::uint32_t Length;
    DataBlock Data;
};

// One marker meta event (type 0x06). Text and Reserved are set to zero by the
// engine and carried along with the record, never interpreted.
struct Marker {
    std::array<std::uint8_t, 40> Text;
    std::uint32_t Tick;
    std::uint8_t Status;
    std::uint8_t Type;
    std::uint32_t Length;
    std::uint32_t Reserved;
    DataBlock Data;
};

// The marker record of a marker meta event: Tick, Status, Type, Length and
// the shared Data block; Text and Reserved zero.
inline Marker MarkerFromMeta(const MetaEvent& event) {
    return Marker{{}, event.Tick, event.Status, event.Type, event.Length, 0, event.Data};
}

// The meta event a marker is written as: Tick, Status, Type, Length and the
// shared Data block; Delta zero.
inline MetaEvent MetaFromMarker(const Marker& marker) {
    return MetaEvent{marker.Tick, 0, marker.Status, marker.Type, marker.Length, marker.Data};
}

}  // namespace tonalux
