#include "Arguments.h"

#include <charconv>

#include "Console.h"

namespace tonalux::cli {

bool ParsedArguments::Has(const std::string& option) const { return options_.count(option) != 0; }

std::optional<std::string> ParsedArguments::Value(const std::string& option) const {
    auto it = options_.find(option);
    if (it == options_.end() || it->second.empty()) return std::nullopt;
    return it->second.back();
}

std::vector<std::string> ParsedArguments::Values(const std::string& option) const {
    auto it = options_.find(option);
    return it == options_.end() ? std::vector<std::string>{} : it->second;
}

void ParsedArguments::Add(const std::string& option, const std::string& value) {
    options_[option].push_back(value);
}

namespace {

const OptionSyntax* FindOption(const CommandSyntax& syntax, const std::string& name) {
    for (const auto& option : syntax.Options)
        if (option.Name == name) return &option;
    return nullptr;
}

// A negative number is an argument, not an option, so that "-3" reaches the
// number check and gets its message there.
bool LooksLikeOption(const std::string& arg) {
    return arg.size() > 1 && arg[0] == '-' && !(arg[1] >= '0' && arg[1] <= '9');
}

}  // namespace

ParsedArguments ParseArguments(const std::vector<std::string>& args, const CommandSyntax& syntax) {
    ParsedArguments parsed;
    for (const auto& arg : args)
        if (arg == "--help" || arg == "-h") {
            parsed.HelpWanted = true;
            return parsed;
        }

    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || !LooksLikeOption(arg)) {
            parsed.Positionals.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        std::string name = arg;
        std::optional<std::string> inlineValue;
        if (auto eq = arg.find('='); eq != std::string::npos && arg.rfind("--", 0) == 0) {
            name = arg.substr(0, eq);
            inlineValue = arg.substr(eq + 1);
        }
        if (IsVerbosityOption(arg, parsed.Quiet, parsed.Verbose)) continue;
        const OptionSyntax* option = FindOption(syntax, name);
        if (!option) throw UsageError("unknown option '" + name + "'");
        if (!option->Repeatable && parsed.Has(name)) throw UsageError("option " + name + " given twice");
        if (!option->TakesValue) {
            if (inlineValue) throw UsageError("option " + name + " takes no value");
            parsed.Add(name, "");
            continue;
        }
        if (inlineValue) {
            parsed.Add(name, *inlineValue);
        } else {
            if (i + 1 >= args.size()) throw UsageError("option " + name + " needs a value");
            parsed.Add(name, args[++i]);
        }
    }

    if (parsed.Positionals.size() < syntax.RequiredPositionals)
        throw UsageError("missing " + syntax.Positionals[parsed.Positionals.size()]);
    if (parsed.Quiet && parsed.Verbose) throw UsageError("--quiet and --verbose exclude each other");
    if (parsed.Positionals.size() > syntax.Positionals.size() && !syntax.LastPositionalRepeats)
        throw UsageError("unexpected argument '" + parsed.Positionals[syntax.Positionals.size()] + "'");
    return parsed;
}

long long ParseInteger(const std::string& text, long long low, long long high, const std::string& what) {
    const std::string rangeText = what + " must be a whole number from " + std::to_string(low) + " to " +
                                  std::to_string(high) + ", not '" + text + "'";
    std::string digits = text;
    if (!digits.empty() && digits[0] == '+') digits.erase(0, 1);
    long long value = 0;
    const char* first = digits.data();
    const char* last = first + digits.size();
    auto [end, error] = std::from_chars(first, last, value);
    if (digits.empty() || error != std::errc() || end != last || value < low || value > high)
        throw UsageError(rangeText);
    return value;
}

int ParseChannel(const std::string& text) { return static_cast<int>(ParseInteger(text, 1, 16, "channel")) - 1; }

int ParseFormat(const std::string& text) {
    if (text != "0" && text != "1") throw UsageError("format must be 0 or 1, not '" + text + "'");
    return text == "0" ? 0 : 1;
}

int ParseThreshold(const std::string& text) {
    return static_cast<int>(ParseInteger(text, 0, 127, "threshold"));
}

}  // namespace tonalux::cli
