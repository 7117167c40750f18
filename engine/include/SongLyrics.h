// The words of a song as syllables: read from Soft Karaoke text events
// (FF 01 with "@" headers and "\" / "/" marks) or from lyric events (FF 05
// with the CR / LF marks of the MIDI recommendations or the keyboard marks
// "/", "<" and "^"), decoded from the song's charset into UTF-8. One reader
// serves the lyrics commands, the karaoke conversion and the chord sheets.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tonalux {

class StandardMidifile;

// The charsets songs' words come in: the Windows code pages of Western,
// Central European and Cyrillic texts, and UTF-8.
enum class Charset { Cp1252, Cp1250, Cp1251, Utf8 };

// "cp1252", "cp1250", "cp1251", "utf-8" (also "utf8", "windows-1252", ... and
// any case); nothing for any other name.
std::optional<Charset> CharsetFromName(std::string_view name);
// The name of a charset as the tool prints it: "cp1252", "cp1250", "cp1251", "utf-8".
std::string_view CharsetName(Charset charset);

// Where a song's words were found.
enum class LyricsKind {
    None,         // the song carries no words
    Karaoke,      // Soft Karaoke text events (FF 01)
    LyricEvents,  // lyric events (FF 05)
};

// One sung syllable.
struct Syllable {
    std::uint32_t Tick = 0;
    std::string Text;   // UTF-8, without marks; a word's last syllable keeps its trailing space
    bool Line = false;  // starts a sung line
    bool Page = false;  // starts a page (a page's first syllable also starts a line)
};

struct SongLyrics {
    LyricsKind Kind = LyricsKind::None;
    // A song carrying both kinds: the kind that was not taken as the words
    // and how many syllables it had (None and 0 otherwise).
    LyricsKind Ignored = LyricsKind::None;
    std::size_t IgnoredSyllables = 0;
    Charset SourceCharset = Charset::Cp1252;  // the charset the words were decoded from
    bool CharsetGiven = false;                // the charset was given, not detected
    // UTF-8: the karaoke title lines (first "@T" the title, the next ones
    // author and copyright); empty where the song has none.
    std::string Title;
    std::string Author;
    std::string Copyright;
    std::string Language;  // "@L"
    std::vector<std::string> Information;  // "@I" lines, UTF-8
    std::vector<Syllable> Syllables;  // in tick order
    // What the reading left out or replaced: syllables standing twice at one
    // tick (words in two tracks), control characters taken out of the text,
    // bytes that were not UTF-8 in UTF-8 words (read as U+FFFD).
    std::size_t DuplicateSyllables = 0;
    std::size_t ControlCharacters = 0;
    std::size_t InvalidBytes = 0;
};

// The words of the loaded song. `fromCharset` overrides the detection.
SongLyrics ReadLyrics(const StandardMidifile& song, std::optional<Charset> fromCharset = std::nullopt);

}  // namespace tonalux
