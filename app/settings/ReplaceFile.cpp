#include "ReplaceFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace tonalux::settings {

namespace {

// Folder part of a path, with its separator; empty for a bare name.
std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool WriteAll(int fd, const std::vector<std::uint8_t>& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

ReplaceOutcome ReplaceFileContents(const std::string& target, const std::vector<std::uint8_t>& bytes) {
    if (target.empty() || target.back() == '/') return ReplaceOutcome::CannotCreate;

    // A fresh name beside the target, so the rename stays within one file system.
    std::string temp;
    int fd = -1;
    const std::string stem = FolderOf(target) + "." + target.substr(FolderOf(target).size()) + ".tmp";
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = stem + std::to_string(::getpid()) + "-" + std::to_string(attempt);
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) return ReplaceOutcome::CannotCreate;
    }
    if (fd < 0) return ReplaceOutcome::CannotCreate;

    // A replaced file keeps its permissions; a folder of the target's name is
    // not replaced.
    bool ok = true;
    struct stat existing {};
    if (::stat(target.c_str(), &existing) == 0) {
        if (S_ISDIR(existing.st_mode)) ok = false;
        else if (S_ISREG(existing.st_mode)) ::fchmod(fd, existing.st_mode & 07777);
    }
    ok = ok && WriteAll(fd, bytes);
    if (ok && ::fsync(fd) != 0) ok = false;
    if (::close(fd) != 0) ok = false;
    if (ok && std::rename(temp.c_str(), target.c_str()) != 0) ok = false;
    if (!ok) {
        ::unlink(temp.c_str());
        return ReplaceOutcome::WriteFailed;
    }
    return ReplaceOutcome::Written;
}

}  // namespace tonalux::settings
