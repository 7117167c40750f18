// The pieces of the JSON documents that info --json and dump --json print.
#pragma once

#include <string>

namespace tonalux::cli {

// `text` as a JSON string, quotes included. Text is 8-bit: valid UTF-8 stays
// as it is, any other byte of 0x80 or more is taken as Latin-1, and control
// characters are escaped, so the document is always valid JSON.
std::string JsonString(const std::string& text);

}  // namespace tonalux::cli
