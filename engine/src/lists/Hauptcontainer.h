// The process-wide event lists and writer state. One set exists for the whole
// program; every StandardMidifile object works on it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "MidiRecords.h"

namespace tonalux::detail {

// A channel record as the writers put it out: its tick and the message it is
// written as. Saving needs nothing else of a record, and eight bytes instead
// of a whole record keep the save sequence of a large song small.
struct SaveMessage {
    // The format 0 writer sizes the sequence of a whole song at once and then
    // writes every message of it, so a new message is left unset rather than
    // zeroed first: that would be one more pass over the sequence.
    SaveMessage() {}
    SaveMessage(std::uint32_t tick, std::uint8_t size, std::array<std::uint8_t, 3> bytes)
        : Tick(tick), Size(size), Bytes(bytes) {}

    std::uint32_t Tick;
    // Bytes of the message, status included: 2 or 3, or 0 for a record that
    // is written as nothing.
    std::uint8_t Size;
    // Status and data bytes; the third is unused by two-byte messages.
    std::array<std::uint8_t, 3> Bytes;
};

struct Hauptcontainer {
    std::array<std::vector<MidiEvent>, 16> ChannelEvents;
    std::vector<MetaEvent> MetaEvents;
    std::vector<MetaEvent> TempoEvents;
    std::vector<MetaEvent> MessureEvents;  // time signatures
    std::vector<MetaEvent> LyricEvents;
    std::vector<Marker> MarkerEvents;
    std::vector<MetaEvent> YamChordEvents;
    std::vector<SysexEvent> SysexEvents;
    // The writers' save sequences: the messages of every channel record for
    // the format 0 track, every meta and system-exclusive record for both
    // formats, each in tick order.
    std::vector<SaveMessage> SaveMidiEvents;
    std::vector<MetaEvent> SaveMetaEvents;
    // The tick at which the song ends (StandardMidifile::EndTick).
    std::uint32_t EndTick = 0;

    // Empties every list; the song ends at 0.
    void Clear();
    // Records in the song's lists: channel, meta, typed and system-exclusive
    // (the writers' save sequences are not part of the song).
    std::size_t RecordCount() const;
};

// State of the save in progress, shared by both writers.
struct WriterState {
    // The whole output file. It grows as needed; its size is the number of
    // bytes written so far (the model's WritePos is size() - 1).
    std::vector<std::uint8_t> WritePuffer;
    std::uint32_t CurrentTick = 0;
    std::uint32_t LastTick = 0;
    std::int32_t MidiIndex = 0;
    std::int32_t MetaIndex = 0;
};

// Whether a channel number names one of the sixteen channel lists.
inline bool ValidChannel(int channel) {
    return channel >= 0 && channel < static_cast<int>(std::tuple_size_v<decltype(Hauptcontainer::ChannelEvents)>);
}

// The one set of lists and writer state of the process.
extern Hauptcontainer theLists;
extern WriterState theWriter;

inline Hauptcontainer& Lists() { return theLists; }
inline WriterState& Writer() { return theWriter; }

}  // namespace tonalux::detail
