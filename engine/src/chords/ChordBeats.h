// The parts of the chord recognition: the beat grid of a song, what sounds on
// each beat, and the model that picks a chord per beat. Kept apart from the
// list handling so that each part can be checked on its own.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "MidiRecords.h"

namespace tonalux::detail {

// One beat of the grid.
struct Beat {
    std::uint32_t Tick = 0;   // where it starts
    std::uint32_t Ticks = 1;  // its length (the last beat of a metre may be cut short)
    std::uint32_t BarTicks = 1;  // length of the bar it lies in
    std::uint8_t Strength = 0;   // 2 first beat of a bar, 1 middle of a bar, 0 other beats
};

// The beats from tick 0 up to `endTick`, from the division and the time
// signatures (records of the time-signature list: data byte 0 the numerator,
// byte 1 the power of two of the denominator), in tick order. A time signature
// starts a bar at its tick; without one the song is in 4/4. A compound metre
// (6, 9 or 12 eighths or sixteenths) beats in dotted notes. Beats are at least
// one tick long. A division of 0 or in SMPTE form gives no beats; at most
// `maxBeats` beats are made.
std::vector<Beat> BuildBeatGrid(std::uint16_t division, const std::vector<MetaEvent>& timeSignatures,
                                std::uint32_t endTick, std::size_t maxBeats);

// What sounds on one beat.
struct BeatProfile {
    std::array<float, 12> Chroma{};  // weight of each pitch class, C = 0
    std::array<float, 12> Bass{};    // weight of each pitch class among the lowest notes
    float Total = 0;                 // sum of Chroma
    std::uint8_t Lowest = 127;
    std::uint8_t Highest = 0;
    std::uint8_t Classes = 0;        // pitch classes with a share worth counting
};

// Weights of the profile; the defaults are the ones the recogniser uses.
struct ProfileWeights {
    float Onset = 0.2079f;        // extra weight of a note in the beat where it starts
    float StrongOnset = 0.3861f;  // and more when that beat starts a bar
    float Held = 1.0f;         // weight of a note in the beats after its first
    float Melody = 0.9f;       // weight of the highest voice above a wide texture
    float BassOnset = 1.0f;    // extra weight of a bass note starting on a bar (twice) or half bar
    float HighWeight = 0.875f;   // weight of a note two octaves above middle C and higher
    float MinShare = 0.06f;    // share of the beat's weight a pitch class needs to count
    std::uint32_t MaxBeatsPerNote = 12;  // a longer note counts for this many beats
};

// The tick after the last record of the channels other than the drum channel
// (0 when they are empty): the grid must reach this far to hold every note.
std::uint32_t NotesReach(const std::array<std::vector<MidiEvent>, 16>& channels);

// The profile of every beat of `beats` (sorted) from the notes of the channel
// lists (in tick order), the drum channel left out, in one pass over each list.
// A note-on with a velocity above 0 starts a note, the next note-off or note-on
// of the same key and channel ends it (a note left open ends at the channel's
// last record, and at least one tick after it started). `soundEnd` gets the end
// of the last note, 0 when there is none.
std::vector<BeatProfile> ProfileNotes(const std::vector<Beat>& beats,
                                      const std::array<std::vector<MidiEvent>, 16>& channels,
                                      const ProfileWeights& weights, std::uint32_t& soundEnd);

// The chord of one beat: root pitch class and XF chord type; Type kNoChordType
// (34) where nothing can be told.
struct BeatChord {
    std::uint8_t Root = 0;
    std::uint8_t Type = 34;
    std::uint8_t Bass = 0x7F;  // pitch class of a bass other than the root, 0x7F none
};

// Weights of the chord model; the defaults are the ones the recogniser uses.
// The chord templates of the model, in this order: major, minor, 7, m7, Maj7,
// 6, m6, add9, m7b5, dim, dim7, aug, sus4, 7sus4.
inline constexpr std::size_t kChordTemplates = 14;

struct ModelWeights {
    // For each template: the weight of each of its tones (root first) and a
    // cost that makes the plain triads win when the extra tone of a richer
    // chord is missing.
    std::array<std::array<float, 4>, kChordTemplates> Tones = {{
        {1.0f, 1.265f, 0.92f, 0.0f}, {1.0f, 1.15f, 0.92f, 0.0f}, {1.0f, 1.495f, 0.8f, 0.9f}, {1.0f, 0.7f, 0.8f, 0.9f},
        {1.0f, 1.375f, 1.04f, 0.648f}, {1.0f, 1.0f, 0.8f, 0.8f}, {1.0f, 1.3f, 0.8f, 0.8f}, {1.0f, 0.7f, 1.0f, 0.8f},
        {1.0f, 1.0f, 0.9f, 0.9f}, {1.0f, 1.25f, 1.125f, 0.0f}, {1.0f, 0.7f, 0.9f, 0.9f}, {1.0f, 1.25f, 0.9f, 0.0f},
        {1.0f, 1.0f, 0.8f, 0.0f}, {1.0f, 0.7f, 0.8f, 0.9f},
    }};
    std::array<float, kChordTemplates> Cost = {0.02f, 0.04f, 0.14f, 0.18f, 0.22f, 0.29f, 0.26f,
                                               0.31f, 0.24f, 0.28f, 0.30f, 0.32f, 0.35f, 0.33f};
    float NonChordTone = 1.21f;   // cost of weight on a pitch class outside the chord
    float BassRoot = 0.3825f;      // gain of bass weight on the root
    float BassTone = 0.084f;      // gain of bass weight on another chord tone
    float BassOther = 0.072f;      // cost of bass weight outside the chord
    float KeyOutside = 0.042f;    // cost of each chord tone outside the key
    float Change = 0.25f;        // cost of a change at the start of a bar
    float ChangeHalf = 1.4f;     // its factor in the middle of a bar
    float ChangeOther = 2.2f;    // its factor on the other beats
    float SlashShare = 0.6f;     // share of the bass a chord tone needs to be written as bass
    float Confidence = 1.1f;     // share of the mean beat weight below which a beat tells less
};

// A key: tonic pitch class and mode.
struct SongKey {
    int Tonic = 0;
    bool Minor = false;
    int Fifths() const;  // sharps (positive) or flats (negative) of its signature
};

// The key that best fits the pitch classes of the whole song.
SongKey EstimateKey(const std::vector<BeatProfile>& profiles);

// The chord of every beat, chosen over the whole song: the emission of each
// chord from the profile and a change cost by the beat's place in the bar.
// Beats that tell nothing keep the chord before them; beats before the first
// that tells something, and silences of a bar or more, get no chord.
std::vector<BeatChord> ChooseChords(const std::vector<Beat>& beats, const std::vector<BeatProfile>& profiles,
                                    const SongKey& key, const ModelWeights& weights);

// The chord events of a song from its notes, with the weights given: the whole
// recognition on lists passed in. `metaEvents` is searched for key signatures
// (FF 59) to spell the roots by; without one the estimated key spells them.
std::vector<MetaEvent> RecogniseFromNotes(std::uint16_t division, const std::vector<MetaEvent>& timeSignatures,
                                          const std::array<std::vector<MidiEvent>, 16>& channels,
                                          const std::vector<MetaEvent>& metaEvents, const ProfileWeights& profile,
                                          const ModelWeights& model);

}  // namespace tonalux::detail
