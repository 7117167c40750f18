// The tool's commands. Each one knows its syntax, its help text and how to
// run; the table in main.cpp lists them in the order --help shows them.
#pragma once

#include <string>
#include <vector>

#include "Arguments.h"
#include "FolderConversion.h"

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
Command LyricsCommand();
Command KaraokeCommand();

// The songs `names` of folders.Input converted into folders.Output as convert
// converts them, one line each and the summary; the exit status.
int ConvertSongs(const ConversionFolders& folders, const std::vector<std::string>& names,
                 const ConversionOptions& options);

// "cannot read the folder Midifile/: Permission denied",
// "cannot write into the folder Convert/: it is the input folder Midifile/ (inputs are never changed)".
std::string FolderProblemLine(const FolderProblem& problem);

// Whether the first argument of a command line without a command names a
// file or folder: songs or folders dropped on the tool.
bool IsDroppedPath(const std::string& argument);

// Paths without a command: each song converted into a folder Convert/ beside
// it, each folder's songs into Convert/ beside that folder; the exit status.
int RunDroppedPaths(const std::vector<std::string>& paths);

}  // namespace tonalux::cli
