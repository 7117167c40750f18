// Paths without a command: songs or folders dropped on the tool (the
// Explorer starts it with their paths). Each is converted as convert
// converts a folder: a song into a folder Convert/ in its own folder, a
// folder's songs into Convert/ beside that folder, so that a dropped
// Midifile/ fills the Convert/ next to it. Convert/ is made when it is
// missing. What became of each song is printed as convert prints it; a
// console window opened for the tool alone stays open until a key is
// pressed, so that the user can read it.
#include <algorithm>
#include <cctype>
#include <iostream>
#include <string>
#include <vector>

#include "Commands.h"
#include "Console.h"
#include "FolderConversion.h"
#include "Platform.h"

namespace tonalux::cli {

namespace {

// The songs of one run: dropped songs of one folder, or one dropped folder.
struct DroppedRun {
    ConversionFolders Folders;
    std::vector<std::string> Names;  // empty for a folder: its songs are listed at the run
    bool WholeFolder = false;
};

// The path without separators at its end (a root keeps its separator).
std::string WithoutTrailingSeparators(std::string path) {
    while (path.size() > 1 && std::string(kPathSeparators).find(path.back()) != std::string::npos) path.pop_back();
    return path;
}

// The folder part of a path with its separator: "Songs/A.mid" gives
// "Songs/", "A.mid" gives "./".
std::string FolderPart(const std::string& path) {
    const std::size_t cut = path.find_last_of(kPathSeparators);
    return cut == std::string::npos ? std::string("./") : path.substr(0, cut + 1);
}

std::string LastPart(const std::string& path) {
    const std::size_t cut = path.find_last_of(kPathSeparators);
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

bool IsSongName(const std::string& name) {
    if (name.size() < 4) return false;
    std::string suffix = name.substr(name.size() - 4);
    std::transform(suffix.begin(), suffix.end(), suffix.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return suffix == ".mid";
}

// Sorts the paths into runs; a path that is no song and no folder is one
// error line, and makes the status a failure.
std::vector<DroppedRun> SortIntoRuns(const std::vector<std::string>& paths, bool& anyProblem) {
    std::vector<DroppedRun> runs;
    for (const auto& given : paths) {
        const std::string path = WithoutTrailingSeparators(given);
        const FileStatus status = StatusOf(path);
        if (status.Kind == FileKind::Folder) {
            const std::string folder = path + '/';
            runs.push_back({{folder, FolderPart(path) + kOutputFolder}, {}, true});
        } else if (status.Kind == FileKind::Regular && IsSongName(path)) {
            const std::string folder = FolderPart(path);
            const auto sameFolder = [&folder](const DroppedRun& run) {
                return !run.WholeFolder && run.Folders.Input == folder;
            };
            auto run = std::find_if(runs.begin(), runs.end(), sameFolder);
            if (run == runs.end()) run = runs.insert(runs.end(), {{folder, folder + kOutputFolder}, {}, false});
            run->Names.push_back(LastPart(path));
        } else {
            anyProblem = true;
            PrintError("", given + ": " +
                               (status.Kind == FileKind::Missing ? status.Error.Reason
                                                                 : std::string("not a song (*.mid) or a folder")));
        }
    }
    return runs;
}

// One run: Convert/ made when missing, the folders checked as convert checks
// them, then the songs converted.
int ConvertRun(DroppedRun run, const ConversionOptions& options) {
    SystemError error;
    if (!MakeFolders(run.Folders.Output, error)) {
        PrintError("", "cannot make the folder " + run.Folders.Output + ": " + error.Reason);
        return kExitFailure;
    }
    const RunFolderCheck check = CheckRunFolders(run.Folders, options);
    if (check.Problem) {
        PrintError("", FolderProblemLine(*check.Problem));
        return kExitFailure;
    }
    if (run.WholeFolder) run.Names = check.Names;
    Report() << run.Folders.Input << " -> " << run.Folders.Output << '\n';
    return ConvertSongs(run.Folders, run.Names, options);
}

}  // namespace

bool IsDroppedPath(const std::string& argument) {
    return !argument.empty() && argument[0] != '-' && StatusOf(argument).Kind != FileKind::Missing;
}

int RunDroppedPaths(const std::vector<std::string>& paths) {
    bool anyProblem = false;
    const std::vector<DroppedRun> runs = SortIntoRuns(paths, anyProblem);
    const ConversionOptions options = MakeConversionOptions(RunChoices{});
    int status = anyProblem ? kExitFailure : kExitSuccess;
    for (const auto& run : runs) {
        const int runStatus = ConvertRun(run, options);
        // A stop signal ends the whole drop with its status.
        if (StopSignal() != 0) return runStatus;
        status = std::max(status, runStatus);
    }
    if (RunsInOwnConsoleWindow()) {
        std::cout << "Press a key to close this window.\n";
        std::cout.flush();
        WaitForKeyPress();
    }
    return status;
}

}  // namespace tonalux::cli
