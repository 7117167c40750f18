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

// The marks keyboard lyrics are written with: the keyboards' own ("/" ends a
// line, "<" a page, after the syllable), or those of the MIDI
// recommendations (CR ends a line, LF a paragraph).
enum class LyricMarks { Keyboard, Rp017 };

struct KeyboardLyricsOptions {
    LyricMarks Marks = LyricMarks::Keyboard;
    std::optional<Charset> OutputCharset;  // nothing: the words' code page, cp1252 for UTF-8 words
    std::optional<Charset> FromCharset;    // nothing: detected
    std::size_t Wrap = 0;                  // lines longer than this many characters are broken; 0: never
};

// What writing keyboard lyrics did to a song.
struct KeyboardLyricsOutcome {
    SongLyrics Lyrics;  // the words as read
    Charset OutputCharset = Charset::Cp1252;
    std::size_t Syllables = 0;          // lyric events written
    std::size_t Transliterated = 0;     // characters written by the transliteration table
    std::size_t Unmapped = 0;           // characters the table lacks, written as "?"
    std::size_t TextEventsRemoved = 0;  // karaoke text events that carried syllables
    std::size_t LinesWrapped = 0;       // line breaks added by the wrap
    bool TitleSet = false;              // the karaoke title became the song's name
    // Whether the song had words, so that something was written.
    bool Converted() const { return Lyrics.Kind != LyricsKind::None; }
};

// The charset keyboard lyrics are written in: `chosen`, otherwise the code
// page the words came in, cp1252 for UTF-8 words.
Charset OutputCharsetFor(const SongLyrics& lyrics, std::optional<Charset> chosen);

// Writes the loaded song's words as keyboard lyrics: one lyric event per
// syllable at its tick (the writers put them into the first track, or the
// one track of format 0), in the output charset, with the marks chosen. The
// lyric events and the karaoke text events that carried syllables before are
// removed; the karaoke headers stay as text events; the karaoke title
// becomes the song's name (FF 03 at the start of the first track) when the
// song has none. A song without words is left as it is.
KeyboardLyricsOutcome WriteKeyboardLyrics(StandardMidifile& song, const KeyboardLyricsOptions& options = {});

// Breaks lines longer than `width` characters (spaces between words counted)
// before the word that passes the width; a word longer than the width stands
// on a line of its own. Returns the line breaks added.
std::size_t WrapLines(std::vector<Syllable>& syllables, std::size_t width);

}  // namespace tonalux
