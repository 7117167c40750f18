// The output buffer of both writers and the encoders they share: variable-
// length quantities, meta and system-exclusive events, the end of track. The
// buffer holds the whole file being assembled; its size is the number of
// bytes written so far. Delta times are taken from the ticks of the records,
// never from their stored Delta.
#include <algorithm>

#include "write/EventEncoding.h"
#include "lists/Hauptcontainer.h"
#include "StandardMidifile.h"

namespace tonalux {

using detail::RecordAt;

bool StandardMidifile::InitWritePuffer() {
    auto& writer = detail::Writer();
    writer.LastTick = 0;
    writer.CurrentTick = 0;
    writer.MetaIndex = 0;
    writer.MidiIndex = 0;
    writer.WritePuffer.clear();
    return true;
}

bool StandardMidifile::WriteVarLength(std::uint32_t value) {
    detail::OutputCursor out(detail::Writer().WritePuffer, 0);
    out.Commit(PutVlq(out.Room(kMaxVlqBytes), value));
    return true;
}

void StandardMidifile::EncodeMetaRecord(const MetaEvent& record) {
    auto& writer = detail::Writer();
    writer.CurrentTick = record.Tick;
    detail::OutputCursor out(writer.WritePuffer, 0);
    detail::EmitMetaRecord(out, record, writer.LastTick);
}

void detail::EncodeSingleMessage(const SaveMessage& message, std::size_t messageBytes) {
    auto& writer = Writer();
    writer.CurrentTick = message.Tick;
    if (messageBytes != 0 && message.Size != messageBytes) return;
    OutputCursor out(writer.WritePuffer, 0);
    EmitMessage(out, message, writer.LastTick);
}

bool StandardMidifile::MetaEventToPuffer() {
    const auto& writer = detail::Writer();
    if (const MetaEvent* record = RecordAt(detail::Lists().SaveMetaEvents, writer.MetaIndex)) {
        EncodeMetaRecord(*record);
    }
    return true;
}

bool StandardMidifile::MetaToPuffer() {
    const auto& writer = detail::Writer();
    const MetaEvent* record = RecordAt(detail::Lists().SaveMetaEvents, writer.MetaIndex);
    if (record && record->Status == 0xFF) EncodeMetaRecord(*record);
    return true;
}

bool StandardMidifile::SysexToPuffer() {
    const auto& writer = detail::Writer();
    const MetaEvent* record = RecordAt(detail::Lists().SaveMetaEvents, writer.MetaIndex);
    if (record && (record->Status == 0xF0 || record->Status == 0xF7)) EncodeMetaRecord(*record);
    return true;
}

bool StandardMidifile::EndTrackSetzen() {
    // The track ends at the song's end when that is later than its last
    // event, so that a song keeps its length; otherwise right after it.
    const std::uint32_t last = detail::Writer().LastTick;
    const std::uint32_t end = detail::Lists().EndTick;
    const std::uint32_t delta = end > last ? end - last : 0;
    detail::OutputCursor out(detail::Writer().WritePuffer, 0);
    std::uint8_t* at = PutVlq(out.Room(kMaxVlqBytes + kEndOfTrackEvent.size()), delta);
    out.Commit(std::copy(kEndOfTrackEvent.begin(), kEndOfTrackEvent.end(), at));
    return true;
}

const std::vector<std::uint8_t>& StandardMidifile::WrittenBytes() const { return detail::Writer().WritePuffer; }

}  // namespace tonalux
