#include "SongSettings.h"

#include <algorithm>
#include <array>

#include "StandardMidifile.h"

namespace tonalux {

namespace {

using settings::kNoValue;
using settings::kProgrammchangeRows;

constexpr int kTextLimit = 25;
constexpr int kChannels = 16;

// The four fields of a row in the order the window shows them, with their
// captions and ranges.
struct FieldColumn {
    const char* caption;
    int lowest;
    int highest;
};

constexpr std::array<FieldColumn, 4> kColumns{{
    {"Quell MSB", kLowestBank, kHighestBank},
    {"Quell PRG", kLowestProgram, kHighestProgram},
    {"Ziel MSB", kLowestBank, kHighestBank},
    {"Ziel PRG", kLowestProgram, kHighestProgram},
}};

std::int32_t FieldValue(const settings::ProgrammchangeBlock& programs, std::size_t column, int row) {
    switch (column) {
        case 0: return programs.MSBQ[row];
        case 1: return programs.PRGQ[row];
        case 2: return programs.MSBD[row];
        default: return programs.PRGD[row];
    }
}

int Bank(std::int32_t value) { return value == kNoValue ? kNoSoundValue : value; }
int Program(std::int32_t value) { return value == kNoValue ? kNoSoundValue : value - kLowestProgram; }

std::string TextField(const char* field) {
    return std::string(field, std::find(field, field + kTextLimit, '\0'));
}

bool IsChannel(std::int32_t entry) { return entry >= 0 && entry < kChannels; }

}  // namespace

std::optional<std::string> SoundMappingProblem(const settings::ProgrammchangeBlock& programs) {
    for (int row = 0; row < kProgrammchangeRows; ++row) {
        for (std::size_t column = 0; column < kColumns.size(); ++column) {
            const std::int32_t value = FieldValue(programs, column, row);
            const FieldColumn& field = kColumns[column];
            if (value == kNoValue || (value >= field.lowest && value <= field.highest)) continue;
            return "Sound\xC3\xA4nderungen, Zeile " + std::to_string(row + 1) + ", " + field.caption + ": " +
                   std::to_string(value) + " liegt nicht zwischen " + std::to_string(field.lowest) + " und " +
                   std::to_string(field.highest) + " (\"-\" f\xC3\xBCr keinen Wert)";
        }
    }
    return std::nullopt;
}

std::vector<SoundMappingRule> SoundMappingRules(const settings::ProgrammchangeBlock& programs) {
    std::vector<SoundMappingRule> rules;
    rules.reserve(kProgrammchangeRows);
    for (int row = 0; row < kProgrammchangeRows; ++row)
        rules.push_back({Bank(programs.MSBQ[row]), Program(programs.PRGQ[row]), Bank(programs.MSBD[row]),
                         Program(programs.PRGD[row])});
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
