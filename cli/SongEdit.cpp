#include "SongEdit.h"

#include <iostream>

#include "Commands.h"
#include "Console.h"
#include "SongSession.h"
#include "SongFile.h"
#include "StandardMidifile.h"

namespace tonalux::cli {

const char* const kEditHelpFooter =
    "  --format 0|1   write format 0 (one track) or format 1 (a track per\n"
    "                 channel); without it a format 0 song stays format 0 and\n"
    "                 any other is written as format 1 (format 2, whose tracks\n"
    "                 are independent, with a warning)\n"
    "  --force        write the song even when OUT is a terminal\n"
    "\n"
    "FILE is only read: an OUT that is FILE, or a link to it, is refused. OUT is\n"
    "written completely or not at all; when OUT is a link, the file it names is\n"
    "replaced. FILE \"-\" reads the song from standard input, OUT \"-\" writes it to\n"
    "standard output (the report then goes to standard error). The song's own\n"
    "track names and copyright notices are kept: format 0 writes them where they\n"
    "were read, format 1 into its first track. A damaged FILE is written as far\n"
    "as it could be read, with exit status 1. A song is not written to a terminal\n"
    "unless --force is given.\n";

OptionSyntax FormatOption() { return {"--format", true, false}; }

OptionSyntax ForceOption() { return {"--force", false, false}; }

int OutputFormat(const std::string& command, const std::optional<int>& asked, const StandardMidifile& engine,
                 const std::string& file) {
    if (asked) return *asked;
    if (engine.Format == 2)
        PrintWarning(command, InputName(file) + " is format 2, of independent tracks; written as format 1, where "
                                                "they play at the same time");
    return FormatOfLoadedSong(engine);
}

int RunSongEdit(const std::string& command, const ParsedArguments& args, const SongChange& change) {
    std::optional<int> format;
    if (auto value = args.Value("--format")) format = ParseFormat(*value);
    const std::string& file = args.Positionals.at(0);
    const std::string& out = args.Positionals.at(1);
    SetStdoutCarriesSong(IsStandardStream(out));
    AllowSongOnTerminal(args.Has("--force"));

    if (!OutputIsNotTheInput(command, file, out)) return kExitFailure;

    SongSession session;
    StandardMidifile& engine = session.Engine;
    const SongRead read = session.Load(command, file);
    if (read == SongRead::Failed) return kExitFailure;
    const std::optional<std::string> summary = change(engine);
    if (!summary) {
        PrintError(command, "nothing written");
        return kExitFailure;
    }
    const int chosen = OutputFormat(command, format, engine, file);
    if (!SaveSong(engine, command, chosen, out)) return kExitFailure;
    Report() << *summary << (summary->empty() ? "" : "; ") << "wrote " << OutputName(out) << " (format " << chosen
             << ")\n";
    return read == SongRead::Whole ? kExitSuccess : kExitFailure;
}

}  // namespace tonalux::cli
