// Builds Standard MIDI File bytes in memory, byte by byte, for tests,
// benchmarks, fuzz seeds and the demo songs.
//
//   SongBuilder song(1, 96);                       // format 1, 96 ticks per quarter
//   song.AddTrack(Track().Note(0, 0x90, 60, 100)   // delta, status, data...
//                        .Meta(96, 0x51, {0x07, 0xA1, 0x20})
//                        .End());
//   std::vector<std::uint8_t> bytes = song.Bytes();
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <vector>

namespace tonalux::testing {

using Bytes = std::vector<std::uint8_t>;

// Variable-length quantity of a value, most significant group first.
inline Bytes Vlq(std::uint32_t value) {
    Bytes out;
    std::uint8_t groups[5];
    int n = 0;
    do {
        groups[n++] = static_cast<std::uint8_t>(value & 0x7F);
        value >>= 7;
    } while (value != 0);
    while (n > 0) {
        --n;
        out.push_back(static_cast<std::uint8_t>(groups[n] | (n > 0 ? 0x80 : 0)));
    }
    return out;
}

inline void Append(Bytes& to, const Bytes& from) { to.insert(to.end(), from.begin(), from.end()); }

inline void AppendBE(Bytes& to, std::uint32_t value, int count) {
    for (int i = count - 1; i >= 0; --i) to.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// The events of one track chunk.
class Track {
public:
    // A channel message with its status byte: Event(delta, 0x90, {60, 100}).
    Track& Event(std::uint32_t delta, std::uint8_t status, std::initializer_list<std::uint8_t> data) {
        Append(body_, Vlq(delta));
        body_.push_back(status);
        body_.insert(body_.end(), data.begin(), data.end());
        return *this;
    }
    // Shorthands for the common messages.
    Track& Note(std::uint32_t delta, std::uint8_t status, std::uint8_t key, std::uint8_t velocity) {
        return Event(delta, status, {key, velocity});
    }
    Track& Program(std::uint32_t delta, std::uint8_t channel, std::uint8_t program) {
        return Event(delta, static_cast<std::uint8_t>(0xC0 | channel), {program});
    }
    // Data bytes only: the message runs on the status of the previous one.
    Track& Running(std::uint32_t delta, std::initializer_list<std::uint8_t> data) {
        Append(body_, Vlq(delta));
        body_.insert(body_.end(), data.begin(), data.end());
        return *this;
    }
    Track& Meta(std::uint32_t delta, std::uint8_t type, const Bytes& data) {
        Append(body_, Vlq(delta));
        body_.push_back(0xFF);
        body_.push_back(type);
        Append(body_, Vlq(static_cast<std::uint32_t>(data.size())));
        Append(body_, data);
        return *this;
    }
    Track& Text(std::uint32_t delta, std::uint8_t type, const std::string& text) {
        return Meta(delta, type, Bytes(text.begin(), text.end()));
    }
    Track& Tempo(std::uint32_t delta, std::uint32_t microsPerQuarter) {
        return Meta(delta, 0x51, {static_cast<std::uint8_t>(microsPerQuarter >> 16),
                                  static_cast<std::uint8_t>(microsPerQuarter >> 8),
                                  static_cast<std::uint8_t>(microsPerQuarter)});
    }
    // Keyboard chord event FF 7F 07 43 7B 01 cr ct bn bt.
    Track& Chord(std::uint32_t delta, std::uint8_t root, std::uint8_t type, std::uint8_t bass = 0x7F,
                 std::uint8_t bassType = 0x7F) {
        return Meta(delta, 0x7F, {0x43, 0x7B, 0x01, root, type, bass, bassType});
    }
    // System-exclusive event: F0, length, body (the body ends with F7).
    Track& Sysex(std::uint32_t delta, const Bytes& body, std::uint8_t status = 0xF0) {
        Append(body_, Vlq(delta));
        body_.push_back(status);
        Append(body_, Vlq(static_cast<std::uint32_t>(body.size())));
        Append(body_, body);
        return *this;
    }
    Track& End(std::uint32_t delta = 0) { return Meta(delta, 0x2F, {}); }
    // Any bytes, as they stand.
    Track& Raw(const Bytes& bytes) {
        Append(body_, bytes);
        return *this;
    }
    const Bytes& Body() const { return body_; }

private:
    Bytes body_;
};

// A whole file: header chunk and track chunks.
class SongBuilder {
public:
    SongBuilder(std::uint16_t format, std::uint16_t division) : format_(format), division_(division) {}
    SongBuilder& AddTrack(const Track& track) {
        chunks_.push_back({"MTrk", track.Body()});
        ++trackChunks_;
        return *this;
    }
    // A chunk of another kind (four-character identifier), as it stands.
    SongBuilder& AddChunk(const std::string& id, const tonalux::testing::Bytes& body) {
        chunks_.push_back({id, body});
        return *this;
    }
    // A header length other than 6: longer headers are padded with zeros
    // after the fields; a shorter one still has the six bytes of fields.
    SongBuilder& HeaderLength(std::uint32_t length) {
        headerLength_ = length;
        return *this;
    }
    // Announce a track count other than the number of chunks added.
    SongBuilder& AnnounceTracks(std::uint16_t count) {
        announced_ = count;
        announce_ = true;
        return *this;
    }
    tonalux::testing::Bytes Bytes() const {
        tonalux::testing::Bytes out{'M', 'T', 'h', 'd'};
        AppendBE(out, headerLength_, 4);
        AppendBE(out, format_, 2);
        AppendBE(out, announce_ ? announced_ : trackChunks_, 2);
        AppendBE(out, division_, 2);
        for (std::uint32_t pad = 6; pad < headerLength_; ++pad) out.push_back(0);
        for (const auto& chunk : chunks_) {
            out.insert(out.end(), chunk.id.begin(), chunk.id.end());
            AppendBE(out, static_cast<std::uint32_t>(chunk.body.size()), 4);
            Append(out, chunk.body);
        }
        return out;
    }

private:
    std::uint16_t format_;
    std::uint16_t division_;
    bool announce_ = false;
    std::uint32_t announced_ = 0;
    struct Chunk {
        std::string id;
        tonalux::testing::Bytes body;
    };
    std::vector<Chunk> chunks_;
    std::uint32_t trackChunks_ = 0;
    std::uint32_t headerLength_ = 6;
};

inline void WriteFile(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline Bytes ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Upper-case hex with blanks, so that a failed comparison shows where the bytes part.
inline std::string Hex(const Bytes& bytes) {
    static const char* digits = "0123456789ABCDEF";
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i) out += ' ';
        out += digits[bytes[i] >> 4];
        out += digits[bytes[i] & 15];
    }
    return out;
}

}  // namespace tonalux::testing
