// Saving the song: to a file through the one safe replace, or to bytes in
// memory. Both assemble the whole file in the writer's buffer first, by the
// format 0 writer (Format0Writer.cpp) or the format 1 writer
// (Format1Writer.cpp).
#include <exception>

#include "EventEncoding.h"
#include "Hauptcontainer.h"
#include "StandardMidifile.h"

namespace tonalux {

bool StandardMidifile::SaveMidifile(int format, const std::string& fileName) {
    try {
        return format == 0 ? FormatNullSave(fileName) : FormatOneSave(fileName);
    } catch (const std::exception&) {
        // Memory for the file could not be had: nothing is written.
        CurrentEngineHost().ShowMessage(detail::kCannotWriteMessage);
        return false;
    }
}

bool StandardMidifile::SaveMidiBytes(int format, std::vector<std::uint8_t>& bytes) {
    try {
        if (format == 0) {
            AssembleFormatNull();
        } else {
            AssembleFormatOne();
        }
        bytes = detail::Writer().WritePuffer;
        return true;
    } catch (const std::exception&) {
        // Memory for the file could not be had: no bytes.
        bytes.clear();
        return false;
    }
}

}  // namespace tonalux
