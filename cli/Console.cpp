#include "Console.h"

#include <unistd.h>

#include <iostream>

namespace tonalux::cli {

namespace {

Verbosity verbosity = Verbosity::Normal;
bool stdoutCarriesSong = false;

void PrintLine(const std::string& command, const std::string& text) {
    if (!stdoutCarriesSong) std::cout.flush();
    std::cerr << kProgramName;
    if (!command.empty()) std::cerr << ' ' << command;
    std::cerr << ": " << text << '\n';
}

}  // namespace

void SetVerbosity(Verbosity value) { verbosity = value; }

Verbosity CurrentVerbosity() { return verbosity; }

void SetStdoutCarriesSong(bool carries) { stdoutCarriesSong = carries; }

std::ostream& Report() {
    // A stream without a buffer swallows what is written to it.
    static std::ostream nowhere(nullptr);
    if (verbosity == Verbosity::Quiet) return nowhere;
    return stdoutCarriesSong ? std::cerr : std::cout;
}

void PrintError(const std::string& command, const std::string& text) { PrintLine(command, text); }

void PrintDetail(const std::string& command, const std::string& text) {
    if (verbosity == Verbosity::Verbose) PrintLine(command, text);
}

ProgressBar::ProgressBar(std::ostream& out, std::size_t total, bool enabled)
    : out_(out), total_(total), enabled_(enabled && total > 0) {}

ProgressBar::~ProgressBar() { Clear(); }

void ProgressBar::Show(std::size_t done, const std::string& current) {
    if (!enabled_) return;
    constexpr std::size_t kWidth = 30;
    const std::size_t filled = done * kWidth / total_;
    std::string line = "\r[";
    line.append(filled, '#');
    line.append(kWidth - filled, '.');
    line += "] " + std::to_string(done) + "/" + std::to_string(total_) + "  ";
    // Long names are cut so the bar stays on one line of a common terminal.
    constexpr std::size_t kNameWidth = 36;
    line += current.size() > kNameWidth ? current.substr(0, kNameWidth - 3) + "..." : current;
    out_ << line << "\x1b[K" << std::flush;
    drawn_ = true;
}

void ProgressBar::Clear() {
    if (!drawn_) return;
    out_ << "\r\x1b[K" << std::flush;
    drawn_ = false;
}

ConsoleHost::ConsoleHost(int threshold) : threshold_(threshold) { SetEngineHost(this); }

ConsoleHost::~ConsoleHost() { SetEngineHost(nullptr); }

void ConsoleHost::ShowMessage(const std::string& text) {
    ++messages_;
    if (bar_) bar_->Clear();
    PrintLine("", text);
}

bool StdoutIsTerminal() { return isatty(STDOUT_FILENO) == 1; }

}  // namespace tonalux::cli
