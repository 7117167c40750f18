// Decoding of keyboard chord events (FF 7F 07 43 7B 01 cr ct bn bt) into
// printable chord names such as "F#m7  /E".
//
// The name is the root's note letter and accidental, the chord type, and for
// an on-bass chord two blanks, a slash, the bass letter and its accidental.
// The bass type (last byte) does not appear in the name.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cctype>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "ChordNames.h"
#include "ChordRecognition.h"
#include "StandardMidifile.h"

namespace tonalux {

namespace {

// High nibble of the chord root and of the bass root.
constexpr std::array<std::string_view, 7> kAccidentalText = {
    "bbb",  // 0
    "bb",   // 1
    "b",    // 2
    "",     // 3 natural
    "#",    // 4
    "##",   // 5
    "###",  // 6
};

// Low nibble of the chord root.
constexpr std::array<std::string_view, 8> kRootLetterText = {
    "",   // 0 no letter
    "C",  // 1
    "D",  // 2
    "E",  // 3
    "F",  // 4
    "G",  // 5
    "A",  // 6
    "B",  // 7
};

// Low nibble of the bass root.
constexpr std::array<std::string_view, 8> kBassNoteText = {
    "",      // 0
    "  /C",  // 1
    "  /D",  // 2
    "  /E",  // 3
    "  /F",  // 4
    "  /G",  // 5
    "  /A",  // 6
    "  /B",  // 7
};

// Chord type byte.
constexpr std::array<std::string_view, 35> kChordTypeText = {
    "",        // 0 major
    "6",       // 1
    "Maj7",       // 2
    "Maj7(#11)",  // 3
    "Maj(9)",  // 4
    "Maj7(9)",    // 5
    "6(9)",    // 6
    "aug",     // 7
    "m",       // 8
    "m6",      // 9
    "m7",      // 10
    "m7b5",    // 11
    "m(9)",    // 12
    "m7(9)",   // 13
    "m7(11)",  // 14
    "mM7",     // 15
    "mM7(9)",  // 16
    "d",       // 17
    "d7",      // 18
    "7",       // 19
    "7sus4",   // 20
    "7b5",     // 21
    "7(9)",    // 22
    "7(#11)",  // 23
    "7(13)",   // 24
    "7(b9)",   // 25
    "7(b13)",  // 26
    "7(#9)",   // 27
    "Maj7aug",    // 28
    "7aug",    // 29
    "1+8",     // 30
    "1+5",     // 31
    "sus4",    // 32
    "1+2+5",   // 33
    "nc",      // 34
};

// A value outside its table contributes no text.
template <std::size_t N>
std::string_view Lookup(const std::array<std::string_view, N>& table, unsigned value) {
    return value < N ? table[value] : std::string_view{};
}

std::string HexByte(std::uint8_t value) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", static_cast<unsigned>(value));
    return text;
}

// Reads a note letter and its accidental at the front of `text`: the byte
// (accidental in the high nibble, letter in the low one) and what follows.
std::optional<std::uint8_t> ReadNote(std::string_view& text) {
    if (text.empty()) return std::nullopt;
    std::uint8_t letter = 0;
    for (std::size_t i = 1; i < kRootLetterText.size(); ++i)
        if (kRootLetterText[i][0] == text[0]) letter = static_cast<std::uint8_t>(i);
    if (letter == 0) return std::nullopt;
    text.remove_prefix(1);
    // The longest accidental that stands there; no type text begins with "b" or "#".
    std::size_t accidental = 3;
    for (std::size_t i = 0; i < kAccidentalText.size(); ++i) {
        const std::string_view mark = kAccidentalText[i];
        if (!mark.empty() && text.substr(0, mark.size()) == mark &&
            (kAccidentalText[accidental].size() < mark.size()))
            accidental = i;
    }
    text.remove_prefix(kAccidentalText[accidental].size());
    return static_cast<std::uint8_t>(accidental << 4 | letter);
}

// The chord types as musicians write them, beside the texts of the names.
struct WrittenType {
    std::string_view Text;
    std::uint8_t Type;
};
constexpr std::array<WrittenType, 70> kWrittenTypes = {{
    {"maj", 0},      {"M", 0},          {"major", 0},      {"maj6", 1},      {"M6", 1},
    {"maj7", 2},     {"M7", 2},         {"ma7", 2},        {"j7", 2},        {"\u0394", 2},
    {"\u03947", 2},   {"Maj", 0},  {"maj7#11", 3},    {"maj7(#11)", 3}, {"M7#11", 3},
    {"add9", 4},     {"add2", 4},       {"(9)", 4},        {"maj9", 5},      {"M9", 5},
    {"maj7(9)", 5},  {"69", 6},         {"6/9", 6},        {"+", 7},         {"min", 8},
    {"-", 8},        {"min6", 9},       {"-6", 9},         {"min7", 10},     {"-7", 10},
    {"m7(b5)", 11},  {"min7b5", 11},    {"-7b5", 11},      {"\u00f8", 11},    {"\u00f87", 11},
    {"madd9", 12},   {"m(add9)", 12},   {"m9", 13},        {"min9", 13},     {"-9", 13},
    {"m11", 14},     {"min11", 14},     {"mmaj7", 15},     {"m(maj7)", 15},  {"minmaj7", 15},
    {"mmaj9", 16},   {"m(maj9)", 16},   {"dim", 17},       {"\u00b0", 17},    {"o", 17},
    {"dim7", 18},    {"\u00b07", 18},    {"o7", 18},        {"dom7", 19},     {"7sus", 20},
    {"7(b5)", 21},   {"9", 22},         {"7#11", 23},      {"13", 24},       {"7b9", 25},
    {"7b13", 26},    {"7#9", 27},       {"maj7#5", 28},    {"maj7aug", 28},  {"7#5", 29},
    {"aug7", 29},    {"+7", 29},        {"5", 31},         {"sus", 32},      {"sus2", 33},
}};

// The text without blanks at either end.
std::string_view Stripped(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

// The text with the signs of flat and sharp as "b" and "#".
std::string PlainAccidentals(std::string_view text) {
    std::string plain(text);
    for (const auto& [sign, mark] : {std::pair<std::string_view, std::string_view>{"\u266d", "b"}, {"\u266f", "#"}})
        for (std::size_t at = plain.find(sign); at != std::string::npos; at = plain.find(sign, at))
            plain.replace(at, sign.size(), mark);
    return plain;
}

// The chord type a written type text stands for.
std::optional<std::uint8_t> WrittenTypeOf(std::string_view text) {
    const auto own = std::find(kChordTypeText.begin(), kChordTypeText.end(), text);
    if (own != kChordTypeText.end()) return static_cast<std::uint8_t>(own - kChordTypeText.begin());
    for (const WrittenType& written : kWrittenTypes)
        if (written.Text == text) return written.Type;
    return std::nullopt;
}

}  // namespace

std::optional<ChordBytes> ChordFromWrittenName(std::string_view name) {
    if (auto own = ChordFromName(name)) return own;
    const std::string plain = PlainAccidentals(Stripped(name));
    std::string noChord;
    for (char c : plain)
        if (c != '.') noChord += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (noChord == "nc" || noChord == "n") return ChordBytes{0x31, kNoChordType, 0x7F};
    // A bass follows the last "/" when a note letter comes after it ("6/9" is a type).
    std::string_view chord = plain;
    std::optional<std::uint8_t> bass;
    const std::size_t slash = chord.rfind('/');
    if (slash != std::string_view::npos) {
        std::string_view after = Stripped(chord.substr(slash + 1));
        if (!after.empty() && after[0] >= 'A' && after[0] <= 'G') {
            bass = ReadNote(after);
            if (!bass || !after.empty()) return std::nullopt;
            chord = Stripped(chord.substr(0, slash));
        }
    }
    const auto root = ReadNote(chord);
    if (!root) return std::nullopt;
    const auto type = WrittenTypeOf(chord);
    if (!type) return std::nullopt;
    return ChordBytes{*root, *type, bass.value_or(0x7F)};
}

std::optional<ChordBytes> ChordFromName(std::string_view name) {
    constexpr std::string_view kBassMark = "  /";
    ChordBytes bytes;
    const std::size_t slash = name.find(kBassMark);
    std::string_view chord = name.substr(0, slash);
    const auto root = ReadNote(chord);
    if (!root) return std::nullopt;
    bytes.Root = *root;
    const auto type = std::find(kChordTypeText.begin(), kChordTypeText.end(), chord);
    if (type == kChordTypeText.end()) return std::nullopt;
    bytes.Type = static_cast<std::uint8_t>(type - kChordTypeText.begin());
    if (slash != std::string_view::npos) {
        std::string_view bass = name.substr(slash + kBassMark.size());
        const auto note = ReadNote(bass);
        if (!note || !bass.empty()) return std::nullopt;
        bytes.Bass = *note;
    }
    return bytes;
}

std::string StandardMidifile::YamChordCalculate(const MetaEvent& chord) {
    // Bytes 3 (root), 4 (type) and 5 (bass root) are read.
    if (!chord.Data || chord.Length < 6) {
        throw ChordDecodeError("Chord event holds " + std::to_string(chord.Length) +
                               " data bytes, too few for a chord");
    }
    const std::uint8_t root = chord.Data[3];
    const std::uint8_t type = chord.Data[4];
    const std::uint8_t bass = chord.Data[5];

    // Both digits of the root byte are read as decimal digits: a nibble of 10
    // to 15 (0x7F among them) names no accidental or letter.
    const unsigned rootAccidental = root >> 4;
    const unsigned rootLetter = root & 0x0F;
    if (rootAccidental > 9 || rootLetter > 9) {
        throw ChordDecodeError("Chord root " + HexByte(root) + " cannot be decoded");
    }
    // The bass nibbles never fail; 0x7F (no bass) lies outside both tables.
    const unsigned bassAccidental = bass >> 4;
    const unsigned bassNote = bass & 0x0F;

    std::string name;
    name += Lookup(kRootLetterText, rootLetter);
    name += Lookup(kAccidentalText, rootAccidental);
    name += Lookup(kChordTypeText, type);
    name += Lookup(kBassNoteText, bassNote);
    name += Lookup(kAccidentalText, bassAccidental);
    return name;
}

}  // namespace tonalux
