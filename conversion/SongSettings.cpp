#include "SongSettings.h"

#include <algorithm>
#include <array>

#include "StandardMidifile.h"
#include "settings/SetupFile.h"

namespace tonalux {

namespace {

using settings::kNoValue;
using settings::kProgrammchangeRows;

constexpr int kTextLimit = 25;
constexpr int kChannels = 16;
// Channel 10, where keyboards play their drum kits.
constexpr int kDrumChannel = 9;
constexpr std::uint16_t kDrumChannelOnly = 1u << kDrumChannel;
constexpr std::uint16_t kAllButDrums = static_cast<std::uint16_t>(kAllSoundChannels & ~kDrumChannelOnly);

int Bank(std::int32_t value) { return value == kNoValue ? kNoSoundValue : value; }
int Program(std::int32_t value) { return value == kNoValue ? kNoSoundValue : value - kLowestProgram; }

// A row whose source bank is kDrumKitBank takes channel 10's program changes
// of any bank; every other row leaves channel 10 alone.
SoundMappingRule Rule(const settings::ProgrammchangeBlock& programs, int row) {
    const bool drums = programs.MSBQ[row] == settings::kDrumKitBank;
    SoundMappingRule rule{drums ? kNoSoundValue : Bank(programs.MSBQ[row]), Program(programs.PRGQ[row]),
                          Bank(programs.MSBD[row]), Program(programs.PRGD[row])};
    rule.Channels = drums ? kDrumChannelOnly : kAllButDrums;
    return rule;
}

std::string TextField(const char* field) {
    return std::string(field, std::find(field, field + kTextLimit, '\0'));
}

bool IsChannel(std::int32_t entry) { return entry >= 0 && entry < kChannels; }

}  // namespace

std::optional<std::string> SongSettingsProblem(const SongSettings& settings) {
    if (const auto problem = settings::CheckSetup(settings.Programs, settings.Information)) return problem->Text();
    return std::nullopt;
}

std::vector<SoundMappingRule> SoundMappingRules(const settings::ProgrammchangeBlock& programs) {
    std::vector<SoundMappingRule> rules;
    rules.reserve(kProgrammchangeRows);
    for (int row = 0; row < kProgrammchangeRows; ++row) rules.push_back(Rule(programs, row));
    return rules;
}

std::vector<std::pair<int, int>> ChannelSwaps(const settings::InformationenBlock& information) {
    std::vector<std::pair<int, int>> swaps;
    for (int pair = 0; pair < settings::kChannelPairs; ++pair) {
        const std::int32_t a = information.KanV[pair];
        const std::int32_t b = information.KanT[pair];
        if (IsChannel(a) && IsChannel(b) && a != b) swaps.emplace_back(a, b);
    }
    return swaps;
}

std::string CopyrightText(const settings::InformationenBlock& information) {
    return TextField(information.Copyright);
}

std::string TracknameText(const settings::InformationenBlock& information) {
    return TextField(information.Trackname);
}

SoundMappingReport ApplySongSettings(StandardMidifile& song, const SongSettings& settings) {
    for (const auto& [a, b] : ChannelSwaps(settings.Information)) song.TrackChanging(a, b);
    const SoundMappingReport report = song.MapSounds(SoundMappingRules(settings.Programs));
    song.PutSongTexts(CopyrightText(settings.Information), TracknameText(settings.Information));
    return report;
}

}  // namespace tonalux
