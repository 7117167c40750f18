// The chord list that `chords` prints, read back: one line per chord event,
// "TICK NAME", in the order of the song. The names may also be written as
// musicians write them ("C/E", "Cmaj7", "N.C.", see ChordFromWrittenName).
// Blank lines and lines beginning with "#" are passed over, so a list can
// carry notes of its own; lines may end in LF or CR LF.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "MidiRecords.h"

namespace tonalux::cli {

struct ChordListReading {
    std::vector<MetaEvent> Chords;      // chord events with bass type 0x7F
    std::vector<std::size_t> Lines;     // the line of each chord
    std::vector<std::string> Problems;  // "line 3: ...", one per bad line
    std::vector<std::string> Notices;   // "line 4: ...", lines read but worth a word
};

// Reads the whole list; any problem leaves Chords empty. Two chords on one
// tick are read, with a notice.
ChordListReading ReadChordList(const std::string& text);

// The problems of chords after `endTick`, the tick at which the song ends.
std::vector<std::string> ChordsAfterEnd(const ChordListReading& reading, std::uint32_t endTick);

}  // namespace tonalux::cli
