// The spelling of chord roots and basses.
#include "chords/ChordSpelling.h"

#include <array>
#include <cstdlib>

#include "ChordRecognition.h"

namespace tonalux {

namespace {

constexpr std::uint8_t kNatural = 3;  // accidental nibble of a natural; each step a sharp or flat more
constexpr int kLetters = 7;
// The pitch class of each natural, C to B.
constexpr std::array<int, kLetters> kNaturalPitch = {0, 2, 4, 5, 7, 9, 11};
// The place of each natural on the circle of fifths, C = 0.
constexpr std::array<int, kLetters> kNaturalFifths = {0, 2, 4, -1, 1, 3, 5};

// The scale degrees of a key: semitones above the tonic and the letters above
// the tonic's letter. A minor key has its raised sixth and seventh as well.
struct Degree {
    int Semitones;
    int Letters;
};
constexpr std::array<Degree, 7> kMajorDegrees = {{{0, 0}, {2, 1}, {4, 2}, {5, 3}, {7, 4}, {9, 5}, {11, 6}}};
constexpr std::array<Degree, 9> kMinorDegrees = {
    {{0, 0}, {2, 1}, {3, 2}, {5, 3}, {7, 4}, {8, 5}, {9, 5}, {10, 6}, {11, 6}}};

// Letters above the root of a chord tone, by its semitones above the root.
constexpr std::array<int, 12> kToneLetters = {0, 1, 1, 2, 2, 3, 4, 4, 4, 5, 6, 6};

int Modulo(int value, int by) { return ((value % by) + by) % by; }

// A pitch class outside the key: naturals stay natural; a black key takes the
// spelling nearer to the key on the circle of fifths (a sharp adds seven
// fifths, a flat takes seven away), a flat on a tie in keys with flats or none.
std::uint8_t SpellOutsideKey(int pc, int keyFifths) {
    for (int letter = 0; letter < kLetters; ++letter)
        if (kNaturalPitch[static_cast<std::size_t>(letter)] == pc) return detail::SpellOnLetter(pc, letter);
    int below = 0, above = 0;
    for (int letter = 0; letter < kLetters; ++letter) {
        if (kNaturalPitch[static_cast<std::size_t>(letter)] == pc - 1) below = letter;
        if (kNaturalPitch[static_cast<std::size_t>(letter)] == (pc + 1) % 12) above = letter;
    }
    const int centre = keyFifths + 1;
    const int sharpDistance = std::abs(kNaturalFifths[static_cast<std::size_t>(below)] + 7 - centre);
    const int flatDistance = std::abs(kNaturalFifths[static_cast<std::size_t>(above)] - 7 - centre);
    const bool sharp = sharpDistance < flatDistance || (sharpDistance == flatDistance && keyFifths > 0);
    return detail::SpellOnLetter(pc, sharp ? below : above);
}

}  // namespace

namespace detail {

std::uint8_t SpellOnLetter(int pitchClass, int letter) {
    const int natural = kNaturalPitch[static_cast<std::size_t>(Modulo(letter, kLetters))];
    const int accidental = Modulo(pitchClass - natural + 6, 12) - 6;  // -6 ... 5 semitones
    return static_cast<std::uint8_t>((kNatural + accidental) << 4 | (Modulo(letter, kLetters) + 1));
}

int LetterOf(std::uint8_t spelled) { return Modulo((spelled & 0x0F) - 1, kLetters); }

std::uint8_t SpellChordTone(int interval, std::uint8_t root) {
    const int rootPitch = Modulo(kNaturalPitch[static_cast<std::size_t>(LetterOf(root))] + (root >> 4) - kNatural, 12);
    const int semitones = Modulo(interval, 12);
    return SpellOnLetter(rootPitch + semitones, LetterOf(root) + kToneLetters[static_cast<std::size_t>(semitones)]);
}

std::uint8_t SpellLeadingNote(int pitchClass, std::uint8_t next) { return SpellOnLetter(pitchClass, LetterOf(next) - 1); }

}  // namespace detail

std::uint8_t SpellPitchClass(int pitchClass, int keyFifths, bool minor) {
    const int pc = Modulo(pitchClass, 12);
    // The tonic of the major key with this signature, and of its relative minor.
    int tonic = Modulo(keyFifths * 7, 12);
    int tonicLetter = Modulo(keyFifths * 4, kLetters);
    if (minor) tonic = Modulo(tonic - 3, 12), tonicLetter = Modulo(tonicLetter - 2, kLetters);
    const int above = Modulo(pc - tonic, 12);
    auto onScale = [&](const auto& degrees) -> int {
        for (const Degree& degree : degrees)
            if (degree.Semitones == above) return degree.Letters;
        return -1;
    };
    const int letters = minor ? onScale(kMinorDegrees) : onScale(kMajorDegrees);
    if (letters >= 0) return detail::SpellOnLetter(pc, tonicLetter + letters);
    return SpellOutsideKey(pc, keyFifths);
}

}  // namespace tonalux
