// tonalux-cli chords FILE: the tick and name of every keyboard chord event.
#include <iostream>

#include "ChordList.h"
#include "Commands.h"
#include "Component.h"
#include "Console.h"
#include "SongFile.h"
#include "StandardMidifile.h"

namespace tonalux::cli {

namespace {

int RunChords(const ParsedArguments& args) {
    const std::string& file = args.Positionals.at(0);
    ConsoleHost host(kDefaultVelocityThreshold);
    Component root(nullptr);
    StandardMidifile engine(&root);
    if (!LoadSong(engine, "chords", file)) return kExitFailure;

    bool allDecoded = true;
    for (const auto& chord : DecodeChords(engine)) {
        if (chord.Name) {
            Report() << chord.Tick << ' ' << *chord.Name << '\n';
        } else {
            allDecoded = false;
            PrintError("chords", ChordErrorText(chord));
        }
    }
    return allDecoded ? kExitSuccess : kExitFailure;
}

}  // namespace

Command ChordsCommand() {
    return {"chords",
            "list the keyboard chord events of a song",
            "chords FILE",
            "Prints one line per keyboard chord event of FILE, in the order of the song:\n"
            "\n"
            "  TICK NAME\n"
            "\n"
            "for example \"1920 F#m7\" or \"3840 C  /E\" (a chord over another bass note).\n"
            "A chord whose root cannot be decoded is named on standard error instead,\n"
            "and the exit status is then 1. FILE \"-\" reads the song from standard input.\n",
            {{"FILE"}, 1, {}},
            RunChords};
}

}  // namespace tonalux::cli
