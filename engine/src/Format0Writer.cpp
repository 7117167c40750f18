// The format 0 writer: one track holding every event. The channel records of
// all 16 lists and the meta and system-exclusive records are each collected
// into a save sequence in tick order, then merged into the track; at equal
// ticks the meta and system-exclusive events come first. Every message carries
// its status byte, and a note-on with velocity 0 is written as it stands.
#include <exception>

#include "EventEncoding.h"
#include "Hauptcontainer.h"
#include "StandardMidifile.h"

namespace tonalux {

namespace {

using detail::kHeaderBytes;
using detail::kTrackHeaderBytes;
// Room taken at a time while a whole track is encoded.
constexpr std::size_t kTrackSlack = 64 * 1024;

}  // namespace

bool StandardMidifile::SaveMidifile(int format, const std::string& fileName) {
    try {
        return format == 0 ? FormatNullSave(fileName) : FormatOneSave(fileName);
    } catch (const std::exception&) {
        // Memory for the file could not be had: nothing is written.
        CurrentEngineHost().ShowMessage(detail::kCannotWriteMessage);
        return false;
    }
}

bool StandardMidifile::FormatNullSave(const std::string& fileName) {
    auto& lists = detail::Lists();
    detail::Writer().WritePuffer.clear();
    lists.SaveMidiEvents.clear();
    lists.SaveMetaEvents.clear();
    SaveVectorFuellen();
    return SaveMidifileFormatNull(fileName);
}

bool StandardMidifile::SaveMidifileFormatNull(const std::string& fileName) {
    InitWritePuffer();
    FillSMFHeader();
    FillMidiTrackHeader();
    MididatenPufferFuellen();
    EndTrackSetzen();
    TracklaengeAktualisieren();
    return PufferToFile(fileName);
}

bool StandardMidifile::FillSMFHeader() {
    detail::PutFileHeader(detail::Writer().WritePuffer, 0, 1, Division);
    return true;
}

bool StandardMidifile::FillMidiTrackHeader() {
    detail::PutTrackHeader(detail::Writer().WritePuffer, kHeaderBytes);
    return true;
}

bool StandardMidifile::MididatenPufferFuellen() {
    auto& writer = detail::Writer();
    const auto& channel = detail::Lists().SaveMidiEvents;
    const auto& meta = detail::Lists().SaveMetaEvents;
    std::size_t m = writer.MidiIndex < 0 ? 0 : static_cast<std::size_t>(writer.MidiIndex);
    std::size_t t = writer.MetaIndex < 0 ? 0 : static_cast<std::size_t>(writer.MetaIndex);

    detail::OutputCursor out(writer.WritePuffer, kTrackSlack);
    // A channel event mostly takes four bytes: a one-byte delta and a message.
    out.Reserve(out.Used() + 4 * channel.size() + 16 * meta.size() + kTrackSlack);
    std::uint32_t lastTick = writer.LastTick;
    std::uint32_t currentTick = writer.CurrentTick;
    while (m < channel.size() || t < meta.size()) {
        if (t < meta.size() && (m >= channel.size() || meta[t].Tick <= channel[m].Tick)) {
            const MetaEvent& record = meta[t++];
            currentTick = record.Tick;
            detail::EmitMetaRecord(out, record, lastTick);
        } else {
            const MidiEvent& record = channel[m++];
            currentTick = record.Tick;
            if (const std::size_t bytes = detail::WritableMessageBytes(record)) {
                detail::EmitChannelRecord(out, record, bytes, false, lastTick);
            }
        }
    }
    writer.MidiIndex = static_cast<std::int32_t>(m);
    writer.MetaIndex = static_cast<std::int32_t>(t);
    writer.LastTick = lastTick;
    writer.CurrentTick = currentTick;
    return true;
}

bool StandardMidifile::MidiEventToPuffer() {
    const auto& writer = detail::Writer();
    const auto& sequence = detail::Lists().SaveMidiEvents;
    if (writer.MidiIndex < 0 || static_cast<std::size_t>(writer.MidiIndex) >= sequence.size()) return true;
    const std::size_t bytes = detail::WritableMessageBytes(sequence[static_cast<std::size_t>(writer.MidiIndex)]);
    if (bytes == 3) return LongMidiEventToPuffer();
    if (bytes == 2) return ShortMidiEventToPuffer();
    detail::Writer().CurrentTick = sequence[static_cast<std::size_t>(writer.MidiIndex)].Tick;
    return true;
}

bool StandardMidifile::ShortMidiEventToPuffer() {
    const auto& writer = detail::Writer();
    const auto& sequence = detail::Lists().SaveMidiEvents;
    if (writer.MidiIndex >= 0 && static_cast<std::size_t>(writer.MidiIndex) < sequence.size()) {
        EncodeChannelRecord(sequence[static_cast<std::size_t>(writer.MidiIndex)], 2, false);
    }
    return true;
}

bool StandardMidifile::LongMidiEventToPuffer() {
    const auto& writer = detail::Writer();
    const auto& sequence = detail::Lists().SaveMidiEvents;
    if (writer.MidiIndex >= 0 && static_cast<std::size_t>(writer.MidiIndex) < sequence.size()) {
        EncodeChannelRecord(sequence[static_cast<std::size_t>(writer.MidiIndex)], 3, false);
    }
    return true;
}

bool StandardMidifile::TracklaengeAktualisieren() {
    detail::PutTrackLength(detail::Writer().WritePuffer, kHeaderBytes);
    return true;
}

}  // namespace tonalux
