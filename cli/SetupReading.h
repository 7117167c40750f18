// Reading a setup file for the tool's commands, with the errors a user
// needs: a file that cannot be read or is not a setup file is named.
#pragma once

#include <optional>
#include <string>

#include "SongSettings.h"

namespace tonalux::cli {

// The blocks of the setup file at `path` (the last record counts, as in the
// window); nothing, after a one-line error, when it cannot be read or its
// size is not a multiple of 312 bytes.
std::optional<SongSettings> ReadSetup(const std::string& command, const std::string& path);

}  // namespace tonalux::cli
