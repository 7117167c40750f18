// Output of whole files: the one safe replace that every writer of the system
// uses (SafeReplace.h), and the engine's writers handing it the assembled file.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

#include "EventEncoding.h"
#include "Hauptcontainer.h"
#include "SafeReplace.h"
#include "StandardMidifile.h"

namespace tonalux {

namespace {

ReplaceOutcome Failure(int error, bool created) {
    ReplaceOutcome outcome;
    outcome.Created = created;
    outcome.Error = error;
    outcome.Reason = std::strerror(error);
    return outcome;
}

// The folder part of a path with its separator; "./" for a bare name.
std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

// A link is followed to the file it names, however many links lead there; a
// link to nowhere gives the path it names, so the file is created there.
bool ResolveLinks(std::string& target, int& error) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info {};
        if (::lstat(target.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return true;
        std::string link(PATH_MAX, '\0');
        const ssize_t length = ::readlink(target.c_str(), link.data(), link.size());
        if (length < 0) {
            error = errno;
            return false;
        }
        link.resize(static_cast<std::size_t>(length));
        target = (!link.empty() && link.front() == '/') ? link : FolderOf(target) + link;
    }
    error = ELOOP;
    return false;
}

bool WriteAll(int fd, const std::vector<std::uint8_t>& bytes, int& error) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            error = errno;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Creates a file of a fresh name beside the target, so that the rename stays
// within one file system.
int CreateTemporaryBeside(const std::string& target, std::string& temporary, int& error) {
    static std::atomic<unsigned> counter{0};
    const std::string folder = FolderOf(target);
    const std::string stem = folder + "." + target.substr(target.find_last_of('/') + 1) + "." +
                             std::to_string(::getpid()) + "-";
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = stem + std::to_string(counter++) + ".part";
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) return fd;
        if (errno != EEXIST) break;
    }
    error = errno;
    return -1;
}

ReplaceOutcome& LastSave() {
    static ReplaceOutcome outcome;
    return outcome;
}

}  // namespace

ReplaceOutcome ReplaceFileContents(const std::string& requested, const std::vector<std::uint8_t>& bytes) {
    if (requested.empty()) return Failure(ENOENT, false);
    if (requested.back() == '/') return Failure(EISDIR, false);

    std::string target = requested;
    int error = 0;
    if (!ResolveLinks(target, error)) return Failure(error, false);

    // An existing target is replaced only when it is a regular file its owner
    // may write; the new file keeps its permissions.
    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (!exists && errno != ENOENT) return Failure(errno, false);
    if (exists && S_ISDIR(existing.st_mode)) return Failure(EISDIR, false);
    if (exists && !S_ISREG(existing.st_mode)) {
        ReplaceOutcome outcome = Failure(EINVAL, false);
        outcome.Reason = "not a regular file";
        return outcome;
    }
    if (exists && (existing.st_mode & S_IWUSR) == 0) return Failure(EACCES, false);

    std::string temporary;
    const int fd = CreateTemporaryBeside(target, temporary, error);
    if (fd < 0) return Failure(error, false);

    bool ok = true;
    if (exists && ::fchmod(fd, existing.st_mode & 07777) != 0) {
        error = errno;
        ok = false;
    }
    ok = ok && WriteAll(fd, bytes, error);
    if (ok && ::fsync(fd) != 0) {
        error = errno;
        ok = false;
    }
    if (::close(fd) != 0 && ok) {
        error = errno;
        ok = false;
    }
    if (ok && ::rename(temporary.c_str(), target.c_str()) != 0) {
        error = errno;
        ok = false;
    }
    if (!ok) {
        ::unlink(temporary.c_str());
        return Failure(error, true);
    }
    // The rename itself reaches the disk with the folder.
    const int folder = ::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    ReplaceOutcome written;
    written.Written = true;
    written.Created = true;
    return written;
}

const ReplaceOutcome& LastSaveOutcome() { return LastSave(); }

std::string LastSaveFailure() {
    // A save whose bytes could not be assembled leaves the outcome of the one before.
    const ReplaceOutcome& last = LastSave();
    return last.Written || last.Reason.empty() ? std::string(std::strerror(ENOMEM)) : last.Reason;
}

bool SameFile(const std::string& first, const std::string& second) {
    struct stat a {}, b {};
    if (::stat(first.c_str(), &a) != 0 || ::stat(second.c_str(), &b) != 0) return false;
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

bool StandardMidifile::PufferToFile(const std::string& fileName) {
    LastSave() = ReplaceFileContents(fileName, detail::Writer().WritePuffer);
    if (LastSave().Written) return true;
    CurrentEngineHost().ShowMessage(detail::kCannotWriteMessage);
    return false;
}

}  // namespace tonalux
