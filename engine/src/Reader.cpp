// The Standard MIDI File reader: header, track chunks, delta times, running
// status, channel, meta and system-exclusive events.
//
// The whole file is read into FileBuffer and walked with Bytepos. Every read
// goes through a ByteCursor that moves Bytepos (or a local position when the
// reader only looks ahead), limited to the end of the chunk being read (or of
// the file), so damaged files can neither make the reader leave the buffer nor
// loop for ever: damage ends the track, shows "Byteread Error!" once per load,
// and keeps every complete event read before it.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <new>
#include <string>
#include <system_error>
#include <vector>

#include "ByteCursor.h"
#include "DataBlockArena.h"
#include "Hauptcontainer.h"
#include "MidiBytes.h"
#include "Platform.h"
#include "StandardMidifile.h"
#include "TickOrder.h"

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

// The header chunk: identifier, length (at byte 4), then six bytes of fields.
constexpr std::uint32_t kHeaderLengthField = 4;
constexpr std::uint32_t kHeaderFields = 6;
constexpr std::uint32_t kChunkHeader = 8;
constexpr std::uint32_t kFirstChunk = kChunkHeader + kHeaderFields;

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
    chunkEnd_ = 0;
    damageShown_ = false;
    readNote_ = false;
    firstNoteSeen_ = false;
    firstNoteTick_ = 0;
    report_ = LoadReport{};
    reportOpen_ = true;
    currentTrack_ = -1;

    bool loaded = false;
    try {
        InitHauptcontainer();
        Arena() = detail::DataBlockArena();

        std::error_code ec;
        const std::filesystem::path path = PathFromUtf8(fileName);
        if (StatusOf(fileName).Kind != FileKind::Regular) throw std::runtime_error("cannot open");
        const auto size = std::filesystem::file_size(path, ec);
        if (ec || size > 0xFFFFFFFFull) throw std::runtime_error("cannot open");

        std::vector<std::uint8_t> bytes;
        SystemError error;
        if (!ReadWholeFile(fileName, bytes, error) || bytes.size() > 0xFFFFFFFFull)
            throw std::runtime_error("cannot open");
        FileSize = static_cast<std::uint32_t>(bytes.size());
        FileBuffer.reset(new std::uint8_t[FileSize ? FileSize : 1]);
        std::copy(bytes.begin(), bytes.end(), FileBuffer.get());

        if (!LoadMidiHeader()) {
            CurrentEngineHost().ShowMessage("incorrect fileheader");
            HeaderOk = false;
        } else {
            if (HeaderOk) MiditrackLesen(TrackCount);
            ReleaseFile();
            loaded = true;
        }
    } catch (const std::exception&) {
        // What was stored before the failure stays, in its place.
        FinishFailedLoad();
        CurrentEngineHost().ShowMessage("FileOpenError!");
    }
    reportOpen_ = false;
    currentTrack_ = -1;
    report_.Records = static_cast<std::uint32_t>(detail::Lists().RecordCount());
    return loaded;
}

const LoadReport& StandardMidifile::LastLoadReport() const { return report_; }

void StandardMidifile::FinishFailedLoad() {
    if (loading_) {
        // Placing needs memory of its own; when even that is not to be had,
        // the late records are let go so the lists stay in tick order.
        try {
            PlaceLateRecords();
        } catch (const std::exception&) {
            DropLateRecords();
        }
    }
    loading_ = false;
    ReleaseFile();
}

void StandardMidifile::ReleaseFile() {
    FileBuffer.reset();
    chunkEnd_ = 0;
}

bool StandardMidifile::LoadMidiHeader() {
    // The header fields are taken from whatever the file holds, before the
    // identifier is checked; a file shorter than a header is refused.
    if (!FileBuffer) return false;
    std::uint32_t at = 0;
    ByteCursor cursor = FileCursor(at);
    for (auto& byte : HeaderId) byte = cursor.U8().value_or(0);
    HeaderLength = cursor.Be32().value_or(0);
    Format = static_cast<std::uint16_t>(cursor.Be16().value_or(0));
    TrackCount = static_cast<std::uint16_t>(cursor.Be16().value_or(0));
    Division = static_cast<std::uint16_t>(cursor.Be16().value_or(0));
    if (FileSize < kFirstChunk) return false;
    return HeaderId[0] == 'M' && HeaderId[1] == 'T' && HeaderId[2] == 'h' && HeaderId[3] == 'd';
}

int StandardMidifile::ReadvarByte(std::uint32_t offset, int count) {
    if (!FileBuffer) return 0;
    if (count <= 0 || count > 4) {
        ReportDamage(offset);
        return 0;
    }
    std::uint32_t at = offset;
    ByteCursor cursor = FileCursor(at);
    const auto value = cursor.BigEndian(count);
    if (!value) {
        ReportDamage(offset);
        return 0;
    }
    return static_cast<int>(*value);
}

void StandardMidifile::ReportDamage(std::uint32_t offset) {
    if (reportOpen_ && !report_.Damaged) {
        report_.Damaged = true;
        report_.DamageOffset = offset;
        report_.DamageTrack = currentTrack_;
    }
    if (damageShown_) return;
    damageShown_ = true;
    CurrentEngineHost().ShowMessage("Byteread Error!");
}

detail::ByteCursor StandardMidifile::FileCursor(std::uint32_t& position) const {
    return ByteCursor(FileBuffer.get(), FileBuffer ? FileSize : 0, position);
}

// chunkEnd_ never passes the bytes held: it is 0 while no file is held and
// limited to the file's size when a chunk is entered.
detail::ByteCursor StandardMidifile::ChunkCursor(std::uint32_t& position) const {
    return ByteCursor(FileBuffer.get(), chunkEnd_, position);
}

// ---- chunks -----------------------------------------------------------------

bool StandardMidifile::MiditrackLesen(int trackCount) {
    // Without a file's bytes (after a load has released them) there is
    // nothing to read, and the lists stay as they are.
    if (!FileBuffer) return true;
    for (auto& tick : LastChannelTick) tick = 0;
    LastMetaTick = 0;
    LastSysexTick = 0;

    loading_ = true;
    DropLateRecords();

    // The first chunk follows the header, whose length the header gives. A
    // length below the six bytes of the fields is damage; reading then takes
    // the first chunk at the place a six-byte header gives it.
    std::uint64_t chunkStart = kChunkHeader + static_cast<std::uint64_t>(HeaderLength);
    if (HeaderLength < kHeaderFields) {
        ReportDamage(kHeaderLengthField);
        chunkStart = kFirstChunk;
    }
    int track = 0;
    while (track < trackCount) {
        // A header that announces more chunks than the file holds stops after
        // the last chunk present.
        if (chunkStart + kChunkHeader > FileSize) {
            ReportDamage(static_cast<std::uint32_t>(std::min<std::uint64_t>(chunkStart, FileSize)));
            break;
        }
        Bytepos = static_cast<std::uint32_t>(chunkStart);
        const std::uint32_t length = MidiTracklaenge(Bytepos);
        // Chunks of other kinds than "MTrk" are skipped whole: they are no
        // tracks and not counted among the header's tracks.
        if (IsTrackChunk(Bytepos)) {
            currentTrack_ = track;
            TrackSingleRead(Bytepos, length);
            currentTrack_ = -1;
            ++track;
        }
        chunkStart += kChunkHeader + static_cast<std::uint64_t>(length);
    }

    PlaceLateRecords();
    loading_ = false;

    if (StartFirstNote && readNote_) ShiftSongToFirstNote();
    if (readNote_) StartFirstNote = false;

    DatenAufloesen();
    return true;
}

bool StandardMidifile::IsTrackChunk(std::uint32_t chunkStart) const {
    std::uint32_t at = chunkStart;
    const auto id = FileCursor(at).Bytes(4);
    return id && (*id)[0] == 'M' && (*id)[1] == 'T' && (*id)[2] == 'r' && (*id)[3] == 'k';
}

std::uint32_t StandardMidifile::MidiTracklaenge(std::uint32_t chunkStart) {
    return static_cast<std::uint32_t>(ReadvarByte(chunkStart + 4, 4));
}

void StandardMidifile::EndChunk() { Bytepos = chunkEnd_; }

bool StandardMidifile::TrackSingleRead(std::uint32_t chunkStart, std::uint32_t chunkLength) {
    if (!FileBuffer) return true;
    TrackTime = 0;
    const std::uint64_t declaredEnd = static_cast<std::uint64_t>(chunkStart) + kChunkHeader + chunkLength;
    // A chunk that claims more bytes than the file holds is read to the file's end.
    if (declaredEnd > FileSize) {
        ReportDamage(chunkStart + 4);
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
    return status && type && *status == 0xFF && *type == 0x2F;
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
    const auto channel = static_cast<std::size_t>(event.Channel);
    detail::StoreInTickOrder(Lists().ChannelEvents[channel], channelLate_[channel], LastChannelTick[channel],
                             std::move(event), loading_,
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

}  // namespace

bool StandardMidifile::ReadMetaMsg(unsigned position, int /*kind*/, unsigned delta) {
    if (!FileBuffer) return true;
    if (EndOfTrack(position)) {
        // Over 0xFF, 0x2F and the length byte; nothing is stored and the
        // delta time does not count.
        Bytepos = position;
        ChunkCursor(Bytepos).Skip(3);
        return true;
    }
    Bytepos = position + 1;
    const auto body = ReadLengthPrefixed(ChunkCursor(Bytepos));
    if (!body) {
        ReportDamage(position);
        EndChunk();
        return true;
    }
    TrackTime += delta;
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
    if (!FileBuffer) return true;
    // F0 starts a message, F7 a continuation packet or an escaped sequence; both
    // are kept with their status so that they are written back as they came.
    Bytepos = position;
    const auto body = ReadLengthPrefixed(ChunkCursor(Bytepos));
    if (!body) {
        ReportDamage(position);
        EndChunk();
        return true;
    }
    TrackTime += delta;
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
