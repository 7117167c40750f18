// Writing a song's words as keyboard lyrics: lyric events with the marks
// chosen, in the output charset, in place of the karaoke text and the lyric
// events the song had.
#include <algorithm>
#include <cstring>

#include "lists/Hauptcontainer.h"
#include "lyrics/LyricsText.h"
#include "lyrics/WordEvents.h"
#include "MidiBytes.h"
#include "SongTexts.h"
#include "StandardMidifile.h"

namespace tonalux {

namespace {

MetaEvent LyricRecord(std::uint32_t tick, const std::string& bytes) {
    MetaEvent record{};
    record.Tick = tick;
    record.Delta = 0;
    record.Status = kMetaStatus;
    record.Type = kLyricType;
    record.Length = static_cast<std::uint32_t>(bytes.size());
    // Like every data block: the bytes and one zero byte after them.
    record.Data = std::make_shared<std::uint8_t[]>(bytes.size() + 1);
    if (!bytes.empty()) std::memcpy(record.Data.get(), bytes.data(), bytes.size());
    return record;
}

// The mark a syllable ends with when the next one starts a line or a page.
std::string_view EndMark(LyricMarks marks, bool page) {
    if (marks == LyricMarks::Rp017) return page ? "\n" : "\r";
    return page ? "<" : "/";
}

// Whether the song is named: a sequence name at tick 0 among the song texts
// at the front of the meta events, where the writers put the first track's.
bool HasSongName(const std::vector<MetaEvent>& meta) {
    for (const auto& event : meta) {
        if (event.Tick != 0 || !IsSongTextType(event.Type)) break;
        if (event.Type == kSequenceNameType && event.Length > 0) return true;
    }
    return false;
}

}  // namespace

Charset OutputCharsetFor(const SongLyrics& lyrics, std::optional<Charset> chosen) {
    if (chosen) return *chosen;
    return lyrics.SourceCharset == Charset::Utf8 ? Charset::Cp1252 : lyrics.SourceCharset;
}

KeyboardLyricsOutcome WriteKeyboardLyrics(StandardMidifile& song, const KeyboardLyricsOptions& options) {
    KeyboardLyricsOutcome outcome;
    outcome.Lyrics = ReadLyrics(song, options.FromCharset);
    outcome.OutputCharset = OutputCharsetFor(outcome.Lyrics, options.OutputCharset);
    if (!outcome.Converted()) return outcome;

    std::vector<Syllable> syllables = outcome.Lyrics.Syllables;
    outcome.LinesWrapped = WrapLines(syllables, options.Wrap);

    detail::EncodeCount count;
    std::vector<MetaEvent> written;
    written.reserve(syllables.size());
    for (std::size_t i = 0; i < syllables.size(); ++i) {
        std::string text = syllables[i].Text;
        if (i + 1 < syllables.size() && syllables[i + 1].Line) text += EndMark(options.Marks, syllables[i + 1].Page);
        written.push_back(LyricRecord(syllables[i].Tick, detail::EncodeText(text, outcome.OutputCharset, count)));
    }

    auto& lists = detail::Lists();
    if (outcome.Lyrics.Kind == LyricsKind::Karaoke || outcome.Lyrics.Ignored == LyricsKind::Karaoke) {
        auto& meta = lists.MetaEvents;
        const auto kept = std::remove_if(meta.begin(), meta.end(), detail::IsKaraokeSyllableText);
        outcome.TextEventsRemoved = static_cast<std::size_t>(meta.end() - kept);
        meta.erase(kept, meta.end());
    }
    lists.LyricEvents = std::move(written);
    outcome.Syllables = syllables.size();

    if (!outcome.Lyrics.Title.empty() && !HasSongName(lists.MetaEvents)) {
        song.PutSongTexts("", detail::EncodeText(outcome.Lyrics.Title, outcome.OutputCharset, count));
        outcome.TitleSet = true;
    }
    outcome.Transliterated = count.Transliterated;
    outcome.Unmapped = count.Unmapped;
    return outcome;
}

}  // namespace tonalux
