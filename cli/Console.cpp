#include "Console.h"

#include <iostream>
#include <streambuf>

#include "Platform.h"

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

bool IsVerbosityOption(const std::string& arg, bool& quiet, bool& verbose) {
    if (arg == "--quiet" || arg == "-q") return quiet = true;
    if (arg == "--verbose" || arg == "-v") return verbose = true;
    return false;
}

std::ostream& Output() { return std::cout; }

std::ostream& Report() {
    // A stream without a buffer swallows what is written to it.
    static std::ostream nowhere(nullptr);
    if (verbosity == Verbosity::Quiet) return nowhere;
    return stdoutCarriesSong ? std::cerr : std::cout;
}

void PrintError(const std::string& command, const std::string& text) { PrintLine(command, text); }

void PrintWarning(const std::string& command, const std::string& text) {
    if (verbosity != Verbosity::Quiet) PrintLine(command, "warning: " + text);
}

void PrintNote(const std::string& command, const std::string& text) {
    if (verbosity != Verbosity::Quiet) PrintLine(command, text);
}

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
    PrintLine(context_, text);
}

bool StdoutIsTerminal() { return StandardOutputIsTerminal(); }

namespace {

// A write-only buffer over standard output's file descriptor. After the
// first failure it takes no more bytes, and the stream reports the failure.
class CheckedOutput final : public std::streambuf {
public:
    CheckedOutput() { setp(buffer_, buffer_ + sizeof buffer_); }
    const SystemError& Error() const { return error_; }

protected:
    int_type overflow(int_type c) override {
        if (!Drain()) return traits_type::eof();
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(c);
            pbump(1);
        }
        return traits_type::not_eof(c);
    }
    int sync() override { return Drain() ? 0 : -1; }

private:
    bool Drain() {
        if (error_.Code != 0) return false;
        const bool written = WriteStandardOutput(pbase(), static_cast<std::size_t>(pptr() - pbase()), error_);
        setp(buffer_, buffer_ + sizeof buffer_);
        return written;
    }

    char buffer_[1 << 16];
    SystemError error_;
};

// Never destroyed: the standard streams are flushed once more after every
// static object of the program is gone, and std::cout still uses this buffer.
CheckedOutput& StandardOutput() {
    static CheckedOutput* const output = new CheckedOutput;
    return *output;
}

}  // namespace

void CheckStandardOutput() { std::cout.rdbuf(&StandardOutput()); }

std::string StandardOutputFailure() {
    std::cout.flush();
    const SystemError& error = StandardOutput().Error();
    return error.Code == 0 ? std::string() : error.Reason;
}

}  // namespace tonalux::cli
