// The manual page says what the tool's help says: the name line, the
// synopsis, the tool's help and one section per command with its help.
#include <gtest/gtest.h>

#include <map>

#include "CliRunner.h"

namespace tonalux::testing {
namespace {

// The text roff shows for a line of the page: escapes undone.
std::string Unescape(std::string line) {
    std::string out;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\\' && i + 1 < line.size()) {
            const char next = line[++i];
            if (next == 'e') out += '\\';
            else if (next == '-') out += '-';
            else if (next != '&') out += '\\', out += next;
            continue;
        }
        out += line[i];
    }
    return out;
}

// The page's sections: ".SH" and ".SS" headings with the shown text under
// them, requests left out.
std::map<std::string, std::string> Sections(const std::string& page) {
    std::map<std::string, std::string> sections;
    std::istringstream in(page);
    std::string current;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(".SH ", 0) == 0 || line.rfind(".SS ", 0) == 0) {
            current = Unescape(line.substr(4));
            sections[current];
        } else if (line == ".nf" || line == ".fi" || line.rfind(".TH ", 0) == 0) {
            continue;
        } else {
            EXPECT_TRUE(line.empty() || line[0] != '.') << "unexpected request: " << line;
            sections[current] += Unescape(line) + "\n";
        }
    }
    return sections;
}

std::vector<std::string> CommandNames(const std::string& help) {
    std::vector<std::string> names;
    std::istringstream in(help.substr(help.find("Commands:\n")));
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line) && line.rfind("  ", 0) == 0) names.push_back(line.substr(2, line.find(' ', 2) - 2));
    return names;
}

TEST(ManPage, SaysWhatTheHelpSays) {
    const std::string page = SlurpText(TONALUX_MAN_PAGE);
    ASSERT_FALSE(page.empty());
    const auto version = RunCli({"--version"}).Out;
    const std::size_t firstLineEnd = version.find('\n');
    EXPECT_EQ(Unescape(page.substr(0, page.find('\n'))),
              ".TH TONALUX-CLI 1 \"\" \"" + version.substr(0, firstLineEnd) + "\" \"User Commands\"");

    const std::string help = RunCli({"--help"}).Out;
    const auto sections = Sections(page);
    EXPECT_EQ(sections.at("DESCRIPTION"), help);
    EXPECT_EQ(sections.at("NAME"), "tonalux-cli - Converts Standard MIDI Files in batches and changes single songs\n");
    EXPECT_EQ(sections.at("SYNOPSIS"), "tonalux-cli COMMAND [ARGUMENTS]\n");
    EXPECT_EQ(sections.at("COPYRIGHT"), version.substr(firstLineEnd + 1));

    const auto names = CommandNames(help);
    EXPECT_EQ(names.size(), 16u);
    for (const auto& name : names) {
        ASSERT_TRUE(sections.count(name)) << "no section for " << name;
        EXPECT_EQ(sections.at(name), RunCli({name, "--help"}).Out) << name;
    }
    // NAME, SYNOPSIS, DESCRIPTION, COMMANDS, COPYRIGHT and one per command, nothing else.
    EXPECT_EQ(sections.size(), names.size() + 5);
}

}  // namespace
}  // namespace tonalux::testing
