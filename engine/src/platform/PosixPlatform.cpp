// The platform layer on POSIX systems (Platform.h).
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstring>
#include <system_error>

#include "Platform.h"
#include "platform/ReadInto.h"

namespace tonalux {

namespace {

SystemError ErrorOf(int code) { return SystemError{code, ReasonOf(code)}; }

ReplaceOutcome Failure(int code, bool created) {
    ReplaceOutcome outcome;
    outcome.Created = created;
    outcome.Error = code;
    outcome.Reason = ReasonOf(code);
    return outcome;
}

FileKind KindOfMode(mode_t mode) {
    if (S_ISREG(mode)) return FileKind::Regular;
    if (S_ISDIR(mode)) return FileKind::Folder;
    if (S_ISCHR(mode)) return FileKind::Device;
    if (S_ISFIFO(mode) || S_ISSOCK(mode)) return FileKind::Pipe;
    return FileKind::Other;
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

bool WriteAll(int fd, const std::uint8_t* data, std::size_t size, int& error) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd, data + done, size - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            error = errno;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Everything the descriptor gives, appended to `bytes`; a regular file's size
// makes its room at once.
bool ReadAll(int fd, std::vector<std::uint8_t>& bytes, int& error) {
    struct stat info {};
    const std::uint64_t expected =
        ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0 ? static_cast<std::uint64_t>(info.st_size) : 0;
    const detail::ReadEnd end = detail::ReadInto(bytes, expected, [fd, &error](std::uint8_t* into, std::size_t room) {
        for (;;) {
            const ssize_t n = ::read(fd, into, room);
            if (n >= 0) return static_cast<std::ptrdiff_t>(n);
            if (errno != EINTR) {
                error = errno;
                return std::ptrdiff_t{-1};
            }
        }
    });
    if (end == detail::ReadEnd::TooLarge) error = EFBIG;
    return end == detail::ReadEnd::Whole;
}

// Creates a file of a fresh name beside the target, so that the rename stays
// within one file system.
int CreateTemporaryBeside(const std::string& target, std::string& temporary, int& error) {
    static std::atomic<unsigned> counter{0};
    const std::string stem = FolderOf(target) + "." + target.substr(target.find_last_of('/') + 1) + "." +
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

std::array<std::atomic<int>, 3>& InjectedFaults() {
    static std::array<std::atomic<int>, 3> faults{};
    return faults;
}

// The errno a step gives: the injected one, else the system call's.
int StepError(ReplaceStep step, bool failed) {
    const int injected = InjectedFaults()[static_cast<std::size_t>(step)].load();
    if (injected != 0) return injected;
    return failed ? errno : 0;
}

// Flush, close and rename of a temporary file that holds the bytes.
int FinishReplace(int fd, const std::string& temporary, const std::string& target) {
    int error = StepError(ReplaceStep::Flush, ::fsync(fd) != 0);
    const int closeError = StepError(ReplaceStep::Close, ::close(fd) != 0);
    if (error == 0) error = closeError;
    if (error == 0) error = StepError(ReplaceStep::Rename, false);
    if (error == 0 && ::rename(temporary.c_str(), target.c_str()) != 0) error = errno;
    return error;
}

}  // namespace

std::string ReasonOf(int code) { return std::strerror(code); }

std::filesystem::path PathFromUtf8(const std::string& utf8) { return std::filesystem::path(utf8); }

std::string Utf8FromPath(const std::filesystem::path& path) { return path.string(); }

FileStatus StatusOf(const std::string& path) {
    FileStatus status;
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        status.Error = ErrorOf(errno);
        return status;
    }
    status.Kind = KindOfMode(info.st_mode);
    status.Identity = {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
    status.OwnerMayWrite = (info.st_mode & S_IWUSR) != 0;
    return status;
}

std::optional<FileIdentity> IdentityOf(const std::string& path) {
    const FileStatus status = StatusOf(path);
    if (status.Kind == FileKind::Missing) return std::nullopt;
    return status.Identity;
}

bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes, SystemError& error) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = ErrorOf(errno);
        return false;
    }
    int code = 0;
    const bool read = ReadAll(fd, bytes, code);
    ::close(fd);
    if (!read) error = ErrorOf(code);
    return read;
}

bool CanOpenForReading(const std::string& path, SystemError& error) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = ErrorOf(errno);
        return false;
    }
    ::close(fd);
    return true;
}

bool IsTerminal(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return false;
    const bool terminal = ::isatty(fd) == 1;
    ::close(fd);
    return terminal;
}

bool WriteToDevice(const std::string& path, const std::vector<std::uint8_t>& bytes, SystemError& error) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
    int code = fd < 0 ? errno : 0;
    if (fd >= 0) {
        WriteAll(fd, bytes.data(), bytes.size(), code);
        if (::close(fd) != 0 && code == 0) code = errno;
    }
    if (code != 0) error = ErrorOf(code);
    return code == 0;
}

bool FolderTakesNewFiles(const std::string& folder, SystemError& error) {
    const std::string probe = folder + (!folder.empty() && folder.back() == '/' ? "" : "/") + ".tonalux-probe-" +
                              std::to_string(::getpid());
    const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
        error = ErrorOf(errno);
        return false;
    }
    ::close(fd);
    ::unlink(probe.c_str());
    return true;
}

bool MakeFolders(const std::string& folder, SystemError& error) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) error = ErrorOf(ec.value());
    return !ec;
}

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

    if (exists && ::fchmod(fd, existing.st_mode & 07777) != 0) error = errno;
    if (error == 0) WriteAll(fd, bytes.data(), bytes.size(), error);
    if (error == 0) {
        error = FinishReplace(fd, temporary, target);
    } else {
        ::close(fd);
    }
    if (error != 0) {
        ::unlink(temporary.c_str());
        return Failure(error, true);
    }
    // The rename itself reaches the disk with the folder.
    const int folder = ::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return ReplaceOutcome{.Written = true, .Created = true, .Error = 0, .Reason = {}};
}

void FailReplaceStep(ReplaceStep step, int code) { InjectedFaults()[static_cast<std::size_t>(step)] = code; }

bool ListFolder(const std::string& folder, std::vector<FolderEntry>& entries, SystemError& error) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) {
        error = ErrorOf(errno);
        return false;
    }
    const std::string prefix = folder + (!folder.empty() && folder.back() == '/' ? "" : "/");
    errno = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        FolderEntry found;
        found.Name = name;
        struct stat info {};
        found.Link = ::lstat((prefix + name).c_str(), &info) == 0 && S_ISLNK(info.st_mode);
        found.Kind = StatusOf(prefix + name).Kind;
        entries.push_back(std::move(found));
    }
    ::closedir(dir);
    return true;
}

TemporaryFolder::TemporaryFolder(const std::string& prefix) {
    std::error_code ec;
    std::string base = std::filesystem::temp_directory_path(ec).string();
    if (ec || base.empty()) base = "/tmp";
    if (base.back() == '/') base.pop_back();
    std::string pattern = base + "/" + prefix + "XXXXXX";
    if (::mkdtemp(pattern.data())) path_ = pattern;
}

TemporaryFolder::~TemporaryFolder() {
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
}

std::string TemporaryFolder::File(const std::string& name) const { return path_ + "/" + name; }

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
    return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>();
}

void PrepareStandardStreams() {}

bool ReadStandardInput(std::vector<std::uint8_t>& bytes, SystemError& error) {
    int code = 0;
    if (ReadAll(STDIN_FILENO, bytes, code)) return true;
    error = ErrorOf(code);
    return false;
}

bool WriteStandardOutput(const char* bytes, std::size_t size, SystemError& error) {
    int code = 0;
    if (WriteAll(STDOUT_FILENO, reinterpret_cast<const std::uint8_t*>(bytes), size, code)) return true;
    error = ErrorOf(code);
    return false;
}

bool StandardOutputIsTerminal() { return ::isatty(STDOUT_FILENO) == 1; }

// A terminal stays open after the program ends, so there is nothing to wait for.
bool RunsInOwnConsoleWindow() { return false; }

void WaitForKeyPress() {}

namespace {

volatile sig_atomic_t stopSignal = 0;

extern "C" void NoteStopSignal(int signal) {
    if (stopSignal == 0) stopSignal = signal;
}

}  // namespace

void CatchStopSignals() {
    struct sigaction action {};
    action.sa_handler = NoteStopSignal;
    sigemptyset(&action.sa_mask);
    // Interrupted system calls go on: the run stops between songs, never in
    // the middle of a write.
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) ::sigaction(signal, &action, nullptr);
}

int StopSignal() { return stopSignal; }

int ExitStatusOfSignal(int signal) { return 128 + signal; }

void StoppedSafely() {}

}  // namespace tonalux
