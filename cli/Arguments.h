// The command line of one command: positional arguments and options, checked
// against what the command accepts, and the number rules shared by the commands.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace tonalux::cli {

// A command line the tool cannot act on. The text names the problem in one
// line; the tool prints it and ends with exit status 2.
class UsageError : public std::runtime_error {
public:
    explicit UsageError(const std::string& what) : std::runtime_error(what) {}
};

// One option a command accepts.
struct OptionSyntax {
    std::string Name;          // with the leading dashes: "--format"
    bool TakesValue = false;   // "--format 1" or "--format=1"
    bool Repeatable = false;   // "--channel 1 --channel 2"
};

// What a command accepts: the names of its positional arguments (the last
// ones may be optional, and the last one may repeat) and its options. Every
// command also accepts --quiet and --verbose.
struct CommandSyntax {
    std::vector<std::string> Positionals;
    std::size_t RequiredPositionals = 0;
    std::vector<OptionSyntax> Options;
    bool LastPositionalRepeats = false;  // "info FILE..."
};

// A command line sorted into positionals and options.
class ParsedArguments {
public:
    std::vector<std::string> Positionals;
    bool HelpWanted = false;
    bool Quiet = false;    // --quiet, -q: no reports or progress
    bool Verbose = false;  // --verbose, -v: details on standard error

    bool Has(const std::string& option) const;
    // The value of an option given once; empty when it was not given.
    std::optional<std::string> Value(const std::string& option) const;
    // Every value of a repeatable option, in command-line order.
    std::vector<std::string> Values(const std::string& option) const;

    void Add(const std::string& option, const std::string& value);

private:
    std::map<std::string, std::vector<std::string>> options_;
};

// Sorts the arguments behind the command name. "--help" or "-h" anywhere
// sets HelpWanted and skips every other check. "--" ends the options; "-"
// alone is a positional argument (standard input or output).
ParsedArguments ParseArguments(const std::vector<std::string>& args, const CommandSyntax& syntax);

// A whole decimal number within [low, high]; `what` names it in the error.
long long ParseInteger(const std::string& text, long long low, long long high, const std::string& what);

// A channel as the user counts it, 1 to 16; returns the engine's 0 to 15.
int ParseChannel(const std::string& text);

// The output format: "0" or "1".
int ParseFormat(const std::string& text);

// A velocity threshold, 0 to 127.
int ParseThreshold(const std::string& text);

}  // namespace tonalux::cli
