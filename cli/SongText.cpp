#include "SongText.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>

#include "MidiBytes.h"

namespace tonalux::cli {

namespace {

// The meta type each typed list holds; 0 for the lists that take any type.
constexpr std::array<std::uint8_t, kSongListCount - 16> kListMetaType{
    0,                        // meta
    kTempoType,               // tempo
    kTimeSignatureType,       // timesig
    kLyricType,               // lyric
    kMarkerType,              // marker
    kSequencerSpecificType,   // chord
    0,                        // sysex
};

// The fixed start of a keyboard chord event: status, type, length and
// signature; the chord bytes follow.
constexpr std::array<std::uint8_t, 6> kChordStart{kMetaStatus,
                                                  kSequencerSpecificType,
                                                  static_cast<std::uint8_t>(kKeyboardChordLength),
                                                  kKeyboardChordSignature[0],
                                                  kKeyboardChordSignature[1],
                                                  kKeyboardChordSignature[2]};
constexpr std::size_t kChordRecordBytes = 3 + kKeyboardChordLength;

std::vector<std::string> SplitWords(const std::string& line) {
    std::vector<std::string> words;
    std::size_t at = 0;
    while (at < line.size()) {
        while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
        const std::size_t start = at;
        while (at < line.size() && line[at] != ' ' && line[at] != '\t') ++at;
        if (at > start) words.push_back(line.substr(start, at - start));
    }
    return words;
}

std::optional<std::uint64_t> ReadNumber(const std::string& text, std::uint64_t high) {
    std::uint64_t value = 0;
    const char* last = text.data() + text.size();
    auto [end, error] = std::from_chars(text.data(), last, value);
    if (text.empty() || error != std::errc() || end != last || value > high) return std::nullopt;
    return value;
}

std::optional<std::uint8_t> ReadHexByte(const std::string& text) {
    if (text.size() != 2) return std::nullopt;
    unsigned value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + 2, value, 16);
    if (error != std::errc() || end != text.data() + 2) return std::nullopt;
    return static_cast<std::uint8_t>(value);
}

std::optional<std::size_t> FindList(const std::string& name) {
    for (std::size_t list = 0; list < kSongListCount; ++list)
        if (SongListName(list) == name) return list;
    return std::nullopt;
}

std::string Hex(std::uint8_t byte) { return HexBytes({byte}); }

std::string DataBytes(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " data byte" : " data bytes");
}

// Reads the variable-length quantity at `at` (at most five bytes, as the
// dump writes a 32-bit length); moves `at` behind it. Empty when it runs past
// the bytes or does not fit 32 bits.
std::optional<std::uint32_t> ReadVlq(const std::vector<std::uint8_t>& bytes, std::size_t& at) {
    const auto read = GetVlq(bytes.data() + at, bytes.data() + bytes.size());
    if (!read || read->Overflow || read->Bytes > kMaxVlqBytes) return std::nullopt;
    at += read->Bytes;
    return read->Value;
}

// Checks length and data of a meta or system-exclusive record whose length
// starts at `at`. Returns the error, or sets `dataStart`.
std::string CheckLengthAndData(const std::vector<std::uint8_t>& bytes, std::size_t at, std::size_t& dataStart) {
    const auto length = ReadVlq(bytes, at);
    if (!length) return "the length is no variable-length quantity of at most 32 bits";
    const std::size_t data = bytes.size() - at;
    if (data != *length)
        return "the length says " + DataBytes(*length) + ", the line has " + std::to_string(data);
    dataStart = at;
    return "";
}

// Why the bytes cannot stand in the list; empty when they can.
std::string CheckBytes(std::size_t list, const std::vector<std::uint8_t>& bytes, std::size_t& dataStart) {
    if (bytes.empty()) return "no bytes";
    const std::uint8_t status = bytes[0];
    if (list < 16) {
        const std::size_t size = ChannelMessageBytes(status & 0xF0);
        if (status < 0x80 || size == 0) return "status " + Hex(status) + " is no channel message";
        if ((status & 0x0F) != list)
            return "status " + Hex(status) + " belongs to " + SongListName(status & 0x0F) + ", not " +
                   SongListName(list);
        if (bytes.size() != size)
            return "status " + Hex(status) + " takes " + DataBytes(size - 1) + ", the line has " +
                   std::to_string(bytes.size() - 1);
        for (std::size_t i = 1; i < bytes.size(); ++i)
            if (bytes[i] >= 0x80) return "data byte " + Hex(bytes[i]) + " is not below 80";
        return "";
    }
    if (list == static_cast<std::size_t>(SongList::Sysex)) {
        if (status != 0xF0 && status != 0xF7) return "a system-exclusive record starts with F0 or F7, not " + Hex(status);
        return CheckLengthAndData(bytes, 1, dataStart);
    }
    if (status != kMetaStatus) return "a meta record starts with FF, not " + Hex(status);
    if (bytes.size() < 2) return "the meta type is missing";
    const std::uint8_t type = bytes[1];
    if (type >= 0x80) return "meta type " + Hex(type) + " is not below 80";
    const std::uint8_t wanted = kListMetaType[list - 16];
    if (wanted == 0 && type == kEndOfTrackType) return "end of track is written by the writer, not taken from the text";
    if (wanted != 0 && type != wanted)
        return SongListName(list) + " holds meta type " + Hex(wanted) + ", not " + Hex(type);
    if (list == static_cast<std::size_t>(SongList::Chord) &&
        (bytes.size() != kChordRecordBytes || !std::equal(kChordStart.begin(), kChordStart.end(), bytes.begin())))
        return "a keyboard chord is FF 7F 07 43 7B 01 and four chord bytes";
    return CheckLengthAndData(bytes, 2, dataStart);
}

// Why the header line cannot be read; empty when it can.
std::string ReadHeader(const std::vector<std::string>& words, SongText& song) {
    static const char* const kExpected = "expected 'header format F tracks T division D'";
    const bool withEnd = words.size() == 9 && words[7] == "end";
    if ((words.size() != 7 && !withEnd) || words[1] != "format" || words[3] != "tracks" || words[5] != "division")
        return kExpected;
    if (withEnd) {
        const auto end = ReadNumber(words[8], 0xFFFFFFFF);
        if (!end) return "end must be a whole number from 0 to 4294967295, not '" + words[8] + "'";
        song.End = static_cast<std::uint32_t>(*end);
    }
    const auto format = ReadNumber(words[2], 0xFFFF);
    const auto tracks = ReadNumber(words[4], 0xFFFF);
    const auto division = ReadNumber(words[6], 0xFFFF);
    if (!format) return "format must be a whole number from 0 to 65535, not '" + words[2] + "'";
    if (!tracks) return "tracks must be a whole number from 0 to 65535, not '" + words[4] + "'";
    if (!division) return "division must be a whole number from 0 to 65535, not '" + words[6] + "'";
    song.Format = static_cast<std::uint16_t>(*format);
    song.Tracks = static_cast<std::uint16_t>(*tracks);
    song.Division = static_cast<std::uint16_t>(*division);
    return "";
}

// Why the record line cannot be read; empty when it was added to the song.
std::string ReadRecord(const std::vector<std::string>& words, SongText& song) {
    if (words.size() < 3) return "expected 'TICK LIST BYTES'";
    const auto tick = ReadNumber(words[0], 0xFFFFFFFF);
    if (!tick) return "tick must be a whole number from 0 to 4294967295, not '" + words[0] + "'";
    const auto list = FindList(words[1]);
    if (!list) return "unknown list '" + words[1] + "'";
    TextRecord text;
    text.Record.Tick = static_cast<std::uint32_t>(*tick);
    text.Record.List = static_cast<std::uint8_t>(*list);
    for (std::size_t i = 2; i < words.size(); ++i) {
        const auto byte = ReadHexByte(words[i]);
        if (!byte) return "'" + words[i] + "' is no byte of two hexadecimal digits";
        text.Record.Bytes.push_back(*byte);
    }
    if (auto why = CheckBytes(*list, text.Record.Bytes, text.DataStart); !why.empty()) return why;
    song.Records.push_back(std::move(text));
    return "";
}

}  // namespace

SongText ReadSongText(std::istream& in) {
    SongText song;
    bool headerSeen = false;
    std::size_t number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const auto words = SplitWords(line);
        if (words.empty()) continue;
        std::string why;
        if (words[0] == "header") {
            why = headerSeen ? "a second header line" : ReadHeader(words, song);
            headerSeen = true;
        } else if (!headerSeen) {
            why = "expected 'header format F tracks T division D' before the first record";
            headerSeen = true;  // reported once; the records are still checked
        } else {
            why = ReadRecord(words, song);
        }
        if (!why.empty()) song.Errors.push_back("line " + std::to_string(number) + ": " + why);
    }
    if (!headerSeen) song.Errors.push_back("line " + std::to_string(number + 1) + ": the header line is missing");
    return song;
}

}  // namespace tonalux::cli
