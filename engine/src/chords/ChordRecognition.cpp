// Chords from the notes: the recognised chords of the loaded song as keyboard
// chord events, spelled by the song's key, and their place in the chord list.
#include "ChordRecognition.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <memory>

#include "chords/ChordBeats.h"
#include "chords/ChordSpelling.h"
#include "lists/Hauptcontainer.h"
#include "MidiBytes.h"
#include "StandardMidifile.h"

namespace tonalux {

namespace {

constexpr std::uint8_t kKeySignatureType = 0x59;  // key signature: sharps or flats, mode
constexpr int kMostFifths = 7;
constexpr std::uint8_t kDiminishedTypes[] = {17, 18};  // dim, dim7

struct KeyAt {
    std::uint32_t Tick = 0;
    int Fifths = 0;
    bool Minor = false;
};

// Key signatures of the song in tick order.
std::vector<KeyAt> KeySignatures(const std::vector<MetaEvent>& meta) {
    std::vector<KeyAt> keys;
    for (const MetaEvent& event : meta) {
        if (event.Type != kKeySignatureType || !event.Data || event.Length < 2) continue;
        const int fifths = static_cast<std::int8_t>(event.Data[0]);
        if (std::abs(fifths) > kMostFifths) continue;
        keys.push_back({event.Tick, fifths, event.Data[1] == 1});
    }
    std::stable_sort(keys.begin(), keys.end(), [](const KeyAt& a, const KeyAt& b) { return a.Tick < b.Tick; });
    return keys;
}

// A chord where it begins.
struct Change {
    std::uint32_t Tick = 0;
    detail::BeatChord Chord;
};

// The beats where the chord changes. A "no chord" follows only a chord.
std::vector<Change> ChangesOf(const std::vector<detail::Beat>& beats, const std::vector<detail::BeatChord>& chords) {
    std::vector<Change> changes;
    for (std::size_t b = 0; b < beats.size(); ++b) {
        const bool none = chords[b].Type == kNoChordType;
        const bool sounding = !changes.empty() && changes.back().Chord.Type != kNoChordType;
        if (none ? !sounding : (sounding && chords[b] == changes.back().Chord)) continue;
        changes.push_back({beats[b].Tick, chords[b]});
    }
    return changes;
}

// The changes as chord events, spelled by the key in force (before the first
// key signature the first one, without any the key the notes suggest).
std::vector<MetaEvent> ChordEvents(const std::vector<Change>& changes, const KeyAt& estimated,
                                   const std::vector<KeyAt>& keys) {
    std::vector<MetaEvent> events;
    std::size_t key = 0;
    for (std::size_t i = 0; i < changes.size(); ++i) {
        const Change& change = changes[i];
        if (change.Chord.Type == kNoChordType) {
            events.push_back(MakeChordEvent(change.Tick, SpellPitchClass(0, 0), kNoChordType));
            continue;
        }
        while (key + 1 < keys.size() && keys[key + 1].Tick <= change.Tick) ++key;
        const KeyAt& in = keys.empty() ? estimated : keys[key];
        const detail::BeatChord& chord = change.Chord;
        std::uint8_t root = SpellPitchClass(chord.Root, in.Fifths, in.Minor);
        // A diminished chord that goes a semitone up leads to the next root.
        const bool diminished = std::find(std::begin(kDiminishedTypes), std::end(kDiminishedTypes), chord.Type) !=
                                std::end(kDiminishedTypes);
        std::size_t next = i + 1;
        while (next < changes.size() && changes[next].Chord.Root == chord.Root && changes[next].Chord.Type == chord.Type) ++next;
        if (diminished && next < changes.size() && changes[next].Chord.Type != kNoChordType &&
            changes[next].Chord.Root == (chord.Root + 1) % 12)
            root = detail::SpellLeadingNote(chord.Root, SpellPitchClass(changes[next].Chord.Root, in.Fifths, in.Minor));
        const std::uint8_t bass =
            chord.Bass < 12 ? detail::SpellChordTone(chord.Bass - chord.Root, root) : kNoChordNote;
        events.push_back(MakeChordEvent(change.Tick, root, chord.Type, bass));
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

namespace detail {

std::vector<MetaEvent> RecogniseFromNotes(std::uint16_t division, const std::vector<MetaEvent>& timeSignatures,
                                          const std::array<std::vector<MidiEvent>, 16>& channels,
                                          const std::vector<MetaEvent>& metaEvents, const ProfileWeights& weights,
                                          const ModelWeights& model) {
    // Without a melody the highest notes weigh as the others.
    ProfileWeights profile = weights;
    if (!MelodyOnTop(channels)) profile.Melody = profile.HighWeight = 1.0f;
    const std::vector<Note> notes = CollectNotes(channels);
    std::vector<std::uint32_t> firstBeats;
    std::vector<Beat> beats = NoteGrid(MetreMap(division, timeSignatures), notes, profile.MaxBeatsPerNote, firstBeats);
    std::uint32_t soundEnd = 0;
    std::vector<BeatProfile> profiles = ProfileNotes(beats, notes, firstBeats, profile, soundEnd);
    if (AlignBars(beats, profiles, profile.BarMargin)) profiles = ProfileNotes(beats, notes, firstBeats, profile, soundEnd);
    if (soundEnd == 0) return {};
    // The grid ends with the last note, as the song's sound does.
    std::size_t sounding = beats.size();
    while (sounding > 0 && beats[sounding - 1].Tick >= soundEnd) --sounding;
    beats.resize(sounding);
    profiles.resize(sounding);
    if (beats.empty()) return {};
    const SongKey key = EstimateKey(profiles);
    const std::vector<BeatChord> chords = ChooseChords(beats, profiles, key, model);
    return ChordEvents(ChangesOf(beats, chords), {0, key.Fifths(), key.Minor}, KeySignatures(metaEvents));
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
