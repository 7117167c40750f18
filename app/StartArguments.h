// The command line of the window program: "tonalux [DIR]" works on DIR
// instead of the folder it was started in; --help and --version answer on
// standard output without opening a window. The window toolkit's own options
// ("-platform offscreen", "-style fusion") pass to the application as before.
#pragma once

#include <optional>
#include <string>
#include <vector>

// Handles the arguments behind the program name. Returns the exit status
// when the program ends here (help, version, a wrong command line or a DIR
// that is no folder, each reported on standard output or standard error);
// otherwise DIR, when given, has become the current folder and nothing is
// returned. No folder is created. `folderGiven`, when not null, tells whether
// DIR was given.
std::optional<int> HandleStartArguments(const std::vector<std::string>& args, bool* folderGiven = nullptr);
