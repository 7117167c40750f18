// The engine's writers handing the assembled file to the one safe replace of
// the platform layer, and what they leave of their last file.
#include <cerrno>
#include <string>

#include "write/EventEncoding.h"
#include "lists/Hauptcontainer.h"
#include "SafeReplace.h"
#include "StandardMidifile.h"

namespace tonalux {

namespace {

ReplaceOutcome& LastSave() {
    static ReplaceOutcome outcome;
    return outcome;
}

}  // namespace

const ReplaceOutcome& LastSaveOutcome() { return LastSave(); }

std::string LastSaveFailure() {
    // A save whose bytes could not be assembled leaves the outcome of the one before.
    const ReplaceOutcome& last = LastSave();
    return last.Written || last.Reason.empty() ? ReasonOf(ENOMEM) : last.Reason;
}

bool StandardMidifile::PufferToFile(const std::string& fileName) {
    LastSave() = ReplaceFileContents(fileName, detail::Writer().WritePuffer);
    if (LastSave().Written) return true;
    CurrentEngineHost().ShowMessage(detail::kCannotWriteMessage);
    return false;
}

}  // namespace tonalux
