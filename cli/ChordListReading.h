// The chord list that `chords` prints, read back: one line per chord event,
// "TICK NAME", in the order of the song. Blank lines and lines beginning with
// "#" are passed over, so a list can carry notes of its own.
#pragma once

#include <string>
#include <vector>

#include "MidiRecords.h"

namespace tonalux::cli {

struct ChordListReading {
    std::vector<MetaEvent> Chords;  // chord events with bass type 0x7F
    std::vector<std::string> Problems;  // "line 3: ...", one per bad line
};

// Reads the whole list; any problem leaves Chords empty.
ChordListReading ReadChordList(const std::string& text);

}  // namespace tonalux::cli
