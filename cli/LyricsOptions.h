// The options of the commands that read and write a song's words: the
// charsets, the marks and the wrap, checked once for every command.
#pragma once

#include <optional>
#include <string>

#include "Arguments.h"
#include "SongLyrics.h"

namespace tonalux::cli {

// A charset option's value: "cp1252", "cp1250", "cp1251" or "utf-8";
// nothing when the option is not given.
std::optional<Charset> CharsetOption(const ParsedArguments& args, const std::string& option);

// --marks, --charset, --from-charset and --wrap as the writing takes them.
KeyboardLyricsOptions LyricsWritingOptions(const ParsedArguments& args);

// The syntax of those options.
OptionSyntax MarksOption();
OptionSyntax CharsetOutputOption();
OptionSyntax FromCharsetOption();
OptionSyntax WrapOption();

// The help lines of --from-charset, shared by the commands.
extern const char* const kFromCharsetHelp;

}  // namespace tonalux::cli
