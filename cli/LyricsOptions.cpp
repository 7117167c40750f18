#include "LyricsOptions.h"

namespace tonalux::cli {

const char* const kFromCharsetHelp =
    "  --from-charset CS  read the words as charset CS instead of detecting it:\n"
    "                     cp1252 (Western), cp1250 (Central European), cp1251\n"
    "                     (Cyrillic) or utf-8\n";

namespace {

// The widest wrap taken: longer than any keyboard's line.
constexpr long long kWidestWrap = 1000;

}  // namespace

std::optional<Charset> CharsetOption(const ParsedArguments& args, const std::string& option) {
    const auto value = args.Value(option);
    if (!value) return std::nullopt;
    const auto charset = CharsetFromName(*value);
    if (!charset)
        throw UsageError("unknown charset '" + *value + "' for " + option + " (cp1252, cp1250, cp1251 or utf-8)");
    return charset;
}

KeyboardLyricsOptions LyricsWritingOptions(const ParsedArguments& args) {
    KeyboardLyricsOptions options;
    if (const auto marks = args.Value("--marks")) {
        if (*marks == "keyboard") options.Marks = LyricMarks::Keyboard;
        else if (*marks == "rp017") options.Marks = LyricMarks::Rp017;
        else throw UsageError("unknown marks '" + *marks + "' for --marks (keyboard or rp017)");
    }
    options.OutputCharset = CharsetOption(args, "--charset");
    options.FromCharset = CharsetOption(args, "--from-charset");
    if (const auto wrap = args.Value("--wrap"))
        options.Wrap = static_cast<std::size_t>(ParseInteger(*wrap, 1, kWidestWrap, "--wrap"));
    return options;
}

OptionSyntax MarksOption() { return {"--marks", true, false}; }
OptionSyntax CharsetOutputOption() { return {"--charset", true, false}; }
OptionSyntax FromCharsetOption() { return {"--from-charset", true, false}; }
OptionSyntax WrapOption() { return {"--wrap", true, false}; }

}  // namespace tonalux::cli
