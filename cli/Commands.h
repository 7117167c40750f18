// The tool's commands. Each one knows its syntax, its help text and how to
// run; the table in main.cpp lists them in the order --help shows them.
#pragma once

#include <string>

#include "Arguments.h"

namespace tonalux::cli {

// Exit statuses of the tool.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;  // a song could not be read, converted or written
inline constexpr int kExitUsage = 2;    // the command line was wrong

struct Command {
    std::string Name;
    std::string Summary;  // one line for the tool's --help
    std::string Usage;    // "tonalux-cli swap FILE OUT A B"
    std::string Help;     // the rest of the command's --help
    CommandSyntax Syntax;
    int (*Run)(const ParsedArguments& args);
};

Command ConvertCommand();
Command InfoCommand();
Command DumpCommand();
Command ChordsCommand();
Command SaveCommand();
Command TransposeCommand();
Command SwapCommand();
Command KetronCommand();
Command StripChordsCommand();
Command AddChordsCommand();
Command SetChordsCommand();
Command SetupCommand();
Command AssembleCommand();
Command SheetCommand();

}  // namespace tonalux::cli
