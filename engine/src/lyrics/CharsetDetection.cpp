// Choosing the charset of a song's words. UTF-8 is recognised by its
// well-formed multibyte sequences. Among the code pages, each reading of the
// bytes is scored as text of the languages that use the code page: a letter
// those languages use often scores by its frequency, a letter they do not
// use costs a little, a symbol inside a word costs much, and so do runs of
// three and more accented letters (Latin code pages read Cyrillic text as
// such runs) and words that mix Latin and Cyrillic letters.
#include <algorithm>
#include <array>

#include "lyrics/LyricsText.h"

namespace tonalux::detail {

namespace {

struct LetterWeight {
    char16_t Letter;
    int Weight;  // 1 (rare) to 10 (the most frequent)
};

// German, French, Spanish, Portuguese, Italian and the Nordic languages.
constexpr auto kWestern = std::to_array<LetterWeight>({
    {u'é', 10}, {u'è', 6}, {u'à', 6}, {u'ê', 4}, {u'ç', 4}, {u'â', 3}, {u'î', 2}, {u'ô', 3}, {u'û', 2},
    {u'ù', 2},  {u'ë', 2}, {u'ï', 2}, {u'œ', 2}, {u'ÿ', 1}, {u'ä', 8}, {u'ö', 7}, {u'ü', 8}, {u'ß', 5},
    {u'Ä', 3},  {u'Ö', 3}, {u'Ü', 3}, {u'É', 3}, {u'È', 2}, {u'À', 2}, {u'Ç', 2}, {u'Ê', 1}, {u'Î', 1},
    {u'Ô', 1},  {u'ñ', 6}, {u'á', 8}, {u'í', 8}, {u'ó', 8}, {u'ú', 6}, {u'Á', 2}, {u'Í', 2}, {u'Ó', 2},
    {u'Ú', 2},  {u'Ñ', 2}, {u'å', 2}, {u'ø', 2}, {u'æ', 2}, {u'Å', 1}, {u'Ø', 1}, {u'Æ', 1}, {u'ã', 3},
    {u'õ', 1},  {u'ì', 2}, {u'ò', 2}, {u'Œ', 1}, {u'Â', 1}, {u'Û', 1}, {u'Ù', 1}, {u'Ë', 1}, {u'Ï', 1},
});

// Polish, Czech, Slovak, Hungarian, Slovenian, Croatian and Romanian.
constexpr auto kCentral = std::to_array<LetterWeight>({
    {u'ą', 7}, {u'ć', 4}, {u'ę', 7}, {u'ł', 8}, {u'ń', 4}, {u'ó', 7}, {u'ś', 5}, {u'ź', 2}, {u'ż', 5},
    {u'Ą', 1}, {u'Ć', 1}, {u'Ę', 1}, {u'Ł', 3}, {u'Ń', 1}, {u'Ó', 2}, {u'Ś', 3}, {u'Ź', 1}, {u'Ż', 3},
    {u'č', 6}, {u'ě', 6}, {u'ř', 5}, {u'š', 6}, {u'ž', 6}, {u'ů', 4}, {u'ý', 5}, {u'á', 6}, {u'í', 6},
    {u'é', 6}, {u'ú', 3}, {u'ď', 2}, {u'ť', 2}, {u'ň', 2}, {u'Č', 3}, {u'Š', 3}, {u'Ž', 3}, {u'Ř', 2},
    {u'Ě', 1}, {u'Ý', 1}, {u'Á', 2}, {u'Í', 1}, {u'É', 1}, {u'Ú', 1}, {u'ő', 4}, {u'ű', 2}, {u'ö', 4},
    {u'ü', 4}, {u'ä', 2}, {u'ô', 2}, {u'ĺ', 1}, {u'ľ', 3}, {u'ŕ', 1}, {u'ă', 4}, {u'â', 3}, {u'î', 3},
    {u'ş', 4}, {u'ţ', 4}, {u'Ş', 1}, {u'Ţ', 1}, {u'Ă', 1}, {u'đ', 2}, {u'Đ', 1}, {u'ß', 1}, {u'Ö', 1},
    {u'Ü', 1}, {u'Ő', 1}, {u'Ű', 1},
});

// Russian letters by their frequency; the other Cyrillic letters of the code page rare.
constexpr auto kRussian = std::to_array<LetterWeight>({
    {u'о', 10}, {u'е', 9}, {u'а', 8}, {u'и', 8}, {u'н', 7}, {u'т', 7}, {u'с', 6}, {u'р', 6}, {u'в', 6},
    {u'л', 5},  {u'к', 5}, {u'м', 4}, {u'д', 4}, {u'п', 4}, {u'у', 4}, {u'я', 3}, {u'ы', 3}, {u'ь', 3},
    {u'г', 3},  {u'з', 3}, {u'б', 3}, {u'ч', 2}, {u'й', 2}, {u'х', 2}, {u'ж', 2}, {u'ш', 2}, {u'ю', 2},
    {u'ц', 1},  {u'щ', 1}, {u'э', 1}, {u'ф', 1}, {u'ъ', 1}, {u'ё', 1},
});

// Punctuation every code page has at the same byte: it tells nothing.
constexpr auto kNeutral = std::to_array<char16_t>({u'\u00A0', u'«', u'»', u'–', u'—', u'‘', u'’', u'‚',
                                            u'“',      u'”', u'„', u'…', u'•', u'´', u'\u00AD', u'°'});

constexpr int kUncommonLetter = -2;     // a letter the code page's languages rarely use
constexpr int kSymbolInWord = -6;       // a symbol or control next to a letter
constexpr int kLongAccentedRun = -4;    // each accented letter after the second in a row
constexpr int kMixedScriptWord = -6;    // a word of Latin and Cyrillic letters
constexpr int kInvertedMarkAtStart = 8;  // "¿" or "¡" opening a word

bool IsCyrillic(char32_t c) { return c >= 0x400 && c <= 0x4FF; }

bool IsLetter(char32_t c) {
    if (c < 0x80) return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    if (c >= 0xC0 && c <= 0x24F) return c != 0xD7 && c != 0xF7;
    return IsCyrillic(c);
}

enum class Kind : unsigned char { Neutral, Letter, Symbol };

// What each byte 80 to FF means for one code page's score.
struct ByteScore {
    Kind What = Kind::Symbol;
    int Weight = 0;
    char32_t Character = 0;
};

template <std::size_t N>
std::array<ByteScore, 128> Scores(Charset charset, const std::array<LetterWeight, N>& profile, int uppercaseCyrillic) {
    std::array<ByteScore, 128> scores{};
    for (std::size_t i = 0; i < scores.size(); ++i) {
        const char32_t c = CodePageCharacter(charset, static_cast<unsigned char>(0x80 + i));
        ByteScore& s = scores[i];
        s.Character = c;
        if (std::find(kNeutral.begin(), kNeutral.end(), c) != kNeutral.end()) {
            s.What = Kind::Neutral;
        } else if (IsLetter(c)) {
            s.What = Kind::Letter;
            s.Weight = kUncommonLetter;
            for (const auto& lw : profile)
                if (lw.Letter == c) s.Weight = lw.Weight;
            if (uppercaseCyrillic > 0 && c >= 0x410 && c <= 0x42F) s.Weight = uppercaseCyrillic;
        }
    }
    return scores;
}

// A letter both Latin code pages hold at the same byte (ä, é, ó, ß, ...)
// scores the same in both, so that only the bytes they read differently
// decide between them.
void ShareCommonLetters(std::array<ByteScore, 128>& a, std::array<ByteScore, 128>& b) {
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].Character != b[i].Character || a[i].What != Kind::Letter) continue;
        a[i].Weight = b[i].Weight = std::max(a[i].Weight, b[i].Weight);
    }
}

const std::array<ByteScore, 128>& ScoresOf(Charset charset) {
    static auto western = Scores(Charset::Cp1252, kWestern, 0);
    static auto central = Scores(Charset::Cp1250, kCentral, 0);
    static const bool shared = (ShareCommonLetters(western, central), true);
    (void)shared;
    static const auto cyrillic = Scores(Charset::Cp1251, kRussian, 2);
    switch (charset) {
        case Charset::Cp1250: return central;
        case Charset::Cp1251: return cyrillic;
        default: return western;
    }
}

long Score(const std::vector<std::string_view>& texts, Charset charset) {
    const auto& scores = ScoresOf(charset);
    const bool latin = charset != Charset::Cp1251;
    long total = 0;
    for (const auto text : texts) {
        const auto at = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
        const auto isLetterByte = [&](std::size_t i) {
            const unsigned char b = at(i);
            return b < 0x80 ? IsLetter(b) : scores[b - 0x80].What == Kind::Letter;
        };
        int accentedRun = 0;
        bool wordAscii = false, wordCyrillic = false;
        for (std::size_t i = 0; i <= text.size(); ++i) {
            const bool letter = i < text.size() && isLetterByte(i);
            if (!letter) {
                if (wordAscii && wordCyrillic) total += kMixedScriptWord;
                wordAscii = wordCyrillic = false;
                accentedRun = 0;
            }
            if (i == text.size()) break;
            const unsigned char b = at(i);
            if (b < 0x80) {
                if (letter) wordAscii = true;
                accentedRun = 0;
                continue;
            }
            const ByteScore& s = scores[b - 0x80];
            if (s.What == Kind::Letter) {
                total += s.Weight;
                if (IsCyrillic(s.Character)) wordCyrillic = true;
                if (latin && ++accentedRun > 2) total += kLongAccentedRun;
            } else if (s.What == Kind::Symbol) {
                const bool before = i > 0 && isLetterByte(i - 1);
                const bool after = i + 1 < text.size() && isLetterByte(i + 1);
                const bool invertedMark = s.Character == U'¿' || s.Character == U'¡';
                if (invertedMark && !before && after) total += kInvertedMarkAtStart;
                else if (before || after) total += kSymbolInWord;
            }
        }
    }
    return total;
}

}  // namespace

Charset ChooseCharset(const std::vector<std::string_view>& texts) {
    Utf8Scan scan;
    bool high = false;
    for (const auto text : texts) {
        const Utf8Scan one = ScanUtf8(text);
        scan.Multibyte += one.Multibyte;
        scan.Invalid += one.Invalid;
        for (const char c : text) high = high || static_cast<unsigned char>(c) >= 0x80;
    }
    if (!high) return Charset::Cp1252;
    // Well-formed sequences by chance are rare in 8-bit text; a few broken
    // bytes inside UTF-8 text do not make it 8-bit.
    if (scan.Multibyte > 0 && scan.Invalid * 2 <= scan.Multibyte) return Charset::Utf8;
    // In order of preference: a tie goes to the earlier.
    Charset best = Charset::Cp1252;
    long bestScore = Score(texts, best);
    for (const Charset other : {Charset::Cp1250, Charset::Cp1251}) {
        const long score = Score(texts, other);
        if (score > bestScore) {
            best = other;
            bestScore = score;
        }
    }
    return best;
}

}  // namespace tonalux::detail
