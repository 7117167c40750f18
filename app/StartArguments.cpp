#include "StartArguments.h"

#include <array>
#include <filesystem>
#include <iostream>
#include <string_view>
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
              << "Without DIR, the start folder is used when it holds Midifile/, else the\n"
              << "working folder chosen last in the window's menu. A missing folder is\n"
              << "created only when the window asks and the user agrees.\n"
              << "\n"
              << "  --help, -h      show this help\n"
              << "  --version, -V   show the version\n";
}

// The options of the window toolkit, which the application reads itself
// ("-platform offscreen", "-style=fusion", also with two dashes), and whether
// each takes a value.
struct ToolkitOption {
    std::string_view Name;
    bool TakesValue;
};
constexpr std::array<ToolkitOption, 19> kToolkitOptions{{{"platform", true},
                                                         {"platformpluginpath", true},
                                                         {"platformtheme", true},
                                                         {"plugin", true},
                                                         {"qmljsdebugger", true},
                                                         {"qwindowgeometry", true},
                                                         {"qwindowicon", true},
                                                         {"qwindowtitle", true},
                                                         {"session", true},
                                                         {"style", true},
                                                         {"stylesheet", true},
                                                         {"display", true},
                                                         {"geometry", true},
                                                         {"reverse", false},
                                                         {"widgetcount", false},
                                                         {"nograb", false},
                                                         {"dograb", false},
                                                         {"sync", false},
                                                         {"graphicssystem", true}}};

// The toolkit option `arg` names, if any.
const ToolkitOption* FindToolkitOption(const std::string& arg) {
    std::string_view name(arg);
    name.remove_prefix(name.rfind("--", 0) == 0 ? 2 : 1);
    name = name.substr(0, name.find('='));
    for (const auto& option : kToolkitOptions)
        if (option.Name == name) return &option;
    return nullptr;
}

int Refuse(const std::string& text) {
    std::cerr << kProgram << ": " << text << " (see " << kProgram << " --help)\n";
    return 2;
}

}  // namespace

std::optional<int> HandleStartArguments(const std::vector<std::string>& args, bool* folderGiven) {
    std::vector<std::string> folders;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
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
        if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
            const ToolkitOption* option = FindToolkitOption(arg);
            if (!option) return Refuse("unknown option '" + arg + "'");
            if (option->TakesValue && arg.find('=') == std::string::npos) ++i;  // its value is no folder
            continue;
        }
        folders.push_back(arg);
    }
    if (folders.size() > 1) return Refuse("unexpected argument '" + folders[1] + "'");
    if (folders.empty()) return std::nullopt;
    if (folderGiven) *folderGiven = true;

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
