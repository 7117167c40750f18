// The settings of the two settings windows applied to a song: channel swaps,
// sound mapping, and the song's name and copyright notice. The window
// program and the command-line tool both convert with it, and it needs no
// window.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "SoundMapping.h"
#include "settings/SettingsBlocks.h"

namespace tonalux {

class StandardMidifile;

// The two blocks a conversion applies, as a setup file holds them.
struct SongSettings {
    settings::ProgrammchangeBlock Programs;
    settings::InformationenBlock Information;
};

// Ranges of the program-change fields: bank MSBs are controller-0 values,
// programs are counted 1 to 128 as keyboards' voice lists count them (the
// program change's data byte plus one). settings::kNoValue ("-") is no value.
// A source bank may also be settings::kDrumKitBank (channel 10's kits).
inline constexpr int kLowestBank = 0;
inline constexpr int kHighestBank = 127;
inline constexpr int kLowestProgram = 1;
inline constexpr int kHighestProgram = 128;

// The first field of the two blocks that a conversion cannot take, in the
// order settings::CheckSetup looks at them (the one rule the window applies
// to a loaded setup): a program-change field neither "-" nor in its range, a
// text byte that is no printable character, a channel box outside its range,
// an option other than 0 or 1. As a message that names the window, the row
// and the field (UTF-8); nothing when every field is usable.
std::optional<std::string> SongSettingsProblem(const SongSettings& settings);

// The engine's rules for the twelve rows, in row order; a field of "-" is
// kNoSoundValue, programs become data bytes. Rows leave channel 10 (drum
// kits) alone, except a row whose source bank is settings::kDrumKitBank,
// which takes channel 10's program changes of any bank and no others. For
// checked blocks only.
std::vector<SoundMappingRule> SoundMappingRules(const settings::ProgrammchangeBlock& programs);

// The channel pairs (0-based) that exchange their channels, pairs 1 to 8 in
// order: those whose two boxes both name a channel, and two different ones.
std::vector<std::pair<int, int>> ChannelSwaps(const settings::InformationenBlock& information);

// The copyright text and the track name as the block stores them: the bytes
// up to the first zero byte, at most 25.
std::string CopyrightText(const settings::InformationenBlock& information);
std::string TracknameText(const settings::InformationenBlock& information);

// Applies the settings to the song in the engine's lists, in this order:
// the channel swaps, the sound mapping, the song name and copyright notice.
// The program-change fields must lie in their ranges, as SongSettingsProblem
// makes sure before a run; a channel box that names no channel counts as none.
SoundMappingReport ApplySongSettings(StandardMidifile& song, const SongSettings& settings);

}  // namespace tonalux
