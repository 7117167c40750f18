#include "StartArguments.h"

#include <filesystem>
#include <iostream>
#include <system_error>

#include "TonaluxVersion.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kProgram = "tonalux";

void PrintHelp() {
    std::cout << "Usage: " << kProgram << " [DIR]\n"
              << "\n"
              << "Opens the window of Tonalux & Belvorta on DIR, or on the current folder when\n"
              << "DIR is not given: the songs of DIR/Midifile/ are converted into DIR/Convert/.\n"
              << "Both folders must exist; the program creates neither.\n"
              << "\n"
              << "  --help, -h      show this help\n"
              << "  --version, -V   show the version\n";
}

int Refuse(const std::string& text) {
    std::cerr << kProgram << ": " << text << " (see " << kProgram << " --help)\n";
    return 2;
}

}  // namespace

std::optional<int> HandleStartArguments(const std::vector<std::string>& args) {
    std::vector<std::string> folders;
    bool optionsEnded = false;
    for (const auto& arg : args) {
        if (!optionsEnded && (arg == "--help" || arg == "-h")) {
            PrintHelp();
            return 0;
        }
        if (!optionsEnded && (arg == "--version" || arg == "-V")) {
            std::cout << kProgram << ' ' << tonalux::kVersion << '\n';
            return 0;
        }
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && arg.size() > 1 && arg[0] == '-') return Refuse("unknown option '" + arg + "'");
        folders.push_back(arg);
    }
    if (folders.size() > 1) return Refuse("unexpected argument '" + folders[1] + "'");
    if (folders.empty()) return std::nullopt;

    std::error_code ec;
    if (!fs::is_directory(folders[0], ec)) {
        std::cerr << kProgram << ": folder not found: " << folders[0] << '\n';
        return 1;
    }
    fs::current_path(folders[0], ec);
    if (ec) {
        std::cerr << kProgram << ": cannot work in " << folders[0] << ": " << ec.message() << '\n';
        return 1;
    }
    return std::nullopt;
}
