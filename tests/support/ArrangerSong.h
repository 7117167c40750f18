// Deterministic songs shaped like the ones arranger keyboards produce, for
// round-trip tests and benchmarks. A song is format 1: a conductor track with
// track name, copyright, tempo and time-signature changes, key signature,
// markers, lyrics, keyboard chord events (FF 7F 07 43 7B 01 ...), texts,
// sequencer-specific events and system-exclusive messages (one of them sent
// in two packets, F0 then F7), followed by one track per channel 0 to 15 with
// notes (note-on and note-off pairs, running status, note-offs written both as
// 8n kk 40 and as 9n kk 00), controllers, program changes, pitch bends and
// pressure. The same seed gives the same bytes.
//
//   Bytes song = ArrangerSong(1'000'000);        // about 4 MB
//   Bytes shared = SharedChannelSong(500'000);   // two tracks on one channel
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <queue>
#include <string>
#include <utility>
#include <vector>

#include "SongBuilder.h"

namespace tonalux::testing {

namespace arranger {

// splitmix64: small, fast and the same on every platform.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // 0 .. bound-1
    std::uint32_t Below(std::uint32_t bound) { return static_cast<std::uint32_t>(Next() % bound); }
    std::uint8_t Byte(std::uint32_t low, std::uint32_t high) {
        return static_cast<std::uint8_t>(low + Below(high - low + 1));
    }

private:
    std::uint64_t state_;
};

// A channel message at an absolute tick.
struct ChannelMessage {
    std::uint32_t tick;
    std::uint8_t status;
    std::uint8_t data1;
    std::uint8_t data2;
    bool twoData;
};

// Writes messages (in tick order) as a track, with running status wherever
// the status repeats.
inline Track ChannelTrack(const std::vector<ChannelMessage>& messages, Track track = Track()) {
    std::uint32_t last = 0;
    std::uint8_t running = 0;
    for (const ChannelMessage& m : messages) {
        const std::uint32_t delta = m.tick - last;
        last = m.tick;
        if (m.status == running) {
            if (m.twoData) {
                track.Running(delta, {m.data1, m.data2});
            } else {
                track.Running(delta, {m.data1});
            }
        } else if (m.twoData) {
            track.Event(delta, m.status, {m.data1, m.data2});
        } else {
            track.Event(delta, m.status, {m.data1});
        }
        running = m.status;
    }
    return track;
}

// About count channel messages of one channel, from tick 0 on. Notes are
// mostly short and sometimes several start together, as chords do.
inline std::vector<ChannelMessage> ChannelPart(Random& random, std::uint8_t channel, std::size_t count,
                                              std::uint16_t division) {
    std::vector<ChannelMessage> out;
    out.reserve(count + 8);
    const auto status = [channel](std::uint8_t kind) { return static_cast<std::uint8_t>(kind | channel); };
    // Note-offs of this channel: as 9n kk 00 on even channels, 8n kk 40 on odd ones.
    const bool zeroVelocityOff = channel % 2 == 0;
    using Pending = std::pair<std::uint32_t, std::uint8_t>;  // off tick, key
    std::priority_queue<Pending, std::vector<Pending>, std::greater<>> offs;
    const auto flushUntil = [&](std::uint32_t tick) {
        while (!offs.empty() && offs.top().first <= tick) {
            const auto [at, key] = offs.top();
            offs.pop();
            out.push_back(zeroVelocityOff ? ChannelMessage{at, status(0x90), key, 0, true}
                                          : ChannelMessage{at, status(0x80), key, 0x40, true});
        }
    };

    std::uint32_t tick = 0;
    out.push_back({0, status(0xB0), 0, static_cast<std::uint8_t>(channel == 9 ? 127 : 0), true});
    out.push_back({0, status(0xC0), random.Byte(0, 127), 0, false});
    out.push_back({0, status(0xB0), 7, random.Byte(80, 110), true});
    const std::uint8_t base = channel == 9 ? 36 : random.Byte(36, 72);
    const std::uint32_t steps[] = {0, 0, static_cast<std::uint32_t>(division / 8), static_cast<std::uint32_t>(division / 4),
                                   static_cast<std::uint32_t>(division / 2), division};
    std::int32_t bend = 0x2000;
    while (out.size() + offs.size() < count) {
        tick += steps[random.Below(6)];
        flushUntil(tick);
        const std::uint32_t what = random.Below(100);
        if (what < 70) {
            const auto key = static_cast<std::uint8_t>(base + random.Below(24));
            out.push_back({tick, status(0x90), key, random.Byte(20, 127), true});
            offs.push({tick + 1 + random.Below(2 * division), key});
        } else if (what < 82) {
            static constexpr std::uint8_t controllers[] = {1, 7, 10, 11, 64, 71, 74, 91, 93};
            out.push_back({tick, status(0xB0), controllers[random.Below(9)], random.Byte(0, 127), true});
        } else if (what < 92) {
            bend = std::clamp<std::int32_t>(bend + static_cast<std::int32_t>(random.Below(2049)) - 1024, 0, 0x3FFF);
            out.push_back({tick, status(0xE0), static_cast<std::uint8_t>(bend & 0x7F),
                           static_cast<std::uint8_t>(bend >> 7), true});
        } else if (what < 96) {
            out.push_back({tick, status(0xD0), random.Byte(0, 127), 0, false});
        } else if (what < 98) {
            out.push_back({tick, status(0xC0), random.Byte(0, 127), 0, false});
        } else {
            out.push_back({tick, status(0xA0), static_cast<std::uint8_t>(base + random.Below(24)), random.Byte(0, 127), true});
        }
    }
    flushUntil(0xFFFFFFFFu);
    return out;
}

// A conductor event at an absolute tick.
struct ConductorEvent {
    std::uint32_t tick;
    int kind;
    std::uint32_t serial;
};

// count meta and system-exclusive events spread over [0, length).
inline Track ConductorTrack(Random& random, std::size_t count, std::uint32_t length, std::uint16_t division) {
    Track track;
    track.Text(0, 0x03, "Arranger Song")
        .Text(0, 0x02, "(C) Tonalux")
        .Meta(0, 0x54, {0x60, 0x00, 0x00, 0x00, 0x00})
        .Tempo(0, 500000)
        .Meta(0, 0x58, {4, 2, 24, 8})
        .Meta(0, 0x59, {0xFE, 0x00})
        .Sysex(0, {0x7E, 0x7F, 0x09, 0x01, 0xF7})
        .Sysex(0, {0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00, 0xF7})
        .Sysex(0, {0x43, 0x10, 0x4C, 0x02, 0x01, 0x00})  // first packet
        .Sysex(0, {0x01, 0x10, 0xF7}, 0xF7);                  // its continuation
    std::vector<ConductorEvent> events;
    events.reserve(count);
    const std::uint32_t bar = 4u * division;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint32_t what = random.Below(100);
        int kind = what < 40 ? 0 : what < 60 ? 1 : what < 65 ? 2 : what < 75 ? 3 : what < 78 ? 4 : what < 83 ? 5
                 : what < 86 ? 6 : what < 90 ? 7 : 8;
        std::uint32_t tick = random.Below(std::max<std::uint32_t>(length, 1));
        if (kind == 1 || kind == 2 || kind == 4) tick -= tick % bar;  // chords, markers, metre on the bar
        events.push_back({tick, kind, i});
    }
    std::stable_sort(events.begin(), events.end(),
                     [](const ConductorEvent& a, const ConductorEvent& b) { return a.tick < b.tick; });
    static constexpr const char* syllables[] = {"Hal", "lo ", "du ", "schö", "ne ", "Welt", "la ", "^"};
    std::uint32_t last = 0;
    for (const ConductorEvent& e : events) {
        const std::uint32_t delta = e.tick - last;
        last = e.tick;
        switch (e.kind) {
            case 0: track.Text(delta, 0x05, syllables[e.serial % 8]); break;
            case 1: track.Chord(delta, random.Byte(0x31, 0x37), random.Byte(0, 34)); break;
            case 2: track.Text(delta, 0x06, "Part " + std::to_string(e.serial % 100)); break;
            case 3: track.Tempo(delta, 400000 + random.Below(300000)); break;
            case 4: track.Meta(delta, 0x58, {static_cast<std::uint8_t>(2 + random.Below(5)), 2, 24, 8}); break;
            case 5: track.Text(delta, 0x01, "text " + std::to_string(e.serial)); break;
            case 6: track.Meta(delta, 0x7F, {0x43, 0x7B, 0x00, 0x00}); break;
            case 7:
                track.Sysex(delta, {0x43, 0x10, 0x4C, 0x08, static_cast<std::uint8_t>(e.serial % 16), 0x0B,
                                    random.Byte(0, 127), 0xF7});
                break;
            default: track.Meta(delta, 0x59, {static_cast<std::uint8_t>(random.Below(15)), 0x00}); break;
        }
    }
    return track.End();
}

}  // namespace arranger

// A format 1 song of about `events` events (meta, system-exclusive and
// channel events together): a conductor track and one track per channel.
inline Bytes ArrangerSong(std::size_t events = 1'000'000, std::uint64_t seed = 1, std::uint16_t division = 480) {
    arranger::Random random(seed);
    const std::size_t conductorEvents = std::max<std::size_t>(10, events / 50);
    const std::size_t channelEvents = events > conductorEvents + 10 ? events - conductorEvents - 10 : 16 * 8;
    // Channels carry different shares, the drums (channel 9) the most.
    static constexpr std::uint32_t weights[16] = {10, 6, 8, 5, 4, 7, 3, 4, 6, 16, 5, 4, 3, 2, 2, 1};
    std::uint32_t weightSum = 0;
    for (std::uint32_t w : weights) weightSum += w;

    std::vector<Track> channelTracks;
    std::uint32_t length = 0;
    for (std::uint8_t channel = 0; channel < 16; ++channel) {
        const std::size_t share = std::max<std::size_t>(8, channelEvents * weights[channel] / weightSum);
        auto part = arranger::ChannelPart(random, channel, share, division);
        length = std::max(length, part.back().tick);
        Track track;
        track.Text(0, 0x03, "Channel " + std::to_string(channel + 1));
        channelTracks.push_back(arranger::ChannelTrack(part, std::move(track)).End());
    }
    SongBuilder song(1, division);
    song.AddTrack(arranger::ConductorTrack(random, conductorEvents, length, division));
    for (const Track& track : channelTracks) song.AddTrack(track);
    return song.Bytes();
}

// A format 1 song with a tempo track and two tracks of `eventsPerTrack`
// events each on the same channel over the same stretch of time, so the
// second track reaches back before what the first has reached.
inline Bytes SharedChannelSong(std::size_t eventsPerTrack = 500'000, std::uint64_t seed = 2,
                               std::uint16_t division = 480) {
    arranger::Random random(seed);
    SongBuilder song(1, division);
    song.AddTrack(Track().Tempo(0, 500000).Meta(0, 0x58, {4, 2, 24, 8}).End());
    for (int i = 0; i < 2; ++i) {
        song.AddTrack(arranger::ChannelTrack(arranger::ChannelPart(random, 0, eventsPerTrack, division)).End());
    }
    return song.Bytes();
}

}  // namespace tonalux::testing
