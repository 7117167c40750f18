// The conversions between the text of a program-change edit and its stored
// value: "-" stands for "no value" (999), anything else must be a whole number.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace tonalux::settings {

// Raised for a text that is not a whole number; what() is the message the
// user sees: "'<text>' ist kein gültiger Integerwert".
class IntegerTextError : public std::runtime_error {
public:
    explicit IntegerTextError(const std::string& text);
};

// A signed whole number: leading blanks skipped, an optional sign, then
// decimal digits, or hexadecimal digits after "$", "x", "X" or "0x". Anything
// else, an empty text included, raises IntegerTextError.
std::int32_t TextToInteger(const std::string& text);

// The value of an edit: exactly "-" gives 999, any other text goes through
// TextToInteger.
std::int32_t FieldFromText(const std::string& text);

// Whether FieldFromText takes the text without an error.
bool IsFieldText(const std::string& text);

// The text of an edit: "-" for 999, otherwise the value in decimal.
std::string TextFromField(std::int32_t value);

}  // namespace tonalux::settings
