// Loading a whole Standard MIDI File, from a file or from bytes in memory:
// the reading state, the header, the load report and the chunks.
//
// The whole file is held in FileBuffer and walked with Bytepos. Every read
// goes through a ByteCursor that moves Bytepos (or a local position when the
// reader only looks ahead), limited to the end of the chunk being read (or of
// the file), so damaged files can neither make the reader leave the buffer nor
// loop for ever: damage ends the track, shows "Byteread Error!" once per load,
// and keeps every complete event read before it. The events themselves are
// read in EventReader.cpp.
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <new>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

#include "read/FileCursors.h"
#include "lists/DataBlockArena.h"
#include "lists/Hauptcontainer.h"
#include "MidiBytes.h"
#include "Platform.h"
#include "StandardMidifile.h"

namespace tonalux {

namespace {

using detail::ByteCursor;

constexpr std::uint32_t kChunkHeader = static_cast<std::uint32_t>(kChunkHeaderBytes);
constexpr std::uint32_t kLengthField = static_cast<std::uint32_t>(kChunkLengthOffset);
constexpr std::uint32_t kFirstChunk = static_cast<std::uint32_t>(kFileHeaderBytes);

// The whole file into `bytes`, through the platform layer (any file name);
// false when it is no regular file or cannot be read as a whole.
bool ReadWholeSong(const std::string& fileName, std::vector<std::uint8_t>& bytes) {
    if (StatusOf(fileName).Kind != FileKind::Regular) return false;
    std::error_code ec;
    const auto size = std::filesystem::file_size(PathFromUtf8(fileName), ec);
    if (ec || size > 0xFFFFFFFFull) return false;
    SystemError error;
    try {
        return ReadWholeFile(fileName, bytes, error);
    } catch (const std::exception&) {
        return false;
    }
}

bool IsChunk(const std::uint8_t* at, const std::array<std::uint8_t, 4>& id) {
    return std::equal(id.begin(), id.end(), at);
}

}  // namespace

// ---- whole load -------------------------------------------------------------

bool StandardMidifile::LoadMidifile(const std::string& fileName) {
    std::vector<std::uint8_t> bytes;
    if (ReadWholeSong(fileName, bytes)) return LoadMidiBytes(bytes.data(), bytes.size());
    // A file that cannot be read: no bytes where there should be some, which
    // ends the load as an error while reading does.
    return LoadMidiBytes(nullptr, 1);
}

bool StandardMidifile::LoadMidiBytes(const std::uint8_t* data, std::size_t size) {
    BeginLoad();
    bool loaded = false;
    try {
        InitHauptcontainer();
        detail::LoadArena() = detail::DataBlockArena();
        if (size > 0xFFFFFFFFull || (data == nullptr && size != 0)) throw std::runtime_error("cannot open");
        FileSize = static_cast<std::uint32_t>(size);
        // The reader walks the caller's bytes where they lie, without a copy:
        // it only reads them, and lets go of them before the load returns.
        static constexpr std::uint8_t kNoBytes[1] = {0};
        FileBuffer = FileSize ? data : kNoBytes;

        if (!LoadMidiHeader()) {
            HoldFile();
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

void StandardMidifile::BeginLoad() {
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
}

const LoadReport& StandardMidifile::LastLoadReport() const { return report_; }

std::uint32_t StandardMidifile::EndTick() const { return detail::Lists().EndTick; }

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
    FileBuffer = nullptr;
    heldFile_.reset();
    chunkEnd_ = 0;
}

void StandardMidifile::HoldFile() {
    auto held = std::make_unique_for_overwrite<std::uint8_t[]>(FileSize ? FileSize : 1);
    std::copy(FileBuffer, FileBuffer + (FileSize ? FileSize : 1), held.get());
    heldFile_ = std::move(held);
    FileBuffer = heldFile_.get();
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
    return IsChunk(HeaderId, kHeaderChunkId);
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
    if (HeaderLength < kHeaderFieldBytes) {
        ReportDamage(kLengthField);
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
        const bool isTrack = IsTrackChunk(Bytepos);
        if (isTrack) currentTrack_ = track++;
        chunkStart = ChunkEnd(Bytepos, length);
        if (isTrack) TrackSingleRead(Bytepos, length);
        currentTrack_ = -1;
    }

    PlaceLateRecords();
    loading_ = false;
    KeepEveryEventBeforeTheEnd();

    if (StartFirstNote && readNote_) ShiftSongToFirstNote();
    if (readNote_) StartFirstNote = false;

    DatenAufloesen();
    return true;
}

void StandardMidifile::KeepEveryEventBeforeTheEnd() {
    // The song lasts at least until its latest event, also where a track has
    // no end of track or its time ran past 32 bits. Each list is in tick
    // order now, so its last record is its latest.
    auto& lists = detail::Lists();
    const auto reach = [&lists](const auto& list) {
        if (!list.empty()) lists.EndTick = std::max(lists.EndTick, list.back().Tick);
    };
    for (const auto& channel : lists.ChannelEvents) reach(channel);
    reach(lists.MetaEvents);
    reach(lists.SysexEvents);
}

bool StandardMidifile::IsTrackChunk(std::uint32_t chunkStart) const {
    std::uint32_t at = chunkStart;
    const auto id = FileCursor(at).Bytes(4);
    return id && IsChunk(*id, kTrackChunkId);
}

std::uint64_t StandardMidifile::ChunkEnd(std::uint32_t chunkStart, std::uint32_t chunkLength) {
    const std::uint64_t declaredEnd = static_cast<std::uint64_t>(chunkStart) + kChunkHeader + chunkLength;
    if (declaredEnd <= FileSize) return declaredEnd;
    // A chunk that claims more bytes than the file holds is damage. When a
    // track chunk whose length fits the file begins inside it, the damaged
    // chunk ends there and reading goes on with that track; otherwise the
    // chunk runs to the file's end.
    ReportDamage(chunkStart + kLengthField);
    const std::uint8_t* bytes = FileBuffer;
    for (std::uint64_t at = chunkStart + kChunkHeader; at + kChunkHeader <= FileSize; ++at) {
        if (bytes[at] != kTrackChunkId[0] || !IsChunk(bytes + at, kTrackChunkId)) continue;
        std::uint32_t lengthAt = static_cast<std::uint32_t>(at) + kLengthField;
        const auto length = FileCursor(lengthAt).Be32();
        if (length && at + kChunkHeader + *length <= FileSize) return at;
    }
    return FileSize;
}

std::uint32_t StandardMidifile::MidiTracklaenge(std::uint32_t chunkStart) {
    return static_cast<std::uint32_t>(ReadvarByte(chunkStart + kLengthField, 4));
}

}  // namespace tonalux
