// Writes a whole file through a temporary file beside it, renamed over the
// target only when every byte is on disk: a failure leaves an existing file
// as it was and no partial file behind.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tonalux::settings {

enum class ReplaceOutcome {
    Written,       // the target now holds exactly the bytes given
    CannotCreate,  // no file could be created in the target's folder
    WriteFailed,   // created, but writing or renaming failed; nothing changed
};

ReplaceOutcome ReplaceFileContents(const std::string& target, const std::vector<std::uint8_t>& bytes);

}  // namespace tonalux::settings
