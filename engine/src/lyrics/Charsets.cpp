// Charset names, UTF-8 scanning, and decoding and encoding the code pages.
#include <algorithm>
#include <array>
#include <cctype>
#include <utility>

#include "lyrics/CodePages.h"
#include "lyrics/LyricsText.h"

namespace tonalux {

namespace {

struct CharsetNaming {
    std::string_view Name;
    Charset Value;
};

// Every name a charset is known by; the first of each is the one printed.
constexpr std::array<CharsetNaming, 12> kCharsetNames{{
    {"cp1252", Charset::Cp1252},       {"cp1250", Charset::Cp1250},       {"cp1251", Charset::Cp1251},
    {"utf-8", Charset::Utf8},          {"windows-1252", Charset::Cp1252}, {"windows-1250", Charset::Cp1250},
    {"windows-1251", Charset::Cp1251}, {"utf8", Charset::Utf8},           {"1252", Charset::Cp1252},
    {"1250", Charset::Cp1250},         {"1251", Charset::Cp1251},         {"win1252", Charset::Cp1252},
}};

const detail::CodePageTable& TableOf(Charset charset) {
    switch (charset) {
        case Charset::Cp1250: return detail::kCp1250;
        case Charset::Cp1251: return detail::kCp1251;
        default: return detail::kCp1252;
    }
}

// Encoding looks characters up in each code page's table sorted by character.
using ReverseTable = std::array<std::pair<char16_t, unsigned char>, 128>;

ReverseTable Reverse(const detail::CodePageTable& table) {
    ReverseTable reverse{};
    for (std::size_t i = 0; i < table.size(); ++i)
        reverse[i] = {table[i], static_cast<unsigned char>(0x80 + i)};
    std::sort(reverse.begin(), reverse.end());
    return reverse;
}

const ReverseTable& ReverseOf(Charset charset) {
    static const ReverseTable cp1252 = Reverse(detail::kCp1252);
    static const ReverseTable cp1250 = Reverse(detail::kCp1250);
    static const ReverseTable cp1251 = Reverse(detail::kCp1251);
    switch (charset) {
        case Charset::Cp1250: return cp1250;
        case Charset::Cp1251: return cp1251;
        default: return cp1252;
    }
}

// Bytes of the well-formed UTF-8 sequence starting at `pos`, or 0.
std::size_t SequenceLength(std::string_view text, std::size_t pos) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(pos);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;   // no overlong forms
        if (lead == 0xED) high = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
    } else {
        return 0;
    }
    if (pos + length > text.size()) return 0;
    if (byte(pos + 1) < low || byte(pos + 1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (byte(pos + i) < 0x80 || byte(pos + i) > 0xBF) return 0;
    return length;
}

}  // namespace

std::optional<Charset> CharsetFromName(std::string_view name) {
    std::string lower;
    for (const char c : name) lower.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    for (const auto& naming : kCharsetNames)
        if (naming.Name == lower) return naming.Value;
    return std::nullopt;
}

std::string_view CharsetName(Charset charset) {
    for (const auto& naming : kCharsetNames)
        if (naming.Value == charset) return naming.Name;
    return "cp1252";
}

namespace detail {

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

char32_t NextCodePoint(std::string_view text, std::size_t& pos) {
    const std::size_t length = SequenceLength(text, pos);
    if (length == 0) {
        ++pos;
        return kReplacementCharacter;
    }
    const auto byte = [&](std::size_t i) { return static_cast<char32_t>(static_cast<unsigned char>(text[pos + i])); };
    char32_t c = 0;
    switch (length) {
        case 1: c = byte(0); break;
        case 2: c = ((byte(0) & 0x1F) << 6) | (byte(1) & 0x3F); break;
        case 3: c = ((byte(0) & 0x0F) << 12) | ((byte(1) & 0x3F) << 6) | (byte(2) & 0x3F); break;
        default:
            c = ((byte(0) & 0x07) << 18) | ((byte(1) & 0x3F) << 12) | ((byte(2) & 0x3F) << 6) | (byte(3) & 0x3F);
    }
    pos += length;
    return c;
}

Utf8Scan ScanUtf8(std::string_view bytes) {
    Utf8Scan scan;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const std::size_t length = SequenceLength(bytes, pos);
        if (length == 0) {
            ++scan.Invalid;
            ++pos;
        } else {
            if (length > 1) ++scan.Multibyte;
            pos += length;
        }
    }
    return scan;
}

char32_t CodePageCharacter(Charset charset, unsigned char byte) {
    if (byte < 0x80) return byte;
    return TableOf(charset)[byte - 0x80];
}

std::string DecodeText(std::string_view bytes, Charset charset) {
    std::string out;
    out.reserve(bytes.size());
    if (charset == Charset::Utf8) {
        std::size_t pos = 0;
        while (pos < bytes.size()) AppendUtf8(out, NextCodePoint(bytes, pos));
        return out;
    }
    for (const char b : bytes) AppendUtf8(out, CodePageCharacter(charset, static_cast<unsigned char>(b)));
    return out;
}

int CodePageByte(Charset charset, char32_t c) {
    if (c < 0x80) return static_cast<int>(c);
    if (c > 0xFFFF) return -1;
    const auto& reverse = ReverseOf(charset);
    const auto it = std::lower_bound(reverse.begin(), reverse.end(), std::pair<char16_t, unsigned char>{static_cast<char16_t>(c), 0});
    if (it == reverse.end() || it->first != c) return -1;
    return it->second;
}

std::string EncodeText(std::string_view utf8, Charset charset, EncodeCount& count) {
    if (charset == Charset::Utf8) return std::string(utf8);
    std::string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const char32_t c = NextCodePoint(utf8, pos);
        const int byte = CodePageByte(charset, c);
        if (byte >= 0) {
            out.push_back(static_cast<char>(byte));
            continue;
        }
        const std::string_view replacement = Transliteration(c);
        if (replacement.empty()) {
            ++count.Unmapped;
            out.push_back('?');
        } else {
            ++count.Transliterated;
            out.append(replacement);
        }
    }
    return out;
}

}  // namespace detail

}  // namespace tonalux
