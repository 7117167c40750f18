// Breaking long sung lines at word boundaries.
#include "lyrics/LyricsText.h"

namespace tonalux {

namespace {

std::size_t Characters(std::string_view utf8) {
    std::size_t count = 0;
    for (const char c : utf8)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
    return count;
}

bool EndsWord(const std::string& text) { return !text.empty() && text.back() == ' '; }

void DropClosingSpaces(std::string& text) {
    while (EndsWord(text)) text.pop_back();
}

}  // namespace

std::size_t WrapLines(std::vector<Syllable>& syllables, std::size_t width) {
    if (width == 0) return 0;
    std::size_t added = 0;
    std::size_t lineLength = 0;  // characters of the line so far, its closing space not counted
    std::size_t i = 0;
    while (i < syllables.size()) {
        // The word from syllable i: up to the syllable that ends with a space
        // or stands before a new line.
        std::size_t end = i;
        std::size_t wordLength = 0;
        while (true) {
            std::string_view text = syllables[end].Text;
            while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
            wordLength += Characters(text);
            const bool last = EndsWord(syllables[end].Text) || end + 1 == syllables.size() || syllables[end + 1].Line;
            ++end;
            if (last) break;
        }
        if (syllables[i].Line || i == 0) {
            lineLength = wordLength;
        } else if (lineLength + 1 + wordLength > width) {
            syllables[i].Line = true;
            DropClosingSpaces(syllables[i - 1].Text);
            ++added;
            lineLength = wordLength;
        } else {
            lineLength += 1 + wordLength;
        }
        i = end;
    }
    return added;
}

}  // namespace tonalux
