// The facts of one song as the song's window shows them: the header values,
// the tempo, metre and key at its start, its length in bars and in time, the
// vocoder channel, whether it carries chords and words, and the damage its
// reading met. Worked out from a loaded engine object, without any window.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "StandardMidifile.h"

namespace tonalux {

struct SongFacts {
    int Format = 0;
    int Tracks = 0;
    int Division = 0;                 // ticks per quarter note; bit 15 set for SMPTE time code
    double Tempo = 120.0;             // beats per minute at the start (120 without a tempo event)
    std::string Metre = "4/4";        // at the start ("4/4" without a time signature)
    std::string Key;                  // "G major", "E minor"; empty without a key signature
    std::uint32_t EndTick = 0;        // the last record's tick
    std::uint32_t Bars = 0;           // bars begun up to the end, metre changes counted; 0 for SMPTE time
    double Seconds = 0.0;             // the length in time, tempo changes counted
    int VocoderChannel = kNoVocoderChannel;  // 1..16, or kNoVocoderChannel
    bool Chords = false;              // keyboard chord events or Ketron chord lyrics
    bool Words = false;               // sung words, as ReadLyrics finds them
    std::string Damage;               // DescribeDamage of the load; empty for a song read whole
};

// The facts of the loaded song; the vocoder channel at `threshold`.
SongFacts ReadSongFacts(StandardMidifile& song, int threshold);

// "3:07" (minutes and seconds, rounded to the second).
std::string MinutesAndSeconds(double seconds);

}  // namespace tonalux
