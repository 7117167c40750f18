// tonalux-cli setup FILE.set: prints what a setup file holds, every field
// readably, "-" where a field holds no value.
#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>

#include "Commands.h"
#include "Console.h"
#include "SetupReading.h"
#include "SongSettings.h"

namespace tonalux::cli {

namespace {

using settings::kNoValue;

constexpr int kChannels = 16;

std::string Field(std::int32_t value) { return value == kNoValue ? std::string("-") : std::to_string(value); }

// A text of the setup as the terminal shows it: its 8-bit characters as
// UTF-8, control characters as \xNN, "-" for an empty text.
std::string Readable(const std::string& text) {
    if (text.empty()) return "-";
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            out += escaped;
        } else if (byte < 0x80) {
            out += c;
        } else {
            out += static_cast<char>(0xC0 | (byte >> 6));
            out += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return out;
}

// A channel box as the window shows it: "KANAL n", or "-" without a selection.
std::string Channel(std::int32_t entry) {
    return entry >= 0 && entry < kChannels ? "KANAL " + std::to_string(entry + 1) : std::string("-");
}

std::string Column(const std::string& text, std::size_t width) {
    return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

std::string Describe(const SongSettings& setup) {
    const auto& programs = setup.Programs;
    const auto& information = setup.Information;
    std::ostringstream out;
    out << "Sound\xC3\xA4nderungen (bank MSB 0-127, program 1-128):\n"
        << "  row  source MSB  source PRG  target MSB  target PRG\n";
    for (int row = 0; row < settings::kProgrammchangeRows; ++row) {
        out << Column(std::to_string(row + 1), 5) << Column(Field(programs.MSBQ[row]), 12)
            << Column(Field(programs.PRGQ[row]), 12) << Column(Field(programs.MSBD[row]), 12)
            << Column(Field(programs.PRGD[row]), 12) << '\n';
    }
    out << "Zusatzinformationen:\n"
        << "  copyright  " << Readable(CopyrightText(information)) << '\n'
        << "  trackname  " << Readable(TracknameText(information)) << '\n'
        << "  channel swaps:\n";
    for (int pair = 0; pair < settings::kChannelPairs; ++pair) {
        const std::int32_t a = information.KanV[pair];
        const std::int32_t b = information.KanT[pair];
        out << "    pair " << pair + 1 << "  " << Channel(a) << " <-> " << Channel(b);
        if (Channel(a) == "-" && Channel(b) == "-")
            out << "  (not used)";
        else if (Channel(a) == "-" || Channel(b) == "-")
            out << "  (no swap: one side only)";
        else if (a == b)
            out << "  (no swap: the same channel)";
        out << '\n';
    }
    out << "Options:\n"
        << "  Start auf Tatkt 1  " << (information.FastPlay ? "yes" : "no") << '\n'
        << "  Midiformat 0       " << (information.Format0 ? "yes" : "no") << '\n';
    return out.str();
}

int RunSetup(const ParsedArguments& args) {
    const std::string& file = args.Positionals.at(0);
    const auto setup = ReadSetup("setup", file);
    if (!setup) return kExitFailure;
    PrintDetail("setup", "read setup file " + file);
    Output() << Describe(*setup);
    // A field the window would refuse fails here as it stops convert --setup.
    if (const auto problem = SongSettingsProblem(*setup)) {
        PrintError("setup", file + ": " + *problem + "; a conversion with this setup stops before the first song");
        return kExitFailure;
    }
    return kExitSuccess;
}

}  // namespace

Command SetupCommand() {
    return {"setup",
            "print the settings a setup file holds",
            "setup FILE.set",
            "Prints every field of a setup file (*.set) as the two settings windows show\n"
            "them: the twelve rows of \"Sound\xC3\xA4nderungen\" (source and target bank MSB\n"
            "0 to 127, program 1 to 128), the copyright text, the track name and the eight\n"
            "channel-swap pairs of \"Zusatzinformationen\", and the two options \"Start auf\n"
            "Tatkt 1\" and \"Midiformat 0\". A field without a value shows \"-\". A pair\n"
            "swaps its channels only when both are chosen and differ. A file of several\n"
            "312-byte records shows the last one, the one a load takes.\n"
            "\n"
            "The first field the window would refuse is named on standard error: a\n"
            "program field outside its range, a control character in a text, a channel\n"
            "box other than \"-\" or KANAL 1 to 16, an option other than 0 or 1. The exit\n"
            "status is then 1: a conversion with this setup would stop before its first\n"
            "song.\n",
            {{"FILE.set"}, 1, {}},
            RunSetup};
}

}  // namespace tonalux::cli
