// Data blocks for the records of one load. Small blocks are cut from shared
// chunks, so a song with tens of thousands of meta and system-exclusive events
// costs a handful of allocations instead of one per event. Each block is a
// DataBlock that shares ownership of its chunk: the chunk lives as long as any
// record refers to a block in it.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "MidiRecords.h"

namespace tonalux::detail {

class DataBlockArena {
public:
    // A block of `length` bytes copied from `source`, followed by one zero byte.
    DataBlock Make(const std::uint8_t* source, std::uint32_t length) {
        const std::size_t need = static_cast<std::size_t>(length) + 1;
        std::uint8_t* bytes = nullptr;
        DataBlock block;
        if (need > kLargeBlock) {
            block = DataBlock(new std::uint8_t[need]);
            bytes = block.get();
        } else {
            if (!chunk_ || used_ + need > kChunkSize) {
                chunk_ = DataBlock(new std::uint8_t[kChunkSize]);
                used_ = 0;
            }
            bytes = chunk_.get() + used_;
            used_ += need;
            block = DataBlock(chunk_, bytes);
        }
        if (length) std::copy(source, source + length, bytes);
        bytes[length] = 0;
        return block;
    }

private:
    static constexpr std::size_t kChunkSize = 64 * 1024;
    static constexpr std::size_t kLargeBlock = 4 * 1024;
    DataBlock chunk_;
    std::size_t used_ = 0;
};

// Data blocks of the load in progress. Only one engine object works at a
// time, so one arena serves every object.
inline DataBlockArena& LoadArena() {
    static DataBlockArena arena;
    return arena;
}

}  // namespace tonalux::detail
