// How the notes of recognised chords are spelled: a root by the key it lies
// in, a bass by the root of its chord, a leading chord by where it goes.
#pragma once

#include <cstdint>

namespace tonalux::detail {

// The byte (accidental in the high nibble, letter C = 1 ... B = 7 in the low
// one) of pitch class `pitchClass` written with letter `letter` (0 C ... 6 B).
std::uint8_t SpellOnLetter(int pitchClass, int letter);

// The letter (0 C ... 6 B) of a spelled note byte.
int LetterOf(std::uint8_t spelled);

// A chord tone `interval` semitones above the root spelled `root`: a third
// three or four semitones above takes the letter two above the root's, and so
// on by the degree of the interval.
std::uint8_t SpellChordTone(int interval, std::uint8_t root);

// The root of a chord that leads a semitone up to a root spelled `next`: on
// the letter below `next`'s (C# before D, E before F).
std::uint8_t SpellLeadingNote(int pitchClass, std::uint8_t next);

}  // namespace tonalux::detail
