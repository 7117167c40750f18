// Builds engine records for tests that fill the lists through the Add...
// operations: channel messages from their status byte, meta and
// system-exclusive records with their own data blocks.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "MidiRecords.h"

namespace tonalux::testing {

// A data block holding the bytes and the closing zero byte.
inline DataBlock BlockOf(const std::vector<std::uint8_t>& bytes) {
    DataBlock block(new std::uint8_t[bytes.size() + 1]);
    if (!bytes.empty()) std::memcpy(block.get(), bytes.data(), bytes.size());
    block[bytes.size()] = 0;
    return block;
}

// A channel message as the reader stores it: Kind and Channel from the status.
inline MidiEvent ChannelRecord(std::uint32_t tick, std::uint8_t status, std::uint8_t data1, std::uint8_t data2 = 0) {
    MidiEvent e{};
    e.Tick = tick;
    e.Status = status;
    e.Kind = status & 0xF0;
    e.Channel = status & 0x0F;
    e.Data1 = data1;
    e.Data2 = data2;
    return e;
}

inline MetaEvent MetaRecord(std::uint32_t tick, std::uint8_t type, const std::vector<std::uint8_t>& data) {
    MetaEvent e{};
    e.Tick = tick;
    e.Status = 0xFF;
    e.Type = type;
    e.Length = static_cast<std::uint32_t>(data.size());
    e.Data = BlockOf(data);
    return e;
}

inline MetaEvent TextRecord(std::uint32_t tick, std::uint8_t type, const std::string& text) {
    return MetaRecord(tick, type, std::vector<std::uint8_t>(text.begin(), text.end()));
}

inline Marker MarkerRecord(std::uint32_t tick, const std::string& text) {
    Marker m{};
    m.Tick = tick;
    m.Status = 0xFF;
    m.Type = 0x06;
    m.Length = static_cast<std::uint32_t>(text.size());
    m.Data = BlockOf(std::vector<std::uint8_t>(text.begin(), text.end()));
    return m;
}

// body runs from the manufacturer byte to the closing F7.
inline SysexEvent SysexRecord(std::uint32_t tick, const std::vector<std::uint8_t>& body, std::uint8_t status = 0xF0) {
    SysexEvent e{};
    e.Tick = tick;
    e.Status = status;
    e.Manufacturer = body.empty() ? 0 : body.front();
    e.Length = static_cast<std::uint32_t>(body.size());
    e.Data = BlockOf(body);
    return e;
}

}  // namespace tonalux::testing
