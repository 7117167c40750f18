// Small songs for the command-line tests, built byte by byte.
#pragma once

#include <cstdint>
#include <string>

#include "SongBuilder.h"

namespace tonalux::testing {

// A two-track format 1 song at 96 ticks per quarter:
//   track 0: tempo, chord F#m7 at 0, a vocoder message and an XG system-on
//            message at 0, chord C/E at 960, lyric "la" at 960
//   track 1: channel 1 notes at velocity 100, `quiet` channel notes (1..16)
//            at velocity `quietVelocity`, a drum note on channel 10
inline Bytes CliSong(std::uint8_t quiet = 3, std::uint8_t quietVelocity = 5) {
    const auto q = static_cast<std::uint8_t>(quiet - 1);
    Track conductor;
    conductor.Tempo(0, 500000)
        .Chord(0, 0x44, 10)
        .Sysex(0, {0x43, 0x10, 0x4C, 0x04, 0x00, 0x00, 0x00, 0xF7})
        .Sysex(0, {0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00, 0xF7})
        .Chord(960, 0x31, 0, 0x33, 0x00)
        .Text(0, 0x05, "la")
        .End();
    Track notes;
    notes.Note(0, 0x90, 60, 100)
        .Note(0, static_cast<std::uint8_t>(0x90 | q), 64, quietVelocity)
        .Note(0, 0x99, 36, 90)
        .Note(96, 0x80, 60, 0)
        .Note(0, static_cast<std::uint8_t>(0x80 | q), 64, 0)
        .Note(0, 0x89, 36, 0)
        .Event(0, 0xB0, {7, 100})
        .Note(864, 0x90, 67, 100)
        .Note(96, 0x80, 67, 0)
        .End();
    return SongBuilder(1, 96).AddTrack(conductor).AddTrack(notes).Bytes();
}

// A song whose second chord has the root byte 0x7F, which has no name.
inline Bytes SongWithUndecodableChord() {
    Track track;
    track.Chord(0, 0x35, 2).Chord(480, 0x7F, 0).Chord(480, 0x31, 8).Note(0, 0x90, 60, 100).Note(96, 0x80, 60, 0).End();
    return SongBuilder(0, 96).AddTrack(track).Bytes();
}

}  // namespace tonalux::testing
