// Saving the song: to a file through the one safe replace, or to bytes in
// memory. Both assemble the whole file in the writer's buffer first, by the
// format 0 writer (Format0Writer.cpp) or the format 1 writer
// (Format1Writer.cpp).
#include <exception>

#include "write/EventEncoding.h"
#include "lists/Hauptcontainer.h"
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
    // The file is assembled right in the caller's vector, which lends the
    // writer its room for the time of the save: no copy, and the writer's
    // own buffer keeps the last file saved (WrittenBytes).
    auto& buffer = detail::Writer().WritePuffer;
    buffer.swap(bytes);
    try {
        if (format == 0) {
            AssembleFormatNull();
        } else {
            AssembleFormatOne();
        }
    } catch (const std::exception&) {
        // Memory for the file could not be had: no bytes.
        buffer.swap(bytes);
        bytes.clear();
        return false;
    }
    buffer.swap(bytes);
    return true;
}

}  // namespace tonalux
