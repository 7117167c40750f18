// tonalux-cli convert [DIR]: converts every song of DIR/Midifile/ into
// DIR/Convert/ with the same conversion code as the main window, so the same
// folder gives the same files.
#include <chrono>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "Commands.h"
#include "Component.h"
#include "Console.h"
#include "FolderConversion.h"
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

std::string BaseFolderOf(const ParsedArguments& args) {
    if (args.Positionals.empty()) return CurrentBaseFolder();
    std::string base = args.Positionals[0];
    if (base.back() != '/') base += '/';
    return base;
}

// A song read whole and written: "A.mid -> A_VOC-3.mid  vocoder 3  events 4210  0.004 s".
// Every other outcome: "Bad.mid: not a MIDI file (incorrect fileheader)", with
// no arrow, since nothing or not all of the song arrived.
std::string SongLine(const SongOutcome& outcome, std::chrono::steady_clock::duration elapsed) {
    if (outcome.Result != SongResult::Converted) return outcome.Name + ": " + DescribeOutcome(outcome);
    const std::string vocoder =
        outcome.VocoderChannel == kNoVocoderChannel ? std::string("none") : std::to_string(outcome.VocoderChannel);
    return outcome.Name + " -> " + outcome.Output + "  vocoder " + vocoder + "  events " +
           std::to_string(outcome.Load.Records) + "  " + Seconds(elapsed);
}

int RunConvert(const ParsedArguments& args) {
    ConversionOptions options;
    if (auto format = args.Value("--format")) options.SaveFormat = ParseFormat(*format);
    options.DeleteVocoderSysex = !args.Has("--keep-vocoder-sysex");
    options.StartFirstNote = args.Has("--start-at-first-note");
    const int threshold =
        args.Value("--threshold") ? ParseThreshold(*args.Value("--threshold")) : kDefaultVelocityThreshold;
    if (!args.Positionals.empty() && args.Positionals[0].empty()) throw UsageError("empty folder name");
    if (auto setupFile = args.Value("--setup")) {
        const auto setup = ReadSetup("convert", *setupFile);
        if (!setup) return kExitFailure;
        // A value outside its range stops the run before the first song.
        if (const auto problem = SoundMappingProblem(setup->Programs)) {
            PrintError("convert", *problem);
            return kExitFailure;
        }
        options.ApplySettings = true;
        options.Settings = *setup;
        // The setup's two options count unless the command line names them.
        if (!args.Value("--format")) options.SaveFormat = setup->Information.Format0 != 0 ? 0 : 1;
        if (!args.Has("--start-at-first-note")) options.StartFirstNote = setup->Information.FastPlay != 0;
    }

    const ConversionFolders folders = DefaultFolders(BaseFolderOf(args));
    // The folders are checked once, before any song: a missing or unusable
    // folder is one message, not one per song. Neither folder is created.
    const SongListing listing = ListSongs(folders.Input);
    if (listing.Problem) {
        PrintError("convert", "cannot read the folder " + listing.Problem->Folder + ": " + listing.Problem->Reason);
        return kExitFailure;
    }
    if (auto problem = CheckOutputFolder(folders.Output)) {
        PrintError("convert", "cannot write into the folder " + problem->Folder + ": " + problem->Reason);
        return kExitFailure;
    }
    const std::vector<std::string>& names = listing.Names;

    ConsoleHost host(threshold);
    Component root(nullptr);
    ProgressBar bar(std::cout, names.size(), StdoutIsTerminal() && names.size() >= kProgressBarSongs);
    host.SetProgressBar(&bar);

    RunCounts counts;
    bool anyProblem = false;
    const auto started = std::chrono::steady_clock::now();
    auto songStarted = started;
    ConversionHooks hooks;
    hooks.BeforeSong = [&](std::size_t index, const std::string& name) {
        bar.Show(index, name);
        songStarted = std::chrono::steady_clock::now();
        return true;
    };
    hooks.AfterSong = [&](const SongOutcome& outcome) {
        const auto elapsed = std::chrono::steady_clock::now() - songStarted;
        bar.Clear();
        counts.Add(outcome);
        std::cout << SongLine(outcome, elapsed) << '\n';
        // Each problem is also one line on standard error, naming the song.
        if (IsProblem(outcome)) {
            anyProblem = true;
            PrintError("convert", outcome.Name + ": " + DescribeOutcome(outcome));
        }
    };
    ConvertFolder(&root, folders, names, options, hooks);
    bar.Clear();
    std::cout << counts.Text() << " in " << Seconds(std::chrono::steady_clock::now() - started) << '\n';
    return anyProblem ? kExitFailure : kExitSuccess;
}

}  // namespace

Command ConvertCommand() {
    return {"convert",
            "convert every song of DIR/Midifile/ into DIR/Convert/",
            "convert [DIR] [--format 0|1] [--keep-vocoder-sysex] [--threshold N] [--start-at-first-note]\n"
            "        [--setup FILE.set]",
            std::string("Converts every *.mid file of DIR/Midifile/ (any letter case, in name order)\n"
            "into DIR/Convert/, which must exist. DIR is the current folder when not\n"
            "given. Each song is read, the keyboard's vocoder system-exclusive messages\n"
            "are removed, the vocoder channel is found, and the song is written under its\n"
            "name with \"_VOC-\" and the channel, or \"_NO-VOC\", in front of \".mid\".\n"
            "An existing output of that name is replaced. Both folders are checked first:\n"
            "if Midifile/ cannot be read or no file can be made in Convert/, nothing is\n"
            "converted. A song that is not a MIDI file or cannot be read gets no output,\n"
            "nor does one whose output would be an input song (through a link, or when\n"
            "Convert/ is Midifile/). A damaged song is converted as far as it could be\n"
            "read. Copyright notices and track names are not written to the outputs.\n"
            "\n"
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
                "                          --start-at-first-note is given. A mapping value out\n"
                "                          of range stops the run before the first song\n"
                "\n"
                "Prints one line per song: for a song read whole and written its input,\n"
                "output, vocoder channel, number of events and time; for any other song what\n"
                "happened to it (damaged, not a MIDI file, could not be read or written, with\n"
                "the system's reason, or skipped). Each problem is also one line on standard\n"
                "error. Then a summary of the counts. Exit status 0 when every song was read\n"
                "whole and written, 1 when any was damaged, failed or skipped because of an\n"
                "input song.\n",
            {{"DIR"},
             0,
             {{"--format", true, false},
              {"--keep-vocoder-sysex", false, false},
              {"--threshold", true, false},
              {"--start-at-first-note", false, false},
              {"--setup", true, false}}},
            RunConvert};
}

}  // namespace tonalux::cli
