// tonalux-cli chords FILE: the tick and name of every keyboard chord event.
#include <iostream>

#include "ChordList.h"
#include "Commands.h"
#include "Console.h"
#include "SongSession.h"
#include "SongFile.h"
#include "StandardMidifile.h"

namespace tonalux::cli {

namespace {

int RunChords(const ParsedArguments& args) {
    const std::string& file = args.Positionals.at(0);
    SongSession session;
    StandardMidifile& engine = session.Engine;
    const SongRead read = session.Load("chords", file);
    if (read == SongRead::Failed) return kExitFailure;

    const auto chords = DecodeChords(engine);
    for (const auto& chord : chords)
        if (chord.Name) Output() << chord.Tick << ' ' << *chord.Name << '\n';
    const bool undecodable = ReportUndecodableChords("chords", chords);
    return read == SongRead::Whole && !undecodable ? kExitSuccess : kExitFailure;
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
            "A chord whose root names no note is named on standard error instead, and\n"
            "the exit status is then 1, as it is for a damaged FILE. FILE \"-\" reads the\n"
            "song from standard input.\n",
            {{"FILE"}, 1, {}},
            RunChords};
}

}  // namespace tonalux::cli
