// The setup file: the program-change block (192 bytes) and the information
// block (120 bytes) back to back, 312 bytes, integers little-endian, no header.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "SettingsBlocks.h"

namespace tonalux::settings {

inline constexpr std::size_t kSetupRecordSize = 312;

using SetupRecord = std::array<std::uint8_t, kSetupRecordSize>;

SetupRecord EncodeSetup(const ProgrammchangeBlock& programs, const InformationenBlock& information);
void DecodeSetup(const SetupRecord& record, ProgrammchangeBlock& programs, InformationenBlock& information);

enum class SetupLoadOutcome {
    Loaded,      // both blocks now hold the last record of the file
    CannotOpen,  // the file could not be read; the blocks are unchanged
    WrongSize,   // the size is not a positive multiple of 312; the blocks are unchanged
};

// Reads a setup file record after record; the last record counts.
SetupLoadOutcome LoadSetupFile(const std::string& path, ProgrammchangeBlock& programs,
                               InformationenBlock& information);

enum class SetupSaveOutcome {
    Saved,
    CannotCreate,  // "Save Registration Error!", then "Write Preset Error! #101"
    WriteFailed,   // "Write Preset Error! #101"
};

// The name a setup is saved under: the chosen name, with ".set" added when its
// last part has no suffix, so that the load dialog's filter shows the file.
std::string SetupFileName(const std::string& chosen);

// Writes one record, replacing an existing file only when it is complete.
SetupSaveOutcome SaveSetupFile(const std::string& path, const ProgrammchangeBlock& programs,
                               const InformationenBlock& information);

// The messages of a failed save, in the order they are shown.
std::vector<std::string> SetupSaveMessages(SetupSaveOutcome outcome);

// ---- checks of the values ---------------------------------------------------

// The fields of both blocks, as the windows and their captions name them.
enum class SetupField {
    SourceBank,          // "Quell MSB": 0..127, or kDrumKitBank for channel 10's kits
    SourceProgram,       // "Quell PRG": 1..128
    DestinationBank,     // "Ziel MSB": 0..127
    DestinationProgram,  // "Ziel PRG": 1..128
    Copyright,           // "COPYRIGHT": printable 8-bit characters
    Trackname,           // "TRACKNAME": the same
    ChannelFrom,         // upper box of a "KANALTAUSCHEN" pair: 0..15, or -1 for none
    ChannelTo,           // lower box of the pair
    StartAtFirstNote,    // "Start auf Tatkt 1": 0 or 1
    Format0,             // "Midiformat 0": 0 or 1
};

// The source bank MSB that stands for the drum kits of channel 10: a row with
// it takes the program changes of channel 10 (of any bank), and rows with any
// other source bank, "-" included, leave channel 10 alone.
inline constexpr std::int32_t kDrumKitBank = 128;

// A field whose value lies outside its range: the field, its row (program-
// change rows and channel pairs 1..12 and 1..8; 0 for the texts and options),
// the value found (for a text the first character refused, as a byte), and
// the range it must lie in.
struct SetupProblem {
    SetupField Field = SetupField::SourceBank;
    int Row = 0;
    std::int64_t Value = 0;
    std::int64_t Lowest = 0;
    std::int64_t Highest = 0;

    // The window the field is shown in: false for the program-change window
    // ("Soundänderungen"), true for the information window and the options.
    bool InInformation() const { return Field >= SetupField::Copyright; }
    // As the command-line tool and the folder conversion give it, in UTF-8:
    // "Soundänderungen, Zeile 7, Ziel PRG: 129 liegt nicht zwischen 1 und 128
    // ("-" für keinen Wert)".
    std::string Text() const;
};

// Whether a byte of a setup text is a printable 8-bit character: 0x20..0x7E
// or 0xA0..0xFF (control characters are refused).
bool IsPrintableTextByte(std::uint8_t byte);

// The first program-change field, in the order the window shows them (row by
// row: Quell MSB, Quell PRG, Ziel MSB, Ziel PRG), that is neither "-" nor in
// its range.
std::optional<SetupProblem> ProgramsProblem(const ProgrammchangeBlock& programs);
// The first field of the information block outside its range: the two texts,
// the channel pairs, the two options. Padding bytes and the bytes after a
// text's zero byte carry no meaning and are not looked at.
std::optional<SetupProblem> InformationProblem(const InformationenBlock& information);
// Both: what a loaded setup must pass before it takes effect anywhere.
std::optional<SetupProblem> CheckSetup(const ProgrammchangeBlock& programs, const InformationenBlock& information);

}  // namespace tonalux::settings
