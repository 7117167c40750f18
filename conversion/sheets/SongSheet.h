// The sheet a player puts on the music stand: the words of a song in its sung
// lines with the chord names standing at the syllables where the chords
// begin, or for a song without words a grid of bars with the chord of each
// beat. One sheet serves the ChordPro text of the tool and the converted
// folders and the pages the window draws and prints, so all of them show the
// same chords at the same places.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "SongLyrics.h"

namespace tonalux {

class StandardMidifile;

// The grid shows this many bars a line.
inline constexpr std::size_t kBarsPerGridLine = 4;

// A chord as the sheet names it ("F#m7", "C/E", "N.C.") and where it begins.
struct SheetChord {
    std::uint32_t Tick = 0;
    std::string Name;
};

// A piece of a sung line: the chord that begins at its first syllable, if
// any, and its words (UTF-8). A segment of a chord without words stands
// before the next segment's syllable: chords that begin while one syllable is
// held stand one after the other in front of it.
struct SheetSegment {
    std::optional<SheetChord> Chord;
    std::string Text;
};

struct SheetLine {
    std::vector<SheetSegment> Segments;
    bool NewPage = false;  // the song's words start a new page here
};

// One bar of the grid: Beats.size() cells, each holding the chords that
// begin in that beat ("." on the sheet when none does).
struct SheetBar {
    std::uint32_t Tick = 0;
    int Numerator = 4;    // the metre in force
    int Denominator = 4;
    bool MetreChange = false;  // the metre differs from the bar before
    std::vector<std::vector<SheetChord>> Beats;
};

struct SongSheet {
    std::string Title;     // the karaoke title, else the song's name, else the file name
    std::string Subtitle;  // the author, when the words name one
    std::string Key;       // "G", "Em"; empty when unknown
    std::string Time;      // "4/4", the metre at the start
    std::string Tempo;     // beats per minute at the start, "120"
    bool HasWords = false;
    std::vector<SheetLine> Lines;  // the sung lines, when the song has words
    std::vector<SheetBar> Bars;    // the grid, when it has none
    std::size_t ChordCount = 0;    // chords shown on the sheet
    // What a reader of the sheet should be told: no words and no chords,
    // chords that could not be named, a grid that was cut short.
    std::vector<std::string> Notes;
};

// What the sheet needs of a song besides its words.
struct SheetFacts {
    std::string FileName;   // shown as the title when the song has no name
    std::string SongName;   // the first track's sequence name, when read
    std::uint16_t Division = 96;
    struct Metre {
        std::uint32_t Tick = 0;
        int Numerator = 4;
        int Denominator = 4;
    };
    std::vector<Metre> Metres;  // in tick order; none: 4/4
    std::optional<double> BeatsPerMinute;
    std::optional<int> KeyFifths;  // the first key signature: sharps (+) or flats (-)
    bool KeyMinor = false;
    std::vector<SheetChord> Chords;  // named chords in tick order
    std::vector<std::string> Notes;  // chord events that could not be named
};

// The ChordPro name of a keyboard chord event's bytes: the root as the event
// spells it, the chord type as musicians write it ("m7b5", "dim7", "sus4",
// "add9"), "/" and the bass for a chord over another bass; "N.C." for the
// "no chord" type. Nothing for a root byte that names no note.
std::optional<std::string> ChordProName(std::uint8_t root, std::uint8_t type, std::uint8_t bass);

// The sheet of a song from its facts and words: pure, so that every rule of
// placement and of the grid can be checked without a file.
SongSheet BuildSongSheet(const SheetFacts& facts, const SongLyrics& lyrics);

// The facts of the loaded song: its chord events (from the keyboard chord
// list), metres, first tempo, key signature and sequence name.
SheetFacts ReadSheetFacts(const StandardMidifile& song, std::string_view fileName);

// The sheet of the loaded song with the words read from it.
SongSheet MakeSongSheet(const StandardMidifile& song, const SongLyrics& lyrics, std::string_view fileName);

// The text of one grid line: "| C . G . | Am . . . |"; several chords in one
// beat are joined by "~".
std::string GridLineText(const std::vector<SheetBar>& bars, std::size_t first, std::size_t count);

// The sheet as ChordPro text: the directives {title:}, {subtitle:}, {key:},
// {time:}, {tempo:}, then one line per sung line with each chord in brackets
// before its syllable and a blank line between pages, or the grid between
// {start_of_grid} and {end_of_grid}. Lines end in LF.
std::string ChordProText(const SongSheet& sheet);

}  // namespace tonalux
