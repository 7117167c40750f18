#include "SongEdit.h"

#include <iostream>

#include "Commands.h"
#include "Component.h"
#include "Console.h"
#include "SongFile.h"
#include "StandardMidifile.h"

namespace tonalux::cli {

const char* const kEditHelpFooter =
    "  --format 0|1   write format 0 (one track) or format 1 (a track per\n"
    "                 channel); without it a format 0 song stays format 0 and\n"
    "                 any other is written as format 1\n"
    "\n"
    "FILE is only read. OUT is written completely or not at all; naming FILE as OUT\n"
    "replaces the song. FILE \"-\" reads the song from standard input, OUT \"-\"\n"
    "writes it to standard output (the report then goes to standard error).\n";

OptionSyntax FormatOption() { return {"--format", true, false}; }

int RunSongEdit(const std::string& command, const ParsedArguments& args, const SongChange& change) {
    std::optional<int> format;
    if (auto value = args.Value("--format")) format = ParseFormat(*value);
    const std::string& file = args.Positionals.at(0);
    const std::string& out = args.Positionals.at(1);
    SetStdoutCarriesSong(IsStandardStream(out));

    ConsoleHost host(kDefaultVelocityThreshold);
    Component root(nullptr);
    StandardMidifile engine(&root);
    if (!LoadSong(engine, command, file)) return kExitFailure;
    const std::optional<std::string> summary = change(engine);
    if (!summary) {
        PrintError(command, "nothing written");
        return kExitFailure;
    }
    const int chosen = format.value_or(FormatOfLoadedSong(engine));
    if (!SaveSong(engine, command, chosen, out)) return kExitFailure;
    Report() << *summary << (summary->empty() ? "" : "; ") << "wrote " << OutputName(out) << " (format " << chosen
             << ")\n";
    return kExitSuccess;
}

}  // namespace tonalux::cli
