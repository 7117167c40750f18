// The format 0 writer: one track holding every event. The channel records of
// all 16 lists and the meta and system-exclusive records are each collected
// into a save sequence in tick order, then merged into the track; at equal
// ticks the meta and system-exclusive events come first. Every message carries
// its status byte, and a note-on with velocity 0 is written as it stands.
#include "write/EventEncoding.h"
#include "lists/Hauptcontainer.h"
#include "StandardMidifile.h"

namespace tonalux {

bool StandardMidifile::FormatNullSave(const std::string& fileName) {
    AssembleFormatNull();
    return PufferToFile(fileName);
}

void StandardMidifile::AssembleFormatNull() {
    auto& lists = detail::Lists();
    detail::Writer().WritePuffer.clear();
    lists.SaveMidiEvents.clear();
    lists.SaveMetaEvents.clear();
    SaveVectorFuellen();
    AssembleFormatNullTrack();
}

bool StandardMidifile::SaveMidifileFormatNull(const std::string& fileName) {
    AssembleFormatNullTrack();
    return PufferToFile(fileName);
}

void StandardMidifile::AssembleFormatNullTrack() {
    InitWritePuffer();
    FillSMFHeader();
    FillMidiTrackHeader();
    MididatenPufferFuellen();
    EndTrackSetzen();
    TracklaengeAktualisieren();
}

bool StandardMidifile::FillSMFHeader() {
    detail::PutFileHeader(detail::Writer().WritePuffer, 0, 1, Division);
    return true;
}

bool StandardMidifile::FillMidiTrackHeader() {
    detail::PutTrackHeader(detail::Writer().WritePuffer, kFileHeaderBytes);
    return true;
}

bool StandardMidifile::MididatenPufferFuellen() {
    auto& writer = detail::Writer();
    const auto& channel = detail::Lists().SaveMidiEvents;
    const auto& meta = detail::Lists().SaveMetaEvents;
    std::size_t m = writer.MidiIndex < 0 ? 0 : static_cast<std::size_t>(writer.MidiIndex);
    std::size_t t = writer.MetaIndex < 0 ? 0 : static_cast<std::size_t>(writer.MetaIndex);

    detail::OutputCursor out(writer.WritePuffer, detail::kTrackSlack);
    // A channel event mostly takes four bytes: a one-byte delta and a message.
    out.Reserve(out.Used() + 4 * channel.size() + 16 * meta.size() + detail::kTrackSlack);
    std::uint32_t lastTick = writer.LastTick;
    std::uint32_t currentTick = writer.CurrentTick;
    const detail::SaveMessage* messages = channel.data();
    const auto messageAt = [messages](std::size_t i) -> const detail::SaveMessage& { return messages[i]; };
    // Taking turns: the channel records that come before the next meta or
    // system-exclusive record, then that record, which at equal ticks goes
    // first. Past the last of them every channel record is before.
    while (m < channel.size() || t < meta.size()) {
        const std::uint64_t before = t < meta.size() ? meta[t].Tick : detail::kPastEveryTick;
        const std::size_t from = m;
        m = detail::EmitMessages(out, messageAt, m, channel.size(), before, lastTick);
        if (m != from) currentTick = channel[m - 1].Tick;
        if (t < meta.size()) {
            currentTick = meta[t].Tick;
            detail::EmitMetaRecord(out, meta[t++], lastTick);
        }
    }
    writer.MidiIndex = static_cast<std::int32_t>(m);
    writer.MetaIndex = static_cast<std::int32_t>(t);
    writer.LastTick = lastTick;
    writer.CurrentTick = currentTick;
    return true;
}

// The single-record encoders: the record at MidiIndex, through the same
// encoder as the whole track. The two-byte and three-byte encoders write only
// a record whose message has their size.
bool StandardMidifile::MidiEventToPuffer() {
    const auto& sequence = detail::Lists().SaveMidiEvents;
    if (const detail::SaveMessage* message = detail::RecordAt(sequence, detail::Writer().MidiIndex)) {
        detail::EncodeSingleMessage(*message, 0);
    }
    return true;
}

bool StandardMidifile::ShortMidiEventToPuffer() {
    const auto& sequence = detail::Lists().SaveMidiEvents;
    if (const detail::SaveMessage* message = detail::RecordAt(sequence, detail::Writer().MidiIndex)) {
        detail::EncodeSingleMessage(*message, 2);
    }
    return true;
}

bool StandardMidifile::LongMidiEventToPuffer() {
    const auto& sequence = detail::Lists().SaveMidiEvents;
    if (const detail::SaveMessage* message = detail::RecordAt(sequence, detail::Writer().MidiIndex)) {
        detail::EncodeSingleMessage(*message, 3);
    }
    return true;
}

bool StandardMidifile::TracklaengeAktualisieren() {
    detail::PutTrackLength(detail::Writer().WritePuffer, kFileHeaderBytes);
    return true;
}

}  // namespace tonalux
