// The one way every writer of the system puts a whole file on disk: the bytes
// go to a fresh temporary file beside the target, are flushed to the disk, and
// only then is the temporary file renamed over the target. The target is
// therefore either the complete new file or as it was before, and no partial
// file is left behind.
//
// A target that is a symbolic link is written through: the file the link
// names is replaced and the link stays. An existing target that is not a
// regular file, or that its owner may not write, is not replaced.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tonalux {

struct ReplaceOutcome {
    bool Written = false;  // the target now holds exactly the bytes given
    bool Created = false;  // the temporary file could be created (false: nothing could be created there)
    int Error = 0;         // the system's error number of the failure (0 when written)
    std::string Reason;    // the system's text for it: "Permission denied", "No space left on device", ...

    explicit operator bool() const { return Written; }
};

// Writes `bytes` as the whole content of `target`, as described above.
ReplaceOutcome ReplaceFileContents(const std::string& target, const std::vector<std::uint8_t>& bytes);

// The outcome of the file the engine's writers (SaveMidifile) wrote last in
// this process; the engine's lists are process-wide, and so is this.
const ReplaceOutcome& LastSaveOutcome();

// Why the engine's last SaveMidifile returned false: the reason of its file
// replace, or the system's text for running out of memory when the file was
// never reached because the bytes could not be assembled.
std::string LastSaveFailure();

// Whether the two paths name the same existing file, links followed (the same
// device and file number). False when either does not exist.
bool SameFile(const std::string& first, const std::string& second);

}  // namespace tonalux
