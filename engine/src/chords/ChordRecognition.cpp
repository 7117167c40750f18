// Chords from the notes: the recognised chords of the loaded song as keyboard
// chord events, spelled by the song's key, and their place in the chord list.
#include "ChordRecognition.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <memory>

#include "chords/ChordBeats.h"
#include "lists/Hauptcontainer.h"
#include "MidiBytes.h"
#include "StandardMidifile.h"

namespace tonalux {

namespace {

constexpr std::uint8_t kKeySignatureType = 0x59;  // key signature: sharps or flats, mode
constexpr int kMostFifths = 7;
// The grid has at most this many beats, and this many more per record of the
// channel lists: enough for any song, and memory that grows with the song,
// whatever its ticks say. It never has more than kMostBeats (three days of
// music at 240 beats a minute, about 250 MB while the chords are chosen); notes
// beyond the grid are not read.
constexpr std::size_t kBaseBeats = 4096;
constexpr std::size_t kBeatsPerRecord = 64;
constexpr std::size_t kMostBeats = std::size_t{1} << 20;

// Accidental nibbles of a root byte and the letter of each natural.
constexpr std::uint8_t kFlat = 0x20, kNatural = 0x30, kSharp = 0x40;
struct Natural {
    int PitchClass;
    std::uint8_t Letter;  // C = 1 ... B = 7
    int Fifths;           // place on the circle of fifths, C = 0
};
constexpr std::array<Natural, 7> kNaturals = {{
    {0, 1, 0}, {2, 2, 2}, {4, 3, 4}, {5, 4, -1}, {7, 5, 1}, {9, 6, 3}, {11, 7, 5},
}};

// Key signatures of the song in tick order: (tick, fifths).
std::vector<std::pair<std::uint32_t, int>> KeySignatures(const std::vector<MetaEvent>& meta) {
    std::vector<std::pair<std::uint32_t, int>> keys;
    for (const MetaEvent& event : meta) {
        if (event.Type != kKeySignatureType || !event.Data || event.Length < 2) continue;
        const int fifths = static_cast<std::int8_t>(event.Data[0]);
        if (std::abs(fifths) > kMostFifths) continue;
        keys.emplace_back(event.Tick, fifths);
    }
    std::stable_sort(keys.begin(), keys.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    return keys;
}

// Turns the chord of each beat into events where it changes. A "no chord"
// event follows only a chord.
std::vector<MetaEvent> ChordEvents(const std::vector<detail::Beat>& beats,
                                   const std::vector<detail::BeatChord>& chords, int estimatedFifths,
                                   const std::vector<std::pair<std::uint32_t, int>>& keys) {
    std::vector<MetaEvent> events;
    std::size_t key = 0;
    bool sounding = false;  // a chord other than "no chord" is in force
    detail::BeatChord current;
    for (std::size_t b = 0; b < beats.size(); ++b) {
        const detail::BeatChord& chord = chords[b];
        const bool none = chord.Type == kNoChordType;
        if (none && !sounding) continue;
        if (sounding && chord.Root == current.Root && chord.Type == current.Type && chord.Bass == current.Bass)
            continue;
        const std::uint32_t tick = beats[b].Tick;
        // The key signature in force; before the first one, the first one.
        while (key + 1 < keys.size() && keys[key + 1].first <= tick) ++key;
        const int fifths = keys.empty() ? estimatedFifths : keys[key].second;
        if (none) {
            events.push_back(MakeChordEvent(tick, SpellPitchClass(0, 0), kNoChordType));
        } else {
            const std::uint8_t bass = chord.Bass < 12 ? SpellPitchClass(chord.Bass, fifths) : kNoChordNote;
            events.push_back(MakeChordEvent(tick, SpellPitchClass(chord.Root, fifths), chord.Type, bass));
        }
        sounding = !none;
        current = chord;
    }
    return events;
}

}  // namespace

MetaEvent MakeChordEvent(std::uint32_t tick, std::uint8_t root, std::uint8_t type, std::uint8_t bass,
                         std::uint8_t bassType) {
    MetaEvent chord{};
    chord.Tick = tick;
    chord.Delta = 0;
    chord.Status = kMetaStatus;
    chord.Type = kSequencerSpecificType;
    chord.Length = kKeyboardChordLength;
    // One byte more than the data, 0, as every data block has.
    chord.Data = std::make_shared<std::uint8_t[]>(kKeyboardChordLength + 1);
    std::copy(kKeyboardChordSignature.begin(), kKeyboardChordSignature.end(), chord.Data.get());
    chord.Data[3] = root;
    chord.Data[4] = type;
    chord.Data[5] = bass;
    chord.Data[6] = bassType;
    return chord;
}

std::uint8_t SpellPitchClass(int pitchClass, int keyFifths) {
    const int pc = ((pitchClass % 12) + 12) % 12;
    for (const Natural& natural : kNaturals)
        if (natural.PitchClass == pc) return static_cast<std::uint8_t>(kNatural | natural.Letter);
    // A black key: the natural below with a sharp or the one above with a flat,
    // whichever lies nearer the key's centre on the circle of fifths (a sharp
    // adds seven fifths, a flat takes seven away).
    const Natural* below = nullptr;
    const Natural* above = nullptr;
    for (const Natural& natural : kNaturals) {
        if (natural.PitchClass == pc - 1) below = &natural;
        if (natural.PitchClass == (pc + 1) % 12) above = &natural;
    }
    const int centre = keyFifths + 1;
    const int sharpDistance = std::abs(below->Fifths + 7 - centre);
    const int flatDistance = std::abs(above->Fifths - 7 - centre);
    const bool sharp = sharpDistance < flatDistance || (sharpDistance == flatDistance && keyFifths > 0);
    return sharp ? static_cast<std::uint8_t>(kSharp | below->Letter) : static_cast<std::uint8_t>(kFlat | above->Letter);
}

namespace detail {

std::vector<MetaEvent> RecogniseFromNotes(std::uint16_t division, const std::vector<MetaEvent>& timeSignatures,
                                          const std::array<std::vector<MidiEvent>, 16>& channels,
                                          const std::vector<MetaEvent>& metaEvents, const ProfileWeights& profile,
                                          const ModelWeights& model) {
    const std::uint32_t reach = NotesReach(channels);
    std::size_t records = 0;
    for (const auto& list : channels) records += list.size();
    std::vector<Beat> beats = BuildBeatGrid(division, timeSignatures, reach,
                                            std::min(kMostBeats, kBaseBeats + kBeatsPerRecord * records));
    std::uint32_t soundEnd = 0;
    std::vector<BeatProfile> profiles = ProfileNotes(beats, channels, profile, soundEnd);
    if (soundEnd == 0) return {};
    // The grid ends with the last note, as the song's sound does.
    std::size_t sounding = beats.size();
    while (sounding > 0 && beats[sounding - 1].Tick >= soundEnd) --sounding;
    beats.resize(sounding);
    profiles.resize(sounding);
    if (beats.empty()) return {};
    const SongKey key = EstimateKey(profiles);
    const std::vector<BeatChord> chords = ChooseChords(beats, profiles, key, model);
    return ChordEvents(beats, chords, key.Fifths(), KeySignatures(metaEvents));
}

}  // namespace detail

std::vector<MetaEvent> RecogniseChords(const StandardMidifile& engine) {
    const auto& lists = detail::Lists();
    return detail::RecogniseFromNotes(engine.Division, lists.MessureEvents, lists.ChannelEvents, lists.MetaEvents,
                                      detail::ProfileWeights{}, detail::ModelWeights{});
}

ChordRecognitionResult AddChordsFromNotes(StandardMidifile& engine, bool replace) {
    auto& chords = detail::Lists().YamChordEvents;
    if (!chords.empty() && !replace) return {ChordsFromNotes::AlreadyHad, 0};
    std::vector<MetaEvent> found = RecogniseChords(engine);
    if (found.empty()) return {ChordsFromNotes::NoneFound, 0};
    const std::size_t count = found.size();
    chords = std::move(found);
    return {ChordsFromNotes::Added, count};
}

}  // namespace tonalux
