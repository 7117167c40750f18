// tonalux-cli save FILE OUT: reads a song and writes it again.
#include "Commands.h"
#include "SongEdit.h"

namespace tonalux::cli {

namespace {

int RunSave(const ParsedArguments& args) {
    return RunSongEdit("save", args, [](StandardMidifile&) -> std::optional<std::string> { return ""; });
}

}  // namespace

Command SaveCommand() {
    return {"save",
            "read a song and write it again, as format 0 or 1",
            "save FILE OUT [--format 0|1]",
            std::string("Reads FILE and writes its records to OUT; the format 1 writer writes a\n"
                        "note-on of velocity 0 as a note-off.\n\n") + kEditHelpFooter,
            {{"FILE", "OUT"}, 2, {FormatOption(), ForceOption()}},
            RunSave};
}

}  // namespace tonalux::cli
