// The report: the names of the converted-files list, one per line, each line
// ended by CR LF, as plain 8-bit text; or, with the outcomes of a run, one
// line per song with four fields separated by tabs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tonalux::settings {

std::vector<std::uint8_t> ReportBytes(const std::vector<std::string>& names);

// Writes the report, replacing an existing file only when it is complete.
// False when the file could not be written; an existing file is then unchanged.
bool SaveReport(const std::string& path, const std::vector<std::string>& names);

// One song of a run as the report with outcomes gives it.
struct ReportEntry {
    std::string Output;  // the output's name; empty when the song has none
    std::string Song;    // the input's name
    std::string Result;  // "converted", "damaged", "failed" or "skipped"
    std::string Reason;  // what happened to it, in words
};

// "Output<TAB>Song<TAB>Result<TAB>Reason", "-" for an empty output name;
// tabs and line breaks within a field become blanks, so that every song is
// one line of four fields. ReportBytes and SaveReport write these lines.
std::vector<std::string> OutcomeReportLines(const std::vector<ReportEntry>& entries);

// "Datei <path> kann nicht erstellt werden"
std::string ReportErrorMessage(const std::string& path);

}  // namespace tonalux::settings
