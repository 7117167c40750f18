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

// Reads a chord name as musicians write it, and every name ChordFromName
// reads (with the same bytes). The root: a letter C to B with "b", "bb",
// "#", "##" (or the signs "♭", "♯"). The chord type: the texts of the chord
// names or one of the usual spellings ("maj7", "M7", "Δ7" for Maj7; "min",
// "-" for m; "m7b5", "ø" for m7b5; "dim", "°" for d; "dim7", "°7" for d7;
// "+" for aug; "sus" for sus4; "7sus" for 7sus4; "9" for 7(9); "13" for
// 7(13); "5" for 1+5; "sus2" for 1+2+5; and more, listed in the README). A
// bass after "/" with any blanks around it: "C/E", "C /E". "N.C.", "NC" or
// "N" is no chord. Nothing for a name that is none of these.
std::optional<ChordBytes> ChordFromWrittenName(std::string_view name);

}  // namespace tonalux
