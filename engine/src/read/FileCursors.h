// The reader's cursors over the bytes being read. Every event of a song goes
// through them, so they are defined here, where each source of the reader
// can inline them, rather than in one source of their own.
#pragma once

#include "StandardMidifile.h"
#include "read/ByteCursor.h"

namespace tonalux {

inline detail::ByteCursor StandardMidifile::FileCursor(std::uint32_t& position) const {
    return detail::ByteCursor(FileBuffer, FileBuffer ? FileSize : 0, position);
}

// chunkEnd_ never passes the bytes held: it is 0 while no file is held and
// limited to the file's size when a chunk is entered.
inline detail::ByteCursor StandardMidifile::ChunkCursor(std::uint32_t& position) const {
    return detail::ByteCursor(FileBuffer, chunkEnd_, position);
}

}  // namespace tonalux
