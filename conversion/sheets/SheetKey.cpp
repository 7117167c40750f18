// The key a song's chords suggest, for a sheet whose song has no key
// signature: the major key whose scale holds the most of the song's chord
// time as its own chords, or its relative minor when the song ends (or else
// begins) on that minor chord.
#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "SongSheet.h"

namespace tonalux {

namespace {

enum class Quality { Major, Dominant, Minor, Diminished };

struct NamedChord {
    int PitchClass = 0;
    Quality Kind = Quality::Major;
    std::string Root;  // as the name spells it
};

constexpr std::array<int, 7> kLetterClass = {9, 11, 0, 2, 4, 5, 7};  // A to G

// The root and quality of a ChordPro name ("F#m7/E"), nothing for "N.C.".
std::optional<NamedChord> Parse(const std::string& name) {
    if (name.empty() || name[0] < 'A' || name[0] > 'G') return std::nullopt;
    NamedChord chord;
    chord.PitchClass = kLetterClass[static_cast<std::size_t>(name[0] - 'A')];
    std::size_t end = 1;
    for (; end < name.size() && (name[end] == 'b' || name[end] == '#'); ++end)
        chord.PitchClass += name[end] == '#' ? 1 : -1;
    chord.PitchClass = ((chord.PitchClass % 12) + 12) % 12;
    chord.Root = name.substr(0, end);
    const std::string_view suffix = std::string_view(name).substr(end, name.find('/') - end);
    if (suffix.substr(0, 3) == "dim" || suffix == "m7b5") chord.Kind = Quality::Diminished;
    else if (!suffix.empty() && suffix[0] == 'm' && suffix.substr(0, 3) != "maj") chord.Kind = Quality::Minor;
    else if (!suffix.empty() && (suffix[0] == '7' || suffix[0] == '9' || suffix.substr(0, 2) == "13")) chord.Kind = Quality::Dominant;
    return chord;
}

// How well a chord `interval` semitones above a major tonic belongs to its
// key: the scale's own triads and sevenths, and the dominant of the relative
// minor (E or E7 in C) half.
double Fit(int interval, Quality kind) {
    const bool major = kind == Quality::Major || kind == Quality::Dominant;
    switch (interval) {
        case 0: return kind == Quality::Major ? 1.0 : kind == Quality::Dominant ? 0.5 : 0.0;
        case 5: return kind == Quality::Major ? 1.0 : 0.0;
        case 7: return major ? 1.0 : 0.0;
        case 2:
        case 9: return kind == Quality::Minor ? 1.0 : 0.0;
        case 4: return kind == Quality::Minor ? 1.0 : major ? 0.5 : 0.0;
        case 11: return kind == Quality::Diminished ? 1.0 : 0.0;
        default: return 0.0;
    }
}

constexpr std::array<std::string_view, 12> kMajorNames = {"C", "Db", "D", "Eb", "E", "F", "F#", "G", "Ab", "A", "Bb", "B"};
constexpr std::array<std::string_view, 12> kMinorNames = {"C", "C#", "D", "Eb", "E", "F", "F#", "G", "G#", "A", "Bb", "B"};

}  // namespace

std::string KeyOfChords(const std::vector<SheetChord>& chords) {
    std::vector<std::pair<NamedChord, double>> named;  // each chord with the ticks it lasts
    for (std::size_t i = 0; i < chords.size(); ++i) {
        const auto chord = Parse(chords[i].Name);
        if (!chord) continue;
        const double ticks = i + 1 < chords.size() ? static_cast<double>(chords[i + 1].Tick - chords[i].Tick) : 0.0;
        named.emplace_back(*chord, ticks);
    }
    if (named.empty()) return {};
    // The last chord lasts as long as the longest before it.
    double longest = 1.0;
    for (const auto& [chord, ticks] : named) longest = std::max(longest, ticks);
    named.back().second = longest;

    int best = 0;
    double bestScore = -1.0;
    for (int tonic = 0; tonic < 12; ++tonic) {
        double score = 0.0;
        for (const auto& [chord, ticks] : named) score += ticks * Fit((chord.PitchClass - tonic + 12) % 12, chord.Kind);
        if (score > bestScore) bestScore = score, best = tonic;
    }
    // The relative minor when the song ends on it, or begins on it and does not end on the tonic.
    const int minorTonic = (best + 9) % 12;
    auto isMinorTonic = [&](const NamedChord& c) { return c.Kind == Quality::Minor && c.PitchClass == minorTonic; };
    auto isTonic = [&](const NamedChord& c) { return c.Kind != Quality::Minor && c.PitchClass == best; };
    const bool minor = isMinorTonic(named.back().first) || (isMinorTonic(named.front().first) && !isTonic(named.back().first));
    const int pitch = minor ? minorTonic : best;
    // Spelled as the song spells its tonic chord, where it has one.
    for (const auto& [chord, ticks] : named)
        if (chord.PitchClass == pitch && (chord.Kind == Quality::Minor) == minor) return chord.Root + (minor ? "m" : "");
    return std::string(minor ? kMinorNames[static_cast<std::size_t>(pitch)] : kMajorNames[static_cast<std::size_t>(pitch)]) +
           (minor ? "m" : "");
}

}  // namespace tonalux
