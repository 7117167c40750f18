#include "SongFacts.h"

#include <cmath>
#include <cstdio>
#include <map>

#include "KeyNames.h"
#include "SongLyrics.h"
#include "SongOutcome.h"

namespace tonalux {

namespace {

constexpr std::uint8_t kKeySignature = 0x59;

std::uint32_t MicrosecondsPerQuarter(const MetaEvent& tempo) {
    if (tempo.Length < 3 || !tempo.Data) return 500000;
    return static_cast<std::uint32_t>(tempo.Data[0]) << 16 | static_cast<std::uint32_t>(tempo.Data[1]) << 8 |
           tempo.Data[2];
}

bool IsChordLyric(const MetaEvent& lyric) { return lyric.Length > 0 && lyric.Data && lyric.Data[0] == '%'; }

// The song's length in time: the tempo map walked up to the end.
double SecondsUpTo(StandardMidifile& song, std::uint32_t end) {
    if (song.Division & 0x8000) {
        const int framesPerSecond = -static_cast<std::int8_t>(static_cast<std::uint8_t>(song.Division >> 8));
        const int ticksPerFrame = song.Division & 0xFF;
        return framesPerSecond > 0 && ticksPerFrame > 0 ? double(end) / (framesPerSecond * ticksPerFrame) : 0.0;
    }
    if (song.Division <= 0) return 0.0;
    std::map<std::uint32_t, std::uint32_t> tempos{{0, 500000}};
    for (int i = 0; i < song.GetSizeTempoevents(); ++i) {
        const MetaEvent tempo = song.GetTempoevent(i);
        tempos[tempo.Tick] = MicrosecondsPerQuarter(tempo);
    }
    double seconds = 0.0;
    for (auto at = tempos.begin(); at != tempos.end() && at->first < end; ++at) {
        const auto next = std::next(at);
        const std::uint32_t until = next == tempos.end() || next->first > end ? end : next->first;
        seconds += double(until - at->first) * at->second / 1e6 / song.Division;
    }
    return seconds;
}

// Bars begun before the end, each time signature counted from its tick: a
// song that ends on a bar line has the bars before it.
std::uint32_t BarsUpTo(StandardMidifile& song, std::uint32_t end) {
    if ((song.Division & 0x8000) || song.Division <= 0) return 0;
    std::map<std::uint32_t, std::uint32_t> barTicks{{0, 4u * static_cast<std::uint32_t>(song.Division)}};
    for (int i = 0; i < song.GetSizeMessureEvents(); ++i) {
        const MetaEvent metre = song.GetMessure(i);
        if (metre.Length < 2 || !metre.Data || metre.Data[1] > 6) continue;
        const std::uint32_t ticks = 4u * static_cast<std::uint32_t>(song.Division) * metre.Data[0] >> metre.Data[1];
        if (ticks > 0) barTicks[metre.Tick] = ticks;
    }
    std::uint32_t bars = 0;
    for (auto at = barTicks.begin(); at != barTicks.end() && at->first < end; ++at) {
        const auto next = std::next(at);
        const std::uint32_t until = next == barTicks.end() || next->first > end ? end : next->first;
        bars += (until - at->first + at->second - 1) / at->second;
    }
    return bars;
}

}  // namespace

SongFacts ReadSongFacts(StandardMidifile& song, int threshold) {
    SongFacts facts;
    facts.Format = song.Format;
    facts.Tracks = song.TrackCount;
    facts.Division = song.Division;
    if (song.GetSizeTempoevents() > 0) facts.Tempo = 60e6 / MicrosecondsPerQuarter(song.GetTempoevent(0));
    if (song.GetSizeMessureEvents() > 0) {
        const MetaEvent metre = song.GetMessure(0);
        if (metre.Length >= 2 && metre.Data && metre.Data[1] <= 6)
            facts.Metre = std::to_string(metre.Data[0]) + "/" + std::to_string(1 << metre.Data[1]);
    }
    for (int i = 0; i < song.GetSizeMetaEvents(); ++i) {
        const MetaEvent meta = song.GetMetaEvent(i);
        if (meta.Type != kKeySignature || meta.Length < 2 || !meta.Data || !facts.Key.empty()) continue;
        const int sharps = static_cast<std::int8_t>(meta.Data[0]);
        if (sharps < -kMostKeyFifths || sharps > kMostKeyFifths) continue;
        facts.Key = std::string(KeyTonic(sharps, meta.Data[1] != 0)) + (meta.Data[1] ? " minor" : " major");
    }
    facts.EndTick = song.EndTick();
    facts.Bars = BarsUpTo(song, facts.EndTick);
    facts.Seconds = SecondsUpTo(song, facts.EndTick);
    facts.VocoderChannel = song.VocoderKanalAnalyse(threshold);
    facts.Chords = song.GetSizeYamChordEvents() > 0;
    for (int i = 0; i < song.GetSizeLyricEvents(); ++i) {
        const MetaEvent lyric = song.GetLyricevent(i);
        if (IsChordLyric(lyric)) facts.Chords = true;
    }
    facts.Words = ReadLyrics(song).Kind != LyricsKind::None;
    facts.Damage = DescribeDamage(song.LastLoadReport());
    return facts;
}

std::string MinutesAndSeconds(double seconds) {
    const long whole = std::lround(seconds);
    char text[32];
    std::snprintf(text, sizeof text, "%ld:%02ld", whole / 60, whole % 60);
    return text;
}

}  // namespace tonalux
