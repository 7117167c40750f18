// The ChordPro text of a sheet.
#include <string>

#include "SongSheet.h"

namespace tonalux {

namespace {

// Words as ChordPro reads them: a bracket would open a chord, so brackets
// become parentheses; control characters become blanks.
std::string LyricText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        if (c == '[') out += '(';
        else if (c == ']') out += ')';
        else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) out += ' ';
        else out += c;
    }
    return out;
}

// A directive's value ends at its brace.
std::string DirectiveValue(std::string_view text) {
    std::string out = LyricText(text);
    for (char& c : out)
        if (c == '{' || c == '}') c = c == '{' ? '(' : ')';
    return out;
}

void Directive(std::string& out, std::string_view name, std::string_view value) {
    if (value.empty()) return;
    out += '{';
    out += name;
    out += ": ";
    out += DirectiveValue(value);
    out += "}\n";
}

std::string LineText(const SheetLine& line) {
    std::string text;
    for (const SheetSegment& segment : line.Segments) {
        if (segment.Chord) text += "[" + LyricText(segment.Chord->Name) + "]";
        text += LyricText(segment.Text);
    }
    // A line starting with "{" or "#" would be read as a directive or a comment.
    if (!text.empty() && (text[0] == '{' || text[0] == '#')) text.insert(0, " ");
    return text;
}

}  // namespace

std::string ChordProText(const SongSheet& sheet) {
    std::string out;
    Directive(out, "title", sheet.Title);
    Directive(out, "subtitle", sheet.Subtitle);
    Directive(out, "key", sheet.Key);
    Directive(out, "time", sheet.Time);
    Directive(out, "tempo", sheet.Tempo);
    if (sheet.HasWords) {
        out += '\n';
        for (const SheetLine& line : sheet.Lines) {
            const std::string text = LineText(line);
            // A line without words or chords would read as a page break.
            if (text.find_first_not_of(' ') == std::string::npos) continue;
            if (line.NewPage) out += '\n';
            out += text;
            out += '\n';
        }
    } else if (!sheet.Bars.empty()) {
        out += "\n{start_of_grid}\n";
        for (std::size_t first = 0; first < sheet.Bars.size(); first += kBarsPerGridLine)
            out += GridLineText(sheet.Bars, first, kBarsPerGridLine) + "\n";
        out += "{end_of_grid}\n";
    }
    return out;
}

}  // namespace tonalux
