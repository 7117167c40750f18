// What a sheet needs of the loaded song besides its words, read from the
// engine's lists: the keyboard chord events named for ChordPro, the metres,
// the tempo at the start, the key signature and the song's name.
#include <string>

#include "MidiBytes.h"
#include "SongSheet.h"
#include "SongTexts.h"
#include "StandardMidifile.h"

namespace tonalux {

namespace {

constexpr std::uint8_t kKeySignatureType = 0x59;
constexpr double kMicrosecondsPerMinute = 60'000'000.0;
// Metres a sheet shows: up to 64 beats of whole to 64th notes.
constexpr int kMostNumerator = 64;
constexpr int kMostDenominatorPower = 6;

bool IsUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
        if (length == 0 || i + length > text.size()) return false;
        for (std::size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
        i += length;
    }
    return true;
}

// A song name as UTF-8: kept when it is UTF-8 already, otherwise its 8-bit
// characters read as Latin-1; control characters become blanks.
std::string NameText(const MetaEvent& event) {
    if (!event.Data) return {};
    const std::string bytes(reinterpret_cast<const char*>(event.Data.get()), event.Length);
    const bool utf8 = IsUtf8(bytes);
    std::string text;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || (!utf8 && byte >= 0x80 && byte < 0xA0)) {
            text += ' ';
        } else if (!utf8 && byte >= 0x80) {
            text += static_cast<char>(0xC0 | byte >> 6);
            text += static_cast<char>(0x80 | (byte & 0x3F));
        } else {
            text += c;
        }
    }
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

SheetFacts ReadSheetFacts(const StandardMidifile& constSong, std::string_view fileName) {
    // The engine's list getters only read, but are not declared const: the
    // lists belong to the process, not to the object.
    auto& song = const_cast<StandardMidifile&>(constSong);
    SheetFacts facts;
    facts.FileName = std::string(fileName);
    facts.Division = song.Division;

    const int chordCount = song.GetSizeYamChordEvents();
    facts.Chords.reserve(static_cast<std::size_t>(chordCount));
    for (int i = 0; i < chordCount; ++i) {
        const MetaEvent event = song.GetYamchord(i);
        if (!IsKeyboardChordEvent(event.Type, event.Length, event.Data.get())) continue;
        const auto name = ChordProName(event.Data[3], event.Data[4], event.Data[5]);
        if (name)
            facts.Chords.push_back({event.Tick, *name});
        else
            facts.Notes.push_back("the chord event at tick " + std::to_string(event.Tick) +
                                  " names no chord (root " + std::to_string(event.Data[3]) + ", type " +
                                  std::to_string(event.Data[4]) + ") and is not shown");
    }

    const int metreCount = song.GetSizeMessureEvents();
    for (int i = 0; i < metreCount; ++i) {
        const MetaEvent event = song.GetMessure(i);
        if (!event.Data || event.Length < 2) continue;
        const int numerator = event.Data[0];
        const int power = event.Data[1];
        if (numerator < 1 || numerator > kMostNumerator || power > kMostDenominatorPower) continue;
        facts.Metres.push_back({event.Tick, numerator, 1 << power});
    }

    const int tempoCount = song.GetSizeTempoevents();
    for (int i = 0; i < tempoCount; ++i) {
        const MetaEvent event = song.GetTempoevent(i);
        if (event.Tick > 0) break;
        if (!event.Data || event.Length < 3) continue;
        const std::uint32_t micros = std::uint32_t{event.Data[0]} << 16 | std::uint32_t{event.Data[1]} << 8 | event.Data[2];
        if (micros > 0) facts.BeatsPerMinute = kMicrosecondsPerMinute / micros;
    }

    const int metaCount = song.GetSizeMetaEvents();
    for (int i = 0; i < metaCount; ++i) {
        const MetaEvent event = song.GetMetaEvent(i);
        if (event.Type == kKeySignatureType && !facts.KeyFifths && event.Data && event.Length >= 2) {
            facts.KeyFifths = static_cast<std::int8_t>(event.Data[0]);
            facts.KeyMinor = event.Data[1] == 1;
        } else if (event.Type == kSequenceNameType && facts.SongName.empty()) {
            facts.SongName = NameText(event);
            // A karaoke song's name may carry the title mark of its text events.
            if (facts.SongName.rfind("@T", 0) == 0) facts.SongName.erase(0, 2);
            // A name that is a file's path (as some sequencers write it) is shown as the file's name.
            if (facts.SongName.rfind('/', 0) == 0) facts.SongName.erase(0, facts.SongName.find_last_of('/') + 1);
        }
    }
    return facts;
}

SongSheet MakeSongSheet(const StandardMidifile& song, const SongLyrics& lyrics, std::string_view fileName) {
    return BuildSongSheet(ReadSheetFacts(song, fileName), lyrics);
}

}  // namespace tonalux
