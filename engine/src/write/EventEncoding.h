// Byte encoders of the writers: variable-length quantities, channel messages,
// meta and system-exclusive events, and a cursor over the growing output
// buffer. The encoders write through a raw pointer into room the cursor has
// made beforehand, so a long run of events costs no per-byte bookkeeping.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "lists/Hauptcontainer.h"
#include "MidiBytes.h"
#include "MidiRecords.h"

namespace tonalux::detail {


// The longest channel message with its delta time.
inline constexpr std::size_t kMaxChannelEventBytes = kMaxVlqBytes + 3;

// Room taken at a time while a whole track is encoded.
inline constexpr std::size_t kTrackSlack = 64 * 1024;
// A bound above every tick: the records before it are all of them.
inline constexpr std::uint64_t kPastEveryTick = std::uint64_t{1} << 32;

// Shown when the file cannot be written (UTF-8 text).
inline constexpr const char* kCannotWriteMessage = "Dateinamen wechseln! Datei bereits geöffnet!";

inline std::uint8_t* PutBE32(std::uint8_t* out, std::uint32_t value) {
    out[0] = static_cast<std::uint8_t>(value >> 24);
    out[1] = static_cast<std::uint8_t>(value >> 16);
    out[2] = static_cast<std::uint8_t>(value >> 8);
    out[3] = static_cast<std::uint8_t>(value);
    return out + 4;
}

// The header chunk at the start of the buffer: "MThd", length 6, format,
// number of tracks, division, each number big-endian.
inline void PutFileHeader(std::vector<std::uint8_t>& buffer, std::uint16_t format, std::uint16_t tracks,
                          std::uint16_t division) {
    if (buffer.size() < kFileHeaderBytes) buffer.resize(kFileHeaderBytes);
    std::uint8_t* at = buffer.data();
    at = std::copy(kHeaderChunkId.begin(), kHeaderChunkId.end(), at);
    at = PutBE32(at, static_cast<std::uint32_t>(kHeaderFieldBytes));
    for (std::uint16_t value : {format, tracks, division}) {
        *at++ = static_cast<std::uint8_t>(value >> 8);
        *at++ = static_cast<std::uint8_t>(value);
    }
}

// A track chunk header, "MTrk" and length 0, at offset; the buffer ends behind it.
inline void PutTrackHeader(std::vector<std::uint8_t>& buffer, std::size_t offset) {
    buffer.resize(offset + kChunkHeaderBytes);
    std::uint8_t* at = buffer.data() + offset;
    at = std::copy(kTrackChunkId.begin(), kTrackChunkId.end(), at);
    PutBE32(at, 0);
}

// Stores the length of the chunk starting at chunkStart: the bytes behind its
// length field up to the end of the buffer.
inline void PutTrackLength(std::vector<std::uint8_t>& buffer, std::size_t chunkStart) {
    if (buffer.size() < chunkStart + kChunkHeaderBytes) return;
    PutBE32(buffer.data() + chunkStart + kChunkLengthOffset, static_cast<std::uint32_t>(buffer.size() - chunkStart - kChunkHeaderBytes));
}

// Message bytes (status included) of each status byte: the size of its
// channel message class, 0 for a byte that is no channel status.
inline constexpr std::array<std::uint8_t, 256> kStatusMessageBytes = [] {
    std::array<std::uint8_t, 256> bytes{};
    for (std::size_t status = 0x80; status < 0xF0; ++status) {
        bytes[status] = static_cast<std::uint8_t>(ChannelMessageBytes(static_cast<std::int32_t>(status & 0xF0)));
    }
    return bytes;
}();

// Bytes of the message of a channel record, or 0 when the record cannot form
// a valid message and is written as nothing: a Kind outside the seven
// classes, a status byte that is no channel status or whose class has another
// size than the Kind, or a data byte of 0x80 or more. Such records come only
// from editing; writing them would damage the file for every reader.
inline std::size_t WritableMessageBytes(const MidiEvent& record) {
    // The Kind's size through the status table: a Kind is one of the seven
    // classes exactly when it equals its own class and that class has a size.
    const unsigned kindClass = static_cast<unsigned>(record.Kind) & 0xF0u;
    const std::size_t kindBytes =
        record.Kind == static_cast<std::int32_t>(kindClass) ? kStatusMessageBytes[kindClass] : 0;
    const std::size_t bytes = kStatusMessageBytes[record.Status];
    const unsigned data = record.Data1 | (bytes == 3 ? record.Data2 : 0u);
    // One test for every condition: most records pass it.
    const bool writable = (bytes != 0) & (kindBytes == bytes) & (data < 0x80);
    return writable ? bytes : 0;
}

// The message a channel record is written as. With noteOffRule a note-on of
// velocity 0 becomes a note-off of velocity 0 on the same channel and key;
// the record itself is not changed. Running status is never used: every
// message has its status.
inline SaveMessage MessageOf(const MidiEvent& record, bool noteOffRule) {
    const std::size_t bytes = WritableMessageBytes(record);
    // Written as a select rather than a branch: which notes end with
    // velocity 0 is hard to predict.
    const bool noteOff = noteOffRule & (record.Kind == 0x90) & (record.Data2 == 0);
    const unsigned high = noteOff ? 0x80u : (record.Status & 0xF0u);
    return SaveMessage{record.Tick,
                       static_cast<std::uint8_t>(bytes),
                       {static_cast<std::uint8_t>(high | (record.Status & 0x0Fu)), record.Data1, record.Data2}};
}

// The one channel event encoder of both writers. Writes the delta time from
// lastTick and the message at out, which must have room for
// kMaxChannelEventBytes, moves lastTick to the message's tick and returns the
// end of what was written. A message of size 0 writes nothing and leaves
// lastTick where it was, so the next event keeps its true time.
inline std::uint8_t* PutMessage(std::uint8_t* out, const SaveMessage& message, std::uint32_t& lastTick) {
    if (message.Size == 0) return out;
    // Every field is read before the first byte is stored: stores through a
    // byte pointer could change anything, so later reads would be repeated.
    const std::uint32_t tick = message.Tick;
    const std::size_t size = message.Size;
    const std::array<std::uint8_t, 3> bytes = message.Bytes;
    out = PutVlq(out, tick - lastTick);
    lastTick = tick;
    // The third byte is stored for two-byte messages too, inside the room,
    // and left behind the end: storing it costs less than a branch.
    out[0] = bytes[0];
    out[1] = bytes[1];
    out[2] = bytes[2];
    return out + size;
}

// Meta records (FF) and system-exclusive records (F0, and F7 for a
// continuation or escape packet) produce bytes; any other Status produces none.
inline bool IsWrittenMetaStatus(std::uint8_t status) {
    return status == 0xFF || status == 0xF0 || status == 0xF7;
}

// Room a meta or system-exclusive record may take, its delta time included.
inline std::size_t MetaEventBound(const MetaEvent& record) {
    return 2 * kMaxVlqBytes + 2 + static_cast<std::size_t>(record.Length);
}

// Meta event: delta, FF, type, length, data. System-exclusive event: delta,
// F0 (or F7), length, data; the data end with the closing F7 as read, so a
// message read from a file comes out byte for byte. A record without a data
// block is written with zero bytes in its place, so the file stays readable.
inline std::uint8_t* PutMetaEvent(std::uint8_t* out, const MetaEvent& record, std::uint32_t delta) {
    out = PutVlq(out, delta);
    *out++ = record.Status;
    if (record.Status == 0xFF) *out++ = record.Type;
    out = PutVlq(out, record.Length);
    if (record.Length != 0) {
        if (record.Data) {
            std::memcpy(out, record.Data.get(), record.Length);
        } else {
            std::memset(out, 0, record.Length);
        }
        out += record.Length;
    }
    return out;
}

// The record at an index of a save sequence or list, or nothing outside it.
template <typename Record>
const Record* RecordAt(const std::vector<Record>& sequence, std::int32_t index) {
    if (index < 0 || static_cast<std::size_t>(index) >= sequence.size()) return nullptr;
    return &sequence[static_cast<std::size_t>(index)];
}

// Appends to a byte vector through a raw pointer. Room(n) makes sure that n
// bytes can be written at the pointer it returns; Commit moves the end of the
// written bytes. The vector's size is set back to the bytes written when the
// cursor ends, so outside the encoders it always equals the bytes written.
class OutputCursor {
public:
    // slack: extra room taken whenever the buffer grows, so that a run of
    // small events does not grow it at every event.
    OutputCursor(std::vector<std::uint8_t>& buffer, std::size_t slack)
        : buffer_(buffer), used_(buffer.size()), slack_(slack) {
        Point();
    }
    ~OutputCursor() { buffer_.resize(used_); }
    OutputCursor(const OutputCursor&) = delete;
    OutputCursor& operator=(const OutputCursor&) = delete;

    // Capacity for the whole output, when the caller can estimate it.
    void Reserve(std::size_t total) { buffer_.reserve(total); }

    std::uint8_t* Room(std::size_t bytes) {
        if (static_cast<std::size_t>(end_ - at_) < bytes) {
            buffer_.resize(used_ + bytes + slack_);
            Point();
        }
        return at_;
    }
    void Commit(std::uint8_t* end) {
        at_ = end;
        used_ = static_cast<std::size_t>(at_ - buffer_.data());
    }
    std::size_t Used() const { return used_; }

private:
    void Point() {
        at_ = buffer_.data() + used_;
        end_ = buffer_.data() + buffer_.size();
    }

    std::vector<std::uint8_t>& buffer_;
    std::size_t used_;
    std::size_t slack_;
    std::uint8_t* at_ = nullptr;
    std::uint8_t* end_ = nullptr;
};

// Encodes one meta or system-exclusive record with its delta time from
// lastTick. A record that produces no bytes leaves lastTick where it was, so
// the next event keeps its true time.
inline void EmitMetaRecord(OutputCursor& out, const MetaEvent& record, std::uint32_t& lastTick) {
    if (!IsWrittenMetaStatus(record.Status)) return;
    // Every track gets exactly one end of track, the writer's own, as its last
    // event; one among the records would cut the track short for readers.
    if (record.Status == kMetaStatus && record.Type == kEndOfTrackType) return;
    std::uint8_t* at = out.Room(MetaEventBound(record));
    out.Commit(PutMetaEvent(at, record, record.Tick - lastTick));
    lastTick = record.Tick;
}

// Encodes one message through the cursor.
inline void EmitMessage(OutputCursor& out, const SaveMessage& message, std::uint32_t& lastTick) {
    out.Commit(PutMessage(out.Room(kMaxChannelEventBytes), message, lastTick));
}

// Encodes the messages messageAt(first), messageAt(first + 1), ... up to
// position end, stopping at the first whose tick is not below `before`;
// returns the position where it stopped. The messages go out in batches,
// each with room made for it at once.
template <typename MessageAt>
std::size_t EmitMessages(OutputCursor& out, MessageAt messageAt, std::size_t first, std::size_t end,
                         std::uint64_t before, std::uint32_t& lastTick) {
    constexpr std::size_t kBatch = 256;
    std::uint32_t last = lastTick;  // a local, which the byte stores cannot change
    std::size_t position = first;
    while (position < end) {
        const std::size_t batchEnd = std::min(end, position + kBatch);
        std::uint8_t* at = out.Room(kBatch * kMaxChannelEventBytes);
        for (; position < batchEnd; ++position) {
            const SaveMessage message = messageAt(position);
            if (message.Tick >= before) break;
            at = PutMessage(at, message, last);
        }
        out.Commit(at);
        if (position < batchEnd) break;
    }
    lastTick = last;
    return position;
}

// The single-record encoders: one message at the end of the output buffer,
// with messageBytes 2 or 3 only when the message has that size (0: any size).
// CurrentTick becomes the message's tick either way.
void EncodeSingleMessage(const SaveMessage& message, std::size_t messageBytes);

}  // namespace tonalux::detail
