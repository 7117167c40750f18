// Chord names read back into the bytes of a keyboard chord event: the inverse
// of YamChordCalculate for every name it gives to a root with a note letter.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tonalux {

// The chord bytes a name stands for.
struct ChordBytes {
    std::uint8_t Root = 0x31;
    std::uint8_t Type = 0;
    std::uint8_t Bass = 0x7F;  // 0x7F: no separate bass
};

// Reads a name as YamChordCalculate writes it: a note letter C to B, its
// accidental ("b", "bb", "bbb", "#", "##", "###" or none), the chord type's
// text, and for a chord over another bass two blanks, "/", the bass letter and
// its accidental ("F#m7  /E"). Every chord type has a text of its own, so the
// name gives back the root, type and bass bytes it was made from. Nothing for
// a name that is not one of these.
std::optional<ChordBytes> ChordFromName(std::string_view name);

}  // namespace tonalux
