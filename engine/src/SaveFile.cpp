// Output of the assembled file. The bytes go to a temporary file beside the
// target, which replaces the target only once it is complete, so a failed save
// leaves an existing file of that name as it was and no partial file behind.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "EventEncoding.h"
#include "Hauptcontainer.h"
#include "StandardMidifile.h"

namespace tonalux {

namespace {

namespace fs = std::filesystem;

// An existing target may be replaced only when it is a regular file that its
// owner may write; a missing target may always be created.
bool MayReplace(const fs::path& target) {
    std::error_code error;
    const fs::file_status status = fs::status(target, error);
    if (status.type() == fs::file_type::not_found) return true;
    if (error || status.type() != fs::file_type::regular) return false;
    return (status.permissions() & fs::perms::owner_write) != fs::perms::none;
}

// Creates a file of a fresh name beside the target, opened for writing.
std::FILE* CreateTemporaryBeside(const fs::path& target, fs::path& temporary) {
    static std::atomic<unsigned> counter{0};
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const auto stamp = static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
    for (int attempt = 0; attempt < 16; ++attempt) {
        std::string name(1, '.');
        name += target.filename().string();
        name += '.';
        name += std::to_string(stamp);
        name += '-';
        name += std::to_string(counter++);
        name += ".part";
        temporary = folder / name;
        // "x": fails rather than open a file that already exists.
        if (std::FILE* file = std::fopen(temporary.string().c_str(), "wbx")) return file;
        std::error_code error;
        if (!fs::exists(folder, error)) return nullptr;
    }
    return nullptr;
}

bool WriteReplacing(fs::path target, const std::vector<std::uint8_t>& bytes) {
    if (target.empty() || !target.has_filename()) return false;
    std::error_code error;
    // A link is followed: the file it names is the one replaced.
    if (fs::is_symlink(fs::symlink_status(target, error))) {
        target = fs::weakly_canonical(target, error);
        if (error) return false;
    }
    if (!MayReplace(target)) return false;

    fs::path temporary;
    std::FILE* file = CreateTemporaryBeside(target, temporary);
    if (file == nullptr) return false;
    bool written = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    written = std::fflush(file) == 0 && written;
    written = std::fclose(file) == 0 && written;

    if (written) {
        const fs::file_status existing = fs::status(target, error);
        if (!error && existing.type() == fs::file_type::regular) {
            fs::permissions(temporary, existing.permissions(), error);
        }
        error.clear();
        fs::rename(temporary, target, error);
        written = !error;
    }
    if (!written) fs::remove(temporary, error);
    return written;
}

}  // namespace

bool StandardMidifile::PufferToFile(const std::string& fileName) {
    if (WriteReplacing(fs::path(fileName), detail::Writer().WritePuffer)) return true;
    CurrentEngineHost().ShowMessage(detail::kCannotWriteMessage);
    return false;
}

}  // namespace tonalux
