// Builds the 312 bytes of a setup file in a test, field by field at the
// file's offsets:
//
//   SetupBytes setup;                    // every program field "-", no pairs
//   setup.Row(1, 0, 1, 8, 5)             // row 1: bank 0 program 1 -> bank 8 program 5
//        .Copyright("(c) 2026")
//        .Swap(1, 3, 5);                 // pair 1: KANAL 3 and KANAL 5
//   WriteFile(path, setup.Bytes());
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>

#include "SongBuilder.h"

namespace tonalux::testing {

class SetupBytes {
public:
    static constexpr std::int32_t kDash = 999;  // "-"
    static constexpr std::int32_t kNoChannel = -1;

    SetupBytes() : bytes_(312, 0) {
        for (int row = 1; row <= 12; ++row) Row(row, kDash, kDash, kDash, kDash);
        for (int pair = 1; pair <= 8; ++pair) Swap(pair, kNoChannel, kNoChannel);
    }
    // Row 1..12 as the window shows it: source MSB and program, destination
    // MSB and program (programs 1..128), kDash for "-".
    SetupBytes& Row(int row, std::int32_t msbSource, std::int32_t programSource, std::int32_t msbDestination,
                    std::int32_t programDestination) {
        const std::size_t at = 4 * static_cast<std::size_t>(row - 1);
        Int32(at, msbSource);
        Int32(48 + at, msbDestination);
        Int32(96 + at, programSource);
        Int32(144 + at, programDestination);
        return *this;
    }
    // The texts' bytes as they stand: up to 25 bytes for the copyright (no
    // zero byte after 25), up to 25 for the track name.
    SetupBytes& Copyright(const std::string& text) { return Text(192, 25, text); }
    SetupBytes& Trackname(const std::string& text) { return Text(217, 26, text); }
    // Pair 1..8 with channels counted 1..16 as "KANAL n"; kNoChannel for none.
    SetupBytes& Swap(int pair, std::int32_t first, std::int32_t second) {
        const std::size_t at = 4 * static_cast<std::size_t>(pair - 1);
        Int32(244 + at, first == kNoChannel ? kNoChannel : first - 1);
        Int32(276 + at, second == kNoChannel ? kNoChannel : second - 1);
        return *this;
    }
    SetupBytes& StartAtFirstNote(bool on) {
        bytes_[308] = on ? 1 : 0;
        return *this;
    }
    SetupBytes& FormatZero(bool on) {
        bytes_[309] = on ? 1 : 0;
        return *this;
    }
    // Any 32-bit field at its file offset.
    SetupBytes& Int32(std::size_t offset, std::int32_t value) {
        const auto bits = static_cast<std::uint32_t>(value);
        for (int b = 0; b < 4; ++b) bytes_[offset + static_cast<std::size_t>(b)] = static_cast<std::uint8_t>(bits >> (8 * b));
        return *this;
    }
    // Any one-byte field (the options) at its file offset.
    SetupBytes& Byte(std::size_t offset, std::uint8_t value) {
        bytes_[offset] = value;
        return *this;
    }
    const testing::Bytes& Bytes() const { return bytes_; }

private:
    SetupBytes& Text(std::size_t offset, std::size_t width, const std::string& text) {
        std::fill(bytes_.begin() + static_cast<std::ptrdiff_t>(offset),
                  bytes_.begin() + static_cast<std::ptrdiff_t>(offset + width), 0);
        std::copy(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(std::min(text.size(), width)),
                  bytes_.begin() + static_cast<std::ptrdiff_t>(offset));
        return *this;
    }

    testing::Bytes bytes_;
};

}  // namespace tonalux::testing
