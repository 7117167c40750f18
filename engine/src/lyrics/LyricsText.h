// Text of songs' words inside the engine: decoding bytes of a charset into
// UTF-8, encoding UTF-8 into a charset (with transliteration where the
// charset lacks a character), choosing the charset of a song's bytes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "SongLyrics.h"

namespace tonalux::detail {

// The replacement character that stands for bytes that are not UTF-8.
inline constexpr char32_t kReplacementCharacter = 0xFFFD;

void AppendUtf8(std::string& out, char32_t c);

// The character at `pos` of UTF-8 text, moving `pos` behind it; a byte that
// does not start a well-formed sequence gives kReplacementCharacter and
// moves one byte.
char32_t NextCodePoint(std::string_view text, std::size_t& pos);

// What a scan of bytes as UTF-8 found: well-formed sequences of two to four
// bytes, and bytes that belong to no well-formed sequence.
struct Utf8Scan {
    std::size_t Multibyte = 0;
    std::size_t Invalid = 0;
};
Utf8Scan ScanUtf8(std::string_view bytes);

// The character of one byte in an 8-bit code page (Cp1252, Cp1250, Cp1251).
char32_t CodePageCharacter(Charset charset, unsigned char byte);

// Bytes of `charset` as UTF-8; for UTF-8 the well-formed text with every
// other byte as U+FFFD.
std::string DecodeText(std::string_view bytes, Charset charset);

// The byte of `c` in an 8-bit code page, or -1 when the code page lacks it.
int CodePageByte(Charset charset, char32_t c);

// ASCII text that stands for a character an output charset lacks, from the
// transliteration table; empty when the table has none.
std::string_view Transliteration(char32_t c);

// What encoding into a charset did beyond copying.
struct EncodeCount {
    std::size_t Transliterated = 0;  // characters written by the transliteration table
    std::size_t Unmapped = 0;        // characters with no entry there, written as "?"
};

// UTF-8 text in `charset`, adding to `count`.
std::string EncodeText(std::string_view utf8, Charset charset, EncodeCount& count);

// The charset of a song's word bytes: UTF-8 when the bytes hold well-formed
// multibyte sequences and few others; otherwise the code page whose reading
// scores best as text of its languages (Cp1252 for plain ASCII and ties).
Charset ChooseCharset(const std::vector<std::string_view>& texts);

}  // namespace tonalux::detail
