// Runs the real tonalux-cli executable with arguments, in a chosen folder,
// and captures its exit status and both output streams.
#pragma once

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "TestSupport.h"

namespace tonalux::testing {

struct CliResult {
    int Status = -1;  // exit status; -1 when the program did not end normally
    std::string Out;
    std::string Err;

    // The lines of standard error.
    std::vector<std::string> ErrLines() const {
        std::vector<std::string> lines;
        std::istringstream in(Err);
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }
};

inline std::string SlurpText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Where the tool's standard streams lead, when not to the captured files.
struct CliStreams {
    std::string Stdin;   // a file read as standard input; empty: the test's own
    std::string Stdout;  // a file written as standard output ("/dev/full"); empty: captured
};

#ifdef _WIN32
// One argument as the program's command-line parser (CommandLineToArgvW)
// splits it again: quoted, with backslashes before a quote doubled.
inline std::wstring QuotedArgument(const std::wstring& arg) {
    if (!arg.empty() && arg.find_first_of(L" \t\"") == std::wstring::npos) return arg;
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(2 * backslashes, L'\\');
    return quoted + L"\"";
}

inline HANDLE InheritedFile(const std::string& path, bool write) {
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    return CreateFileW(PathFromUtf8(path).c_str(), write ? GENERIC_WRITE : GENERIC_READ,
                       FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, write ? CREATE_ALWAYS : OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Starts the program with its standard streams on the files and waits for
// its exit status.
inline int RunAndWait(const std::vector<std::string>& argv, const std::filesystem::path& folder,
                      const std::string& in, const std::string& out, const std::string& err) {
    std::wstring line;
    for (const auto& arg : argv) line += (line.empty() ? L"" : L" ") + QuotedArgument(PathFromUtf8(arg).wstring());
    const HANDLE files[3] = {in.empty() ? GetStdHandle(STD_INPUT_HANDLE) : InheritedFile(in, false),
                             InheritedFile(out, true), InheritedFile(err, true)};
    STARTUPINFOW start{};
    start.cb = sizeof start;
    start.dwFlags = STARTF_USESTDHANDLES;
    start.hStdInput = files[0];
    start.hStdOutput = files[1];
    start.hStdError = files[2];
    PROCESS_INFORMATION process{};
    const std::wstring directory = folder.wstring();
    // Under Wine a start now and then fails for want of the server's
    // attention on a loaded machine; a few tries tell that from a real fault.
    bool started = false;
    for (int attempt = 0; attempt < 3 && !started; ++attempt) {
        if (attempt > 0) Sleep(250);
        started = CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                 directory.empty() ? nullptr : directory.c_str(), &start, &process) != 0;
    }
    for (int i = in.empty() ? 1 : 0; i < 3; ++i) CloseHandle(files[i]);
    if (!started) return -1;
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD status = 0;
    GetExitCodeProcess(process.hProcess, &status);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(status);
}
#else
// Starts the program (argv[0]) with standard output and standard error on
// the files, standard input on `in` when not empty, in `folder` when not
// empty; gives the child's process id, or -1 when it could not be started.
inline pid_t StartProgram(std::vector<std::string> argv, const std::filesystem::path& folder, const std::string& in,
                          const std::string& out, const std::string& err) {
    std::vector<char*> pointers;
    for (auto& arg : argv) pointers.push_back(arg.data());
    pointers.push_back(nullptr);

    const pid_t child = fork();
    if (child == 0) {
        const int outFile = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int errFile = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (outFile < 0 || errFile < 0 || dup2(outFile, STDOUT_FILENO) < 0 || dup2(errFile, STDERR_FILENO) < 0)
            _exit(126);
        if (!in.empty()) {
            const int inFile = open(in.c_str(), O_RDONLY);
            if (inFile < 0 || dup2(inFile, STDIN_FILENO) < 0) _exit(126);
        }
        if (!folder.empty() && chdir(folder.c_str()) != 0) _exit(126);
        execv(pointers[0], pointers.data());
        _exit(127);
    }
    return child;
}

// Waits for the child to end; gives its status as waitpid reports it.
inline int WaitForProgram(pid_t child) {
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}
#endif

// Runs a program; `folder` becomes its current directory when not empty.
inline CliResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                            const std::filesystem::path& folder = {}, const CliStreams& streams = {}) {
    TempDir capture;
    const std::string outPath = streams.Stdout.empty() ? capture.File("stdout") : streams.Stdout;
    const std::string errPath = capture.File("stderr");
#ifdef _WIN32
    std::vector<std::string> argv{program};
    argv.insert(argv.end(), args.begin(), args.end());
    CliResult result;
    result.Status = RunAndWait(argv, folder, streams.Stdin, outPath, errPath);
    if (streams.Stdout.empty()) result.Out = SlurpText(outPath);
    result.Err = SlurpText(errPath);
    return result;
#else
    std::vector<std::string> argv{program};
    argv.insert(argv.end(), args.begin(), args.end());
    const pid_t child = StartProgram(std::move(argv), folder, streams.Stdin, outPath, errPath);
    CliResult result;
    if (child < 0) return result;
    // A tool that hangs is caught by ctest's time-out on the test, not here.
    const int status = WaitForProgram(child);
    if (WIFEXITED(status)) result.Status = WEXITSTATUS(status);
    if (streams.Stdout.empty()) result.Out = SlurpText(outPath);
    result.Err = SlurpText(errPath);
    return result;
#endif
}

#ifdef TONALUX_CLI_PATH
// Runs tonalux-cli.
inline CliResult RunCli(const std::vector<std::string>& args, const std::filesystem::path& folder = {},
                        const CliStreams& streams = {}) {
    return RunProgram(TONALUX_CLI_PATH, args, folder, streams);
}


#ifndef _WIN32
// Runs the tool with standard output and standard error on a pseudo-terminal,
// as in an interactive shell; both streams arrive together in Out.
inline CliResult RunCliOnTerminal(const std::vector<std::string>& args) {
    std::vector<std::string> argv{TONALUX_CLI_PATH};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> pointers;
    for (auto& arg : argv) pointers.push_back(arg.data());
    pointers.push_back(nullptr);

    CliResult result;
    int master = -1;
    const pid_t child = forkpty(&master, nullptr, nullptr, nullptr);
    if (child == 0) {
        execv(pointers[0], pointers.data());
        _exit(127);
    }
    if (child < 0) return result;
    // Read until the terminal closes; the child cannot block on a full
    // terminal buffer while this loop drains it.
    char buffer[4096];
    for (;;) {
        const ssize_t n = read(master, buffer, sizeof buffer);
        if (n <= 0) break;
        result.Out.append(buffer, static_cast<std::size_t>(n));
    }
    close(master);
    int status = 0;
    waitpid(child, &status, 0);
    if (WIFEXITED(status)) result.Status = WEXITSTATUS(status);
    return result;
}
#endif
#endif

}  // namespace tonalux::testing
