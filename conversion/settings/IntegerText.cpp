#include "IntegerText.h"

#include "SettingsBlocks.h"

namespace tonalux::settings {

namespace {

int DigitValue(char c, int base) {
    int value = -1;
    if (c >= '0' && c <= '9') value = c - '0';
    else if (c >= 'a' && c <= 'f') value = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') value = c - 'A' + 10;
    return value < base ? value : -1;
}

}  // namespace

IntegerTextError::IntegerTextError(const std::string& text)
    : std::runtime_error("'" + text + "' ist kein g\xC3\xBCltiger Integerwert") {}

std::int32_t TextToInteger(const std::string& text) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && text[i] == ' ') ++i;

    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }

    int base = 10;
    if (i < n && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
        base = 16;
        ++i;
    } else if (i + 1 < n && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }

    if (i == n) throw IntegerTextError(text);
    // Decimal numbers must fit a signed 32-bit value; hexadecimal ones may use
    // all 32 bits and are taken as two's complement.
    const std::uint64_t limit = base == 16 ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
    std::uint64_t magnitude = 0;
    for (; i < n; ++i) {
        const int digit = DigitValue(text[i], base);
        if (digit < 0) throw IntegerTextError(text);
        magnitude = magnitude * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
        if (magnitude > limit) throw IntegerTextError(text);
    }
    const auto bits = static_cast<std::uint32_t>(negative ? (~magnitude + 1) : magnitude);
    return static_cast<std::int32_t>(bits);
}

std::int32_t FieldFromText(const std::string& text) {
    if (text == "-") return kNoValue;
    return TextToInteger(text);
}

std::string TextFromField(std::int32_t value) {
    if (value == kNoValue) return "-";
    return std::to_string(value);
}

bool IsFieldText(const std::string& text) {
    try {
        FieldFromText(text);
        return true;
    } catch (const IntegerTextError&) {
        return false;
    }
}

}  // namespace tonalux::settings
