// Generated songs through a load, a save in both formats and a second load.
//
// Each song is built from a fixed seed: several tracks sharing channels,
// running status, chords, every meta kind, lyrics, markers, keyboard chords,
// system-exclusive messages including F7 packets. The generator records what
// a reader must find; every load (of the song and of both outputs) is compared
// with it, and every output is parsed by a small reader written here, which
// knows nothing of the engine, and must be a valid Standard MIDI File holding
// the same events.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "SongBuilder.h"
#include "StandardMidifile.h"
#include "TestSupport.h"

using namespace tonalux;
using namespace tonalux::testing;

namespace {

constexpr int kSongCount = 200;

// ---- records as comparable text --------------------------------------------------

std::string ChannelText(std::uint32_t tick, std::uint8_t status, std::uint8_t d1, std::uint8_t d2, bool twoData) {
    return std::to_string(tick) + ": " + Hex(twoData ? Bytes{status, d1, d2} : Bytes{status, d1});
}
bool HasTwoDataBytes(std::uint8_t status) { return (status & 0xF0) != 0xC0 && (status & 0xF0) != 0xD0; }
std::uint8_t AsWrittenInFormat1(std::uint8_t status, std::uint8_t velocity) {
    return (status & 0xF0) == 0x90 && velocity == 0 ? static_cast<std::uint8_t>(0x80 | (status & 0x0F)) : status;
}
std::string MetaText(std::uint32_t tick, std::uint8_t type, const std::uint8_t* data, std::uint32_t length) {
    return std::to_string(tick) + ": FF " + Hex(Bytes{type}) + " [" + Hex(Bytes(data, data + length)) + "]";
}
std::string SysexText(std::uint32_t tick, std::uint8_t status, const std::uint8_t* data, std::uint32_t length) {
    return std::to_string(tick) + ": " + Hex(Bytes{status}) + " [" + Hex(Bytes(data, data + length)) + "]";
}

// What one load must give: channel events per channel in list order, and the
// meta and system-exclusive records as multisets (kept sorted).
struct Contents {
    std::vector<std::vector<std::string>> channels = std::vector<std::vector<std::string>>(16);
    std::vector<std::string> metas;
    std::vector<std::string> sysex;
    void Sort() {
        std::sort(metas.begin(), metas.end());
        std::sort(sysex.begin(), sysex.end());
    }
};

// ---- the song generator -----------------------------------------------------------

struct ChannelRecordOfSong {
    std::uint32_t tick;
    std::uint8_t status, d1, d2;
};

struct GeneratedSong {
    Bytes file;
    std::vector<ChannelRecordOfSong> channelEvents;  // in reading order: track by track
    Contents expected;                               // metas and sysex only
};

class SongGenerator {
public:
    explicit SongGenerator(std::uint32_t seed) : random_(seed) {}

    GeneratedSong Make() {
        GeneratedSong song;
        const bool format0 = Below(4) == 0;
        const std::uint16_t division = std::array<std::uint16_t, 4>{96, 192, 480, 960}[Below(4)];
        SongBuilder builder(format0 ? 0 : 1, division);
        // A small pool of channels, so that tracks share them.
        std::vector<std::uint8_t> pool;
        for (int i = 0, n = 2 + Below(4); i < n; ++i) pool.push_back(static_cast<std::uint8_t>(Below(16)));
        const int tracks = format0 ? 1 : 2 + Below(5);
        for (int t = 0; t < tracks; ++t) {
            tick_ = 0;
            lastStatus_ = 0;
            Track track;
            const bool conductor = !format0 && t == 0;
            const int events = conductor ? 10 + Below(20) : 20 + Below(80);
            for (int e = 0; e < events; ++e) {
                const int what = Below(100);
                if (conductor || what < 15) {
                    AddMeta(track, song);
                } else if (what < 22) {
                    AddSysex(track, song);
                } else if (what < 40) {
                    AddChord(track, song, pool);
                } else {
                    AddChannelMessage(track, song, pool[Below(static_cast<int>(pool.size()))]);
                }
            }
            track.End(Delta());
            builder.AddTrack(track);
        }
        song.file = builder.Bytes();
        song.expected.Sort();
        return song;
    }

private:
    int Below(int n) { return static_cast<int>(random_() % static_cast<std::uint32_t>(n)); }
    std::uint8_t Data7() { return static_cast<std::uint8_t>(Below(128)); }

    // Mostly short distances, sometimes none, now and then a long one.
    std::uint32_t Delta() {
        const int kind = Below(10);
        if (kind < 3) return 0;
        if (kind < 9) return static_cast<std::uint32_t>(Below(200));
        return static_cast<std::uint32_t>(Below(0x100000));
    }

    // A channel message; with running status where the previous event of the
    // track had the same status, as a writer of such files would do.
    void Channel(Track& track, GeneratedSong& song, std::uint32_t delta, std::uint8_t status, std::uint8_t d1,
                 std::uint8_t d2) {
        tick_ += delta;
        const bool two = HasTwoDataBytes(status);
        if (status == lastStatus_ && Below(4) != 0) {
            if (two) track.Running(delta, {d1, d2});
            else track.Running(delta, {d1});
        } else {
            if (two) track.Event(delta, status, {d1, d2});
            else track.Event(delta, status, {d1});
        }
        lastStatus_ = status;
        song.channelEvents.push_back({tick_, status, d1, two ? d2 : std::uint8_t{0}});
    }

    void AddChannelMessage(Track& track, GeneratedSong& song, std::uint8_t channel) {
        static constexpr std::array<std::uint8_t, 7> kClasses{0x80, 0x90, 0xA0, 0xB0, 0xC0, 0xD0, 0xE0};
        const std::uint8_t status = static_cast<std::uint8_t>(kClasses[static_cast<std::size_t>(Below(7))] | channel);
        Channel(track, song, Delta(), status, Data7(), Data7());
    }

    // Two to four notes at one tick, released later, some by note-on velocity 0.
    void AddChord(Track& track, GeneratedSong& song, const std::vector<std::uint8_t>& pool) {
        const std::uint8_t channel = pool[Below(static_cast<int>(pool.size()))];
        const std::uint8_t root = static_cast<std::uint8_t>(36 + Below(48));
        const int notes = 2 + Below(3);
        std::uint32_t delta = Delta();
        for (int i = 0; i < notes; ++i, delta = 0) {
            Channel(track, song, delta, static_cast<std::uint8_t>(0x90 | channel), static_cast<std::uint8_t>(root + 4 * i),
                    static_cast<std::uint8_t>(1 + Below(127)));
        }
        const bool velocityZero = Below(2) == 0;
        delta = 1 + static_cast<std::uint32_t>(Below(480));
        for (int i = 0; i < notes; ++i, delta = 0) {
            Channel(track, song, delta, static_cast<std::uint8_t>((velocityZero ? 0x90 : 0x80) | channel),
                    static_cast<std::uint8_t>(root + 4 * i), velocityZero ? 0 : Data7());
        }
    }

    Bytes Text() {
        static constexpr std::array<const char*, 6> kWords{"La", "la ", "Intro", "%C7", "Verse\r", ""};
        const std::string word = kWords[static_cast<std::size_t>(Below(6))];
        return Bytes(word.begin(), word.end());
    }

    // One meta event of any kind the files hold.
    void AddMeta(Track& track, GeneratedSong& song) {
        const std::uint32_t delta = Delta();
        Bytes data;
        std::uint8_t type = 0;
        switch (Below(17)) {
            case 0: type = 0x00; data = {0, static_cast<std::uint8_t>(Below(4))}; break;
            case 1: case 2: case 3: case 4: case 5: case 6: case 7: case 8: case 9:
                type = static_cast<std::uint8_t>(Below(10) == 0 ? 0x08 + Below(2) : 0x01 + Below(7));
                data = Text();
                break;
            case 10: type = 0x20; data = {static_cast<std::uint8_t>(Below(16))}; break;
            case 11: type = 0x21; data = {static_cast<std::uint8_t>(Below(4))}; break;
            case 12: type = 0x51; data = {0x07, 0xA1, static_cast<std::uint8_t>(Below(256))}; break;
            case 13: type = 0x54; data = {0x60, 0, 0, 0, 0}; break;
            case 14: type = 0x58; data = {static_cast<std::uint8_t>(2 + Below(6)), 2, 24, 8}; break;
            case 15: type = 0x59; data = {static_cast<std::uint8_t>(Below(15) - 7), static_cast<std::uint8_t>(Below(2))}; break;
            default: {
                type = 0x7F;
                const int variant = Below(3);
                if (variant == 0) {
                    data = {0x43, 0x7B, 0x01, static_cast<std::uint8_t>(0x31 + Below(7)), static_cast<std::uint8_t>(Below(34)),
                            0x7F, 0x7F};
                } else if (variant == 1) {
                    data = {0x43, 0x7B, 0x00, 0x58, 0x46, 0x30, 0x32};
                } else {
                    data = Bytes(static_cast<std::size_t>(Below(300)), 0x55);  // a length of two bytes
                }
            }
        }
        tick_ += delta;
        track.Meta(delta, type, data);
        lastStatus_ = 0;
        // Copyright notices and track names are not kept by the reader.
        if (type != 0x02 && type != 0x03) song.expected.metas.push_back(MetaText(tick_, type, data.data(), static_cast<std::uint32_t>(data.size())));
    }

    // A whole message, a message split into an F0 packet and F7 packets, or an escape.
    void AddSysex(Track& track, GeneratedSong& song) {
        const auto put = [&](std::uint32_t delta, std::uint8_t status, const Bytes& body) {
            tick_ += delta;
            track.Sysex(delta, body, status);
            song.expected.sysex.push_back(SysexText(tick_, status, body.data(), static_cast<std::uint32_t>(body.size())));
        };
        switch (Below(3)) {
            case 0: put(Delta(), 0xF0, {0x43, 0x10, 0x4C, 0x04, Data7(), Data7(), 0xF7}); break;
            case 1:
                put(Delta(), 0xF0, {0x43, 0x10, 0x4C});
                put(static_cast<std::uint32_t>(Below(20)), 0xF7, {0x00, Data7()});
                put(static_cast<std::uint32_t>(Below(20)), 0xF7, {Data7(), 0xF7});
                break;
            default: put(Delta(), 0xF7, {0xF8}); break;
        }
        lastStatus_ = 0;
    }

    std::mt19937 random_;
    std::uint32_t tick_ = 0;
    std::uint8_t lastStatus_ = 0;
};

// The channel lists a reader must give: each channel in reading order, equal
// ticks in the order they were read.
Contents ExpectedContents(const GeneratedSong& song, bool format1) {
    Contents contents = song.expected;
    std::vector<ChannelRecordOfSong> events = song.channelEvents;
    std::stable_sort(events.begin(), events.end(), [](const auto& a, const auto& b) { return a.tick < b.tick; });
    for (const auto& e : events) {
        const std::uint8_t status = format1 ? AsWrittenInFormat1(e.status, e.d2) : e.status;
        contents.channels[e.status & 0x0F].push_back(ChannelText(e.tick, status, e.d1, e.d2, HasTwoDataBytes(e.status)));
    }
    return contents;
}

// ---- what the engine holds ------------------------------------------------------------

Contents EngineContents(StandardMidifile& midi) {
    Contents contents;
    for (int c = 0; c < 16; ++c) {
        for (int i = 0, n = midi.GetSizeMidievents(c); i < n; ++i) {
            const MidiEvent e = midi.GetMidievent(c, i);
            contents.channels[static_cast<std::size_t>(c)].push_back(
                ChannelText(e.Tick, e.Status, e.Data1, e.Data2, HasTwoDataBytes(e.Status)));
        }
    }
    const auto add = [&](const MetaEvent& e) { contents.metas.push_back(MetaText(e.Tick, e.Type, e.Data.get(), e.Length)); };
    for (int i = 0, n = midi.GetSizeMetaEvents(); i < n; ++i) add(midi.GetMetaEvent(i));
    for (int i = 0, n = midi.GetSizeTempoevents(); i < n; ++i) add(midi.GetTempoevent(i));
    for (int i = 0, n = midi.GetSizeMessureEvents(); i < n; ++i) add(midi.GetMessure(i));
    for (int i = 0, n = midi.GetSizeLyricEvents(); i < n; ++i) add(midi.GetLyricevent(i));
    for (int i = 0, n = midi.GetSizeYamChordEvents(); i < n; ++i) add(midi.GetYamchord(i));
    for (int i = 0, n = midi.GetSizeMarkerEvents(); i < n; ++i) {
        const Marker m = midi.GetMarkerevent(i);
        contents.metas.push_back(MetaText(m.Tick, m.Type, m.Data.get(), m.Length));
    }
    for (int i = 0, n = midi.GetSizeSysexEvents(); i < n; ++i) {
        const SysexEvent e = midi.GetSysex(i);
        contents.sysex.push_back(SysexText(e.Tick, e.Status, e.Data.get(), e.Length));
    }
    contents.Sort();
    return contents;
}

// ---- a second reader, independent of the engine ---------------------------------------

// Parses a whole Standard MIDI File and fails on anything that is not valid:
// header of length 6, as many "MTrk" chunks as announced filling the file
// exactly, every event complete inside its chunk, data bytes below 0x80,
// delta times and lengths of at most four bytes, and one end of track, FF 2F
// 00, as the last event of every chunk.
struct IndependentRead {
    std::string error;  // empty for a valid file
    int format = -1;
    std::vector<std::set<int>> channelsOfTrack;
    Contents contents;
};

IndependentRead ReadIndependently(const Bytes& f) {
    IndependentRead r;
    std::size_t p = 0, end = f.size();
    const auto number = [&](int n) { std::uint32_t v = 0; while (n-- > 0) v = (v << 8) | f[p++]; return v; };
    const auto quantity = [&](std::uint32_t& v) {
        v = 0;
        for (int i = 0; i < 4 && p < end; ++i) {
            v = (v << 7) | (f[p] & 0x7Fu);
            if ((f[p++] & 0x80) == 0) return true;
        }
        return false;
    };
    const auto fail = [&](const std::string& why) { r.error = why + " at byte " + std::to_string(p); return r; };
    if (f.size() < 14 || std::string(f.begin(), f.begin() + 4) != "MThd") return fail("no header");
    p = 4;
    if (number(4) != 6) return fail("header length");
    r.format = static_cast<int>(number(2));
    const std::uint32_t tracks = number(2);
    p = 14;
    for (std::uint32_t t = 0; t < tracks; ++t) {
        if (end - p < 8 || std::string(f.begin() + static_cast<long>(p), f.begin() + static_cast<long>(p) + 4) != "MTrk") return fail("chunk header");
        p += 4;
        const std::uint32_t length = number(4);
        if (end - p < length) return fail("chunk length");
        const std::size_t chunkEnd = p + length, fileEnd = end;
        end = chunkEnd;
        std::uint32_t tick = 0, delta = 0, size = 0;
        std::uint8_t running = 0;
        bool ended = false;
        r.channelsOfTrack.emplace_back();
        while (p < end) {
            if (ended) return fail("event after end of track");
            if (!quantity(delta) || p >= end) return fail("delta time");
            tick += delta;
            std::uint8_t status = f[p];
            if (status >= 0x80) ++p; else if (running == 0) return fail("data byte without status"); else status = running;
            if (status == 0xFF || status == 0xF0 || status == 0xF7) {
                const std::uint8_t type = status == 0xFF && p < end ? f[p++] : 0;
                if (!quantity(size) || end - p < size) return fail("meta or sysex length");
                if (status == 0xFF && type == 0x2F) { if (size != 0) return fail("end of track length"); ended = true; }
                else if (status == 0xFF) r.contents.metas.push_back(MetaText(tick, type, f.data() + p, size));
                else r.contents.sysex.push_back(SysexText(tick, status, f.data() + p, size));
                p += size;
                running = 0;
            } else if (status >= 0xF0) {
                return fail("system message");
            } else {
                const bool two = HasTwoDataBytes(status);
                if (end - p < (two ? 2u : 1u) || f[p] >= 0x80 || (two && f[p + 1] >= 0x80)) return fail("channel message");
                r.contents.channels[status & 0x0F].push_back(ChannelText(tick, status, f[p], two ? f[p + 1] : 0, two));
                r.channelsOfTrack.back().insert(status & 0x0F);
                p += two ? 2 : 1;
                running = status;
            }
        }
        if (!ended) return fail("track without end of track");
        end = fileEnd;
    }
    if (p != f.size()) return fail("bytes after the last chunk");
    r.contents.Sort();
    return r;
}

// ---- the property ---------------------------------------------------------------------

class RoundTrip : public ::testing::Test {
protected:
    bool Load(const std::string& path) {
        host.messages.clear();
        const bool ok = midi.LoadMidifile(path);
        EXPECT_TRUE(host.messages.empty()) << host.messages.front();
        return ok;
    }

    void ExpectSame(const Contents& actual, const Contents& expected, const char* what) {
        for (int c = 0; c < 16; ++c) EXPECT_EQ(actual.channels[c], expected.channels[c]) << what << ", channel " << c;
        EXPECT_EQ(actual.metas, expected.metas) << what;
        EXPECT_EQ(actual.sysex, expected.sysex) << what;
    }

    TempDir dir;
    RecordingHost host;
    StandardMidifile midi{nullptr};
};

TEST_F(RoundTrip, GeneratedSongsKeepEveryEventThroughBothFormats) {
    SongGenerator generator(20261208);
    const std::string input = dir.File("song.mid");
    std::size_t channelEvents = 0;
    for (int n = 0; n < kSongCount && !HasFailure(); ++n) {
        SCOPED_TRACE("song " + std::to_string(n));
        const GeneratedSong song = generator.Make();
        channelEvents += song.channelEvents.size();
        const Contents asRead = ExpectedContents(song, false);
        WriteFile(input, song.file);
        ASSERT_TRUE(Load(input));
        ExpectSame(EngineContents(midi), asRead, "first load");

        for (int format : {0, 1}) {
            const std::string output = dir.File("out" + std::to_string(format) + ".mid");
            ASSERT_TRUE(Load(input));
            ASSERT_TRUE(midi.SaveMidifile(format, output));
            const Bytes written = ReadFile(output);
            const Contents expected = ExpectedContents(song, format == 1);

            const IndependentRead parsed = ReadIndependently(written);
            ASSERT_EQ(parsed.error, "") << "format " << format << ": " << Hex(written);
            EXPECT_EQ(parsed.format, format);
            ExpectSame(parsed.contents, expected, format == 0 ? "format 0 file" : "format 1 file");
            if (format == 0) {
                EXPECT_EQ(parsed.channelsOfTrack.size(), 1u);
            } else {
                // A meta track without channel events, then one track per channel in use.
                std::size_t used = 0;
                for (const auto& events : expected.channels) used += events.empty() ? 0 : 1;
                ASSERT_EQ(parsed.channelsOfTrack.size(), used + 1);
                EXPECT_TRUE(parsed.channelsOfTrack[0].empty());
                for (std::size_t t = 1; t < parsed.channelsOfTrack.size(); ++t)
                    EXPECT_EQ(parsed.channelsOfTrack[t].size(), 1u) << "track " << t;
            }

            ASSERT_TRUE(Load(output));
            ExpectSame(EngineContents(midi), expected, format == 0 ? "format 0 reloaded" : "format 1 reloaded");
        }
    }
    // The songs are not trivial: on average dozens of channel events each.
    EXPECT_GT(channelEvents, static_cast<std::size_t>(kSongCount) * 30);
}

// The second reader itself must refuse what is not valid, or the property
// above would prove nothing.
TEST(IndependentReader, RefusesDamagedFiles) {
    SongBuilder song(1, 96);
    song.AddTrack(Track().Note(0, 0x90, 60, 100).Running(10, {60, 0}).Text(0, 0x05, "la").End());
    const Bytes good = song.Bytes();
    ASSERT_EQ(ReadIndependently(good).error, "");
    EXPECT_EQ(ReadIndependently(good).contents.channels[0].size(), 2u);

    Bytes noEnd = SongBuilder(0, 96).AddTrack(Track().Note(0, 0x90, 60, 100)).Bytes();
    EXPECT_NE(ReadIndependently(noEnd).error, "");
    Bytes twoEnds = SongBuilder(0, 96).AddTrack(Track().End().End()).Bytes();
    EXPECT_NE(ReadIndependently(twoEnds).error, "");
    Bytes longChunk = good;
    longChunk[21] += 1;
    EXPECT_NE(ReadIndependently(longChunk).error, "");
    Bytes trailing = good;
    trailing.push_back(0);
    EXPECT_NE(ReadIndependently(trailing).error, "");
    Bytes moreTracks = good;
    moreTracks[11] = 2;
    EXPECT_NE(ReadIndependently(moreTracks).error, "");
    Bytes badData = good;
    badData[24] = 0x80;  // the key of the first note-on
    EXPECT_NE(ReadIndependently(badData).error, "");
}

}  // namespace
