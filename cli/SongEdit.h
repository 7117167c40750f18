// The common course of the commands that change a song: check the command
// line, read FILE, make the change, write OUT. Nothing is written when the
// change fails.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "Arguments.h"

namespace tonalux {
class StandardMidifile;
}

namespace tonalux::cli {

// The change itself: returns a one-line summary of what it did, or nothing
// when it failed (after printing why).
using SongChange = std::function<std::optional<std::string>(StandardMidifile&)>;

// The --format option every changing command accepts.
OptionSyntax FormatOption();

// --force: write the song even to a terminal.
OptionSyntax ForceOption();
// The format OUT is written in: `asked` when given, otherwise the format of
// FormatOfLoadedSong. A format 2 song written as format 1 gets a warning
// naming `file`, since its independent tracks then play at the same time.
int OutputFormat(const std::string& command, const std::optional<int>& asked, const StandardMidifile& engine,
                 const std::string& file);

// Runs a changing command whose first two positionals are FILE and OUT.
// Parses --format before anything is read, so a wrong command line never
// gets as far as the files. Returns the exit status.
int RunSongEdit(const std::string& command, const ParsedArguments& args, const SongChange& change);

// The help paragraph shared by the changing commands.
extern const char* const kEditHelpFooter;

}  // namespace tonalux::cli
