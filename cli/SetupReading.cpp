#include "SetupReading.h"

#include "Console.h"
#include "settings/SetupFile.h"

namespace tonalux::cli {

std::optional<SongSettings> ReadSetup(const std::string& command, const std::string& path) {
    SongSettings setup;
    switch (settings::LoadSetupFile(path, setup.Programs, setup.Information)) {
        case settings::SetupLoadOutcome::Loaded: return setup;
        case settings::SetupLoadOutcome::CannotOpen: PrintError(command, "cannot read setup file " + path); break;
        case settings::SetupLoadOutcome::WrongSize:
            PrintError(command, "not a setup file (its size is no multiple of 312 bytes): " + path);
            break;
    }
    return std::nullopt;
}

}  // namespace tonalux::cli
