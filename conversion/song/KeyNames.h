// The tonic of the key a key signature names, as the song's facts and its
// chord sheet write it: one table for both.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace tonalux {

// The most sharps or flats a key signature has.
inline constexpr int kMostKeyFifths = 7;

// The tonic of the key of `fifths` sharps (positive) or flats (negative),
// -7 to 7, in major or in minor.
inline std::string_view KeyTonic(int fifths, bool minor) {
    static constexpr std::array<std::string_view, 15> kMajor{"Cb", "Gb", "Db", "Ab", "Eb", "Bb", "F", "C",
                                                             "G",  "D",  "A",  "E",  "B",  "F#", "C#"};
    static constexpr std::array<std::string_view, 15> kMinor{"Ab", "Eb", "Bb", "F",  "C",  "G",  "D", "A",
                                                             "E",  "B",  "F#", "C#", "G#", "D#", "A#"};
    const auto index = static_cast<std::size_t>(fifths + kMostKeyFifths);
    return minor ? kMinor[index] : kMajor[index];
}

}  // namespace tonalux
