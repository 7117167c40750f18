// Transposition of notes and of keyboard chord symbols by a number of
// semitones, everywhere or within a tick range (both ends inclusive).
// Within a range whole notes move: see TransposeChannelFromTo.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

#include "lists/Hauptcontainer.h"
#include "StandardMidifile.h"

namespace tonalux {

namespace {

constexpr std::uint8_t kNoNote = 0x7F;

// The seventeen common spellings of a chord root byte (high nibble accidental,
// low nibble letter) and their pitch numbers, C = 1 up to B = 12.
struct Spelling {
    std::uint8_t byte;
    int pitch;
};
constexpr std::array<Spelling, 17> kSpellingPitch = {{
    {0x31, 1},   // C
    {0x41, 2},   // C#
    {0x22, 2},   // Db
    {0x32, 3},   // D
    {0x42, 4},   // D#
    {0x23, 4},   // Eb
    {0x33, 5},   // E
    {0x34, 6},   // F
    {0x44, 7},   // F#
    {0x25, 7},   // Gb
    {0x35, 8},   // G
    {0x45, 9},   // G#
    {0x26, 9},   // Ab
    {0x36, 10},  // A
    {0x46, 11},  // A#
    {0x27, 11},  // Bb
    {0x37, 12},  // B
}};

// Pitch number 1..12 back to one fixed spelling: sharps for C# and F#, flats
// for Eb, Ab and Bb.
constexpr std::array<std::uint8_t, 12> kPitchByte = {
    0x31,  // 1 C
    0x41,  // 2 C#
    0x32,  // 3 D
    0x23,  // 4 Eb
    0x33,  // 5 E
    0x34,  // 6 F
    0x44,  // 7 F#
    0x35,  // 8 G
    0x26,  // 9 Ab
    0x36,  // 10 A
    0x27,  // 11 Bb
    0x37,  // 12 B
};

// Semitones above C of the note letters 1 (C) to 7 (B).
constexpr std::array<int, 8> kLetterSemitone = {0, 0, 2, 4, 5, 7, 9, 11};

// Pitch number 1..12 of a root byte, or 0 when the byte spells no note. Any
// letter 1..7 with any accidental 0 (triple flat) to 6 (triple sharp) is a
// note: Cb is B, E# is F, and so on.
int PitchNumber(std::uint8_t root) {
    for (const Spelling& s : kSpellingPitch) {
        if (s.byte == root) return s.pitch;
    }
    const int accidental = root >> 4;
    const int letter = root & 0x0F;
    if (letter < 1 || letter > 7 || accidental > 6) return 0;
    const int semitone = kLetterSemitone[static_cast<std::size_t>(letter)] + accidental - 3;
    return (semitone % 12 + 12) % 12 + 1;
}

// A note number moved by the interval; a result outside 0..127 is brought back
// by whole octaves, so the note keeps its pitch class.
std::uint8_t MovedNote(std::uint8_t note, int interval) {
    std::int64_t value = static_cast<std::int64_t>(note) + interval;
    if (value > 127) value -= 12 * ((value - 127 + 11) / 12);
    if (value < 0) value += 12 * ((-value + 11) / 12);
    return static_cast<std::uint8_t>(value);
}

bool IsNote(const MidiEvent& event) { return event.Kind == 0x90 || event.Kind == 0x80; }

// A note-on of velocity 0 ends a note like a note-off.
bool IsNoteOn(const MidiEvent& event) { return event.Kind == 0x90 && event.Data2 > 0; }

// The note-ons of one note number that have not ended yet, oldest first; for
// each whether it moved. Taking from the front moves a read index, so the
// queue costs one step per note.
class PendingNotes {
public:
    void Push(bool moved) { moved_.push_back(moved); }
    bool Empty() const { return front_ == moved_.size(); }
    bool Pop() {
        const bool moved = moved_[front_++] != 0;
        if (Empty()) {
            moved_.clear();
            front_ = 0;
        }
        return moved;
    }

private:
    std::vector<std::uint8_t> moved_;
    std::size_t front_ = 0;
};

bool InRange(std::uint32_t tick, long from, long to) {
    const long long t = tick;
    return from <= t && t <= to;
}

// A range that holds every tick.
constexpr long kEarliest = std::numeric_limits<long>::min();
constexpr long kLatest = std::numeric_limits<long>::max();

}  // namespace

std::uint8_t StandardMidifile::YamByteTrans(int interval, std::uint8_t root) {
    if (root == kNoNote) return kNoNote;
    const int pitch = PitchNumber(root);
    // A byte that names no note is not ours to change.
    if (pitch == 0) return root;
    const std::int64_t moved = (static_cast<std::int64_t>(pitch) - 1 + interval) % 12;
    const std::int64_t index = moved < 0 ? moved + 12 : moved;
    return kPitchByte[static_cast<std::size_t>(index)];
}

bool StandardMidifile::YamchordTransFromTo(int interval, long from, long to) {
    for (MetaEvent& chord : detail::Lists().YamChordEvents) {
        // Bytes 3 (chord root) and 5 (bass root) are changed; a record too short
        // to hold them is left alone.
        if (!chord.Data || chord.Length < 6 || !InRange(chord.Tick, from, to)) continue;
        // The transposed bytes go into a block of their own, so a block that
        // two records share is not moved twice and a record handed out earlier
        // keeps what it showed. The new block ends in a zero byte like every block.
        DataBlock block = std::make_shared<std::uint8_t[]>(std::size_t{chord.Length} + 1);
        std::memcpy(block.get(), chord.Data.get(), chord.Length);
        block[3] = YamByteTrans(interval, block[3]);
        block[5] = YamByteTrans(interval, block[5]);
        chord.Data = std::move(block);
    }
    return true;
}

bool StandardMidifile::Yamchordtranspose(int interval) {
    return YamchordTransFromTo(interval, kEarliest, kLatest);
}

bool StandardMidifile::TransposeChannelFromTo(int channel, int interval, long from, long to) {
    if (!detail::ValidChannel(channel)) return true;
    // A note moves as a whole: a note-on whose tick lies in the range takes
    // the note-off that ends it along, wherever that lies, and a note-off
    // whose note-on lies outside the range stays. The list is walked once in
    // its order; per note number the note-ons still sounding wait in a queue,
    // so overlapping notes of one number pair first-on with first-off. A
    // note-off that ends no note-on follows the range by its own tick.
    // Velocities and every other message, key pressure included, keep their bytes.
    std::array<PendingNotes, 128> sounding;
    for (MidiEvent& event : detail::Lists().ChannelEvents[static_cast<std::size_t>(channel)]) {
        if (!IsNote(event)) continue;
        PendingNotes& pending = sounding[event.Data1 & 0x7F];
        bool moves = InRange(event.Tick, from, to);
        if (IsNoteOn(event)) {
            pending.Push(moves);
        } else if (!pending.Empty()) {
            moves = pending.Pop();
        }
        if (moves) event.Data1 = MovedNote(event.Data1, interval);
    }
    return true;
}

bool StandardMidifile::TransposeChannel(int channel, int interval) {
    if (!detail::ValidChannel(channel)) return true;
    for (MidiEvent& event : detail::Lists().ChannelEvents[static_cast<std::size_t>(channel)]) {
        if (IsNote(event)) event.Data1 = MovedNote(event.Data1, interval);
    }
    return true;
}

}  // namespace tonalux
