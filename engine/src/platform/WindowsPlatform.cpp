// The platform layer on Windows (Platform.h). Names are UTF-8 inside and go
// to the system through its wide interface as UTF-16.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

#include "Platform.h"
#include "platform/ReadInto.h"

namespace tonalux {

namespace {

std::wstring Wide(const std::string& utf8) {
    if (utf8.empty()) return std::wstring();
    const int size = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), size);
    return wide;
}

std::string Narrow(const std::wstring& wide) {
    if (wide.empty()) return std::string();
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), size, nullptr,
                          nullptr);
    return utf8;
}

// The errno of the same meaning as a Windows error, so that messages read
// alike on every system; errors without one keep the system's own text.
SystemError ErrorOfWindows(DWORD code) {
    struct Mapping {
        DWORD Windows;
        int Errno;
    };
    static constexpr std::array<Mapping, 16> kMappings{{
        {ERROR_FILE_NOT_FOUND, ENOENT},     {ERROR_PATH_NOT_FOUND, ENOENT},  {ERROR_INVALID_NAME, ENOENT},
        {ERROR_ACCESS_DENIED, EACCES},      {ERROR_SHARING_VIOLATION, EACCES}, {ERROR_LOCK_VIOLATION, EACCES},
        {ERROR_WRITE_PROTECT, EROFS},       {ERROR_DISK_FULL, ENOSPC},       {ERROR_HANDLE_DISK_FULL, ENOSPC},
        {ERROR_FILE_EXISTS, EEXIST},        {ERROR_ALREADY_EXISTS, EEXIST},  {ERROR_NOT_ENOUGH_MEMORY, ENOMEM},
        {ERROR_OUTOFMEMORY, ENOMEM},        {ERROR_DIRECTORY, ENOTDIR},      {ERROR_BROKEN_PIPE, EPIPE},
        {ERROR_NO_DATA, EPIPE},
    }};
    for (const auto& mapping : kMappings)
        if (mapping.Windows == code) return SystemError{mapping.Errno, ReasonOf(mapping.Errno)};
    wchar_t* text = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
        0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring reason = length > 0 && text ? std::wstring(text, length) : L"error " + std::to_wstring(code);
    if (text) ::LocalFree(text);
    while (!reason.empty() && (reason.back() == L'\n' || reason.back() == L'\r' || reason.back() == L'.'))
        reason.pop_back();
    return SystemError{EIO, Narrow(reason)};
}

SystemError LastError() { return ErrorOfWindows(::GetLastError()); }

// The error of a failed open of `path`. Windows says "path not found" where
// a folder of the path is a file; POSIX says "Not a directory", and so does
// this, so that messages read alike.
SystemError PathError(const std::string& path) {
    SystemError error = LastError();
    if (error.Code != ENOENT) return error;
    for (auto slash = path.find_last_of("/\\"); slash != std::string::npos && slash > 0;
         slash = path.find_last_of("/\\", slash - 1)) {
        const DWORD attributes = ::GetFileAttributesW(Wide(path.substr(0, slash)).c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) continue;
        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return SystemError{ENOTDIR, ReasonOf(ENOTDIR)};
        break;
    }
    return error;
}

SystemError ErrorOf(int code) { return SystemError{code, ReasonOf(code)}; }

ReplaceOutcome Failure(const SystemError& error, bool created) {
    ReplaceOutcome outcome;
    outcome.Created = created;
    outcome.Error = error.Code;
    outcome.Reason = error.Reason;
    return outcome;
}

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string(".\\") : path.substr(0, slash + 1);
}

bool WriteAll(HANDLE handle, const std::uint8_t* data, std::size_t size, SystemError& error) {
    while (size > 0) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
        DWORD written = 0;
        if (!::WriteFile(handle, data, chunk, &written, nullptr)) {
            error = LastError();
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
}

// Everything the handle gives, appended to `bytes`; a disk file's size makes
// its room at once.
bool ReadAll(HANDLE handle, std::vector<std::uint8_t>& bytes, SystemError& error) {
    LARGE_INTEGER size{};
    const std::uint64_t expected = ::GetFileType(handle) == FILE_TYPE_DISK && ::GetFileSizeEx(handle, &size) && size.QuadPart > 0
                                       ? static_cast<std::uint64_t>(size.QuadPart)
                                       : 0;
    // A disk file is read in as few calls as its room allows; pipes and
    // consoles are asked for at most 64 KB at a time, as consoles require.
    const std::size_t most = expected != 0 ? std::size_t{1} << 30 : detail::kReadStep;
    const detail::ReadEnd end = detail::ReadInto(bytes, expected, [handle, most, &error](std::uint8_t* into, std::size_t room) {
        DWORD got = 0;
        const auto ask = static_cast<DWORD>(std::min(room, most));
        if (::ReadFile(handle, into, ask, &got, nullptr)) return static_cast<std::ptrdiff_t>(got);
        // The writing end of a pipe closed: everything has been read.
        if (::GetLastError() == ERROR_BROKEN_PIPE) return std::ptrdiff_t{0};
        error = LastError();
        return std::ptrdiff_t{-1};
    });
    if (end == detail::ReadEnd::TooLarge) error = ErrorOf(EFBIG);
    return end == detail::ReadEnd::Whole;
}

std::array<std::atomic<int>, 3>& InjectedFaults() {
    static std::array<std::atomic<int>, 3> faults{};
    return faults;
}

// The error of a step: the injected one, else the system's when it failed.
SystemError StepError(ReplaceStep step, bool succeeded) {
    const int injected = InjectedFaults()[static_cast<std::size_t>(step)].load();
    if (injected != 0) return ErrorOf(injected);
    return succeeded ? SystemError{} : LastError();
}

HANDLE CreateTemporaryBeside(const std::string& target, std::wstring& temporary, SystemError& error) {
    static std::atomic<unsigned> counter{0};
    const std::string name = target.substr(target.find_last_of("/\\") + 1);
    const std::string stem = FolderOf(target) + "." + name + "." + std::to_string(::GetCurrentProcessId()) + "-";
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = Wide(stem + std::to_string(counter++) + ".part");
        const HANDLE handle = ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                            FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle != INVALID_HANDLE_VALUE) return handle;
        if (::GetLastError() != ERROR_FILE_EXISTS) break;
    }
    error = PathError(Narrow(temporary));
    return INVALID_HANDLE_VALUE;
}

// Flush, close and the rename over the target of a temporary file that
// holds the bytes: ReplaceFileW keeps an existing target's attributes.
SystemError FinishReplace(HANDLE handle, const std::wstring& temporary, const std::wstring& target, bool exists) {
    SystemError error = StepError(ReplaceStep::Flush, ::FlushFileBuffers(handle) != 0);
    const SystemError closeError = StepError(ReplaceStep::Close, ::CloseHandle(handle) != 0);
    if (error.Code == 0) error = closeError;
    if (error.Code == 0) error = StepError(ReplaceStep::Rename, true);
    if (error.Code != 0) return error;
    if (exists && ::ReplaceFileW(target.c_str(), temporary.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                                 nullptr, nullptr))
        return error;
    if (!::MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        error = LastError();
    return error;
}

HANDLE OpenForIdentity(const std::string& path) {
    // FILE_FLAG_BACKUP_SEMANTICS opens folders too.
    return ::CreateFileW(Wide(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

}  // namespace

std::string ReasonOf(int code) { return std::strerror(code); }

std::filesystem::path PathFromUtf8(const std::string& utf8) { return std::filesystem::path(Wide(utf8)); }

std::string Utf8FromPath(const std::filesystem::path& path) { return Narrow(path.wstring()); }

FileStatus StatusOf(const std::string& path) {
    FileStatus status;
    const HANDLE handle = OpenForIdentity(path);
    if (handle == INVALID_HANDLE_VALUE) {
        status.Error = PathError(path);
        return status;
    }
    switch (::GetFileType(handle)) {
        case FILE_TYPE_CHAR:
            status.Kind = FileKind::Device;
            break;
        case FILE_TYPE_PIPE:
            status.Kind = FileKind::Pipe;
            break;
        case FILE_TYPE_DISK: {
            BY_HANDLE_FILE_INFORMATION info{};
            if (::GetFileInformationByHandle(handle, &info)) {
                status.Kind = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? FileKind::Folder : FileKind::Regular;
                status.Identity = {info.dwVolumeSerialNumber,
                                   (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
                status.OwnerMayWrite = (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) == 0;
            } else {
                status.Error = LastError();
            }
            break;
        }
        default:
            status.Kind = FileKind::Other;
    }
    ::CloseHandle(handle);
    return status;
}

std::optional<FileIdentity> IdentityOf(const std::string& path) {
    const FileStatus status = StatusOf(path);
    if (status.Kind != FileKind::Regular && status.Kind != FileKind::Folder) return std::nullopt;
    return status.Identity;
}

bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes, SystemError& error) {
    const HANDLE handle = ::CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        error = PathError(path);
        return false;
    }
    const bool read = ReadAll(handle, bytes, error);
    ::CloseHandle(handle);
    return read;
}

bool CanOpenForReading(const std::string& path, SystemError& error) {
    const HANDLE handle = ::CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        error = PathError(path);
        return false;
    }
    ::CloseHandle(handle);
    return true;
}

bool IsTerminal(const std::string& path) {
    const HANDLE handle = ::CreateFileW(Wide(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    DWORD mode = 0;
    const bool console = ::GetConsoleMode(handle, &mode) != 0;
    ::CloseHandle(handle);
    return console;
}

bool WriteToDevice(const std::string& path, const std::vector<std::uint8_t>& bytes, SystemError& error) {
    const HANDLE handle = ::CreateFileW(Wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        error = LastError();
        return false;
    }
    const bool written = WriteAll(handle, bytes.data(), bytes.size(), error);
    ::CloseHandle(handle);
    return written;
}

bool FolderTakesNewFiles(const std::string& folder, SystemError& error) {
    const std::string probe = folder + (!folder.empty() && IsSeparator(folder.back()) ? "" : "\\") +
                              ".tonalux-probe-" + std::to_string(::GetCurrentProcessId());
    const HANDLE handle = ::CreateFileW(Wide(probe).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        error = PathError(probe);
        return false;
    }
    ::CloseHandle(handle);
    return true;
}

bool MakeFolders(const std::string& folder, SystemError& error) {
    std::error_code ec;
    std::filesystem::create_directories(PathFromUtf8(folder), ec);
    if (ec) error = SystemError{ec.value(), ec.message()};
    return !ec;
}

ReplaceOutcome ReplaceFileContents(const std::string& target, const std::vector<std::uint8_t>& bytes) {
    if (target.empty()) return Failure(ErrorOf(ENOENT), false);
    if (IsSeparator(target.back())) return Failure(ErrorOf(EISDIR), false);

    // An existing target is replaced only when it is a regular file that is
    // not read-only.
    const FileStatus existing = StatusOf(target);
    const bool exists = existing.Kind != FileKind::Missing;
    if (!exists && existing.Error.Code != ENOENT) return Failure(existing.Error, false);
    if (existing.Kind == FileKind::Folder) return Failure(ErrorOf(EISDIR), false);
    if (exists && existing.Kind != FileKind::Regular) {
        ReplaceOutcome outcome = Failure(ErrorOf(EINVAL), false);
        outcome.Reason = "not a regular file";
        return outcome;
    }
    if (exists && !existing.OwnerMayWrite) return Failure(ErrorOf(EACCES), false);

    SystemError error;
    std::wstring temporary;
    const HANDLE handle = CreateTemporaryBeside(target, temporary, error);
    if (handle == INVALID_HANDLE_VALUE) return Failure(error, false);
    if (WriteAll(handle, bytes.data(), bytes.size(), error)) {
        error = FinishReplace(handle, temporary, Wide(target), exists);
    } else {
        ::CloseHandle(handle);
    }
    if (error.Code != 0) {
        ::DeleteFileW(temporary.c_str());
        return Failure(error, true);
    }
    return ReplaceOutcome{.Written = true, .Created = true, .Error = 0, .Reason = {}};
}

void FailReplaceStep(ReplaceStep step, int code) { InjectedFaults()[static_cast<std::size_t>(step)] = code; }

bool ListFolder(const std::string& folder, std::vector<FolderEntry>& entries, SystemError& error) {
    const std::string prefix = folder + (!folder.empty() && IsSeparator(folder.back()) ? "" : "\\");
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileW(Wide(prefix + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        error = LastError();
        // A file given as a folder is no folder.
        if (StatusOf(folder).Kind == FileKind::Regular) error = ErrorOf(ENOTDIR);
        return false;
    }
    do {
        const std::string name = Narrow(found.cFileName);
        if (name == "." || name == "..") continue;
        FolderEntry entry;
        entry.Name = name;
        entry.Link = (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
        entry.Kind = entry.Link ? StatusOf(prefix + name).Kind
                     : (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? FileKind::Folder
                                                                          : FileKind::Regular;
        entries.push_back(std::move(entry));
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return true;
}

TemporaryFolder::TemporaryFolder(const std::string& prefix) {
    wchar_t base[MAX_PATH + 1];
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, base);
    if (length == 0 || length > MAX_PATH) return;
    static std::atomic<unsigned> counter{0};
    // A name no other process can take: the process number and a counter;
    // the creation itself fails when the name exists, and the next is tried.
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string candidate = Narrow(std::wstring(base, length)) + prefix +
                                      std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(counter++);
        if (::CreateDirectoryW(Wide(candidate).c_str(), nullptr)) {
            path_ = candidate;
            return;
        }
        if (::GetLastError() != ERROR_ALREADY_EXISTS) return;
    }
}

TemporaryFolder::~TemporaryFolder() {
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove_all(PathFromUtf8(path_), ec);
}

std::string TemporaryFolder::File(const std::string& name) const { return path_ + "\\" + name; }

std::vector<std::string> CommandLineArguments(int, char**) {
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::string> args;
    for (int i = 1; wide && i < count; ++i) args.push_back(Narrow(wide[i]));
    if (wide) ::LocalFree(wide);
    return args;
}

void PrepareStandardStreams() {
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    ::SetConsoleOutputCP(CP_UTF8);
}

bool ReadStandardInput(std::vector<std::uint8_t>& bytes, SystemError& error) {
    return ReadAll(::GetStdHandle(STD_INPUT_HANDLE), bytes, error);
}

bool WriteStandardOutput(const char* bytes, std::size_t size, SystemError& error) {
    return WriteAll(::GetStdHandle(STD_OUTPUT_HANDLE), reinterpret_cast<const std::uint8_t*>(bytes), size, error);
}

bool StandardOutputIsTerminal() {
    DWORD mode = 0;
    return ::GetConsoleMode(::GetStdHandle(STD_OUTPUT_HANDLE), &mode) != 0;
}

// A console shared with no other process was opened for this program and
// closes with it; standard input must be that console, so that a program
// whose input is a file or a pipe never waits.
bool RunsInOwnConsoleWindow() {
    DWORD processes[2] = {};
    DWORD mode = 0;
    return ::GetConsoleProcessList(processes, 2) == 1 && ::GetConsoleMode(::GetStdHandle(STD_INPUT_HANDLE), &mode) != 0;
}

void WaitForKeyPress() {
    const HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE);
    // Keys pressed during the run do not count.
    ::FlushConsoleInputBuffer(input);
    INPUT_RECORD record{};
    DWORD read = 0;
    while (::ReadConsoleInputW(input, &record, 1, &read) != 0 && read == 1)
        if (record.EventType == KEY_EVENT && record.Event.KeyEvent.bKeyDown) return;
}

namespace {

constexpr int kSignalHangup = 1;
constexpr int kSignalInterrupt = 2;
constexpr int kSignalTerminate = 15;

std::atomic<int> stopSignal{0};
HANDLE stoppedEvent = nullptr;

BOOL WINAPI NoteConsoleStop(DWORD event) {
    int signal = 0;
    switch (event) {
        case CTRL_C_EVENT:
            signal = kSignalInterrupt;
            break;
        case CTRL_BREAK_EVENT:
            signal = kSignalTerminate;
            break;
        default:  // the console closes, the user logs off, the system shuts down
            signal = kSignalHangup;
    }
    int none = 0;
    stopSignal.compare_exchange_strong(none, signal);
    // The process ends when this returns from a close: wait for the run to
    // reach its safe point first (the system allows a few seconds).
    if (signal == kSignalHangup && stoppedEvent) ::WaitForSingleObject(stoppedEvent, 4500);
    return TRUE;
}

}  // namespace

void CatchStopSignals() {
    if (!stoppedEvent) stoppedEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ::SetConsoleCtrlHandler(NoteConsoleStop, TRUE);
}

int StopSignal() { return stopSignal.load(); }

int ExitStatusOfSignal(int signal) { return 128 + signal; }

void StoppedSafely() {
    if (stoppedEvent) ::SetEvent(stoppedEvent);
}

}  // namespace tonalux
