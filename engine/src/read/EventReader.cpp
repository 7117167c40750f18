// Reading the events of a track chunk: delta times, running status, channel,
// meta and system-exclusive events, and the system-common messages passed
// over. The chunks, the header and the load as a whole are in SongLoad.cpp.
#include <algorithm>
#include <string>

#include "read/FileCursors.h"
#include "lists/DataBlockArena.h"
#include "lists/Hauptcontainer.h"
#include "MidiBytes.h"
#include "StandardMidifile.h"
#include "lists/TickOrder.h"

namespace tonalux {

namespace {

using detail::ByteCursor;
using detail::Lists;

// Eventanalyse's answer for a data byte, or for no byte at all.
constexpr int kNoClass = 999;

bool IsChannelClass(std::int32_t kind) { return ChannelMessageBytes(kind) != 0; }

// Data bytes of a system-common or real-time message of status 0xF1 to 0xFE
// (0xF7 and 0xFF excepted, which the reader reads as events); -1 for the
// undefined 0xF4 and 0xF5.
int SystemCommonDataBytes(std::uint8_t status) {
    switch (status) {
        case 0xF1:  // time code quarter frame
        case 0xF3:  // song select
            return 1;
        case 0xF2:  // song position
            return 2;
        case 0xF4:
        case 0xF5:
            return -1;
        default:  // 0xF6 tune request, 0xF8 to 0xFE real-time
            return 0;
    }
}

}  // namespace

// ---- the events of one chunk ---------------------------------------------------

void StandardMidifile::EndChunk() { Bytepos = chunkEnd_; }

bool StandardMidifile::TrackSingleRead(std::uint32_t chunkStart, std::uint32_t chunkLength) {
    if (!FileBuffer) return true;
    TrackTime = 0;
    // Within the file: ChunkEnd never passes its end.
    chunkEnd_ = static_cast<std::uint32_t>(ChunkEnd(chunkStart, chunkLength));
    Bytepos = chunkStart + static_cast<std::uint32_t>(kChunkHeaderBytes);
    // Every event of the chunk is read, however short the chunk: a track of a
    // single program change is as much a part of the song as any other. Each
    // ReadEvent moves Bytepos forward by at least one byte.
    while (Bytepos < chunkEnd_) ReadNextEvent(Bytepos);
    Bytepos = chunkEnd_;
    return true;
}

// ---- events -------------------------------------------------------------------

std::uint32_t StandardMidifile::ReadEventtime(std::uint32_t position) {
    if (!FileBuffer) return 0;
    Bytepos = position;
    const auto value = ChunkCursor(Bytepos).Vlq();
    if (!value) {
        ReportDamage(position);
        EndChunk();
        return 0;
    }
    return *value;
}

std::uint32_t StandardMidifile::ReadDynLaeng(std::uint32_t position) { return ReadEventtime(position); }

int StandardMidifile::Eventanalyse(int position) {
    if (position < 0 || !FileBuffer) return kNoClass;
    std::uint32_t at = static_cast<std::uint32_t>(position);
    const auto read = FileCursor(at).Peek();
    if (!read) return kNoClass;
    const std::uint8_t byte = *read;
    if (byte < 0x80) return kNoClass;
    if (byte >= 0xF0) return byte;
    return byte & 0xF0;
}

int StandardMidifile::Kanalermittlung(std::uint8_t status) { return status & 0x0F; }

bool StandardMidifile::EndOfTrack(std::uint32_t position) {
    ByteCursor cursor = ChunkCursor(position);  // looks ahead: Bytepos stays
    const auto status = cursor.U8();
    const auto type = cursor.U8();
    return status && type && *status == kMetaStatus && *type == kEndOfTrackType;
}

// The channel messages are the bulk of every song, so their reading is kept
// in one function that the event loop inlines.
[[gnu::always_inline]] inline bool StandardMidifile::ReadChannelEvent(std::uint32_t position, int kind, std::uint32_t delta,
                                               int dataBytes) {
    Bytepos = position;
    ByteCursor cursor = ChunkCursor(Bytepos);
    std::uint8_t status = static_cast<std::uint8_t>(RunningStatus);
    if (!RunningStatusUsed) status = cursor.U8().value_or(0);
    const auto data = cursor.Bytes(static_cast<std::uint32_t>(dataBytes));
    if (!data) {
        ReportDamage(position);
        EndChunk();
        return true;
    }
    TrackTime += delta;
    lastChannelStatus_ = status;

    const std::uint32_t tick = TrackTime;
    const std::uint8_t data1 = (*data)[0];
    const std::uint8_t data2 = dataBytes > 1 ? (*data)[1] : 0;
    if (kind == 0x80 || kind == 0x90) {
        // The earliest note of the song, for the start-at-first-note option.
        if (!firstNoteSeen_ || tick < firstNoteTick_) firstNoteTick_ = tick;
        firstNoteSeen_ = true;
        readNote_ = true;
    }
    const auto channel = static_cast<std::size_t>(status & 0x0F);
    detail::StoreInTickOrder(
        Lists().ChannelEvents[channel], channelLate_[channel], LastChannelTick[channel], tick, loading_,
        [&](MidiEvent& event) {
            event.Tick = tick;
            event.Delta = delta;
            event.Channel = static_cast<std::int32_t>(channel);
            event.Kind = kind;
            event.Status = status;
            event.Data1 = data1;
            event.Data2 = data2;
        },
        [this](MidiEvent&& late) { InsertMidievent(late, late.Tick); });
    return true;
}

bool StandardMidifile::ReadShortMsg(unsigned position, int kind, unsigned delta) {
    if (!FileBuffer) return true;
    return ReadChannelEvent(position, kind, delta, 1);
}

bool StandardMidifile::ReadLongMsg(unsigned position, int kind, unsigned delta) {
    if (!FileBuffer) return true;
    return ReadChannelEvent(position, kind, delta, 2);
}

bool StandardMidifile::ReadEvent(std::uint32_t position) {
    if (FileBuffer) ReadNextEvent(position);
    return true;
}

[[gnu::always_inline]] inline void StandardMidifile::ReadNextEvent(std::uint32_t position) {
    Bytepos = position;
    ByteCursor cursor = ChunkCursor(Bytepos);
    const auto deltaTime = cursor.Vlq();
    const auto statusByte = deltaTime ? cursor.Peek() : std::nullopt;
    if (!statusByte) {
        // A delta time cut off, or one with no event behind it: the chunk
        // was cut short.
        ReportDamage(position);
        EndChunk();
        return;
    }
    const std::uint32_t delta = *deltaTime;
    const std::uint32_t at = Bytepos;
    const std::uint8_t byte = *statusByte;

    if (byte >= 0x80) {
        if (byte > 0xF0 && byte != 0xF7 && byte != 0xFF) {
            SkipSystemCommon(at, delta);
            return;
        }
        RunningStatus = byte;
        CurrentKind = byte >= 0xF0 ? byte : byte & 0xF0;  // as Eventanalyse gives it
        RunningStatusUsed = false;
    } else {
        RunningStatusUsed = true;
        if (!IsChannelClass(CurrentKind)) {
            // A data byte right after a meta or system-exclusive event carries
            // on the running status of the last channel message of this load.
            if (lastChannelStatus_ == 0) {
                ReportDamage(at);
                cursor.Skip(1);
                return;
            }
            RunningStatus = lastChannelStatus_;
            CurrentKind = lastChannelStatus_ & 0xF0;
        }
    }

    if (!RunningStatusUsed && (byte == 0xF0 || byte == 0xF7)) {
        ReadSysexMsg(at, 0, delta);
        return;
    }
    if (CurrentKind == 0xFF) {
        ReadMetaMsg(at, CurrentKind, delta);
        return;
    }
    const auto messageBytes = static_cast<int>(ChannelMessageBytes(CurrentKind));
    if (messageBytes == 0) {
        ReportDamage(at);
        cursor.Skip(1);
        return;
    }
    ReadChannelEvent(at, CurrentKind, delta, messageBytes - 1);
}

void StandardMidifile::SkipSystemCommon(std::uint32_t position, std::uint32_t delta) {
    // System-common and real-time messages have no meaning in a song: the
    // message is passed over with its data bytes, and its delta time counts
    // towards the events after it. Running status is left as it was. The two
    // undefined bytes 0xF4 and 0xF5 have no known length and are damage.
    Bytepos = position;
    ByteCursor cursor = ChunkCursor(Bytepos);
    const auto status = cursor.U8();
    if (!status) return;
    const int dataBytes = SystemCommonDataBytes(*status);
    if (dataBytes < 0) {
        ReportDamage(position);
        return;
    }
    for (int i = 0; i < dataBytes; ++i) {
        const auto data = cursor.Peek();
        if (!data || *data >= 0x80) {
            // Cut off by the chunk's end, or by the next status byte.
            ReportDamage(cursor.Position());
            if (!data) {
                EndChunk();
                return;
            }
            break;
        }
        cursor.Skip(1);
    }
    TrackTime += delta;
}

namespace {

// A byte (the meta type, or the system-exclusive status), a length as a
// variable-length quantity, and that many bytes: the shape of meta and
// system-exclusive events.
struct LengthPrefixed {
    std::uint8_t lead = 0;
    std::uint32_t length = 0;
    const std::uint8_t* data = nullptr;
};

// Nothing when the event is cut off by the end of its chunk, or when its
// length is larger than the bytes left. The cursor ends behind the event.
std::optional<LengthPrefixed> ReadLengthPrefixed(ByteCursor cursor) {
    const auto lead = cursor.U8();
    const auto length = lead ? cursor.Vlq() : std::nullopt;
    const auto data = length ? cursor.Bytes(*length) : std::nullopt;
    if (!data) return std::nullopt;
    return LengthPrefixed{*lead, *length, *data};
}

// The event's data in a block of the load.
DataBlock BlockOf(const LengthPrefixed& body) { return detail::LoadArena().Make(body.data, body.length); }

}  // namespace

bool StandardMidifile::ReadMetaMsg(unsigned position, int /*kind*/, unsigned delta) {
    if (!FileBuffer) return true;
    if (EndOfTrack(position)) {
        // Over 0xFF, 0x2F and the length byte; nothing is stored and the
        // delta time does not count for the events after it. It gives the
        // time at which the track ends, which the writers keep as the song's
        // end.
        const std::uint64_t end = std::min<std::uint64_t>(std::uint64_t{TrackTime} + delta, 0xFFFFFFFFu);
        detail::Lists().EndTick = std::max(detail::Lists().EndTick, static_cast<std::uint32_t>(end));
        Bytepos = position;
        ChunkCursor(Bytepos).Skip(3);
        return true;
    }
    Bytepos = position + 1;
    const auto body = ReadLengthPrefixed(ChunkCursor(Bytepos));
    if (!TimeLengthPrefixed(body.has_value(), position, delta)) return true;
    InsertMetaEventToContainer(
        MetaEvent{TrackTime, delta, kMetaStatus, body->lead, body->length, BlockOf(*body)});
    return true;
}

bool StandardMidifile::ReadSysexMsg(unsigned position, int /*kind*/, unsigned delta) {
    if (!FileBuffer) return true;
    // F0 starts a message, F7 a continuation packet or an escaped sequence; both
    // are kept with their status so that they are written back as they came.
    Bytepos = position;
    const auto body = ReadLengthPrefixed(ChunkCursor(Bytepos));
    if (!TimeLengthPrefixed(body.has_value(), position, delta)) return true;
    const std::uint8_t manufacturer = body->length ? body->data[0] : 0;
    InsertSysexEventToContainer(
        SysexEvent{TrackTime, delta, body->lead, manufacturer, body->length, BlockOf(*body)});
    return true;
}

bool StandardMidifile::TimeLengthPrefixed(bool read, std::uint32_t position, std::uint32_t delta) {
    if (!read) {
        ReportDamage(position);
        EndChunk();
        return false;
    }
    TrackTime += delta;
    return true;
}

}  // namespace tonalux
