#include "SetupReading.h"

#include <cerrno>
#include <cstring>

#include "Console.h"
#include "SongReading.h"
#include "settings/SetupFile.h"

namespace tonalux::cli {

std::optional<SongSettings> ReadSetup(const std::string& command, const std::string& path) {
    // The setup reader names no cause when it cannot open a file; the system does.
    const InputFileCheck check = CheckInputFile(path);
    if (check.State != InputFileState::Readable) {
        PrintError(command, "cannot read setup file " + path + ": " + check.Reason);
        return std::nullopt;
    }
    SongSettings setup;
    errno = 0;
    switch (settings::LoadSetupFile(path, setup.Programs, setup.Information)) {
        case settings::SetupLoadOutcome::Loaded: return setup;
        case settings::SetupLoadOutcome::CannotOpen:
            PrintError(command, "cannot read setup file " + path + ": " + std::strerror(errno != 0 ? errno : EIO));
            break;
        case settings::SetupLoadOutcome::WrongSize:
            PrintError(command, "not a setup file (its size is no multiple of 312 bytes): " + path);
            break;
    }
    return std::nullopt;
}

}  // namespace tonalux::cli
