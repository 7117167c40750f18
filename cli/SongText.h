// Reading back the text that dump prints: the header line and one record a
// line, each checked so that it can be stored in its list and written into a
// file as it stands.
#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <vector>

#include "SongRecords.h"

namespace tonalux::cli {

// One record line: the record's tick, list and bytes, and where its data
// start (meta and system-exclusive records: after the length).
struct TextRecord {
    SongRecord Record;
    std::size_t DataStart = 0;
};

struct SongText {
    std::uint16_t Format = 0;
    std::uint16_t Tracks = 0;
    std::uint16_t Division = 0;
    std::uint32_t End = 0;  // the song's end tick ("end E") when it lies after the last record; else 0
    std::vector<TextRecord> Records;  // in the order of the lines
    // One line for each line that could not be read: "line 7: <why>".
    std::vector<std::string> Errors;
};

// Reads the whole text. Empty lines are skipped, and a line may end in CR LF.
// The header line "header format F tracks T division D", optionally followed
// by "end E" (the song's end tick), comes first, once.
// A record line is "TICK LIST BYTES": TICK 0 to 4294967295, LIST one of the
// names of SongListName, BYTES two-digit hexadecimal bytes separated by
// blanks that fit the list:
//   ch1..ch16  a channel message of that channel: status 8n..En and its one
//              or two data bytes, each below 80
//   meta       FF, a type below 80 other than end of track (2F), the length
//              as a variable-length quantity and exactly that many data bytes
//   tempo, timesig, lyric, marker
//              the same, of type 51, 58, 05 and 06
//   chord      FF 7F 07 43 7B 01 and four chord bytes
//   sysex      F0 or F7, the length, and exactly that many data bytes
SongText ReadSongText(std::istream& in);

}  // namespace tonalux::cli
