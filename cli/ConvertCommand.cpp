// tonalux-cli convert [DIR]: converts every song of DIR/Midifile/ into
// DIR/Convert/ with the same conversion code as the main window, so the same
// folder gives the same files.
#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "Commands.h"
#include "Component.h"
#include "Console.h"
#include "FolderConversion.h"
#include "StandardMidifile.h"

namespace fs = std::filesystem;

namespace tonalux::cli {

namespace {

// From this many songs on, a terminal shows a progress bar.
constexpr std::size_t kProgressBarSongs = 8;

using FileIdentity = std::pair<dev_t, ino_t>;

std::optional<FileIdentity> IdentityOf(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return std::nullopt;
    return FileIdentity{info.st_dev, info.st_ino};
}

// Whether any name the song's output can take (one per vocoder result) is
// one of the input files, through a link or because both folders are the
// same: then the conversion would write over a song of the input folder.
std::optional<std::string> OutputHittingInput(const std::string& destination,
                                              const std::set<FileIdentity>& inputs) {
    std::vector<std::string> candidates{InsertSuffix(destination, VocoderSuffix(kNoVocoderChannel))};
    for (int channel = 1; channel <= 16; ++channel)
        candidates.push_back(InsertSuffix(destination, VocoderSuffix(channel)));
    for (const auto& candidate : candidates)
        if (auto identity = IdentityOf(candidate); identity && inputs.count(*identity)) return candidate;
    return std::nullopt;
}

std::string Seconds(std::chrono::steady_clock::duration elapsed) {
    const double seconds = std::chrono::duration<double>(elapsed).count();
    char text[32];
    std::snprintf(text, sizeof text, "%.3f s", seconds);
    return text;
}

// A song that failed: one line among the others, or only the errors with --quiet.
void ReportFailure(const std::string& line) {
    if (CurrentVerbosity() == Verbosity::Quiet)
        PrintError("convert", line);
    else
        std::cout << line << '\n';
}

std::string WithSeparator(std::string folder) {
    if (folder.back() != '/') folder += '/';
    return folder;
}

std::string BaseFolderOf(const ParsedArguments& args) {
    if (args.Positionals.empty()) return CurrentBaseFolder();
    return WithSeparator(args.Positionals[0]);
}

// The folder an option names, or `fallback` under the base folder.
std::string FolderOption(const ParsedArguments& args, const std::string& option, const std::string& fallback) {
    const auto value = args.Value(option);
    if (!value) return BaseFolderOf(args) + fallback;
    if (value->empty()) throw UsageError("empty folder name for " + option);
    return WithSeparator(*value);
}

// A song in a subfolder is written to the same subfolder of the output
// folder, which is made when missing. False when it cannot be made.
bool MakeOutputSubfolder(const std::string& outputFolder, const std::string& name) {
    const fs::path parent = fs::path(name).parent_path();
    if (parent.empty()) return true;
    std::error_code ec;
    fs::create_directories(fs::path(outputFolder) / parent, ec);
    return fs::is_directory(fs::path(outputFolder) / parent, ec);
}

int RunConvert(const ParsedArguments& args) {
    ConversionOptions options;
    if (auto format = args.Value("--format")) options.SaveFormat = ParseFormat(*format);
    options.DeleteVocoderSysex = !args.Has("--keep-vocoder-sysex");
    options.StartFirstNote = args.Has("--start-at-first-note");
    options.Recursive = args.Has("--recursive");
    options.DryRun = args.Has("--dry-run");
    const int threshold = args.Value("--threshold") ? ParseThreshold(*args.Value("--threshold")) : kDefaultVelocityThreshold;
    if (!args.Positionals.empty() && args.Positionals[0].empty()) throw UsageError("empty folder name");

    const std::string inputFolder = FolderOption(args, "--in", kInputFolder);
    const std::string outputFolder = FolderOption(args, "--out", kOutputFolder);
    std::error_code ec;
    if (!fs::is_directory(inputFolder, ec)) {
        PrintError("convert", "folder not found: " + inputFolder);
        return kExitFailure;
    }
    // The output folder is never created here, as in the main window: a
    // missing one is reported once instead of once per song.
    if (!fs::is_directory(outputFolder, ec)) {
        PrintError("convert", "folder not found: " + outputFolder + " (create it to receive the songs)");
        return kExitFailure;
    }

    const std::vector<std::string> names = ListMidiSongs(inputFolder, options.Recursive, outputFolder);
    std::set<FileIdentity> inputs;
    for (const auto& name : names)
        if (auto identity = IdentityOf(inputFolder + name)) inputs.insert(*identity);

    PrintDetail("convert", "converting " + std::to_string(names.size()) + " songs of " + inputFolder + " into " +
                               outputFolder + ": format " + std::to_string(options.SaveFormat) + ", vocoder messages " +
                               (options.DeleteVocoderSysex ? "removed" : "kept") + ", threshold " +
                               std::to_string(threshold) + ", song start " +
                               (options.StartFirstNote ? "at the first note" : "as read") +
                               (options.Recursive ? ", with subfolders" : "") +
                               (options.DryRun ? ", writing nothing" : ""));
    ConsoleHost host(threshold);
    Component root(nullptr);
    ProgressBar bar(std::cout, names.size(),
                    StdoutIsTerminal() && names.size() >= kProgressBarSongs &&
                        CurrentVerbosity() != Verbosity::Quiet);
    host.SetProgressBar(&bar);

    std::size_t converted = 0, failed = 0, skipped = 0;
    const auto started = std::chrono::steady_clock::now();
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string& name = names[i];
        const std::string source = inputFolder + name;
        const std::string destination = outputFolder + name;
        bar.Show(i, name);

        if (auto hit = OutputHittingInput(destination, inputs)) {
            bar.Clear();
            ReportFailure(name + ": failed, its output " + *hit + " is an input song");
            ++failed;
            continue;
        }

        if (!options.DryRun && !MakeOutputSubfolder(outputFolder, name)) {
            bar.Clear();
            ReportFailure(name + ": failed, could not create the folder " +
                          (fs::path(outputFolder) / fs::path(name).parent_path()).string());
            ++failed;
            continue;
        }

        const auto songStarted = std::chrono::steady_clock::now();
        ConversionResult result;
        std::string exceptionText;
        try {
            result = ConvertMidifile(&root, source, destination, options);
        } catch (const std::exception& error) {
            exceptionText = error.what();
        }
        const auto elapsed = std::chrono::steady_clock::now() - songStarted;
        bar.Clear();

        if (!exceptionText.empty()) {
            ReportFailure(name + ": failed, " + exceptionText);
            ++failed;
        } else if (!result.SourceExisted) {
            Report() << name << ": skipped, not a file\n";
            ++skipped;
        } else if (!result.Loaded) {
            ReportFailure(name + ": failed, could not be read");
            ++failed;
        } else {
            const std::string output =
                (fs::path(name).parent_path() / fs::path(result.Destination).filename()).string();
            const std::string vocoder =
                result.VocoderResult == kNoVocoderChannel ? std::string("none") : std::to_string(result.VocoderResult);
            const std::string line = name + " -> " + output + "  vocoder " + vocoder + "  events " +
                                     std::to_string(result.EventCount) + "  " + Seconds(elapsed);
            if (result.Saved || options.DryRun) {
                Report() << line << '\n';
                ++converted;
            } else {
                ReportFailure(line + "  failed, could not be written");
                ++failed;
            }
        }
    }
    bar.Clear();
    Report() << names.size() << (names.size() == 1 ? " song: " : " songs: ") << converted
             << (options.DryRun ? " would be converted, " : " converted, ") << failed << " failed, " << skipped
             << " skipped in " << Seconds(std::chrono::steady_clock::now() - started)
             << (options.DryRun ? "; nothing written" : "") << '\n';
    return failed == 0 ? kExitSuccess : kExitFailure;
}

}  // namespace

Command ConvertCommand() {
    return {"convert",
            "convert every song of DIR/Midifile/ into DIR/Convert/",
            "convert [DIR] [--in DIR] [--out DIR] [--recursive] [--dry-run] [--format 0|1]\n"
            "                           [--keep-vocoder-sysex] [--threshold N] [--start-at-first-note]",
            std::string("Converts every *.mid file of DIR/Midifile/ (any letter case, in name order)\n"
            "into DIR/Convert/, which must exist. DIR is the current folder when not\n"
            "given. Each song is read, the keyboard's vocoder system-exclusive messages\n"
            "are removed, the vocoder channel is found, and the song is written under its\n"
            "name with \"_VOC-\" and the channel, or \"_NO-VOC\", in front of \".mid\".\n"
            "An existing output of that name is replaced. A song that cannot be read gets\n"
            "no output, nor does one whose output would be an input song (through a link,\n"
            "or when Convert/ is Midifile/).\n"
            "\n"
            "  --in DIR                read the songs from DIR instead of DIR/Midifile/\n"
            "  --out DIR               write the songs into DIR instead of DIR/Convert/;\n"
            "                          it must exist\n"
            "  --recursive             also convert the songs in subfolders of the input\n"
            "                          folder, each into the same subfolder of the output\n"
            "                          folder, which is created when missing; an output\n"
            "                          folder inside the input folder is left out\n"
            "  --dry-run               read and analyse every song and print what would be\n"
            "                          written, but write nothing\n"
            "  --format 0|1            write format 0 (default) or format 1\n"
            "  --keep-vocoder-sysex    keep the vocoder system-exclusive messages\n"
            "  --threshold N           velocity threshold of the vocoder analysis, 0 to\n"
            "                          127 (default ") +
                std::to_string(kDefaultVelocityThreshold) +
                "): the highest channel whose average\n"
                "                          note-on velocity is at most N is the vocoder channel\n"
                "  --start-at-first-note   move the first note of the song to tick 0\n"
                "\n"
                "Prints one line per song (input, output, vocoder channel, number of events,\n"
                "time) and a summary. Exit status 0 when every song was converted, 1 when\n"
                "any failed.\n",
            {{"DIR"},
             0,
             {{"--format", true, false},
              {"--keep-vocoder-sysex", false, false},
              {"--threshold", true, false},
              {"--start-at-first-note", false, false},
              {"--in", true, false},
              {"--out", true, false},
              {"--recursive", false, false},
              {"--dry-run", false, false}}},
            RunConvert};
}

}  // namespace tonalux::cli
