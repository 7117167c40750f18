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
    std::uint8_t InBar = 0;        // its place in the bar, from 0
    std::uint8_t BeatsPerBar = 0;  // the beats of its bar; 0 where beats are quarters of another metre
    std::uint64_t Index = 0;     // its number, counted from the song's first beat
};

// The strength of a beat by its place in a bar of `beatsPerBar` beats.
std::uint8_t StrengthOf(std::uint32_t inBar, std::uint32_t beatsPerBar);

// Where the beats of a song lie, from the division and the time signatures
// (records of the time-signature list: data byte 0 the numerator, byte 1 the
// power of two of the denominator). A time signature starts a bar at its
// tick; without one the song is in 4/4. A metre whose beat is no whole
// number of quarter notes (3/8, the compound 6/8, 9/8 and 12/8, x/16) has
// beats of a quarter note, strong where its bars (and the halves of an even
// compound bar) start. Beats are at least one tick long. A
// division of 0 or in SMPTE form has no beats. Any beat is found without
// walking the beats before it, so a song's grid costs what its notes need,
// not what its ticks span.
class MetreMap {
public:
    MetreMap(std::uint16_t division, const std::vector<MetaEvent>& timeSignatures);
    bool HasBeats() const { return !parts_.empty(); }
    // The number of the beat that holds `tick`.
    std::uint64_t BeatOf(std::uint32_t tick) const;
    // The same, with the metre found for the tick before as `hint`, which
    // gets the metre of this one: ticks in order cost no search.
    std::uint64_t BeatOf(std::uint32_t tick, std::size_t& hint) const;
    // The beat of number `index`; false when it would start after the last tick.
    bool BeatAt(std::uint64_t index, Beat& beat) const;
    // The same, with the metre of the beat before as `hint`, as BeatOf.
    bool BeatAt(std::uint64_t index, Beat& beat, std::size_t& hint) const;

private:
    struct Part {  // the beats of one metre
        std::uint32_t Tick = 0;
        std::uint64_t FirstBeat = 0;
        double BeatTicks = 1;
        std::uint32_t BeatsPerBar = 4;
        std::uint32_t BarTicks = 4;
        std::uint32_t WholeTicks = 0;  // BeatTicks when it is a whole number, else 0
        std::uint64_t Reciprocal = 0;  // 2^64 / WholeTicks rounded up, 0 for one tick
        std::uint64_t End = std::uint64_t{1} << 32;  // where the next metre starts, past the last tick for the last
        bool Quarters = false;         // beats of a quarter note, not of the metre
    };
    std::uint64_t TickOf(const Part& part, std::uint64_t beat) const;
    std::uint64_t SearchBeatOf(std::uint32_t tick, std::size_t& hint) const;
    std::vector<Part> parts_;
};

// Every beat from tick 0 up to `endTick`, at most `maxBeats` of them.
std::vector<Beat> BuildBeatGrid(std::uint16_t division, const std::vector<MetaEvent>& timeSignatures,
                                std::uint32_t endTick, std::size_t maxBeats);

// A note of the channel lists: a note-on with a velocity above 0 starts it,
// the next note-off or note-on of the same key and channel ends it (a note
// left open ends at the channel's last record, and at least one tick after
// it started).
struct Note {
    std::uint32_t Start = 0;
    std::uint32_t End = 0;
    std::uint8_t Pitch = 0;
    std::uint8_t Velocity = 0;
};

// Whether the highest notes of the song are a melody's: the notes of one
// channel, or of several whose highest carries a single voice (judged from
// the first 2,048 notes of each). Otherwise the song is an accompaniment
// alone and its highest notes are the chord's.
bool MelodyOnTop(const std::array<std::vector<MidiEvent>, 16>& channels);

// The notes of every channel list except the drum channel; notes without
// length are left out.
std::vector<Note> CollectNotes(const std::array<std::vector<MidiEvent>, 16>& channels);

// What sounds on one beat.
struct BeatProfile {
    std::array<float, 12> Chroma{};  // weight of each pitch class, C = 0
    std::array<float, 12> Bass{};    // weight of each pitch class among the lowest notes
    float Total = 0;                 // sum of Chroma
    std::uint8_t Lowest = 127;
    std::uint8_t Highest = 0;
    std::uint8_t Classes = 0;        // pitch classes with a share worth counting
    std::uint8_t BassKey = 0xFF;     // the lowest key heard on the beat, 0xFF none
    std::uint16_t Heard = 0;         // the pitch classes heard on the beat, bit 0 C
};

// Weights of the profile; the defaults are the ones the recogniser uses.
struct ProfileWeights {
    float Onset = 0.2587f;        // extra weight of a note in the beat where it starts
    float StrongOnset = 0.4447f;  // and more when that beat starts a bar
    float Held = 0.8f;         // weight of a note in the beats after its first
    float Melody = 0.864f;       // weight of the highest voice above a wide texture
    float BassOnset = 1.44f;    // extra weight of a bass note starting on a bar (twice) or half bar
    float HighWeight = 0.2724f;   // weight of a note two octaves above middle C and higher
    float MinShare = 0.0384f;    // share of the beat's weight a pitch class needs to count
    std::uint32_t MaxBeatsPerNote = 12;  // a longer note counts for this many beats
    float BarMargin = 1.3f;    // how much more change a place in the bar needs to start the bars
};

// The beats the notes sound in (each note for at most `maxBeatsPerNote`
// beats) and the beat after each note, where a silence may begin, in order.
// Beats where nothing sounds and nothing ends are left out. `firstBeats` gets
// the place in the grid of each note's first beat (kNoBeat for a note that
// starts after the last beat there is). Work and memory grow with the notes.
inline constexpr std::uint32_t kNoBeat = 0xFFFFFFFF;
std::vector<Beat> NoteGrid(const MetreMap& metres, const std::vector<Note>& notes, std::uint32_t maxBeatsPerNote,
                           std::vector<std::uint32_t>& firstBeats);

// Where the song's chords change, bars start: a song whose time signature
// puts its bar lines a beat or two away from where its harmony moves (a
// pickup not written as a short bar) has the strengths of its beats moved
// to the harmony. For each length of bar, the place in the bar where what
// sounds changes most becomes the first beat, when it beats the written one
// by `margin` times. True when a strength moved.
bool AlignBars(std::vector<Beat>& beats, const std::vector<BeatProfile>& profiles, float margin);

// The profile of every beat of `beats` from the notes, with the place of each
// note's first beat from NoteGrid. `soundEnd` gets the end of the last note,
// 0 when there is none.
std::vector<BeatProfile> ProfileNotes(const std::vector<Beat>& beats, const std::vector<Note>& notes,
                                      const std::vector<std::uint32_t>& firstBeats, const ProfileWeights& weights,
                                      std::uint32_t& soundEnd);

// The chord of one beat: root pitch class and XF chord type; Type kNoChordType
// (34) where nothing can be told.
struct BeatChord {
    std::uint8_t Root = 0;
    std::uint8_t Type = 34;
    std::uint8_t Bass = 0x7F;  // pitch class of a bass other than the root, 0x7F none

    bool operator==(const BeatChord&) const = default;
};

// Weights of the chord model; the defaults are the ones the recogniser uses,
// fitted with the profile's weights on 499 songs with known chords by
// bench/chords/tune_weights.py.
// The chord templates of the model, in this order: major, minor, 7, m7, Maj7,
// 6, m6, add9, m7b5, dim, dim7, aug, sus4, 7sus4.
inline constexpr std::size_t kChordTemplates = 14;

// One chord type: its XF type number and its tones as intervals above the
// root; the weights of the tones and the cost of the type are in the
// ModelWeights, in the same order.
struct ChordTemplate {
    std::uint8_t Type;
    std::array<std::int8_t, 4> Intervals;  // -1 for none
};

inline constexpr std::array<ChordTemplate, kChordTemplates> kTemplates = {{
    {0, {0, 4, 7, -1}},    // major
    {8, {0, 3, 7, -1}},    // minor
    {19, {0, 4, 7, 10}},   // 7
    {10, {0, 3, 7, 10}},   // m7
    {2, {0, 4, 7, 11}},    // Maj7
    {1, {0, 4, 7, 9}},     // 6
    {9, {0, 3, 7, 9}},     // m6
    {4, {0, 2, 4, 7}},     // add9
    {11, {0, 3, 6, 10}},   // m7b5
    {17, {0, 3, 6, -1}},   // dim
    {18, {0, 3, 6, 9}},    // dim7
    {7, {0, 4, 8, -1}},    // aug
    {32, {0, 5, 7, -1}},   // sus4
    {20, {0, 5, 7, 10}},   // 7sus4
}};

// The states of the model: template * 12 + root.
inline constexpr std::size_t kStates = 12 * kChordTemplates;

// The pitch classes of a chord, bit 0 C.
std::uint16_t ChordTones(std::size_t templateIndex, std::size_t root);

struct ModelWeights {
    // For each template: the weight of each of its tones (root first) and a
    // cost that makes the plain triads win when the extra tone of a richer
    // chord is missing.
    std::array<std::array<float, 4>, kChordTemplates> Tones = {{
        {1.0f, 1.265f, 1.104f, 0.0f}, {1.0f, 1.15f, 1.104f, 0.0f}, {1.0f, 1.495f, 0.96f, 0.864f}, {1.0f, 0.84f, 0.96f, 0.576f},
        {1.0f, 1.65f, 1.4976f, 0.2654f}, {1.0f, 0.8f, 0.8f, 0.8f}, {1.0f, 1.04f, 0.64f, 0.8f}, {1.0f, 0.84f, 1.2f, 0.8f},
        {1.0f, 0.704f, 0.9f, 0.72f}, {1.0f, 1.25f, 1.125f, 0.0f}, {1.0f, 0.56f, 0.9f, 0.9f}, {1.0f, 1.25f, 0.9f, 0.0f},
        {1.0f, 0.8f, 0.8f, 0.0f}, {1.0f, 0.56f, 0.64f, 0.576f},
    }};
    std::array<float, kChordTemplates> Cost = {-0.02f, 0.04f, 0.06f, 0.1f, 0.28f, 0.37f, 0.18f,
                                               0.31f, 0.28f, 0.28f, 0.3f, 0.32f, 0.39f, 0.41f};
    float NonChordTone = 0.968f;   // cost of weight on a pitch class outside the chord
    float BassRoot = 0.459f;      // gain of bass weight on the root
    float BassTone = 0.0672f;      // gain of bass weight on another chord tone
    float BassOther = 0.0461f;      // cost of bass weight outside the chord
    float KeyOutside = 0.0504f;    // cost of each chord tone outside the key
    float Change = 0.2304f;        // cost of a change at the start of a bar
    float ChangeHalf = 1.344f;    // its factor in the middle of a bar
    float ChangeOther = 3.0413f;  // its factor on the other beats
    float MissingTone = 0.1229f;    // cost of a tone other than the root and the fifth that is not heard
    float Confidence = 1.32f;     // share of the mean beat weight below which a beat tells less
};

// A key: tonic pitch class and mode.
struct SongKey {
    int Tonic = 0;
    bool Minor = false;
    int Fifths() const;  // sharps (positive) or flats (negative) of its signature
};

// The key that best fits the pitch classes of the whole song.
SongKey EstimateKey(const std::vector<BeatProfile>& profiles);

// Beats that start a silence of a bar or more, or lie in one, or come before
// the first beat that tells something: no chord there.
std::vector<bool> NoChordBeats(const std::vector<Beat>& beats, const std::vector<BeatProfile>& profiles);

// The state of every beat on the most likely chord path (a Viterbi pass over
// the beats). A change costs least at the start of a bar; a beat that sounds
// the notes of the beat before cannot change.
std::vector<std::size_t> BestPath(const std::vector<Beat>& beats, const std::vector<BeatProfile>& profiles,
                                  const std::vector<bool>& none, const SongKey& key, const ModelWeights& w);

// The chord of every beat, chosen over the whole song: the emission of each
// chord from the profile and a change cost by the beat's place in the bar.
// Beats that tell nothing keep the chord before them; beats before the first
// that tells something, and silences of a bar or more, get no chord, except
// that beats just before a chord that sound only its tones take it. A beat
// that sounds the notes of the beat before keeps its chord. The bass of each
// beat is the lowest note heard on it, written when it is a chord tone other
// than the root that lasts: the fifth for a bar, another tone for half a bar,
// or the whole chord (a bass that goes from the root to the fifth and back is
// no inversion).
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
