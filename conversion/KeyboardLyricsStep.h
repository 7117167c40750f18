// The song's words written for the keyboard, as one step of a conversion:
// what the step did to a song, and the one text that tells it. The folder
// conversion, the window and the tool's karaoke command all use it.
#pragma once

#include <cstddef>
#include <string>

#include "SongLyrics.h"

namespace tonalux {

// What writing a song's words for the keyboard did.
struct LyricsSummary {
    LyricsKind Kind = LyricsKind::None;     // where the words were found; None: the song has none
    LyricsKind Ignored = LyricsKind::None;  // the other kind of words of the song, left out
    std::size_t IgnoredSyllables = 0;
    std::size_t Syllables = 0;  // lyric events written
    Charset From = Charset::Cp1252;
    bool FromGiven = false;  // the input charset was given, not detected
    Charset To = Charset::Cp1252;
    std::size_t Transliterated = 0;  // characters written by the transliteration table
    std::size_t Unmapped = 0;        // characters without an entry, written as "?"
    std::size_t Duplicates = 0;      // syllables standing twice at one tick, written once
    std::size_t ControlCharacters = 0;
    std::size_t InvalidBytes = 0;    // bytes that were not UTF-8 in UTF-8 words
    std::size_t LinesWrapped = 0;
    bool TitleSet = false;
    bool Written = false;  // the words were written, not only read

    bool Converted() const { return Kind != LyricsKind::None; }
};

// Writes the loaded song's words as keyboard lyrics (WriteKeyboardLyrics).
LyricsSummary ConvertKeyboardLyrics(StandardMidifile& song, const KeyboardLyricsOptions& options);

// What reading the words found, for words that are only read.
LyricsSummary SummaryOfReading(const SongLyrics& lyrics);

// "42 syllables from karaoke text, cp1250 to cp1250, 3 characters transliterated"
// (without " to ..." and the characters for words only read) with what else
// the step met (", 12 lyric events left out", ", title as song name", ...);
// "no words" for a song without any.
std::string DescribeLyrics(const LyricsSummary& summary);

}  // namespace tonalux
