// Chords from the notes: the keyboard chord events (FF 7F 07 43 7B 01 cr ct
// bn bt) that the notes of the loaded song suggest.
//
// What is read: every note of the channel lists except the drum channel
// (index 9), each weighted by how long it sounds within a beat, by where it
// starts in the bar and by its register (the lowest notes give the bass, the
// highest voice of a dense texture counts less, as melody notes are often no
// chord tones). The beats come from the song's division and its
// time-signature list, changes of metre included (4/4 without one; a compound
// metre such as 6/8 has dotted-quarter beats).
//
// What is written: a chord event on a beat wherever the chord changes, lasting
// until the next one. The chord of each beat is chosen over the whole song at
// once (a Viterbi pass over the beats) from templates of the chord tones, the
// bass and the song's key, with a cost for every change that is lowest at the
// start of a bar. Where nothing sounds for a bar or more no chord is written,
// and a "no chord" event (type 34, root C) ends the chord before such a silence.
// Beats that hold fewer than two pitch classes tell nothing and continue the
// chord before them; a chord starts on the beats just before it that sound
// only its tones (the bass note of a waltz's first beat). A beat that sounds
// the notes of the beat before never starts a new chord. The bass of a beat
// is the lowest note heard on it; a chord tone other than the root is
// written as bass (bass type 0x7F) when it lasts (the fifth a bar, another
// tone half a bar, or the whole chord), so a bass going from root to fifth
// and back is no inversion. Roots are spelled by the key: the key-signature
// event (FF 59, with its mode) in force, otherwise the key the notes
// suggest; a bass by the root of its chord (E7  /G#), a diminished chord that
// leads a semitone up by where it goes (C#d7 before Dm).
//
// The chord types written: major (0), 6 (1), Maj7 (2), add9 (4), aug (7),
// minor (8), m6 (9), m7 (10), m7b5 (11), dim (17), dim7 (18), 7 (19),
// 7sus4 (20), sus4 (32), and no chord (34).
//
// Work and memory follow the notes, not the ticks they span: each channel list
// is read once, a note counts for at most a few bars of its length, and only
// the beats the notes sound in (and the beat after each) are looked at.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "MidiRecords.h"

namespace tonalux {

class StandardMidifile;

// The byte of a root or bass that is no note.
inline constexpr std::uint8_t kNoChordNote = 0x7F;
// The chord type of the "no chord" event.
inline constexpr std::uint8_t kNoChordType = 34;

enum class ChordsFromNotes {
    Added,       // chord events were put into the chord list
    AlreadyHad,  // the song carries chord events and they were kept
    NoneFound,   // nothing could be told from the notes; the chord list is as it was
};

struct ChordRecognitionResult {
    ChordsFromNotes Outcome = ChordsFromNotes::NoneFound;
    std::size_t Events = 0;  // chord events put into the chord list
};

// The chord events the notes of the loaded song suggest, in tick order. The
// song is not changed.
std::vector<MetaEvent> RecogniseChords(const StandardMidifile& engine);

// Puts the recognised chords into the chord list. A song that carries chord
// events keeps them (AlreadyHad) unless `replace` is set; with `replace` its
// chord events give way to the recognised ones, and stay when none are found.
// Nothing else of the song changes.
ChordRecognitionResult AddChordsFromNotes(StandardMidifile& engine, bool replace);

// A chord event at `tick`: FF 7F 07 43 7B 01 root type bass bassType.
MetaEvent MakeChordEvent(std::uint32_t tick, std::uint8_t root, std::uint8_t type,
                         std::uint8_t bass = kNoChordNote, std::uint8_t bassType = kNoChordNote);

// The root byte of pitch class `pitchClass` (C = 0 ... B = 11) as a reader of
// a key with `keyFifths` sharps (positive) or flats (negative), major or
// `minor`, spells it. A note of the key's scale (in minor its raised sixth
// and seventh too) takes the letter of its degree: Cb in Gb major, E# in F#
// major, C# and B in D minor. Any other note: naturals stay natural; a black
// key takes the spelling nearer to the key on the circle of fifths, a flat on
// a tie in keys with flats or none: in C major Db, Eb, F#, Ab, Bb.
std::uint8_t SpellPitchClass(int pitchClass, int keyFifths, bool minor = false);

}  // namespace tonalux
