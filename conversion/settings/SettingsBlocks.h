// The binary mirrors of the two settings windows. Their layout is what the
// setup file holds, so field order, widths and offsets are fixed.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tonalux::settings {

inline constexpr int kProgrammchangeRows = 12;
inline constexpr int kChannelPairs = 8;
// The value stored for an edit that holds "-" (no value).
inline constexpr std::int32_t kNoValue = 999;

// Program-change window: four arrays of twelve rows.
struct ProgrammchangeBlock {
    std::int32_t MSBQ[kProgrammchangeRows] = {};  // source bank select MSB
    std::int32_t MSBD[kProgrammchangeRows] = {};  // destination bank select MSB
    std::int32_t PRGQ[kProgrammchangeRows] = {};  // source program number
    std::int32_t PRGD[kProgrammchangeRows] = {};  // destination program number
};

// Information window and the two main-window options it carries.
struct InformationenBlock {
    char Copyright[25] = {};  // text, zero-terminated when shorter than 25 characters
    char Trackname[26] = {};  // text of at most 25 characters, zero-terminated
    std::uint8_t Padding1 = 0;
    std::int32_t KanV[kChannelPairs] = {};  // 0..15 for "KANAL 1".."KANAL 16", -1 for none
    std::int32_t KanT[kChannelPairs] = {};
    std::uint8_t FastPlay = 0;  // "Start auf Tatkt 1" ticked
    std::uint8_t Format0 = 0;   // "Midiformat 0" ticked
    std::uint8_t Padding2[2] = {};
};

static_assert(sizeof(ProgrammchangeBlock) == 192);
static_assert(offsetof(ProgrammchangeBlock, MSBD) == 48);
static_assert(offsetof(ProgrammchangeBlock, PRGQ) == 96);
static_assert(offsetof(ProgrammchangeBlock, PRGD) == 144);

static_assert(sizeof(InformationenBlock) == 120);
static_assert(offsetof(InformationenBlock, Trackname) == 25);
static_assert(offsetof(InformationenBlock, KanV) == 52);
static_assert(offsetof(InformationenBlock, KanT) == 84);
static_assert(offsetof(InformationenBlock, FastPlay) == 116);
static_assert(offsetof(InformationenBlock, Format0) == 117);

}  // namespace tonalux::settings
