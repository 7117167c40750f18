// What differs between POSIX systems and Windows, in one place: the safe
// replace of a whole file, the identity of a file (is an output one of the
// inputs?), the kind of a path, reading a whole file, listing a folder,
// temporary folders, the command line, the standard streams and the signals
// that end a run. One source per system implements it (PosixPlatform.cpp,
// WindowsPlatform.cpp); the rest of the tree uses only this header.
//
// Every path and every text here is UTF-8. On Windows the names reach the
// system through its wide (UTF-16) interface, so any file name works.
//
// A failure carries the system's error number (errno; on Windows the error is
// mapped to the errno of the same meaning where there is one) and the
// system's text for it: "Permission denied", "No space left on device", ...
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tonalux {

struct SystemError {
    int Code = 0;        // the errno value, 0 for none
    std::string Reason;  // the system's text for it
};

// The system's text for an errno value.
std::string ReasonOf(int code);

// ---- Paths --------------------------------------------------------------

// A path of the standard library from a UTF-8 name, and back.
std::filesystem::path PathFromUtf8(const std::string& utf8);
std::string Utf8FromPath(const std::filesystem::path& path);

// ---- Files --------------------------------------------------------------

enum class FileKind {
    Missing,  // nothing of that name (or the path cannot be examined: see the error)
    Regular,  // a regular file
    Folder,
    Device,   // a character device: a terminal, /dev/null, NUL
    Pipe,     // a pipe, a FIFO or a socket
    Other,    // a block device or anything else
};

// The same file: device and file number (POSIX), volume serial number and
// file index (Windows).
struct FileIdentity {
    std::uint64_t Device = 0;
    std::uint64_t Index = 0;
    auto operator<=>(const FileIdentity&) const = default;
};

struct FileStatus {
    FileKind Kind = FileKind::Missing;
    SystemError Error;              // why the path could not be examined (Missing)
    FileIdentity Identity;
    bool OwnerMayWrite = false;     // the owner's write bit, or not read-only on Windows
};

// The status of a path, links followed.
FileStatus StatusOf(const std::string& path);

// The identity of an existing file, links followed.
std::optional<FileIdentity> IdentityOf(const std::string& path);

// Whether the two paths name the same existing file, links followed (the same
// device and file number). False when either does not exist.
inline bool SameFile(const std::string& first, const std::string& second) {
    const auto a = IdentityOf(first);
    const auto b = IdentityOf(second);
    return a && b && *a == *b;
}

// The most ReadWholeFile and ReadStandardInput take: the largest file a
// Standard MIDI File can be (its sizes are 32-bit numbers).
inline constexpr std::uint64_t kMaxReadBytes = 0xFFFFFFFFull;

// Reads everything the path gives: a file, a pipe, a FIFO, a device. False
// with the system's reason when it cannot be opened or read, and with "File
// too large" when it gives more than kMaxReadBytes (/dev/zero).
bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes, SystemError& error);

// Whether the file can be opened for reading: the engine names no cause when
// it cannot open a file; the system does. (Not for FIFOs: the open waits.)
bool CanOpenForReading(const std::string& path, SystemError& error);

// Whether the path is a terminal (a console on Windows).
bool IsTerminal(const std::string& path);

// Writes the bytes to an existing device (a terminal, /dev/null,
// /dev/stdout), where there is nothing to replace safely.
bool WriteToDevice(const std::string& path, const std::vector<std::uint8_t>& bytes, SystemError& error);

// Whether a new file can be made in the folder: one is made and removed at
// once, since only a real attempt shows a read-only disk or missing rights.
bool FolderTakesNewFiles(const std::string& folder, SystemError& error);

// Makes the folder and the folders above it that are missing.
bool MakeFolders(const std::string& folder, SystemError& error);

// ---- The safe replace ---------------------------------------------------

struct ReplaceOutcome {
    bool Written = false;  // the target now holds exactly the bytes given
    bool Created = false;  // the temporary file could be created (false: nothing could be created there)
    int Error = 0;         // the system's error number of the failure (0 when written)
    std::string Reason;    // the system's text for it: "Permission denied", "No space left on device", ...

    explicit operator bool() const { return Written; }
};

// Writes `bytes` as the whole content of `target`: the bytes go to a fresh
// temporary file beside the target, are flushed to the disk (fsync;
// FlushFileBuffers), and only then is the temporary file renamed over the
// target (rename; ReplaceFileW or MoveFileExW with write-through). The target
// is therefore either the complete new file or as it was before, and no
// temporary file is left behind on any way out.
//
// A target that is a symbolic link is written through: the file the link
// names is replaced and the link stays. An existing target that is not a
// regular file, or that its owner may not write, is not replaced.
ReplaceOutcome ReplaceFileContents(const std::string& target, const std::vector<std::uint8_t>& bytes);

// The steps of the safe replace after the temporary file holds the bytes.
enum class ReplaceStep { Flush, Close, Rename };

// Makes `step` of every following safe replace fail with the errno `code`,
// as a full disk or a failing device would; code 0 lets the step work again.
// For tests of what the callers report and leave behind.
void FailReplaceStep(ReplaceStep step, int code);

// ---- Folders ------------------------------------------------------------

struct FolderEntry {
    std::string Name;                 // the bare name
    FileKind Kind = FileKind::Other;  // links followed; Missing for a link to nowhere
    bool Link = false;                // the entry itself is a symbolic link
};

// The entries of a folder without "." and "..", in no particular order.
bool ListFolder(const std::string& folder, std::vector<FolderEntry>& entries, SystemError& error);

// A fresh folder of its own under the system's temporary folder, made with a
// name no other process can take (mkdtemp), and removed with its content.
class TemporaryFolder {
public:
    explicit TemporaryFolder(const std::string& prefix = "tonalux-");
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    bool Ready() const { return !path_.empty(); }
    // The folder's path without a trailing separator (UTF-8).
    const std::string& Path() const { return path_; }
    // Path() + "/" + name.
    std::string File(const std::string& name) const;

private:
    std::string path_;
};

// The characters that separate the parts of a path: "/" on POSIX, "/" and
// "\\" on Windows.
#ifdef _WIN32
inline constexpr const char* kPathSeparators = "/\\";
#else
inline constexpr const char* kPathSeparators = "/";
#endif

// ---- The program's start and its standard streams ----------------------

// The program's arguments behind its name, as UTF-8 (on Windows read as
// UTF-16 from the system, whatever the console's code page).
std::vector<std::string> CommandLineArguments(int argc, char** argv);

// Standard input and output carry bytes unchanged (no line-end translation)
// and the console shows UTF-8 text.
void PrepareStandardStreams();

// Reads all of standard input.
bool ReadStandardInput(std::vector<std::uint8_t>& bytes, SystemError& error);

// Writes to the standard output's descriptor, all of it or an error.
bool WriteStandardOutput(const char* bytes, std::size_t size, SystemError& error);

bool StandardOutputIsTerminal();

// Whether the program has a console window of its own, which closes when the
// program ends: on Windows a console the system opened for this program
// alone (one started from the Explorer, songs dropped on it), with that
// console as standard input. Never on POSIX, where a terminal outlives the
// programs it runs.
bool RunsInOwnConsoleWindow();

// Waits until a key is pressed in the program's console window (Windows); on
// POSIX, where no such window exists, it returns at once.
void WaitForKeyPress();

// ---- Signals that end a run ---------------------------------------------

// From now on SIGINT, SIGTERM and SIGHUP (on Windows the console's Ctrl+C,
// Ctrl+Break and close) no longer end the program at once: they are noted,
// and the program stops at the next safe point.
void CatchStopSignals();

// The signal noted since CatchStopSignals (SIGINT 2, SIGHUP 1, SIGTERM 15),
// 0 for none.
int StopSignal();

// The exit status of a program ended by that signal: 128 + its number.
int ExitStatusOfSignal(int signal);

// Called when the program has reached its safe point after a stop: on
// Windows the console's close waits for this before it ends the process.
void StoppedSafely();

}  // namespace tonalux
