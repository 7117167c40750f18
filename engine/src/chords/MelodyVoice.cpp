// Whether a song's highest notes are a melody's: the chord recognition weighs
// a melody's notes less than the accompaniment's, as a melody passes through
// notes outside the chord, but an accompaniment alone voices its chords up
// to its highest note.
#include <algorithm>
#include <bitset>
#include <cstdint>

#include "chords/ChordBeats.h"

namespace tonalux::detail {

namespace {

constexpr std::size_t kDrumChannel = 9;
constexpr std::size_t kFewestNotes = 16;      // a channel of fewer notes is passed over
constexpr double kMostChordNotes = 0.2;       // share of a melody's notes struck while another sounds
constexpr double kFewestSteps = 0.3;          // share of a melody's notes a step from the one before
// The first notes of a channel tell what it plays; reading no more keeps the
// cost of a long song's channels small.
constexpr std::size_t kNotesRead = 2048;

struct Voice {
    std::size_t Notes = 0;
    std::size_t Together = 0;  // notes struck while another of the channel sounds
    std::size_t Steps = 0;     // notes a semitone or a tone from the note before
    double Pitches = 0;        // sum of the keys struck
};

}  // namespace

bool MelodyOnTop(const std::array<std::vector<MidiEvent>, 16>& channels) {
    std::array<Voice, 16> voices{};
    std::size_t playing = 0;
    for (std::size_t channel = 0; channel < channels.size(); ++channel) {
        if (channel == kDrumChannel) continue;
        Voice& voice = voices[channel];
        std::bitset<128> sounding;
        std::size_t last = 128;  // the key struck before, 128 before the first
        for (const MidiEvent& event : channels[channel]) {
            if (voice.Notes == kNotesRead) break;
            if ((event.Kind & ~0x10) != 0x80) continue;
            const std::size_t key = event.Data1 & 0x7Fu;
            if (event.Kind == 0x90 && event.Data2 > 0) {
                ++voice.Notes;
                voice.Pitches += static_cast<double>(key);
                if (sounding.any()) ++voice.Together;
                const std::size_t distance = key > last ? key - last : last - key;
                if (last < 128 && distance >= 1 && distance <= 2) ++voice.Steps;
                last = key;
                sounding.set(key);
            } else {
                sounding.reset(key);
            }
        }
        if (voice.Notes >= kFewestNotes) ++playing;
    }
    // One channel of notes plays melody and accompaniment together.
    if (playing <= 1) return true;
    // Of several, the highest must carry a single voice that moves by steps
    // as a tune does, not by the leaps of an arpeggio.
    const Voice* highest = nullptr;
    for (const Voice& voice : voices)
        if (voice.Notes >= kFewestNotes &&
            (!highest || voice.Pitches / static_cast<double>(voice.Notes) >
                             highest->Pitches / static_cast<double>(highest->Notes)))
            highest = &voice;
    const auto notes = static_cast<double>(highest->Notes);
    return static_cast<double>(highest->Together) <= kMostChordNotes * notes &&
           static_cast<double>(highest->Steps) >= kFewestSteps * notes;
}

}  // namespace tonalux::detail
