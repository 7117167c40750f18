// Chord and lyric records and record inspection for the tests of the
// transposition, chord and vocoder services.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "EventRecords.h"

namespace tonalux::testing {

// A keyboard chord record 43 7B 01 root type bass bassType.
inline MetaEvent ChordRecord(std::uint32_t tick, std::uint8_t root, std::uint8_t type,
                             std::uint8_t bass = 0x7F, std::uint8_t bassType = 0x7F) {
    return MetaRecord(tick, 0x7F, {0x43, 0x7B, 0x01, root, type, bass, bassType});
}

inline MetaEvent LyricRecord(std::uint32_t tick, const std::string& text) { return TextRecord(tick, 0x05, text); }

// The Length data bytes of a record, without the closing zero.
template <typename Record>
std::vector<std::uint8_t> DataOf(const Record& record) {
    if (!record.Data) return {};
    return std::vector<std::uint8_t>(record.Data.get(), record.Data.get() + record.Length);
}

// The text of a lyric record.
inline std::string TextOf(const MetaEvent& e) {
    if (!e.Data) return {};
    return std::string(reinterpret_cast<const char*>(e.Data.get()), e.Length);
}

}  // namespace tonalux::testing
