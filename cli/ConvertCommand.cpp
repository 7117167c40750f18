// tonalux-cli convert [DIR]: converts every song of DIR/Midifile/ (or of
// --in) into DIR/Convert/ (or --out) with the same conversion code as the main
// window, so the same folder gives the same files.
#include <chrono>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "Commands.h"
#include "Component.h"
#include "Console.h"
#include "FolderConversion.h"
#include "Platform.h"
#include "SetupReading.h"
#include "StandardMidifile.h"

namespace tonalux::cli {

namespace {

// From this many songs on, a terminal shows a progress bar.
constexpr std::size_t kProgressBarSongs = 8;

std::string Seconds(std::chrono::steady_clock::duration elapsed) {
    const double seconds = std::chrono::duration<double>(elapsed).count();
    char text[32];
    std::snprintf(text, sizeof text, "%.3f s", seconds);
    return text;
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

// What became of the chords, when the run was asked to add them.
std::string ChordsText(ChordsResult chords) {
    switch (chords) {
        case ChordsResult::NotAsked: break;
        case ChordsResult::Added: return "  chords added";
        case ChordsResult::AlreadyHad: return "  chords kept";
        case ChordsResult::NoneFound: return "  no chords found";
    }
    return {};
}

// A song read whole and written: "A.mid -> A_VOC-3.mid  vocoder 3  events 4210  0.004 s".
// Every other outcome: "Bad.mid: not a MIDI file (incorrect fileheader)", with
// no arrow, since nothing or not all of the song arrived.
std::string SongLine(const SongOutcome& outcome, std::chrono::steady_clock::duration elapsed) {
    if (outcome.Result != SongResult::Converted) return outcome.Name + ": " + DescribeOutcome(outcome);
    const std::string vocoder =
        outcome.VocoderChannel == kNoVocoderChannel ? std::string("none") : std::to_string(outcome.VocoderChannel);
    return outcome.Name + " -> " + outcome.Output + "  vocoder " + vocoder + "  events " +
           std::to_string(outcome.Load.Records) + ChordsText(outcome.Chords) +
           (outcome.Sheet.empty() ? std::string() : "  sheet " + outcome.Sheet) + "  " + Seconds(elapsed);
}

// "cannot read the folder Midifile/: Permission denied",
// "cannot write into the folder Convert/: it is the input folder Midifile/ (inputs are never changed)".
std::string FolderProblemLine(const FolderProblem& problem) {
    if (problem.Role == FolderRole::Input) return "cannot read the folder " + problem.Folder + ": " + problem.Reason;
    return "cannot write into the folder " + problem.Folder + ": " + problem.Reason +
           (problem.Error == 0 ? " (inputs are never changed)" : "");
}

// "SIGINT" for an interrupt (Ctrl+C), "SIGTERM", "SIGHUP" (a closed terminal).
std::string SignalName(int signal) {
    switch (signal) {
        case 1: return "SIGHUP";
        case 2: return "SIGINT";
        case 15: return "SIGTERM";
        default: return "signal " + std::to_string(signal);
    }
}

// The run over the listed songs, one line each and the summary; the exit status.
int ConvertSongs(const ConversionFolders& folders, const std::vector<std::string>& names,
                 const ConversionOptions& options) {
    ConsoleHost host(options.VelocityThreshold);
    Component root(nullptr);
    ProgressBar bar(std::cout, names.size(),
                    StdoutIsTerminal() && names.size() >= kProgressBarSongs &&
                        CurrentVerbosity() != Verbosity::Quiet);
    host.SetProgressBar(&bar);

    RunCounts counts;
    bool anyProblem = false;
    const auto started = std::chrono::steady_clock::now();
    auto songStarted = started;
    ConversionHooks hooks;
    // A stop signal ends the run between two songs: the song being written
    // is finished, so every output is complete or absent.
    CatchStopSignals();
    std::size_t done = 0;
    hooks.BeforeSong = [&](std::size_t index, const std::string& name) {
        if (StopSignal() != 0) return false;
        bar.Show(index, name);
        songStarted = std::chrono::steady_clock::now();
        return true;
    };
    hooks.AfterSong = [&](const SongOutcome& outcome) {
        const auto elapsed = std::chrono::steady_clock::now() - songStarted;
        bar.Clear();
        counts.Add(outcome);
        ++done;
        Report() << SongLine(outcome, elapsed) << '\n';
        // Each problem is also one line on standard error, naming the song.
        if (IsProblem(outcome)) {
            anyProblem = true;
            PrintError("convert", outcome.Name + ": " + DescribeOutcome(outcome));
        }
    };
    ConvertFolder(&root, folders, names, options, hooks);
    bar.Clear();
    Report() << counts.Text(options.DryRun) << " in " << Seconds(std::chrono::steady_clock::now() - started)
             << (options.DryRun ? "; nothing written" : "") << '\n';
    if (const int signal = StopSignal()) {
        PrintError("convert", "stopped by " + SignalName(signal) + " after " + std::to_string(done) + " of " +
                                  std::to_string(names.size()) + " songs; the others were not converted");
        StoppedSafely();
        return ExitStatusOfSignal(signal);
    }
    return anyProblem ? kExitFailure : kExitSuccess;
}

int RunConvert(const ParsedArguments& args) {
    RunChoices choices;
    if (auto format = args.Value("--format"))
        choices.Format = ParseFormat(*format) == 0 ? SaveFormat::Format0 : SaveFormat::Format1;
    if (args.Has("--start-at-first-note")) choices.StartFirstNote = true;
    choices.DeleteVocoderSysex = !args.Has("--keep-vocoder-sysex");
    choices.Recursive = args.Has("--recursive");
    choices.DryRun = args.Has("--dry-run");
    choices.AddChords = args.Has("--add-chords");
    choices.Sheets = args.Has("--sheets");
    if (auto threshold = args.Value("--threshold")) choices.VelocityThreshold = ParseThreshold(*threshold);
    if (!args.Positionals.empty() && args.Positionals[0].empty()) throw UsageError("empty folder name");
    std::optional<SongSettings> settings;
    if (auto setupFile = args.Value("--setup")) {
        settings = ReadSetup("convert", *setupFile);
        if (!settings) return kExitFailure;
        // A field the window would refuse stops the run before the first song.
        if (const auto problem = SongSettingsProblem(*settings)) {
            PrintError("convert", *problem);
            return kExitFailure;
        }
    }
    // The setup's two options count unless the command line names them.
    const ConversionOptions options = MakeConversionOptions(choices, settings);
    const int threshold = options.VelocityThreshold;

    const ConversionFolders folders{FolderOption(args, "--in", kInputFolder), FolderOption(args, "--out", kOutputFolder)};
    // The folders are checked once, before any song: a missing or unusable
    // folder is one message, not one per song.
    const RunFolderCheck check = CheckRunFolders(folders, options);
    if (check.Problem) {
        PrintError("convert", FolderProblemLine(*check.Problem));
        return kExitFailure;
    }
    const std::vector<std::string>& names = check.Names;

    PrintDetail("convert", "converting " + std::to_string(names.size()) + " songs of " + folders.Input + " into " +
                               folders.Output + ": format " + std::to_string(FormatNumber(options.Format)) + ", vocoder messages " +
                               (options.DeleteVocoderSysex ? "removed" : "kept") + ", threshold " +
                               std::to_string(threshold) + ", song start " +
                               (options.StartFirstNote ? "at the first note" : "as read") +
                               (options.Recursive ? ", with subfolders" : "") +
                               (options.DryRun ? ", writing nothing" : "") +
                               (options.AddChords ? ", chords from the notes" : "") +
                               (options.Sheets ? ", a ChordPro sheet beside each song" : ""));
    return ConvertSongs(folders, names, options);
}

}  // namespace

Command ConvertCommand() {
    return {"convert",
            "convert every song of DIR/Midifile/ into DIR/Convert/",
            "convert [DIR] [--in DIR] [--out DIR] [--recursive] [--dry-run] [--format 0|1]\n"
            "        [--keep-vocoder-sysex] [--threshold N] [--start-at-first-note] [--setup FILE.set]\n"
            "        [--add-chords] [--sheets]",
            std::string("Converts every *.mid file of DIR/Midifile/ (any letter case, in name order)\n"
            "into DIR/Convert/, which must exist. DIR is the current folder when not\n"
            "given. Each song is read, the keyboard's vocoder system-exclusive messages\n"
            "are removed, the vocoder channel is found, and the song is written under its\n"
            "name with \"_VOC-\" and the channel, or \"_NO-VOC\", in front of \".mid\".\n"
            "An existing output of that name is replaced. Both folders are checked first:\n"
            "if Midifile/ cannot be read, no file can be made in Convert/, or Convert/ is\n"
            "Midifile/ under another name (a link, \"..\", a bind mount), nothing is\n"
            "converted. A song that is not a MIDI file or cannot be read gets no output,\n"
            "nor does one whose output would be an input song (an output name in\n"
            "Convert/ that is a link to it). A damaged song is converted as far as it\n"
            "could be read. Copyright notices and track names are written to the outputs\n"
            "only as --setup gives them.\n"
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
                "  --setup FILE.set        apply the settings of a setup file to every song:\n"
                "                          the channel swaps, then the sound mapping, then the\n"
                "                          copyright text and track name at the start of the\n"
                "                          first track (see 'tonalux-cli setup'); the vocoder\n"
                "                          channel is found after them. The setup's format and\n"
                "                          song-start options count unless --format or\n"
                "                          --start-at-first-note is given. A field the window\n"
                "                          would refuse (as 'setup' names it) stops the run\n"
                "                          before the first song\n"
                "  --add-chords            add keyboard chord events recognised from the notes\n"
                "                          (as add-chords does) to every song that has none;\n"
                "                          the summary counts the songs that got chords and\n"
                "                          those that kept their own\n"
                "  --sheets                write the chord sheet of every converted song beside\n"
                "                          it as ChordPro text (as 'sheet' prints it), named\n"
                "                          like the output with \".cho\" in place of \".mid\":\n"
                "                          Song_VOC-3.cho beside Song_VOC-3.mid\n"
                "\n"
                "Prints one line per song: for a song read whole and written its input,\n"
                "output, vocoder channel, number of events and time; for any other song what\n"
                "happened to it (damaged, not a MIDI file, could not be read or written, with\n"
                "the system's reason, or skipped). Each problem is also one line on standard\n"
                "error. Then a summary of the counts. Exit status 0 when every song was read\n"
                "whole and written, 1 when any was damaged, failed or skipped because of an\n"
                "input song. SIGINT (Ctrl+C), SIGTERM and SIGHUP stop the run after the song\n"
                "being written, which is complete: the tool says how many songs were done\n"
                "and exits with 130, 143 or 129.\n",
            {{"DIR"},
             0,
             {{"--format", true, false},
              {"--keep-vocoder-sysex", false, false},
              {"--threshold", true, false},
              {"--start-at-first-note", false, false},
              {"--setup", true, false},
              {"--in", true, false},
              {"--out", true, false},
              {"--recursive", false, false},
              {"--dry-run", false, false},
              {"--add-chords", false, false},
              {"--sheets", false, false}}},
            RunConvert};
}

}  // namespace tonalux::cli
