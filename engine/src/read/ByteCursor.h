// The only code that reads the bytes of a loaded file. A cursor walks a buffer
// up to a limit (the end of the file or of the chunk being read); every read
// that would pass the limit returns nothing and leaves the cursor where it was,
// so reading outside the file cannot happen at any call site.
//
// The cursor keeps no position of its own: it moves the one it is given, the
// reader's Bytepos while the reader walks a chunk, or a local one to look at
// bytes without moving on. So the reader's position is always one number.
#pragma once

#include <cstdint>
#include <optional>

#include "MidiBytes.h"

namespace tonalux::detail {

class ByteCursor {
public:
    ByteCursor(const std::uint8_t* buffer, std::uint32_t limit, std::uint32_t& position)
        : buffer_(buffer), limit_(limit), position_(position) {}

    std::uint32_t Position() const { return position_; }
    std::uint32_t Limit() const { return limit_; }
    std::uint32_t Remaining() const { return position_ < limit_ ? limit_ - position_ : 0; }

    // The byte at the cursor, without moving.
    std::optional<std::uint8_t> Peek() const {
        if (position_ >= limit_) return std::nullopt;
        return buffer_[position_];
    }

    std::optional<std::uint8_t> U8() {
        if (position_ >= limit_) return std::nullopt;
        return buffer_[position_++];
    }

    // Big-endian number of `count` bytes (1 to 4).
    std::optional<std::uint32_t> BigEndian(int count) {
        if (count <= 0 || Remaining() < static_cast<std::uint32_t>(count)) return std::nullopt;
        std::uint32_t value = 0;
        for (int i = 0; i < count; ++i) value = (value << 8) | buffer_[position_ + static_cast<std::uint32_t>(i)];
        position_ += static_cast<std::uint32_t>(count);
        return value;
    }
    std::optional<std::uint32_t> Be16() { return BigEndian(2); }
    std::optional<std::uint32_t> Be32() { return BigEndian(4); }

    // Variable-length quantity, read by the one rule of MidiBytes.h. A
    // quantity cut off by the limit gives nothing and leaves the cursor where
    // it was.
    std::optional<std::uint32_t> Vlq() {
        if (position_ >= limit_) return std::nullopt;
        const auto read = GetVlq(buffer_ + position_, buffer_ + limit_);
        if (!read) return std::nullopt;
        position_ += static_cast<std::uint32_t>(read->Bytes);
        return read->Value;
    }

    // `count` bytes from the cursor; nothing when fewer remain.
    std::optional<const std::uint8_t*> Bytes(std::uint32_t count) {
        if (Remaining() < count) return std::nullopt;
        const std::uint8_t* start = buffer_ + position_;
        position_ += count;
        return start;
    }

    void Skip(std::uint32_t count) { position_ = count < Remaining() ? position_ + count : limit_; }

private:
    const std::uint8_t* buffer_;
    std::uint32_t limit_;
    std::uint32_t& position_;
};

}  // namespace tonalux::detail
