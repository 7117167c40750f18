#include "WorkingFolder.h"

#include <QFile>
#include <filesystem>
#include <system_error>

#include "FolderConversion.h"
#include "MessageDisplay.h"

namespace fs = std::filesystem;

namespace {

bool folderFromCommandLine = false;

std::string WithSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

}  // namespace

void SetFolderFromCommandLine(bool given) { folderFromCommandLine = given; }

std::string StartBaseFolder(const QString& remembered) {
    const std::string start = tonalux::CurrentBaseFolder();
    if (folderFromCommandLine || remembered.isEmpty()) return start;
    std::error_code ec;
    if (fs::is_directory(start + tonalux::kInputFolder, ec)) return start;
    const std::string chosen = WithSlash(QFile::encodeName(remembered).toStdString());
    return fs::is_directory(chosen, ec) ? chosen : start;
}

std::vector<std::string> MissingFolders(const std::string& base) {
    std::vector<std::string> missing;
    const tonalux::ConversionFolders folders = tonalux::DefaultFolders(base);
    for (const std::string& folder : {folders.Input, folders.Output}) {
        // Anything of that name, a file or a link included, is there: the
        // checks before the run say what is wrong with it.
        std::error_code ec;
        const fs::path entry = fs::path(folder).parent_path();
        const fs::file_status status = fs::symlink_status(entry, ec);
        if (status.type() == fs::file_type::not_found) missing.push_back(folder);
    }
    return missing;
}

QString CreateFolders(const std::vector<std::string>& folders) {
    for (const auto& folder : folders) {
        std::error_code ec;
        fs::create_directory(folder, ec);
        if (ec) return FromEightBit(ec.message());
    }
    return QString();
}
