// The format 1 writer: a meta track holding every meta and system-exclusive
// event, then one track per channel that has events, in ascending channel
// order. The meta track is always written and always counted, so the header
// announces exactly the chunks that follow. Each channel track is its list in
// tick order, timed from the start of the track; a note-on with velocity 0 is
// written as a note-off with velocity 0.
#include "write/EventEncoding.h"
#include "lists/Hauptcontainer.h"
#include "StandardMidifile.h"
#include "write/TickMerge.h"

namespace tonalux {

namespace {

// A channel gets a track when at least one of its records produces bytes, so
// that no track is written empty (a file read again gives the same tracks).
bool HasWritableRecord(const std::vector<MidiEvent>& list) {
    for (const auto& record : list)
        if (detail::WritableMessageBytes(record) != 0) return true;
    return false;
}

// The record at an index of a channel's list, or nothing outside the lists.
const MidiEvent* ChannelListRecord(int channel, std::int32_t index) {
    if (channel < 0 || channel > 15) return nullptr;
    return detail::RecordAt(detail::Lists().ChannelEvents[static_cast<std::size_t>(channel)], index);
}

}  // namespace

bool StandardMidifile::FormatOneSave(const std::string& fileName) {
    AssembleFormatOne();
    return PufferToFile(fileName);
}

void StandardMidifile::AssembleFormatOne() {
    FormatEinsInit();
    MetaUndSysexVectorFuellen();
    Format1TrackCount = MidikanalErmitteln();
    FillSMFHeaderFormat1(static_cast<std::uint8_t>(Format1TrackCount));
    AssembleFormatOneTracks();
}

bool StandardMidifile::FormatEinsInit() {
    auto& writer = detail::Writer();
    Format1TrackCount = 0;
    TrackChunkStart = 0;
    writer.CurrentTick = 0;
    writer.LastTick = 0;
    writer.MetaIndex = 0;
    writer.MidiIndex = 0;
    writer.WritePuffer.clear();
    detail::Lists().SaveMetaEvents.clear();
    return true;
}

int StandardMidifile::MidikanalErmitteln() {
    int tracks = 1;  // the meta track
    for (const auto& channel : detail::Lists().ChannelEvents) {
        if (HasWritableRecord(channel)) ++tracks;
    }
    return tracks;
}

bool StandardMidifile::FillSMFHeaderFormat1(std::uint8_t trackCount) {
    auto& buffer = detail::Writer().WritePuffer;
    buffer.resize(kFileHeaderBytes);
    detail::PutFileHeader(buffer, 1, trackCount, Division);
    return true;
}

bool StandardMidifile::Format1DatenInFileSchreiben(const std::string& fileName) {
    AssembleFormatOneTracks();
    return PufferToFile(fileName);
}

void StandardMidifile::AssembleFormatOneTracks() {
    auto& writer = detail::Writer();
    const auto& meta = detail::Lists().SaveMetaEvents;

    FillFormatOneMidiTrackHeader(static_cast<int>(kFileHeaderBytes));
    {
        detail::OutputCursor out(writer.WritePuffer, detail::kTrackSlack);
        std::size_t t = writer.MetaIndex < 0 ? 0 : static_cast<std::size_t>(writer.MetaIndex);
        for (; t < meta.size(); ++t) {
            writer.CurrentTick = meta[t].Tick;
            detail::EmitMetaRecord(out, meta[t], writer.LastTick);
        }
        writer.MetaIndex = static_cast<std::int32_t>(t);
    }
    EndTrackSetzen();
    TracklaengeFormatOneAktualisieren(0);

    WriteFormatOneChannelTracks();
}

void StandardMidifile::WriteFormatOneChannelTracks() {
    auto& writer = detail::Writer();
    const auto& channels = detail::Lists().ChannelEvents;
    std::size_t total = 0;
    for (const auto& list : channels) total += list.size();
    writer.WritePuffer.reserve(writer.WritePuffer.size() + 4 * total + 16 * (kChunkHeaderBytes + 4));

    for (std::size_t channel = 0; channel < channels.size(); ++channel) {
        const auto& list = channels[channel];
        writer.MidiIndex = 0;
        if (!HasWritableRecord(list)) continue;
        writer.LastTick = 0;
        writer.CurrentTick = 0;
        FillFormatOneMidiTrackHeader(static_cast<int>(writer.WritePuffer.size()));
        {
            // A list that editing left out of tick order is written in tick
            // order (stable), never with a wrapped delta time.
            const std::vector<std::uint32_t> order =
                detail::StableTickOrder(list.size(), [&](std::size_t i) { return list[i].Tick; });
            detail::OutputCursor out(writer.WritePuffer, detail::kTrackSlack);
            std::uint32_t lastTick = 0;
            const MidiEvent* records = list.data();
            if (order.empty()) {
                const auto messageAt = [records](std::size_t i) { return detail::MessageOf(records[i], true); };
                detail::EmitMessages(out, messageAt, 0, list.size(), detail::kPastEveryTick, lastTick);
            } else {
                const std::uint32_t* sorted = order.data();
                const auto messageAt = [records, sorted](std::size_t i) {
                    return detail::MessageOf(records[sorted[i]], true);
                };
                detail::EmitMessages(out, messageAt, 0, list.size(), detail::kPastEveryTick, lastTick);
            }
            writer.LastTick = lastTick;
            writer.CurrentTick = list[order.empty() ? list.size() - 1 : order.back()].Tick;
            writer.MidiIndex = static_cast<std::int32_t>(list.size());
        }
        EndTrackSetzen();
        TracklaengeFormatOneAktualisieren(0);
    }
}

bool StandardMidifile::FillFormatOneMidiTrackHeader(int chunkOffset) {
    TrackChunkStart = chunkOffset < 0 ? 0 : chunkOffset;
    detail::PutTrackHeader(detail::Writer().WritePuffer, static_cast<std::size_t>(TrackChunkStart));
    return true;
}

bool StandardMidifile::TracklaengeFormatOneAktualisieren(int /*unused*/) {
    detail::PutTrackLength(detail::Writer().WritePuffer, static_cast<std::size_t>(TrackChunkStart));
    return true;
}

// The single-record encoders: the record at MidiIndex of a channel's list,
// through the same encoder as the whole track. The two-byte and three-byte
// encoders write only a record whose message has their size.
bool StandardMidifile::MidiEventToPufferFormatOne(int channel) {
    if (const MidiEvent* record = ChannelListRecord(channel, detail::Writer().MidiIndex)) {
        detail::EncodeSingleMessage(detail::MessageOf(*record, true), 0);
    }
    return true;
}

bool StandardMidifile::ShortMidiEventToFormatOnePuffer(int channel) {
    if (const MidiEvent* record = ChannelListRecord(channel, detail::Writer().MidiIndex)) {
        detail::EncodeSingleMessage(detail::MessageOf(*record, true), 2);
    }
    return true;
}

bool StandardMidifile::LongMidiEventToFormatOnePuffer(int channel) {
    if (const MidiEvent* record = ChannelListRecord(channel, detail::Writer().MidiIndex)) {
        detail::EncodeSingleMessage(detail::MessageOf(*record, true), 3);
    }
    return true;
}

}  // namespace tonalux
