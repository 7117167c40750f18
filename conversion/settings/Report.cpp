#include "Report.h"

#include "SafeReplace.h"

namespace tonalux::settings {

std::vector<std::uint8_t> ReportBytes(const std::vector<std::string>& names) {
    std::vector<std::uint8_t> bytes;
    for (const auto& name : names) {
        bytes.insert(bytes.end(), name.begin(), name.end());
        bytes.push_back('\r');
        bytes.push_back('\n');
    }
    return bytes;
}

bool SaveReport(const std::string& path, const std::vector<std::string>& names) {
    return ReplaceFileContents(path, ReportBytes(names)).Written;
}

namespace {

std::string OneLine(std::string field) {
    for (char& c : field)
        if (c == '\t' || c == '\r' || c == '\n') c = ' ';
    return field;
}

}  // namespace

std::vector<std::string> OutcomeReportLines(const std::vector<ReportEntry>& entries) {
    std::vector<std::string> lines;
    lines.reserve(entries.size());
    for (const auto& entry : entries)
        lines.push_back(OneLine(entry.Output.empty() ? "-" : entry.Output) + '\t' + OneLine(entry.Song) + '\t' +
                        OneLine(entry.Result) + '\t' + OneLine(entry.Reason));
    return lines;
}

std::string ReportErrorMessage(const std::string& path) { return "Datei " + path + " kann nicht erstellt werden"; }

}  // namespace tonalux::settings
