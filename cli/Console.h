// What the tool prints besides its results: error lines, the engine's
// messages, and the progress bar of a long conversion.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>

#include "EngineHost.h"

namespace tonalux::cli {

inline constexpr const char* kProgramName = "tonalux-cli";

// How much the tool says: --quiet (-q) leaves out the reports and the
// progress, keeping the errors and what a command prints for its purpose;
// --verbose (-v) adds details on standard error.
enum class Verbosity { Quiet, Normal, Verbose };

void SetVerbosity(Verbosity verbosity);
Verbosity CurrentVerbosity();

// Marks standard output as carrying a song, so that nothing else is printed
// there: reports move to standard error.
void SetStdoutCarriesSong(bool carries);

// Whether an argument is --quiet or --verbose, long or short ("-q", "-v");
// sets the matching flag.
bool IsVerbosityOption(const std::string& arg, bool& quiet, bool& verbose);

// Where a command prints what it did: standard output, standard error while
// standard output carries a song, and nowhere with --quiet.
std::ostream& Report();

// Where a command prints what it exists for (the records of dump, the report
// of info, the chords, the fields of a setup): standard output, --quiet or not.
std::ostream& Output();

// Prints "tonalux-cli <command>: <text>" on standard error.
void PrintError(const std::string& command, const std::string& text);

// Unless --quiet, prints "tonalux-cli <command>: warning: <text>" on standard error.
void PrintWarning(const std::string& command, const std::string& text);

// Unless --quiet, prints "tonalux-cli <command>: <text>" on standard error:
// what a command did, where standard output carries its result.
void PrintNote(const std::string& command, const std::string& text);

// With --verbose, prints "tonalux-cli <command>: <text>" on standard error.
void PrintDetail(const std::string& command, const std::string& text);

// A one-line bar redrawn in place: "[#####.....]  12/40  Song.mid". It is
// drawn only when enabled; Clear() wipes it so that other lines can be
// printed, and the next Show() draws it again.
class ProgressBar {
public:
    ProgressBar(std::ostream& out, std::size_t total, bool enabled);
    ~ProgressBar();
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    bool Enabled() const { return enabled_; }
    void Show(std::size_t done, const std::string& current);
    void Clear();

private:
    std::ostream& out_;
    std::size_t total_;
    bool enabled_;
    bool drawn_ = false;
};

// The engine's host for the tool: messages go to standard error (after the
// progress bar has been wiped), and the vocoder analysis reads the threshold
// given on the command line. Installed for its lifetime.
class ConsoleHost final : public EngineHost {
public:
    explicit ConsoleHost(int threshold);
    ~ConsoleHost() override;
    ConsoleHost(const ConsoleHost&) = delete;
    ConsoleHost& operator=(const ConsoleHost&) = delete;

    void ShowMessage(const std::string& text) override;
    int VelocityThreshold() const override { return threshold_; }

    void SetProgressBar(ProgressBar* bar) { bar_ = bar; }
    // Text put in front of every message, such as "info: song.mid", so
    // that each message names the command and the song it arose in.
    void SetContext(const std::string& context) { context_ = context; }
    std::size_t MessageCount() const { return messages_; }

private:
    int threshold_;
    ProgressBar* bar_ = nullptr;
    std::size_t messages_ = 0;
    std::string context_;
};

// True when standard output is a terminal.
bool StdoutIsTerminal();

// Sends std::cout through a buffer that remembers the first write to standard
// output that failed, so that a full disk or a closed file is reported instead
// of passing for success.
void CheckStandardOutput();
// Flushes std::cout; the system's reason of the first failed write ("No space
// left on device"), or an empty text when every write succeeded.
std::string StandardOutputFailure();

}  // namespace tonalux::cli
