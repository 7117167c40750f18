// Writes the fuzzer's seed corpus: small valid songs that between them use
// every kind of event the reader knows. Usage: fuzz_seeds <folder>
#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "SongBuilder.h"

namespace {

using namespace tonalux::testing;

Bytes EmptySong() {
    SongBuilder song(0, 96);
    song.AddTrack(Track().End());
    return song.Bytes();
}

Bytes NoTracks() { return SongBuilder(1, 480).Bytes(); }

// One track with every channel message class, running status included.
Bytes AllChannelMessages() {
    SongBuilder song(0, 96);
    song.AddTrack(Track()
                      .Tempo(0, 500000)
                      .Meta(0, 0x58, {4, 2, 24, 8})
                      .Meta(0, 0x59, {0xFE, 0})
                      .Event(0, 0xB0, {7, 100})
                      .Program(0, 0, 5)
                      .Note(0, 0x90, 60, 100)
                      .Running(0, {64, 90})
                      .Running(0, {67, 80})
                      .Event(24, 0xA0, {60, 30})
                      .Event(0, 0xD0, {40})
                      .Event(0, 0xE0, {0, 0x40})
                      .Running(12, {0x7F, 0x7F})
                      .Note(60, 0x80, 60, 64)
                      .Note(0, 0x90, 64, 0)
                      .Running(0, {67, 0})
                      .End());
    return song.Bytes();
}

// A format 1 song: a meta track with every kind of meta event and tracks that
// share channels and reach back in time.
Bytes SharedChannels() {
    SongBuilder song(1, 96);
    song.AddTrack(Track()
                      .Text(0, 0x03, "Song")
                      .Text(0, 0x02, "(c) nobody")
                      .Text(0, 0x01, "text")
                      .Tempo(0, 600000)
                      .Meta(0, 0x58, {3, 2, 24, 8})
                      .Text(0, 0x06, "Intro")
                      .Text(96, 0x05, "La")
                      .Text(0, 0x07, "cue")
                      .Meta(0, 0x20, {1})
                      .Meta(0, 0x21, {0})
                      .Meta(0, 0x54, {0x60, 0, 0, 0, 0})
                      .Chord(96, 0x31, 0x00)
                      .Tempo(192, 500000)
                      .End());
    song.AddTrack(Track().Text(0, 0x03, "Piano").Program(0, 1, 0).Note(0, 0x91, 60, 100).Note(960, 0x81, 60, 0).End());
    song.AddTrack(Track().Note(480, 0x91, 64, 100).Running(96, {64, 0}).Note(0, 0x99, 36, 120).Running(48, {36, 0}).End());
    return song.Bytes();
}

// System-exclusive messages, a split message in F7 packets and an escape.
Bytes SystemExclusive() {
    SongBuilder song(1, 96);
    song.AddTrack(Track()
                      .Sysex(0, {0x7E, 0x7F, 0x09, 0x01, 0xF7})
                      .Sysex(0, {0x43, 0x10, 0x4C, 0x04, 0x00, 0x01, 0xF7})
                      .Sysex(10, {0x43, 0x10, 0x4C})
                      .Sysex(5, {0x04, 0x00, 0xF7}, 0xF7)
                      .Sysex(5, {0xF8}, 0xF7)
                      .Sysex(0, {})
                      .End());
    song.AddTrack(Track().Note(0, 0x92, 72, 4).Running(48, {72, 0}).End());
    return song.Bytes();
}

// Keyboard chords and the percent-prefixed chord lyrics.
Bytes Chords() {
    SongBuilder song(0, 480);
    Track track;
    const std::uint8_t roots[] = {0x31, 0x23, 0x45, 0x17, 0x7F};
    for (std::uint8_t i = 0; i < 5; ++i) {
        track.Chord(i == 0 ? 0 : 480, roots[i], static_cast<std::uint8_t>(i * 3), i == 2 ? 0x33 : 0x7F, 0x7F);
        track.Text(0, 0x05, "%C");
        track.Note(0, 0x90, static_cast<std::uint8_t>(48 + i), 90).Note(0, 0x90, static_cast<std::uint8_t>(52 + i), 90);
    }
    track.Meta(0, 0x7F, {0x43, 0x7B, 0x00, 0x00}).End();
    song.AddTrack(track);
    return song.Bytes();
}

// Large values: the longest delta time a file may hold, a meta event whose
// length takes two bytes, a high division.
Bytes LargeValues() {
    SongBuilder song(0, 0x7FFF);
    song.AddTrack(Track()
                      .Text(0, 0x01, std::string(200, 'x'))
                      .Note(0x0FFFFFFF, 0x90, 60, 1)
                      .Note(0x81, 0x80, 60, 0)
                      .End());
    return song.Bytes();
}

// A data byte right after a meta event runs on the last channel status, and
// a track may start on the running status of the previous one.
Bytes RunningStatusAcrossEvents() {
    SongBuilder song(1, 96);
    song.AddTrack(Track().Note(0, 0x93, 60, 100).Text(10, 0x01, "x").Running(10, {60, 0}).End());
    song.AddTrack(Track().Raw({0x00, 0x3E, 0x40}).Note(0, 0x83, 62, 0).End());
    return song.Bytes();
}

// Short chunks, an empty chunk, a chunk with another identifier, format 2.
Bytes ShortChunks() {
    SongBuilder song(2, 96);
    song.AddTrack(Track().End());
    song.AddTrack(Track());
    song.AddTrack(Track().Program(0, 4, 9));
    song.AddTrack(Track().Note(0, 0x94, 60, 100).Note(96, 0x84, 60, 0).End());
    return song.Bytes();
}

// Every channel, and the start of the song at a later tick.
Bytes AllChannels() {
    SongBuilder song(1, 192);
    song.AddTrack(Track().Tempo(0, 400000).Text(0, 0x06, "A").End());
    Track track;
    for (std::uint8_t c = 0; c < 16; ++c) {
        track.Note(c == 0 ? 768 : 0, static_cast<std::uint8_t>(0x90 | c), static_cast<std::uint8_t>(40 + c), 100);
    }
    for (std::uint8_t c = 0; c < 16; ++c) track.Note(96, static_cast<std::uint8_t>(0x80 | c), static_cast<std::uint8_t>(40 + c), 0);
    song.AddTrack(track.End());
    return song.Bytes();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds <folder>\n");
        return 2;
    }
    const std::filesystem::path folder(argv[1]);
    std::filesystem::create_directories(folder);
    const std::vector<std::pair<const char*, Bytes>> seeds{
        {"empty.mid", EmptySong()},
        {"no-tracks.mid", NoTracks()},
        {"channel-messages.mid", AllChannelMessages()},
        {"shared-channels.mid", SharedChannels()},
        {"sysex.mid", SystemExclusive()},
        {"chords.mid", Chords()},
        {"large-values.mid", LargeValues()},
        {"running-status.mid", RunningStatusAcrossEvents()},
        {"short-chunks.mid", ShortChunks()},
        {"all-channels.mid", AllChannels()},
    };
    for (const auto& [name, bytes] : seeds) WriteFile(folder / name, bytes);
    // The fuzzer reads two switches from the last byte of its input; a byte
    // behind the last chunk is ignored by the reader, so these variants turn
    // on the start at the first note (1) and the reversed ticks (2).
    const std::vector<std::pair<const char*, Bytes>> switched{
        {"shared-channels-first-note.mid", SharedChannels()},
        {"all-channels-first-note.mid", AllChannels()},
        {"shared-channels-edited.mid", SharedChannels()},
        {"sysex-edited.mid", SystemExclusive()},
        {"chords-edited-first-note.mid", Chords()},
    };
    for (const auto& [name, bytes] : switched) {
        const std::string text(name);
        Bytes withSwitches = bytes;
        withSwitches.push_back(static_cast<std::uint8_t>((text.find("first-note") != std::string::npos ? 1 : 0) |
                                                         (text.find("edited") != std::string::npos ? 2 : 0)));
        WriteFile(folder / name, withSwitches);
    }
    std::printf("%zu seeds written to %s\n", seeds.size() + switched.size(), folder.string().c_str());
    return 0;
}
