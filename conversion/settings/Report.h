// The report: the names of the converted-files list, one per line, each line
// ended by CR LF, as plain 8-bit text.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tonalux::settings {

std::vector<std::uint8_t> ReportBytes(const std::vector<std::string>& names);

// Writes the report, replacing an existing file only when it is complete.
// False when the file could not be written; an existing file is then unchanged.
bool SaveReport(const std::string& path, const std::vector<std::string>& names);

// "Datei <path> kann nicht erstellt werden"
std::string ReportErrorMessage(const std::string& path);

}  // namespace tonalux::settings
