// The names of the song's keyboard chord events, for the commands that show
// or convert them. A chord whose root names no note keeps its error text
// instead of a name, so one bad record does not hide the others.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tonalux {
class StandardMidifile;
}

namespace tonalux::cli {

struct ChordEntry {
    std::uint32_t Tick = 0;
    std::uint8_t Root = 0;            // the chord root byte as stored
    std::optional<std::string> Name;  // empty when the chord cannot be decoded
    std::string Error;                // why, when Name is empty
};

// Every record of the keyboard chord list, in list order.
std::vector<ChordEntry> DecodeChords(StandardMidifile& engine);

// "chord at tick 960 cannot be decoded: root byte 7F names no note"
std::string ChordErrorText(const ChordEntry& entry);

// Prints one error line per chord that could not be decoded; true when there
// was any.
bool ReportUndecodableChords(const std::string& command, const std::vector<ChordEntry>& chords);

}  // namespace tonalux::cli
