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

std::string ReportErrorMessage(const std::string& path) { return "Datei " + path + " kann nicht erstellt werden"; }

}  // namespace tonalux::settings
