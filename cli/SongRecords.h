// Every record of the engine's lists as the bytes a Standard MIDI File holds
// for it, with its tick and the name of its list. The dump prints these; the
// info command counts them.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tonalux {
class StandardMidifile;
struct MidiEvent;
struct MetaEvent;
struct SysexEvent;
struct Marker;
}

namespace tonalux::cli {

// The lists in the order the dump and the info command show them.
enum class SongList { Ch1, Meta = 16, Tempo, Timesig, Lyric, Marker, Chord, Sysex, Count };

inline constexpr std::size_t kSongListCount = static_cast<std::size_t>(SongList::Count);

// "ch1" .. "ch16", "meta", "tempo", "timesig", "lyric", "marker", "chord", "sysex".
std::string SongListName(std::size_t list);

struct SongRecord {
    std::uint32_t Tick = 0;
    std::uint8_t List = 0;  // index into the list order above
    std::vector<std::uint8_t> Bytes;
};

// Channel message: status byte and its data bytes (one for program change
// and channel pressure, two for the others).
std::vector<std::uint8_t> EncodeRecord(const MidiEvent& event);
// Meta event: FF, type, length as a variable-length quantity, data.
std::vector<std::uint8_t> EncodeRecord(const MetaEvent& event);
std::vector<std::uint8_t> EncodeRecord(const Marker& marker);
// System-exclusive event: F0 or F7, length as a variable-length quantity, data.
std::vector<std::uint8_t> EncodeRecord(const SysexEvent& event);

// Number of records in each list, in the list order above.
std::array<std::size_t, kSongListCount> CountRecords(StandardMidifile& engine);

// Every record of every list, ordered by tick; records of equal tick keep the
// list order above and, within a list, the list's own order. The order is
// the same for the same lists, so two dumps can be compared line by line.
std::vector<SongRecord> CollectRecords(StandardMidifile& engine);

// Upper-case hexadecimal bytes separated by blanks: "90 3C 64".
std::string HexBytes(const std::vector<std::uint8_t>& bytes);

}  // namespace tonalux::cli
