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
#include "TonaluxVersion.h"

namespace tonalux::cli {

namespace {

const std::vector<Command>& CommandTable() {
    static const std::vector<Command> table{ConvertCommand(),   InfoCommand(),   DumpCommand(),
                                            AssembleCommand(),  ChordsCommand(), SaveCommand(),
                                            TransposeCommand(), SwapCommand(),   KetronCommand(),
                                            StripChordsCommand()};
    return table;
}

const Command* FindCommand(const std::string& name) {
    for (const auto& command : CommandTable())
        if (command.Name == name) return &command;
    return nullptr;
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
        << "  --quiet        print only errors\n"
        << "  --verbose      also print details of the work on standard error\n"
        << "  --help, -h     show the arguments of the command\n"
        << "\n"
        << "  " << kProgramName << " --version, -V   show the version\n"
        << "\n"
        << "A song named \"-\" is read from standard input or written to standard output.\n"
        << "Channels are counted 1 to 16. Messages of the MIDI engine go to standard error.\n"
        << "Exit status: 0 success, 1 a song could not be read, converted or written,\n"
        << "2 a wrong command line.\n"
        << "Run '" << kProgramName << " COMMAND --help' for the arguments of one command.\n";
}

void PrintCommandHelp(const Command& command) {
    std::cout << "Usage: " << kProgramName << ' ' << command.Usage << "\n\n" << command.Help;
}

// The command's output to standard output must have arrived whole; a failed
// write turns a success into a failure.
int CheckedStatus(const std::string& command, int status) {
    std::cout.flush();
    if (!std::cout) {
        PrintError(command, "could not write standard output");
        return kExitFailure;
    }
    return status;
}

int Run(std::vector<std::string> args) {
    // --quiet and --verbose may also stand in front of the command.
    bool quiet = false, verbose = false;
    while (!args.empty() && (args[0] == "--quiet" || args[0] == "--verbose")) {
        (args[0] == "--quiet" ? quiet : verbose) = true;
        args.erase(args.begin());
    }
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
    std::vector<std::string> args(argv + 1, argv + argc);
    const int status = tonalux::cli::Run(std::move(args));
    std::cout.flush();
    return status;
}
