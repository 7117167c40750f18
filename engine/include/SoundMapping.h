// One rule of a sound mapping: which program change it takes (program, and
// optionally the bank MSB in effect) and what that program change becomes.
// Values are the bytes of the messages: programs are program-change data
// bytes 0..127, banks controller-0 values 0..127.
#pragma once

#include <cstdint>

namespace tonalux {

// A field of a rule that holds no value.
inline constexpr int kNoSoundValue = -1;
// Every channel in a rule's set of channels (bit n: channel n, 0-based).
inline constexpr std::uint16_t kAllSoundChannels = 0xFFFF;

struct SoundMappingRule {
    int SourceBank = kNoSoundValue;          // bank MSB the program change must play in; none: any bank
    int SourceProgram = kNoSoundValue;       // program the rule takes; none: the rule takes nothing
    int DestinationBank = kNoSoundValue;     // bank MSB it is given; none: the bank stays
    int DestinationProgram = kNoSoundValue;  // program it is given; none: the program stays
    std::uint16_t Channels = kAllSoundChannels;  // the channels whose program changes the rule takes
};

// What a sound mapping did.
struct SoundMappingReport {
    std::uint32_t ProgramsMatched = 0;     // program changes a rule took
    std::uint32_t BanksChanged = 0;        // controller-0 events given another value
    std::uint32_t BanksAdded = 0;          // controller-0 events added in front of a program change
};

}  // namespace tonalux
