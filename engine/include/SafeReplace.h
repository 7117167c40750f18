// The one way every writer of the system puts a whole file on disk is the
// safe replace of the platform layer (ReplaceFileContents in Platform.h);
// this adds what the engine's writers leave of their last file.
#pragma once

#include <string>

#include "Platform.h"

namespace tonalux {

// The outcome of the file the engine's writers (SaveMidifile) wrote last in
// this process; the engine's lists are process-wide, and so is this.
const ReplaceOutcome& LastSaveOutcome();

// Why the engine's last SaveMidifile returned false: the reason of its file
// replace, or the system's text for running out of memory when the file was
// never reached because the bytes could not be assembled.
std::string LastSaveFailure();

}  // namespace tonalux
