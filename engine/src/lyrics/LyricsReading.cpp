// Reading a song's words as syllables. Soft Karaoke text events mark a page
// with "\" and a line with "/" in front of a syllable; lyric events mark the
// end of a line with CR and of a paragraph (a page) with LF after a syllable,
// or carry the keyboard marks "/" (line) and "<" (page), in front of a
// syllable or after it, and "^" for a space. A CR or LF standing alone is a
// mark that waits for the next syllable. Marks are taken out of the text;
// a word's closing space stays with its last syllable, and a line's last
// syllable carries no space.
#include <algorithm>
#include <string>
#include <unordered_set>
#include <vector>

#include "lists/Hauptcontainer.h"
#include "lyrics/LyricsText.h"
#include "lyrics/WordEvents.h"
#include "MidiBytes.h"
#include "StandardMidifile.h"

namespace tonalux {

namespace {

using detail::IsKaraokeHeader;
using detail::TextOf;

struct WordEvent {
    std::uint32_t Tick;
    std::string_view Bytes;
};

// Whether the song's text events are Soft Karaoke: a header, or a syllable
// with a karaoke mark in front.
bool IsKaraokeSong(const std::vector<MetaEvent>& meta) {
    for (const auto& event : meta) {
        if (event.Type != detail::kTextEventType) continue;
        const auto text = TextOf(event);
        if (IsKaraokeHeader(text) || (!text.empty() && (text[0] == '\\' || text[0] == '/'))) return true;
    }
    return false;
}

std::vector<WordEvent> SortedByTick(std::vector<WordEvent> events) {
    std::stable_sort(events.begin(), events.end(), [](const WordEvent& a, const WordEvent& b) { return a.Tick < b.Tick; });
    return events;
}

bool IsSpace(char c) { return c == ' '; }

// Builds the syllables one event after the other: the marks that end a line
// or page wait for the next syllable, and so do those of a syllable that
// holds nothing but marks.
class SyllableBuilder {
public:
    explicit SyllableBuilder(SongLyrics& lyrics) : lyrics_(lyrics) {}

    // One event's text (UTF-8, marks taken off) with the marks in front of it
    // and those after it.
    void Add(std::uint32_t tick, std::string text, bool line, bool page, bool lineAfter, bool pageAfter) {
        text = WithoutControls(std::move(text));
        line = line || page || pendingLine_ || pendingPage_;
        page = page || pendingPage_;
        pendingLine_ = pendingPage_ = false;

        // A word's opening space closes the word before it.
        std::size_t lead = 0;
        while (lead < text.size() && IsSpace(text[lead])) ++lead;
        if (lead > 0 && !line && !lyrics_.Syllables.empty()) {
            std::string& previous = lyrics_.Syllables.back().Text;
            if (!previous.empty() && !IsSpace(previous.back())) previous.push_back(' ');
        }
        text.erase(0, lead);

        if (text.empty()) {
            // Nothing to sing: its marks go to the next syllable.
            pendingLine_ = line || lineAfter || pageAfter;
            pendingPage_ = page || pageAfter;
            return;
        }
        if (IsDuplicate(tick, text)) {
            ++lyrics_.DuplicateSyllables;
        } else {
            if (line) EndLine();
            lyrics_.Syllables.push_back(Syllable{tick, std::move(text), line, page});
        }
        pendingLine_ = lineAfter || pageAfter;
        pendingPage_ = pageAfter;
    }

    void Finish() {
        EndLine();
        if (!lyrics_.Syllables.empty()) lyrics_.Syllables.front().Line = lyrics_.Syllables.front().Page = true;
    }

private:
    // The last syllable of a line keeps no space.
    void EndLine() {
        if (lyrics_.Syllables.empty()) return;
        std::string& last = lyrics_.Syllables.back().Text;
        while (!last.empty() && IsSpace(last.back())) last.pop_back();
    }

    // Tabs are spaces; every other control character is taken out.
    std::string WithoutControls(std::string text) {
        std::string out;
        out.reserve(text.size());
        std::size_t pos = 0;
        while (pos < text.size()) {
            const std::size_t start = pos;
            const char32_t c = detail::NextCodePoint(text, pos);
            if (c == '\t') {
                out.push_back(' ');
            } else if (c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0)) {
                ++lyrics_.ControlCharacters;
            } else {
                out.append(text, start, pos - start);
            }
        }
        return out;
    }

    // The same syllable at the same tick again: words copied into two tracks.
    // A word's closing space does not tell two copies apart (one track may
    // end its line there), so the syllable is compared without it, as a
    // line's last syllable is kept. The texts of the current tick are kept in
    // a set, so that a song of many syllables at one tick is read in linear time.
    bool IsDuplicate(std::uint32_t tick, const std::string& text) {
        if (tick != seenTick_) {
            seen_.clear();
            seenTick_ = tick;
        }
        std::size_t end = text.size();
        while (end > 0 && IsSpace(text[end - 1])) --end;
        return !seen_.insert(text.substr(0, end)).second;
    }

    SongLyrics& lyrics_;
    std::unordered_set<std::string> seen_;
    std::uint32_t seenTick_ = 0;
    bool pendingLine_ = false;
    bool pendingPage_ = false;
};

// The marks each kind of words uses. Both take CR (line) and LF (page) at
// either end of a syllable: some karaoke makers write them into text events
// too. Karaoke text marks a syllable in front with "/" (line) or "\\"
// (page); lyric events carry the keyboard marks "/" (line) and "<" (page) at
// either end, and "^" for a space.
struct MarkSet {
    std::string_view LineFront, PageFront, LineBack, PageBack;
    bool CaretIsSpace;
};
constexpr MarkSet kKaraokeMarks{"\r/", "\n\\", "\r", "\n", false};
constexpr MarkSet kLyricEventMarks{"\r/", "\n<", "\r/", "\n<", true};

bool IsIn(std::string_view set, char c) { return set.find(c) != std::string_view::npos; }

void ReadWords(const std::vector<WordEvent>& events, const MarkSet& marks, Charset charset, SongLyrics& lyrics) {
    SyllableBuilder builder(lyrics);
    for (const auto& event : events) {
        const std::string text = detail::DecodeText(event.Bytes, charset);
        bool line = false, page = false, lineAfter = false, pageAfter = false;
        std::size_t begin = 0;
        for (; begin < text.size() && (IsIn(marks.LineFront, text[begin]) || IsIn(marks.PageFront, text[begin])); ++begin) {
            line = true;
            page = page || IsIn(marks.PageFront, text[begin]);
        }
        std::size_t end = text.size();
        for (; end > begin && (IsIn(marks.LineBack, text[end - 1]) || IsIn(marks.PageBack, text[end - 1])); --end) {
            lineAfter = true;
            pageAfter = pageAfter || IsIn(marks.PageBack, text[end - 1]);
        }
        std::string body = text.substr(begin, end - begin);
        if (marks.CaretIsSpace) std::replace(body.begin(), body.end(), '^', ' ');
        builder.Add(event.Tick, std::move(body), line, page, lineAfter, pageAfter);
    }
    builder.Finish();
}

void ReadHeaders(const std::vector<std::string_view>& headers, Charset charset, SongLyrics& lyrics) {
    int titleLines = 0;
    for (const auto header : headers) {
        const std::string text = detail::DecodeText(header.substr(2), charset);
        switch (header[1]) {
            case 'T':
                if (titleLines == 0) lyrics.Title = text;
                else if (titleLines == 1) lyrics.Author = text;
                else if (titleLines == 2) lyrics.Copyright = text;
                ++titleLines;
                break;
            case 'L': lyrics.Language = text; break;
            case 'I': lyrics.Information.push_back(text); break;
            default: break;
        }
    }
}

}  // namespace

SongLyrics ReadLyrics(const StandardMidifile& /*song*/, std::optional<Charset> fromCharset) {
    // Every StandardMidifile works on the one set of lists of the process.
    const auto& lists = detail::Lists();
    SongLyrics lyrics;

    std::vector<WordEvent> karaoke;
    std::vector<std::string_view> headers;
    if (IsKaraokeSong(lists.MetaEvents)) {
        for (const auto& event : lists.MetaEvents) {
            if (event.Type != detail::kTextEventType) continue;
            const auto text = TextOf(event);
            if (IsKaraokeHeader(text)) headers.push_back(text);
            else if (detail::IsKaraokeSyllableText(event)) karaoke.push_back({event.Tick, text});
        }
    }
    std::vector<WordEvent> lyricEvents;
    for (const auto& event : lists.LyricEvents) lyricEvents.push_back({event.Tick, TextOf(event)});

    // Both kinds in one song: the one with more events are the words.
    const bool takeKaraoke = karaoke.size() > lyricEvents.size();
    const auto& words = takeKaraoke ? karaoke : lyricEvents;
    const auto& other = takeKaraoke ? lyricEvents : karaoke;
    if (!words.empty()) lyrics.Kind = takeKaraoke ? LyricsKind::Karaoke : LyricsKind::LyricEvents;
    if (!other.empty()) {
        lyrics.Ignored = takeKaraoke ? LyricsKind::LyricEvents : LyricsKind::Karaoke;
        lyrics.IgnoredSyllables = other.size();
    }

    // The headers belong to the karaoke text: with karaoke words they tell
    // the charset too, beside lyric events (written in another charset,
    // perhaps) they are read in their own.
    std::vector<std::string_view> texts;
    if (takeKaraoke) texts = headers;
    for (const auto& event : words) texts.push_back(event.Bytes);
    lyrics.CharsetGiven = fromCharset.has_value();
    lyrics.SourceCharset = fromCharset ? *fromCharset : detail::ChooseCharset(texts);
    if (lyrics.SourceCharset == Charset::Utf8)
        for (const auto text : texts) lyrics.InvalidBytes += detail::ScanUtf8(text).Invalid;

    const Charset headerCharset =
        takeKaraoke || fromCharset ? lyrics.SourceCharset : detail::ChooseCharset(headers);
    ReadHeaders(headers, headerCharset, lyrics);
    ReadWords(SortedByTick(words), takeKaraoke ? kKaraokeMarks : kLyricEventMarks, lyrics.SourceCharset, lyrics);
    if (lyrics.Syllables.empty()) lyrics.Kind = LyricsKind::None;
    return lyrics;
}

}  // namespace tonalux
