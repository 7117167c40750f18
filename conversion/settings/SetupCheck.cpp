// The ranges of the setup's fields and the first field outside them.
#include <array>
#include <utility>

#include "SetupFile.h"

namespace tonalux::settings {

namespace {

constexpr int kTextLimit = 25;
constexpr int kChannels = 16;

// The four fields of a program-change row in the order the window shows them.
struct ProgramColumn {
    SetupField field;
    std::int32_t lowest;
    std::int32_t highest;
};

constexpr std::array<ProgramColumn, 4> kProgramColumns{{
    {SetupField::SourceBank, 0, kDrumKitBank},
    {SetupField::SourceProgram, 1, 128},
    {SetupField::DestinationBank, 0, 127},
    {SetupField::DestinationProgram, 1, 128},
}};

std::int32_t ProgramValue(const ProgrammchangeBlock& programs, SetupField field, int row) {
    switch (field) {
        case SetupField::SourceBank: return programs.MSBQ[row];
        case SetupField::SourceProgram: return programs.PRGQ[row];
        case SetupField::DestinationBank: return programs.MSBD[row];
        default: return programs.PRGD[row];
    }
}

// The first byte of a text field that is no printable character, up to the
// field's zero byte or its first 25 bytes.
std::optional<SetupProblem> TextProblem(SetupField field, const char* text) {
    for (int i = 0; i < kTextLimit && text[i] != '\0'; ++i) {
        const auto byte = static_cast<std::uint8_t>(text[i]);
        if (!IsPrintableTextByte(byte)) return SetupProblem{field, 0, byte, 0x20, 0xFF};
    }
    return std::nullopt;
}

const char* Caption(SetupField field) {
    switch (field) {
        case SetupField::SourceBank: return "Quell MSB";
        case SetupField::SourceProgram: return "Quell PRG";
        case SetupField::DestinationBank: return "Ziel MSB";
        case SetupField::DestinationProgram: return "Ziel PRG";
        case SetupField::Copyright: return "COPYRIGHT";
        case SetupField::Trackname: return "TRACKNAME";
        case SetupField::ChannelFrom: return "oben";
        case SetupField::ChannelTo: return "unten";
        case SetupField::StartAtFirstNote: return "Start auf Tatkt 1";
        case SetupField::Format0: return "Midiformat 0";
    }
    return "";
}

std::string Range(const SetupProblem& problem) {
    return " liegt nicht zwischen " + std::to_string(problem.Lowest) + " und " + std::to_string(problem.Highest);
}

}  // namespace

bool IsPrintableTextByte(std::uint8_t byte) { return (byte >= 0x20 && byte <= 0x7E) || byte >= 0xA0; }

std::string SetupProblem::Text() const {
    const std::string value = std::to_string(Value);
    switch (Field) {
        case SetupField::SourceBank:
        case SetupField::SourceProgram:
        case SetupField::DestinationBank:
        case SetupField::DestinationProgram:
            return "Sound\xC3\xA4nderungen, Zeile " + std::to_string(Row) + ", " + Caption(Field) + ": " + value +
                   Range(*this) + " (\"-\" f\xC3\xBCr keinen Wert)";
        case SetupField::Copyright:
        case SetupField::Trackname: {
            static const char kHex[] = "0123456789ABCDEF";
            const std::string byte{kHex[(Value >> 4) & 0xF], kHex[Value & 0xF]};
            return std::string("Zusatzinformationen, ") + Caption(Field) + ": das Zeichen 0x" + byte +
                   " ist kein druckbares Zeichen";
        }
        case SetupField::ChannelFrom:
        case SetupField::ChannelTo:
            return "Zusatzinformationen, KANALTAUSCHEN, Paar " + std::to_string(Row) + " " + Caption(Field) + ": " +
                   value + Range(*this) + " (-1 f\xC3\xBCr keinen Kanal)";
        case SetupField::StartAtFirstNote:
        case SetupField::Format0: break;
    }
    return std::string(Caption(Field)) + ": " + value + Range(*this);
}

std::optional<SetupProblem> ProgramsProblem(const ProgrammchangeBlock& programs) {
    for (int row = 0; row < kProgrammchangeRows; ++row) {
        for (const ProgramColumn& column : kProgramColumns) {
            const std::int32_t value = ProgramValue(programs, column.field, row);
            if (value == kNoValue || (value >= column.lowest && value <= column.highest)) continue;
            return SetupProblem{column.field, row + 1, value, column.lowest, column.highest};
        }
    }
    return std::nullopt;
}

std::optional<SetupProblem> InformationProblem(const InformationenBlock& information) {
    if (auto problem = TextProblem(SetupField::Copyright, information.Copyright)) return problem;
    if (auto problem = TextProblem(SetupField::Trackname, information.Trackname)) return problem;
    for (int pair = 0; pair < kChannelPairs; ++pair) {
        for (const auto& [field, entry] : {std::pair{SetupField::ChannelFrom, information.KanV[pair]},
                                           std::pair{SetupField::ChannelTo, information.KanT[pair]}}) {
            if (entry < -1 || entry >= kChannels) return SetupProblem{field, pair + 1, entry, -1, kChannels - 1};
        }
    }
    if (information.FastPlay > 1) return SetupProblem{SetupField::StartAtFirstNote, 0, information.FastPlay, 0, 1};
    if (information.Format0 > 1) return SetupProblem{SetupField::Format0, 0, information.Format0, 0, 1};
    return std::nullopt;
}

std::optional<SetupProblem> CheckSetup(const ProgrammchangeBlock& programs, const InformationenBlock& information) {
    if (auto problem = ProgramsProblem(programs)) return problem;
    return InformationProblem(information);
}

}  // namespace tonalux::settings
