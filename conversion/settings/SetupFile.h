// The setup file: the program-change block (192 bytes) and the information
// block (120 bytes) back to back, 312 bytes, integers little-endian, no header.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
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

}  // namespace tonalux::settings
