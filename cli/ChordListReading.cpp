#include "ChordListReading.h"

#include <charconv>
#include <cstdint>
#include <sstream>

#include "ChordNames.h"
#include "ChordRecognition.h"

namespace tonalux::cli {

namespace {

// The line without a carriage return and blanks at its end.
std::string Trimmed(std::string line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) line.pop_back();
    return line;
}

}  // namespace

ChordListReading ReadChordList(const std::string& text) {
    ChordListReading reading;
    std::istringstream lines(text);
    std::string raw;
    std::size_t number = 0;
    std::uint64_t lastTick = 0;
    while (std::getline(lines, raw)) {
        ++number;
        const std::string line = Trimmed(raw);
        if (line.empty() || line[0] == '#') continue;
        const std::string where = "line " + std::to_string(number) + ": ";
        const std::size_t space = line.find(' ');
        std::uint32_t tick = 0;
        const char* end = line.data() + (space == std::string::npos ? line.size() : space);
        const auto parsed = std::from_chars(line.data(), end, tick);
        if (space == std::string::npos || space == 0 || parsed.ec != std::errc() || parsed.ptr != end) {
            reading.Problems.push_back(where + "expected \"TICK NAME\" with a tick from 0 to 4294967295, not \"" +
                                       line + "\"");
            continue;
        }
        const std::string name = line.substr(line.find_first_not_of(" \t", space));
        const auto chord = ChordFromWrittenName(name);
        if (!chord) {
            reading.Problems.push_back(where + "\"" + name + "\" is not a chord name");
            continue;
        }
        if (tick < lastTick) {
            reading.Problems.push_back(where + "tick " + std::to_string(tick) + " lies before the chord above it");
            continue;
        }
        if (!reading.Chords.empty() && tick == lastTick)
            reading.Notices.push_back(where + "a second chord at tick " + std::to_string(tick) + ", after line " +
                                      std::to_string(reading.Lines.back()));
        lastTick = tick;
        reading.Chords.push_back(MakeChordEvent(tick, chord->Root, chord->Type, chord->Bass));
        reading.Lines.push_back(number);
    }
    if (!reading.Problems.empty()) reading.Chords.clear(), reading.Lines.clear();
    return reading;
}

std::vector<std::string> ChordsAfterEnd(const ChordListReading& reading, std::uint32_t endTick) {
    std::vector<std::string> problems;
    for (std::size_t i = 0; i < reading.Chords.size(); ++i)
        if (reading.Chords[i].Tick > endTick)
            problems.push_back("line " + std::to_string(reading.Lines[i]) + ": tick " +
                               std::to_string(reading.Chords[i].Tick) + " lies after the song's end at tick " +
                               std::to_string(endTick));
    return problems;
}

}  // namespace tonalux::cli
