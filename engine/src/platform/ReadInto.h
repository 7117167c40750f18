// The read loop both systems' whole-file reads share: everything a source
// gives goes straight into the vector's own storage, so a file's bytes are
// copied once, from the system into the vector.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "Platform.h"

namespace tonalux::detail {

enum class ReadEnd { Whole, Failed, TooLarge };

// The room a read starts with when the source tells no size (a pipe, a
// device), and the least it grows by.
inline constexpr std::size_t kReadStep = 64 * 1024;

// Appends what `readSome(into, room)` gives to `bytes` until it gives 0 (the
// end); it returns the bytes read, or a negative number for an error it has
// recorded itself. `expected` is the size the system tells for the source (0
// when it tells none): room for that and one byte more is made at once, so
// that a file read whole takes one allocation and sees its end without
// growing. Otherwise the room doubles, never past one byte more than
// kMaxReadBytes: TooLarge as soon as more than that came, with `bytes`
// holding what was read.
template <typename ReadSome>
ReadEnd ReadInto(std::vector<std::uint8_t>& bytes, std::uint64_t expected, ReadSome readSome) {
    const std::size_t start = bytes.size();
    const std::size_t limit = start + static_cast<std::size_t>(kMaxReadBytes);
    std::size_t filled = start;
    std::size_t room = static_cast<std::size_t>(std::min<std::uint64_t>(expected, kMaxReadBytes)) + 1;
    bytes.resize(start + std::min(std::max(room, kReadStep), static_cast<std::size_t>(kMaxReadBytes) + 1));
    for (;;) {
        if (filled == bytes.size()) bytes.resize(std::min(filled + std::max(filled - start, kReadStep), limit + 1));
        const auto got = readSome(bytes.data() + filled, bytes.size() - filled);
        if (got <= 0) {
            bytes.resize(filled);
            return got == 0 ? ReadEnd::Whole : ReadEnd::Failed;
        }
        filled += static_cast<std::size_t>(got);
        if (filled > limit) {
            bytes.resize(filled);
            return ReadEnd::TooLarge;
        }
    }
}

}  // namespace tonalux::detail
