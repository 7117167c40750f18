// tonalux-cli: the folder conversion and the engine's song operations for
// scripts. Finds the command, sorts its arguments and runs it; every error
// that reaches this level becomes one line on standard error.
#include <exception>
#include <iostream>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "Commands.h"
#include "Console.h"
#include "Platform.h"
#include "TonaluxVersion.h"

namespace tonalux::cli {

namespace {

const std::vector<Command>& CommandTable() {
    static const std::vector<Command> table{ConvertCommand(),   InfoCommand(),   DumpCommand(),
                                            AssembleCommand(),  ChordsCommand(), SaveCommand(),
                                            TransposeCommand(), SwapCommand(),   KetronCommand(),
                                            StripChordsCommand(), AddChordsCommand(), SetChordsCommand(),
                                            SetupCommand(), SheetCommand()};
    return table;
}

const Command* FindCommand(const std::string& name) {
    for (const auto& command : CommandTable())
        if (command.Name == name) return &command;
    return nullptr;
}

// The command the arguments name, or an empty text for none.
std::string CommandNameOf(const std::vector<std::string>& args) {
    bool quiet = false, verbose = false;
    for (const auto& arg : args) {
        if (IsVerbosityOption(arg, quiet, verbose)) continue;
        return FindCommand(arg) ? arg : std::string();
    }
    return std::string();
}

void PrintToolHelp(std::ostream& out) {
    out << "Usage: " << kProgramName << " COMMAND [ARGUMENTS]\n"
        << "\n"
        << "Converts Standard MIDI Files in batches and changes single songs.\n"
        << "\n"
        << "Commands:\n";
    for (const auto& command : CommandTable()) {
        std::string name = command.Name;
        name.resize(14, ' ');
        out << "  " << name << command.Summary << '\n';
    }
    out << "\n"
        << "Options of every command:\n"
        << "  --quiet, -q    leave out reports and progress; errors, and what dump,\n"
        << "                 info, chords and setup print, still appear\n"
        << "  --verbose, -v  also print details of the work on standard error\n"
        << "  --help, -h     show the arguments of the command\n"
        << "\n"
        << "  " << kProgramName << " --version, -V   show the version\n"
        << "\n"
        << "A song named \"-\" is read from standard input or written to standard output.\n"
        << "Channels are counted 1 to 16. Every problem is one line on standard error\n"
        << "naming the file and the cause; the MIDI engine's messages are part of it.\n"
        << "Inputs are never changed: an output that is an input, or a link to one, is\n"
        << "refused. The commands that change a song keep its track names and copyright\n"
        << "notices; convert leaves them out unless a setup file gives them.\n"
        << "Exit status: 0 when every song was read whole and everything was written,\n"
        << "1 when a song was damaged or could not be read, converted or written\n"
        << "(standard output included), 2 a wrong command line.\n"
        << "Run '" << kProgramName << " COMMAND --help' for the arguments of one command.\n";
}

void PrintCommandHelp(const Command& command) {
    std::cout << "Usage: " << kProgramName << ' ' << command.Usage << "\n\n" << command.Help;
}

// The command's output goes out before the tool ends; whether it arrived
// whole is checked once, in main, where a failed write turns a success into
// a failure with the system's reason.
int CheckedStatus(const std::string& /*command*/, int status) {
    std::cout.flush();
    return status;
}

int Run(std::vector<std::string> args) {
    // --quiet and --verbose may also stand in front of the command.
    bool quiet = false, verbose = false;
    while (!args.empty() && IsVerbosityOption(args[0], quiet, verbose)) args.erase(args.begin());
    if (args.empty()) {
        PrintError("", "no command given (see " + std::string(kProgramName) + " --help)");
        return kExitUsage;
    }
    const std::string name = args[0];
    if (name == "--version" || name == "-V") {
        std::cout << kProgramName << ' ' << kVersion << '\n';
        return CheckedStatus("", kExitSuccess);
    }
    if (name == "--help" || name == "-h" || name == "help") {
        if (name == "help" && args.size() > 1) {
            if (const Command* command = FindCommand(args[1])) {
                PrintCommandHelp(*command);
                return CheckedStatus("", kExitSuccess);
            }
            PrintError("", "unknown command '" + args[1] + "' (see " + std::string(kProgramName) + " --help)");
            return kExitUsage;
        }
        PrintToolHelp(std::cout);
        return CheckedStatus("", kExitSuccess);
    }
    const Command* command = FindCommand(name);
    if (!command) {
        PrintError("", "unknown command '" + name + "' (see " + std::string(kProgramName) + " --help)");
        return kExitUsage;
    }
    try {
        const std::vector<std::string> rest(args.begin() + 1, args.end());
        const ParsedArguments parsed = ParseArguments(rest, command->Syntax);
        if (parsed.HelpWanted) {
            PrintCommandHelp(*command);
            return CheckedStatus(name, kExitSuccess);
        }
        quiet = quiet || parsed.Quiet;
        verbose = verbose || parsed.Verbose;
        if (quiet && verbose) throw UsageError("--quiet and --verbose exclude each other");
        SetVerbosity(quiet ? Verbosity::Quiet : verbose ? Verbosity::Verbose : Verbosity::Normal);
        return CheckedStatus(name, command->Run(parsed));
    } catch (const UsageError& error) {
        PrintError(name, std::string(error.what()) + " (see " + kProgramName + ' ' + name + " --help)");
        return kExitUsage;
    } catch (const std::bad_alloc&) {
        PrintError(name, "out of memory");
        return kExitFailure;
    } catch (const std::exception& error) {
        PrintError(name, error.what());
        return kExitFailure;
    }
}

}  // namespace

}  // namespace tonalux::cli

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    tonalux::PrepareStandardStreams();
    tonalux::cli::CheckStandardOutput();
    const std::vector<std::string> args = tonalux::CommandLineArguments(argc, argv);
    int status = tonalux::cli::Run(args);
    // Results that did not reach standard output are a failure of the command.
    const std::string failure = tonalux::cli::StandardOutputFailure();
    if (!failure.empty()) {
        tonalux::cli::PrintError(tonalux::cli::CommandNameOf(args), "cannot write to standard output: " + failure);
        // A wrong command line keeps its status 2.
        if (status == tonalux::cli::kExitSuccess) status = tonalux::cli::kExitFailure;
    }
    return status;
}
