// Writes the demo songs into a folder, built event by event with the engine's
// list operations and saved with its writers:
//   Abendlied.mid  a vocoder part on channel 3 (velocities 3 to 5), vocoder
//                  system-exclusive messages, keyboard chords and lyrics
//   Bossa_Nova.mid no vocoder part
//   Walzer.mid     a format 1 song of several tracks in 3/4
//   SONG.MID       a name in upper case, with a vocoder part on channel 12
#include <array>
#include <cstdint>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "StandardMidifile.h"

namespace {

using tonalux::DataBlock;
using tonalux::MetaEvent;
using tonalux::MidiEvent;
using tonalux::StandardMidifile;
using tonalux::SysexEvent;
using Bytes = std::vector<std::uint8_t>;

constexpr std::uint16_t kDivision = 96;  // ticks per quarter note
constexpr std::uint32_t kQuarter = kDivision;

DataBlock Block(const Bytes& bytes) {
    DataBlock block(new std::uint8_t[bytes.size() + 1]);
    std::memcpy(block.get(), bytes.data(), bytes.size());
    block[bytes.size()] = 0;
    return block;
}

// Channels are given 1 to 16, as the windows number them.
class Song {
public:
    Song() : file_(nullptr) {
        file_.InitHauptcontainer();
        file_.Division = kDivision;
    }

    void Channel(int channel, std::uint32_t tick, std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
        MidiEvent event{};
        event.Tick = tick;
        event.Channel = channel - 1;
        event.Kind = status;
        event.Status = static_cast<std::uint8_t>(status | (channel - 1));
        event.Data1 = data1;
        event.Data2 = data2;
        file_.AddMidievent(event);
    }
    void Program(int channel, std::uint32_t tick, std::uint8_t bankMsb, std::uint8_t program) {
        Channel(channel, tick, 0xB0, 0x00, bankMsb);
        Channel(channel, tick, 0xC0, program, 0);
    }
    void Volume(int channel, std::uint32_t tick, std::uint8_t volume) { Channel(channel, tick, 0xB0, 7, volume); }
    // Notes of one chord, all starting and ending together.
    void Notes(int channel, std::uint32_t tick, std::uint32_t length, const std::vector<std::uint8_t>& keys,
               std::uint8_t velocity) {
        for (auto key : keys) Channel(channel, tick, 0x90, key, velocity);
        for (auto key : keys) Channel(channel, tick + length, 0x80, key, 0x40);
    }

    void Text(std::uint32_t tick, std::uint8_t type, const std::string& text) {
        file_.AddMetaevent(Meta(tick, type, Bytes(text.begin(), text.end())));
    }
    void Tempo(std::uint32_t tick, std::uint32_t microsPerQuarter) {
        file_.AddTempoevent(Meta(tick, 0x51,
                                 {static_cast<std::uint8_t>(microsPerQuarter >> 16),
                                  static_cast<std::uint8_t>(microsPerQuarter >> 8),
                                  static_cast<std::uint8_t>(microsPerQuarter)}));
    }
    void TimeSignature(std::uint32_t tick, std::uint8_t beats) {
        file_.AddMessure(Meta(tick, 0x58, {beats, 2, 24, 8}));
    }
    void Lyric(std::uint32_t tick, const std::string& syllable) {
        file_.AddLyricevent(Meta(tick, 0x05, Bytes(syllable.begin(), syllable.end())));
    }
    // Keyboard chord FF 7F 07 43 7B 01: root (high nibble accidental, 3 for
    // natural; low nibble 1 to 7 for C to B) and chord type.
    void Chord(std::uint32_t tick, std::uint8_t root, std::uint8_t type) {
        file_.AddYamchord(Meta(tick, 0x7F, {0x43, 0x7B, 0x01, root, type, 0x7F, 0x7F}));
    }
    // System-exclusive body from the manufacturer byte to the closing F7.
    void Sysex(std::uint32_t tick, const Bytes& body) {
        SysexEvent event{};
        event.Tick = tick;
        event.Status = 0xF0;
        event.Manufacturer = body.front();
        event.Length = static_cast<std::uint32_t>(body.size());
        event.Data = Block(body);
        file_.AddSysex(event);
    }

    bool Save(const std::string& path, int format) { return file_.SaveMidifile(format, path); }

private:
    static MetaEvent Meta(std::uint32_t tick, std::uint8_t type, const Bytes& data) {
        MetaEvent event{};
        event.Tick = tick;
        event.Status = 0xFF;
        event.Type = type;
        event.Length = static_cast<std::uint32_t>(data.size());
        event.Data = Block(data);
        return event;
    }

    StandardMidifile file_;
};

// Chord roots: natural C to B.
constexpr std::uint8_t C = 0x31, D = 0x32, E = 0x33, F = 0x34, G = 0x35, A = 0x36;
// Chord types: major, minor, seventh.
constexpr std::uint8_t kMajor = 0, kMinor = 8, kSeventh = 19;

const Bytes kXgSystemOn{0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00, 0xF7};
// Vocoder messages: 43 10 4C 04 and the parameter address and value.
const Bytes kVocoderType{0x43, 0x10, 0x4C, 0x04, 0x00, 0x00, 0x4D, 0xF7};
const Bytes kVocoderLevel{0x43, 0x10, 0x4C, 0x04, 0x00, 0x0B, 0x64, 0xF7};
const Bytes kVocoderOn{0x43, 0x10, 0x4C, 0x04, 0x00, 0x0C, 0x01, 0xF7};

void Drums(Song& song, std::uint32_t from, int bars, int beatsPerBar) {
    for (int bar = 0; bar < bars; ++bar) {
        for (int beat = 0; beat < beatsPerBar; ++beat) {
            const std::uint32_t tick = from + static_cast<std::uint32_t>(bar * beatsPerBar + beat) * kQuarter;
            song.Notes(10, tick, kQuarter / 4, {static_cast<std::uint8_t>(beat == 0 ? 36 : 42)}, beat == 0 ? 110 : 80);
            if (beatsPerBar == 4 && (beat == 1 || beat == 3)) song.Notes(10, tick, kQuarter / 4, {38}, 96);
        }
    }
}

bool Abendlied(const std::string& folder) {
    Song song;
    song.Text(0, 0x03, "Abendlied");
    song.Text(0, 0x02, "Tonalux demo song");
    song.TimeSignature(0, 4);
    song.Tempo(0, 600000);  // 100 beats per minute
    song.Sysex(0, kXgSystemOn);
    song.Sysex(kQuarter / 4, kVocoderType);
    song.Sysex(kQuarter / 4, kVocoderLevel);
    song.Sysex(kQuarter / 2, kVocoderOn);
    song.Program(1, 0, 0, 0);     // piano
    song.Program(2, 0, 0, 32);    // acoustic bass
    song.Program(3, 0, 0, 52);    // choir: the vocoder part
    song.Program(10, 0, 127, 0);  // drums
    song.Volume(3, 0, 100);

    const std::uint32_t start = 4 * kQuarter;  // one bar of count-in
    struct Bar {
        std::uint8_t root, type, bass;
        std::array<std::uint8_t, 4> melody;
        std::array<const char*, 4> words;
        std::array<std::uint8_t, 3> voices;
    };
    const std::array<Bar, 8> bars{{
        {C, kMajor, 36, {67, 67, 69, 67}, {"Der ", "Mond ", "ist ", "auf"}, {60, 64, 67}},
        {F, kMajor, 41, {65, 65, 64, 64}, {"ge", "gan", "gen, ", "die "}, {60, 65, 69}},
        {G, kSeventh, 43, {62, 62, 64, 65}, {"gold", "nen ", "Stern", "lein "}, {59, 62, 65}},
        {C, kMajor, 36, {64, 62, 60, 60}, {"pran", "gen ", "am ", "Him"}, {60, 64, 67}},
        {A, kMinor, 45, {69, 69, 71, 72}, {"mel ", "hell ", "und ", "klar;"}, {60, 64, 69}},
        {D, kMinor, 38, {69, 67, 65, 64}, {"der ", "Wald ", "steht ", "schwar"}, {62, 65, 69}},
        {G, kSeventh, 43, {62, 64, 65, 62}, {"zet ", "und ", "schwei", "get"}, {59, 62, 67}},
        {C, kMajor, 36, {60, 60, 60, 60}, {"", "", "", ""}, {60, 64, 67}},
    }};
    for (std::size_t b = 0; b < bars.size(); ++b) {
        const std::uint32_t barTick = start + static_cast<std::uint32_t>(b) * 4 * kQuarter;
        song.Chord(barTick, bars[b].root, bars[b].type);
        song.Notes(2, barTick, 2 * kQuarter - 8, {bars[b].bass}, 92);
        song.Notes(2, barTick + 2 * kQuarter, 2 * kQuarter - 8, {static_cast<std::uint8_t>(bars[b].bass + 7)}, 84);
        // The vocoder voices sound with the lowest velocities of the song.
        song.Notes(3, barTick, 4 * kQuarter - 8,
                   {bars[b].voices[0], bars[b].voices[1], bars[b].voices[2]},
                   static_cast<std::uint8_t>(3 + b % 3));
        for (std::size_t n = 0; n < 4; ++n) {
            const std::uint32_t tick = barTick + static_cast<std::uint32_t>(n) * kQuarter;
            const bool last = b + 1 == bars.size();
            if (last && n > 0) break;
            song.Notes(1, tick, (last ? 4 : 1) * kQuarter - 8, {bars[b].melody[n]}, static_cast<std::uint8_t>(96 - 4 * (n % 2)));
            if (*bars[b].words[n]) song.Lyric(tick, bars[b].words[n]);
        }
    }
    Drums(song, start, 7, 4);
    song.Text(start, 0x06, "Strophe");
    return song.Save(folder + "Abendlied.mid", 0);
}

bool BossaNova(const std::string& folder) {
    Song song;
    song.Text(0, 0x03, "Bossa Nova");
    song.TimeSignature(0, 4);
    song.Tempo(0, 461538);  // 130 beats per minute
    song.Sysex(0, kXgSystemOn);
    song.Program(1, 0, 0, 25);    // steel guitar
    song.Program(2, 0, 0, 33);    // finger bass
    song.Program(4, 0, 0, 48);    // strings
    song.Program(10, 0, 127, 0);  // drums
    const std::array<std::uint8_t, 4> roots{D, G, C, A};
    const std::array<std::uint8_t, 4> types{kMinor, kSeventh, kMajor, kSeventh};
    const std::array<std::uint8_t, 4> bass{38, 43, 36, 45};
    const std::array<std::array<std::uint8_t, 3>, 4> voicings{{{62, 65, 69}, {59, 65, 67}, {60, 64, 67}, {61, 64, 67}}};
    for (int repeat = 0; repeat < 2; ++repeat) {
        for (std::size_t b = 0; b < roots.size(); ++b) {
            const std::uint32_t barTick = static_cast<std::uint32_t>(repeat * 4 + static_cast<int>(b)) * 4 * kQuarter;
            song.Chord(barTick, roots[b], types[b]);
            song.Notes(2, barTick, kQuarter + kQuarter / 2, {bass[b]}, 88);
            song.Notes(2, barTick + 3 * kQuarter / 2, kQuarter / 2, {static_cast<std::uint8_t>(bass[b] + 7)}, 80);
            song.Notes(2, barTick + 2 * kQuarter, 2 * kQuarter - 8, {static_cast<std::uint8_t>(bass[b] + 7)}, 84);
            // Syncopated guitar chords.
            for (std::uint32_t at : {0u, 3 * kQuarter / 2, 5 * kQuarter / 2, 3 * kQuarter})
                song.Notes(1, barTick + at, kQuarter / 2, {voicings[b][0], voicings[b][1], voicings[b][2]}, 72);
            song.Notes(4, barTick, 4 * kQuarter - 8, {static_cast<std::uint8_t>(voicings[b][0] + 12)}, 58);
        }
    }
    Drums(song, 0, 8, 4);
    return song.Save(folder + "Bossa_Nova.mid", 0);
}

bool Walzer(const std::string& folder) {
    Song song;
    song.Text(0, 0x03, "Walzer");
    song.TimeSignature(0, 3);
    song.Tempo(0, 400000);  // 150 beats per minute
    song.Program(1, 0, 0, 21);    // accordion
    song.Program(2, 0, 0, 58);    // tuba
    song.Program(3, 0, 0, 24);    // nylon guitar
    song.Program(10, 0, 127, 0);  // drums
    const std::array<std::uint8_t, 8> roots{C, G, G, C, F, C, G, C};
    const std::array<std::uint8_t, 8> types{kMajor, kSeventh, kSeventh, kMajor, kMajor, kMajor, kSeventh, kMajor};
    const std::array<std::uint8_t, 8> bass{36, 43, 43, 36, 41, 36, 43, 36};
    const std::array<std::array<std::uint8_t, 3>, 8> melody{{
        {64, 67, 72}, {71, 67, 65}, {65, 71, 74}, {72, 67, 64},
        {65, 69, 72}, {72, 67, 64}, {62, 65, 71}, {72, 72, 72},
    }};
    for (std::size_t b = 0; b < roots.size(); ++b) {
        const std::uint32_t barTick = static_cast<std::uint32_t>(b) * 3 * kQuarter;
        song.Chord(barTick, roots[b], types[b]);
        song.Notes(2, barTick, kQuarter - 8, {bass[b]}, 100);
        const std::uint8_t third = static_cast<std::uint8_t>(bass[b] + 24 + (types[b] == kMinor ? 3 : 4));
        const std::uint8_t fifth = static_cast<std::uint8_t>(bass[b] + 24 + 7);
        song.Notes(3, barTick + kQuarter, kQuarter - 8, {third, fifth}, 70);
        song.Notes(3, barTick + 2 * kQuarter, kQuarter - 8, {third, fifth}, 66);
        for (std::size_t n = 0; n < 3; ++n)
            song.Notes(1, barTick + static_cast<std::uint32_t>(n) * kQuarter, kQuarter - 8, {melody[b][n]}, 90);
    }
    Drums(song, 0, 8, 3);
    return song.Save(folder + "Walzer.mid", 1);
}

bool UpperCaseSong(const std::string& folder) {
    Song song;
    song.Text(0, 0x03, "SONG");
    song.TimeSignature(0, 4);
    song.Tempo(0, 500000);  // 120 beats per minute
    song.Sysex(0, kXgSystemOn);
    song.Sysex(kQuarter / 2, kVocoderOn);
    song.Program(1, 0, 0, 81);   // saw lead
    song.Program(2, 0, 0, 38);   // synth bass
    song.Program(12, 0, 0, 91);  // pad: the vocoder part
    const std::array<std::uint8_t, 4> roots{A, F, C, G};
    const std::array<std::uint8_t, 4> types{kMinor, kMajor, kMajor, kMajor};
    const std::array<std::uint8_t, 4> bass{45, 41, 36, 43};
    for (std::size_t b = 0; b < roots.size(); ++b) {
        const std::uint32_t barTick = static_cast<std::uint32_t>(b) * 4 * kQuarter;
        song.Chord(barTick, roots[b], types[b]);
        for (std::uint32_t eighth = 0; eighth < 8; ++eighth)
            song.Notes(2, barTick + eighth * kQuarter / 2, kQuarter / 2 - 4, {bass[b]}, 100);
        song.Notes(12, barTick, 4 * kQuarter - 8,
                   {static_cast<std::uint8_t>(bass[b] + 24), static_cast<std::uint8_t>(bass[b] + 31)}, 4);
        song.Notes(1, barTick, 2 * kQuarter, {static_cast<std::uint8_t>(bass[b] + 36)}, 88);
        song.Notes(1, barTick + 2 * kQuarter, 2 * kQuarter - 8, {static_cast<std::uint8_t>(bass[b] + 40)}, 84);
    }
    return song.Save(folder + "SONG.MID", 0);
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::cerr << "usage: make_examples <folder>\n";
        return 2;
    }
    std::string folder = argv[1];
    if (folder.empty() || folder.back() != '/') folder += '/';
    // Each song starts from empty lists: the lists are shared by every engine object.
    const bool ok = Abendlied(folder) && BossaNova(folder) && Walzer(folder) && UpperCaseSong(folder);
    if (!ok) {
        std::cerr << "make_examples: a song could not be written into " << folder << "\n";
        return 1;
    }
    return 0;
}
