// libFuzzer target over the reading of a song's words, the choice of their
// charset and the writing of keyboard lyrics: any song the reader takes.
//
// The input's last byte chooses the options: bits 0-2 the charset the words
// are read in (detected, or one of the four), bit 3 the marks, bits 4-5 the
// output charset, bit 6 a wrap of 8 characters. The target stops when
//  - a syllable is empty, holds a control character or text that is not
//    UTF-8, stands before the one in front of it, or a page start is no line
//    start, or the first syllable starts no page;
//  - writing the words changes a list other than the meta events and the
//    lyric events, or writes another number of lyric events than syllables;
//  - a song whose words went through without transliteration, wrap or marks
//    in their text does not give back the same syllables when saved, loaded
//    again and read in the output charset.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "SongLyrics.h"
#include "StandardMidifile.h"

namespace {

using tonalux::Charset;
using tonalux::fuzz::Check;

constexpr Charset kCharsets[] = {Charset::Cp1252, Charset::Cp1250, Charset::Cp1251, Charset::Utf8};

bool IsUtf8(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
        if (length == 0 || i + length > text.size()) return false;
        for (std::size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
        i += length;
    }
    return true;
}

bool HasControl(const std::string& text) {
    for (const char c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return true;
    return false;
}

// Characters that the marks of either kind could take for their own.
bool HasMarkCharacter(const std::string& text) { return text.find_first_of("/<^\\") != std::string::npos; }

void CheckSyllables(const tonalux::SongLyrics& lyrics) {
    const auto& syllables = lyrics.Syllables;
    Check((lyrics.Kind == tonalux::LyricsKind::None) == syllables.empty(), "words without syllables");
    for (std::size_t i = 0; i < syllables.size(); ++i) {
        const auto& s = syllables[i];
        Check(!s.Text.empty(), "empty syllable");
        Check(IsUtf8(s.Text), "syllable text that is not UTF-8");
        Check(!HasControl(s.Text), "control character in a syllable");
        Check(!s.Page || s.Line, "a page start that starts no line");
        Check(i == 0 || s.Tick >= syllables[i - 1].Tick, "syllables out of tick order");
    }
    Check(syllables.empty() || (syllables[0].Line && syllables[0].Page), "the first syllable starts no page");
}

std::vector<int> UntouchedLists(tonalux::StandardMidifile& midi) {
    std::vector<int> sizes;
    for (int c = 0; c < 16; ++c) sizes.push_back(midi.GetSizeMidievents(c));
    sizes.push_back(midi.GetSizeTempoevents());
    sizes.push_back(midi.GetSizeMessureEvents());
    sizes.push_back(midi.GetSizeMarkerEvents());
    sizes.push_back(midi.GetSizeYamChordEvents());
    sizes.push_back(midi.GetSizeSysexEvents());
    return sizes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    tonalux::fuzz::QuietHost& host = tonalux::fuzz::InstalledHost();
    const std::uint8_t switches = data[size - 1];
    tonalux::StandardMidifile midi(nullptr);
    if (!midi.LoadMidiBytes(data, size)) return 0;

    const unsigned from = switches & 0x07;
    tonalux::KeyboardLyricsOptions options;
    if (from >= 1 && from <= 4) options.FromCharset = kCharsets[from - 1];
    options.Marks = (switches & 0x08) ? tonalux::LyricMarks::Rp017 : tonalux::LyricMarks::Keyboard;
    if (((switches >> 4) & 0x03) != 0) options.OutputCharset = kCharsets[(switches >> 4) & 0x03];
    if (switches & 0x40) options.Wrap = 8;

    const tonalux::SongLyrics read = tonalux::ReadLyrics(midi, options.FromCharset);
    CheckSyllables(read);
    const std::vector<int> before = UntouchedLists(midi);

    const tonalux::KeyboardLyricsOutcome outcome = tonalux::WriteKeyboardLyrics(midi, options);
    Check(UntouchedLists(midi) == before, "writing the words changed another list");
    if (!outcome.Converted()) return 0;
    Check(outcome.Syllables == read.Syllables.size(), "another number of syllables written than read");
    Check(midi.GetSizeLyricEvents() == static_cast<int>(outcome.Syllables), "lyric events other than the syllables");

    std::vector<std::uint8_t> saved;
    Check(midi.SaveMidiBytes(1, saved), "song with keyboard lyrics not saved");
    host.Forget();
    Check(midi.LoadMidiBytes(saved.data(), saved.size()), "song with keyboard lyrics refused by the reader");
    Check(!host.damage, "reader reported damage in the song with keyboard lyrics");

    for (const auto& s : read.Syllables)
        if (HasMarkCharacter(s.Text)) return 0;
    if (outcome.Transliterated > 0 || outcome.Unmapped > 0 || outcome.LinesWrapped > 0) return 0;
    const tonalux::SongLyrics again = tonalux::ReadLyrics(midi, outcome.OutputCharset);
    Check(again.Syllables.size() == read.Syllables.size(), "the written words give back another number of syllables");
    for (std::size_t i = 0; i < again.Syllables.size(); ++i) {
        const auto& a = again.Syllables[i];
        const auto& b = read.Syllables[i];
        Check(a.Tick == b.Tick && a.Text == b.Text && a.Line == b.Line && a.Page == b.Page,
              "the written words give back another syllable");
    }
    return 0;
}
