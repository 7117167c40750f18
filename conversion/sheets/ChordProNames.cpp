// Chord names as ChordPro readers and musicians write them, from the bytes
// of a keyboard chord event: root, chord type, bass.
#include <array>
#include <string>
#include <string_view>

#include "SongSheet.h"

namespace tonalux {

namespace {

// High nibble of a root or bass byte: its accidental.
constexpr std::array<std::string_view, 7> kAccidentals = {"bbb", "bb", "b", "", "#", "##", "###"};
// Low nibble: its letter (0 names none).
constexpr std::array<std::string_view, 8> kLetters = {"", "C", "D", "E", "F", "G", "A", "B"};

// The chord type byte's suffix. Sixes and nines are written "69" and "m9",
// never with a slash, which ChordPro readers take for a bass note.
constexpr std::array<std::string_view, 35> kTypeSuffix = {
    "",         // 0 major
    "6",        // 1
    "maj7",     // 2
    "maj7#11",  // 3
    "add9",     // 4
    "maj9",     // 5
    "69",       // 6
    "aug",      // 7
    "m",        // 8
    "m6",       // 9
    "m7",       // 10
    "m7b5",     // 11
    "madd9",    // 12
    "m9",       // 13
    "m11",      // 14
    "mmaj7",    // 15
    "mmaj9",    // 16
    "dim",      // 17
    "dim7",     // 18
    "7",        // 19
    "7sus4",    // 20
    "7b5",      // 21
    "9",        // 22
    "7#11",     // 23
    "13",       // 24
    "7b9",      // 25
    "7b13",     // 26
    "7#9",      // 27
    "maj7#5",   // 28
    "7#5",      // 29
    "1",        // 30 root and octave
    "5",        // 31 root and fifth
    "sus4",     // 32
    "sus2",     // 33 root, second and fifth
    "",         // 34 no chord: "N.C."
};
constexpr std::uint8_t kNoChord = 34;
constexpr std::uint8_t kNoBass = 0x7F;

// The note a root or bass byte spells, or nothing.
std::optional<std::string> NoteName(std::uint8_t note) {
    const unsigned accidental = note >> 4;
    const unsigned letter = note & 0x0F;
    if (accidental >= kAccidentals.size() || letter == 0 || letter >= kLetters.size()) return std::nullopt;
    return std::string(kLetters[letter]) + std::string(kAccidentals[accidental]);
}

}  // namespace

std::optional<std::string> ChordProName(std::uint8_t root, std::uint8_t type, std::uint8_t bass) {
    if (type == kNoChord) return std::string("N.C.");
    auto name = NoteName(root);
    if (!name || type >= kTypeSuffix.size()) return std::nullopt;
    *name += kTypeSuffix[type];
    if (bass != kNoBass) {
        // A bass byte that names no note leaves the chord without a bass.
        if (const auto bassName = NoteName(bass); bassName && *bassName != NoteName(root)) *name += "/" + *bassName;
    }
    return name;
}

}  // namespace tonalux
