// The Standard MIDI File reader: header, track chunks, delta times, running
// status, channel, meta and system-exclusive events.
//
// The whole file is read into FileBuffer and walked with Bytepos. Every read
// goes through a ByteCursor limited to the end of the chunk being read (or of
// the file), so damaged files can neither make the reader leave the buffer nor
// loop for ever: damage ends the track, shows "Byteread Error!" once per load,
// and keeps every complete event read before it.
#include <cstdio>
#include <filesystem>
#include <new>
#include <string>
#include <system_error>

#include "ByteCursor.h"
#include "DataBlockArena.h"
#include "Hauptcontainer.h"
#include "StandardMidifile.h"

namespace tonalux {

namespace {

using detail::ByteCursor;
using detail::Lists;

// Data blocks of the load in progress. Only one engine object works at a
// time, so one arena serves every object.
detail::DataBlockArena& Arena() {
    static detail::DataBlockArena arena;
    return arena;
}

constexpr std::uint32_t kFirstChunk = 14;
constexpr std::uint32_t kChunkHeader = 8;

bool IsChannelClass(std::int32_t kind) { return kind >= 0x80 && kind <= 0xE0 && (kind & 0x0F) == 0; }

// Stores a channel event read during a load: appended to its channel's list;
// one that lies before what the list already reached is marked in Data3 (always
// 0 in a stored record) and placed when the load ends.
[[gnu::always_inline]] inline void AppendReadChannelEvent(MidiEvent event, std::uint32_t& lastTick, bool& late) {
    if (lastTick > event.Tick) {
        event.Data3 = 1;
        late = true;
    } else {
        lastTick = event.Tick;
    }
    Lists().ChannelEvents[static_cast<std::size_t>(event.Channel)].push_back(event);
}

}  // namespace

// ---- whole load -------------------------------------------------------------

bool StandardMidifile::LoadMidifile(const std::string& fileName) {
    RunningStatusUsed = false;
    CurrentKind = 0;
    RunningStatus = 0;
    TrackTime = 0;
    for (auto& tick : LastChannelTick) tick = 0;
    LastMetaTick = 0;
    LastSysexTick = 0;
    HeaderOk = true;
    lastChannelStatus_ = 0;
    damageShown_ = false;
    readNote_ = false;
    firstNoteSeen_ = false;
    firstNoteTick_ = 0;

    try {
        InitHauptcontainer();
        Arena() = detail::DataBlockArena();

        std::error_code ec;
        const std::filesystem::path path(fileName);
        if (!std::filesystem::is_regular_file(path, ec)) throw std::runtime_error("cannot open");
        const auto size = std::filesystem::file_size(path, ec);
        if (ec || size > 0xFFFFFFFFull) throw std::runtime_error("cannot open");

        std::FILE* file = std::fopen(fileName.c_str(), "rb");
        if (!file) throw std::runtime_error("cannot open");
        FileSize = static_cast<std::uint32_t>(size);
        FileBuffer.reset(new std::uint8_t[FileSize ? FileSize : 1]);
        const std::size_t got = FileSize ? std::fread(FileBuffer.get(), 1, FileSize, file) : 0;
        std::fclose(file);
        if (got != FileSize) throw std::runtime_error("short read");

        if (!LoadMidiHeader()) {
            CurrentEngineHost().ShowMessage("incorrect fileheader");
            HeaderOk = false;
            return false;
        }
        if (HeaderOk) MiditrackLesen(TrackCount);
        FileBuffer.reset();
        return true;
    } catch (const std::exception&) {
        loading_ = false;
        metaLate_.clear();
        sysexLate_.clear();
        CurrentEngineHost().ShowMessage("FileOpenError!");
        return false;
    }
}

bool StandardMidifile::LoadMidiHeader() {
    // The header fields are taken from whatever the file holds, before the
    // identifier is checked; a file shorter than a header is refused.
    ByteCursor cursor(FileBuffer.get(), FileSize, 0);
    for (auto& byte : HeaderId) byte = cursor.U8().value_or(0);
    HeaderLength = cursor.Be32().value_or(0);
    Format = static_cast<std::uint16_t>(cursor.Be16().value_or(0));
    TrackCount = static_cast<std::uint16_t>(cursor.Be16().value_or(0));
    Division = static_cast<std::uint16_t>(cursor.Be16().value_or(0));
    if (FileSize < kFirstChunk) return false;
    return HeaderId[0] == 'M' && HeaderId[1] == 'T' && HeaderId[2] == 'h' && HeaderId[3] == 'd';
}

int StandardMidifile::ReadvarByte(std::uint32_t offset, int count) {
    if (count <= 0 || count > 4 || !FileBuffer) {
        ReportDamage();
        return 0;
    }
    ByteCursor cursor(FileBuffer.get(), FileSize, offset);
    const auto value = cursor.BigEndian(count);
    if (!value) {
        ReportDamage();
        return 0;
    }
    return static_cast<int>(*value);
}

void StandardMidifile::ReportDamage() {
    if (damageShown_) return;
    damageShown_ = true;
    CurrentEngineHost().ShowMessage("Byteread Error!");
}

// ---- chunks -----------------------------------------------------------------

bool StandardMidifile::MiditrackLesen(int trackCount) {
    for (auto& tick : LastChannelTick) tick = 0;
    Bytepos = kFirstChunk;
    LastMetaTick = 0;
    LastSysexTick = 0;

    loading_ = true;
    for (auto& late : channelLate_) late = false;
    anyMetaLate_ = false;
    anySysexLate_ = false;
    metaLate_.clear();
    sysexLate_.clear();

    std::uint64_t chunkStart = kFirstChunk;
    for (int track = 0; track < trackCount; ++track) {
        // A header that announces more chunks than the file holds stops after
        // the last chunk present.
        if (chunkStart + kChunkHeader > FileSize) {
            ReportDamage();
            break;
        }
        Bytepos = static_cast<std::uint32_t>(chunkStart);
        const std::uint32_t length = MidiTracklaenge(Bytepos);
        TrackSingleRead(Bytepos, length);
        chunkStart += kChunkHeader + static_cast<std::uint64_t>(length);
    }

    PlaceLateRecords();
    loading_ = false;
    metaLate_.clear();
    sysexLate_.clear();

    if (StartFirstNote && readNote_) ShiftSongToFirstNote();
    if (readNote_) StartFirstNote = false;

    DatenAufloesen();
    return true;
}

std::uint32_t StandardMidifile::MidiTracklaenge(std::uint32_t chunkStart) {
    return static_cast<std::uint32_t>(ReadvarByte(chunkStart + 4, 4));
}

void StandardMidifile::EndChunk() { Bytepos = chunkEnd_; }

bool StandardMidifile::TrackSingleRead(std::uint32_t chunkStart, std::uint32_t chunkLength) {
    TrackTime = 0;
    const std::uint64_t declaredEnd = static_cast<std::uint64_t>(chunkStart) + kChunkHeader + chunkLength;
    // A chunk that claims more bytes than the file holds is read to the file's end.
    if (declaredEnd > FileSize) {
        ReportDamage();
        chunkEnd_ = FileSize;
    } else {
        chunkEnd_ = static_cast<std::uint32_t>(declaredEnd);
    }
    Bytepos = chunkStart + kChunkHeader;
    // Every event of the chunk is read, however short the chunk: a track of a
    // single program change is as much a part of the song as any other. Each
    // ReadEvent moves Bytepos forward by at least one byte.
    while (Bytepos < chunkEnd_) ReadNextEvent(Bytepos);
    Bytepos = chunkEnd_;
    return true;
}

// ---- events -------------------------------------------------------------------

std::uint32_t StandardMidifile::ReadEventtime(std::uint32_t position) {
    ByteCursor cursor(FileBuffer.get(), chunkEnd_, position);
    const auto value = cursor.Vlq();
    if (!value) {
        ReportDamage();
        EndChunk();
        return 0;
    }
    Bytepos = cursor.Position();
    return *value;
}

std::uint32_t StandardMidifile::ReadDynLaeng(std::uint32_t position) { return ReadEventtime(position); }

int StandardMidifile::Eventanalyse(int position) {
    if (position < 0 || !FileBuffer) return 999;
    const auto read = ByteCursor(FileBuffer.get(), FileSize, static_cast<std::uint32_t>(position)).Peek();
    if (!read) return 999;
    const std::uint8_t byte = *read;
    if (byte < 0x80) return 999;
    if (byte >= 0xF0) return byte;
    return byte & 0xF0;
}

int StandardMidifile::Kanalermittlung(std::uint8_t status) { return status & 0x0F; }

bool StandardMidifile::EndOfTrack(std::uint32_t position) {
    ByteCursor cursor(FileBuffer.get(), chunkEnd_, position);
    const auto status = cursor.U8();
    const auto type = cursor.U8();
    return status && type && *status == 0xFF && *type == 0x2F;
}

// The channel messages are the bulk of every song, so their reading is kept
// in one function that the event loop inlines.
[[gnu::always_inline]] inline bool StandardMidifile::ReadChannelEvent(std::uint32_t position, int kind, std::uint32_t delta,
                                               int dataBytes) {
    ByteCursor cursor(FileBuffer.get(), chunkEnd_, position);
    std::uint8_t status = static_cast<std::uint8_t>(RunningStatus);
    if (!RunningStatusUsed) status = cursor.U8().value_or(0);
    const auto data = cursor.Bytes(static_cast<std::uint32_t>(dataBytes));
    if (!data) {
        ReportDamage();
        EndChunk();
        return true;
    }
    TrackTime += delta;
    Bytepos = cursor.Position();
    lastChannelStatus_ = status;

    MidiEvent event{};
    event.Tick = TrackTime;
    event.Delta = delta;
    event.Channel = status & 0x0F;
    event.Kind = kind;
    event.Status = status;
    event.Data1 = (*data)[0];
    if (dataBytes > 1) event.Data2 = (*data)[1];
    if (kind == 0x80 || kind == 0x90) {
        // The earliest note of the song, for the start-at-first-note option.
        if (!firstNoteSeen_ || TrackTime < firstNoteTick_) firstNoteTick_ = TrackTime;
        firstNoteSeen_ = true;
        readNote_ = true;
    }
    if (loading_)
        AppendReadChannelEvent(event, LastChannelTick[event.Channel], channelLate_[event.Channel]);
    else
        InsertMidiEventToConatiner(event);
    return true;
}

bool StandardMidifile::ReadShortMsg(unsigned position, int kind, unsigned delta) {
    return ReadChannelEvent(position, kind, delta, 1);
}

bool StandardMidifile::ReadLongMsg(unsigned position, int kind, unsigned delta) {
    return ReadChannelEvent(position, kind, delta, 2);
}

bool StandardMidifile::ReadEvent(std::uint32_t position) {
    ReadNextEvent(position);
    return true;
}

[[gnu::always_inline]] inline void StandardMidifile::ReadNextEvent(std::uint32_t position) {
    ByteCursor cursor(FileBuffer.get(), chunkEnd_, position);
    const auto deltaTime = cursor.Vlq();
    const auto statusByte = deltaTime ? cursor.Peek() : std::nullopt;
    if (!statusByte) {
        // A delta time cut off, or one with no event behind it: the chunk
        // was cut short.
        ReportDamage();
        EndChunk();
        return;
    }
    const std::uint32_t delta = *deltaTime;
    const std::uint32_t at = cursor.Position();
    Bytepos = at;
    const std::uint8_t byte = *statusByte;

    if (byte >= 0x80) {
        if (byte >= 0xF0 && byte != 0xF0 && byte != 0xF7 && byte != 0xFF) {
            // System common and real-time bytes have no place in a file: skip
            // the byte as damage, store nothing.
            ReportDamage();
            Bytepos = at + 1;
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
                ReportDamage();
                Bytepos = at + 1;
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
    switch (CurrentKind) {
        case 0x80:
        case 0x90:
        case 0xA0:
        case 0xB0:
        case 0xE0:
            ReadChannelEvent(at, CurrentKind, delta, 2);
            return;
        case 0xC0:
        case 0xD0:
            ReadChannelEvent(at, CurrentKind, delta, 1);
            return;
        case 0xFF:
            ReadMetaMsg(at, CurrentKind, delta);
            return;
        default:
            ReportDamage();
            Bytepos = at + 1;
            return;
    }
}

namespace {

// A byte (the meta type, or the system-exclusive status), a length as a
// variable-length quantity, and that many bytes: the shape of meta and
// system-exclusive events.
struct LengthPrefixed {
    std::uint8_t lead = 0;
    std::uint32_t length = 0;
    const std::uint8_t* data = nullptr;
    std::uint32_t end = 0;
};

// Nothing when the event is cut off by the end of its chunk, or when its
// length is larger than the bytes left.
std::optional<LengthPrefixed> ReadLengthPrefixed(const std::uint8_t* buffer, std::uint32_t limit,
                                                 std::uint32_t position) {
    ByteCursor cursor(buffer, limit, position);
    const auto lead = cursor.U8();
    const auto length = lead ? cursor.Vlq() : std::nullopt;
    const auto data = length ? cursor.Bytes(*length) : std::nullopt;
    if (!data) return std::nullopt;
    return LengthPrefixed{*lead, *length, *data, cursor.Position()};
}

}  // namespace

bool StandardMidifile::ReadMetaMsg(unsigned position, int /*kind*/, unsigned delta) {
    if (EndOfTrack(position)) {
        // Over 0xFF, 0x2F and the length byte; nothing is stored and the
        // delta time does not count.
        Bytepos = position + 3 < chunkEnd_ ? position + 3 : chunkEnd_;
        return true;
    }
    const auto body = ReadLengthPrefixed(FileBuffer.get(), chunkEnd_, position + 1);
    if (!body) {
        ReportDamage();
        EndChunk();
        return true;
    }
    TrackTime += delta;
    Bytepos = body->end;
    MetaEvent event{};
    event.Tick = TrackTime;
    event.Delta = delta;
    event.Status = 0xFF;
    event.Type = body->lead;
    event.Length = body->length;
    event.Data = Arena().Make(body->data, body->length);
    InsertMetaEventToContainer(std::move(event));
    return true;
}

bool StandardMidifile::ReadSysexMsg(unsigned position, int /*kind*/, unsigned delta) {
    // F0 starts a message, F7 a continuation packet or an escaped sequence; both
    // are kept with their status so that they are written back as they came.
    const auto body = ReadLengthPrefixed(FileBuffer.get(), chunkEnd_, position);
    if (!body) {
        ReportDamage();
        EndChunk();
        return true;
    }
    TrackTime += delta;
    Bytepos = body->end;
    SysexEvent event{};
    event.Tick = TrackTime;
    event.Delta = delta;
    event.Status = body->lead;
    event.Manufacturer = body->length ? body->data[0] : 0;
    event.Length = body->length;
    event.Data = Arena().Make(body->data, body->length);
    InsertSysexEventToContainer(std::move(event));
    return true;
}

}  // namespace tonalux
