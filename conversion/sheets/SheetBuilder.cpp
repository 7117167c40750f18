// The sheet of a song from its facts and its words: the chords placed at the
// syllables sounding when they begin, or a grid of bars for a song without
// words. Every step is one pass over the chords and the syllables.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iterator>
#include <string_view>
#include <string>

#include "SongSheet.h"
#include "song/KeyNames.h"

namespace tonalux {

namespace {

// Ticks of a quarter note where the song's division gives none (0, or SMPTE
// frames): bars are then counted as if the song had this division.
constexpr std::uint16_t kFallbackDivision = 480;
// A grid longer than this (ten hours of 4/4 at 120) comes only from a song
// whose ticks run far beyond its music; it is cut there.
constexpr std::size_t kMostBars = 18000;
constexpr double kDefaultBeatsPerMinute = 120.0;

bool UsableDivision(std::uint16_t division) { return division != 0 && (division & 0x8000) == 0; }

// The metres of the song, one in force from tick 0 on.
std::vector<SheetFacts::Metre> MetresFrom(const SheetFacts& facts) {
    std::vector<SheetFacts::Metre> metres;
    if (facts.Metres.empty() || facts.Metres.front().Tick > 0) metres.push_back({0, 4, 4});
    for (const auto& metre : facts.Metres) {
        if (!metres.empty() && metres.back().Tick == metre.Tick)
            metres.back() = metre;  // the later of two at one tick counts
        else
            metres.push_back(metre);
    }
    return metres;
}

// Beats of a bar as players count them: a compound metre (6, 9 or 12 eighths
// or shorter) in dotted beats, any other in its numerator.
int BeatsOf(const SheetFacts::Metre& metre) {
    const bool compound = metre.Denominator >= 8 && metre.Numerator % 3 == 0 && metre.Numerator >= 6;
    return compound ? metre.Numerator / 3 : metre.Numerator;
}

std::uint64_t BarTicks(const SheetFacts::Metre& metre, std::uint32_t division) {
    const std::uint64_t ticks = std::uint64_t{division} * 4 * static_cast<std::uint64_t>(metre.Numerator) /
                                static_cast<std::uint64_t>(metre.Denominator);
    return std::max<std::uint64_t>(ticks, 1);
}

// The metre in force at `tick`.
const SheetFacts::Metre& MetreAt(const std::vector<SheetFacts::Metre>& metres, std::uint32_t tick) {
    auto after = std::upper_bound(metres.begin(), metres.end(), tick,
                                  [](std::uint32_t t, const SheetFacts::Metre& m) { return t < m.Tick; });
    return *std::prev(after);
}

std::string StemOf(std::string_view fileName) {
    const std::size_t slash = fileName.find_last_of("/\\");
    if (slash != std::string_view::npos) fileName.remove_prefix(slash + 1);
    const std::size_t dot = fileName.rfind('.');
    if (dot != std::string_view::npos && dot > 0) fileName = fileName.substr(0, dot);
    return std::string(fileName);
}

// The key: the song's key signature, else the key its chords suggest.
std::string KeyText(const SheetFacts& facts) {
    if (facts.KeyFifths && std::abs(*facts.KeyFifths) <= kMostKeyFifths)
        return std::string(KeyTonic(*facts.KeyFifths, facts.KeyMinor)) + (facts.KeyMinor ? "m" : "");
    return KeyOfChords(facts.Chords);
}

std::string TrimmedEnd(std::string text) {
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

// The sung lines with each chord before the syllable sounding when it
// begins. A syllable sounds until the next one begins; the last syllable of a
// line is held for at most a bar, and a chord that begins later stands
// before the first syllable of the next line (or, after the last line, at
// its end). Chords before the first syllable stand before it.
std::vector<SheetLine> PlaceChords(const std::vector<SheetChord>& chords, const std::vector<Syllable>& syllables,
                                   const std::vector<SheetFacts::Metre>& metres, std::uint32_t division) {
    const std::size_t count = syllables.size();
    // The chords standing before syllable i; index `count` is after the last one.
    std::vector<std::vector<const SheetChord*>> before(count + 1);
    std::size_t next = 0;  // the first syllable beginning after the chord
    for (const SheetChord& chord : chords) {
        while (next < count && syllables[next].Tick <= chord.Tick) ++next;
        std::size_t at = 0;
        if (next > 0) {
            const std::size_t sounding = next - 1;
            const bool endsLine = next == count || syllables[next].Line || syllables[next].Page;
            const std::uint32_t start = syllables[sounding].Tick;
            const bool pastHold = chord.Tick - start >= BarTicks(MetreAt(metres, start), division);
            at = endsLine && pastHold ? next : sounding;
        }
        before[at].push_back(&chord);
    }

    std::vector<SheetLine> lines;
    for (std::size_t i = 0; i < count; ++i) {
        const Syllable& syllable = syllables[i];
        if (lines.empty() || syllable.Line || syllable.Page) {
            if (!lines.empty() && !lines.back().Segments.empty())
                lines.back().Segments.back().Text = TrimmedEnd(lines.back().Segments.back().Text);
            lines.emplace_back();
            lines.back().NewPage = syllable.Page && lines.size() > 1;
        }
        auto& segments = lines.back().Segments;
        for (const SheetChord* chord : before[i]) segments.push_back({*chord, {}});
        if (segments.empty()) segments.emplace_back();
        // A hyphen that joins a syllable to the next one of its word is left
        // out: the sheet shows whole words.
        const bool joined = i + 1 < count && !syllables[i + 1].Line && !syllables[i + 1].Page;
        const std::string& text = syllable.Text;
        if (joined && text.size() > 1 && text.back() == '-' && text[text.size() - 2] != ' ')
            segments.back().Text.append(text, 0, text.size() - 1);
        else
            segments.back().Text += text;
    }
    if (lines.empty()) return lines;
    auto& last = lines.back().Segments;
    last.back().Text = TrimmedEnd(last.back().Text);
    for (const SheetChord* chord : before[count]) {
        if (!last.back().Text.empty()) last.back().Text += ' ';
        last.push_back({*chord, {}});
    }
    return lines;
}

// The bars from the start up to the bar of the last chord, each metre
// starting a bar at its tick (a bar it cuts short keeps the beats begun).
std::vector<SheetBar> GridOf(const std::vector<SheetChord>& chords, const std::vector<SheetFacts::Metre>& metres,
                             std::uint32_t division, std::vector<std::string>& notes) {
    std::vector<SheetBar> bars;
    if (chords.empty()) return bars;
    const std::uint64_t lastTick = chords.back().Tick;
    std::size_t metre = 0;
    std::size_t chord = 0;
    std::uint64_t tick = 0;
    const SheetFacts::Metre* previous = nullptr;
    while (tick <= lastTick) {
        if (bars.size() == kMostBars) {
            notes.push_back("the grid stops at bar " + std::to_string(kMostBars) + "; " +
                            std::to_string(chords.size() - chord) + " later chords are not shown");
            break;
        }
        while (metre + 1 < metres.size() && metres[metre + 1].Tick <= tick) ++metre;
        const SheetFacts::Metre& m = metres[metre];
        std::uint64_t end = tick + BarTicks(m, division);
        if (metre + 1 < metres.size() && metres[metre + 1].Tick < end) end = metres[metre + 1].Tick;
        const int fullBeats = BeatsOf(m);
        const std::uint64_t beatTicks = std::max<std::uint64_t>(BarTicks(m, division) / fullBeats, 1);
        const auto beats = static_cast<std::size_t>(std::min<std::uint64_t>((end - tick + beatTicks - 1) / beatTicks,
                                                                            static_cast<std::uint64_t>(fullBeats)));
        SheetBar bar;
        bar.Tick = static_cast<std::uint32_t>(tick);
        bar.Numerator = m.Numerator;
        bar.Denominator = m.Denominator;
        bar.MetreChange = previous && (previous->Numerator != m.Numerator || previous->Denominator != m.Denominator);
        bar.Beats.resize(std::max<std::size_t>(beats, 1));
        for (; chord < chords.size() && chords[chord].Tick < end; ++chord) {
            const auto cell = static_cast<std::size_t>((chords[chord].Tick - tick) / beatTicks);
            bar.Beats[std::min(cell, bar.Beats.size() - 1)].push_back(chords[chord]);
        }
        bars.push_back(std::move(bar));
        previous = &m;
        tick = end;
    }
    return bars;
}

}  // namespace

SongSheet BuildSongSheet(const SheetFacts& facts, const SongLyrics& lyrics) {
    SongSheet sheet;
    sheet.Title = !lyrics.Title.empty() ? lyrics.Title : !facts.SongName.empty() ? facts.SongName : StemOf(facts.FileName);
    sheet.Subtitle = lyrics.Author;
    sheet.Key = KeyText(facts);
    sheet.Notes = facts.Notes;

    const std::vector<SheetFacts::Metre> metres = MetresFrom(facts);
    sheet.Time = std::to_string(metres.front().Numerator) + "/" + std::to_string(metres.front().Denominator);
    const double bpm = facts.BeatsPerMinute.value_or(kDefaultBeatsPerMinute);
    sheet.Tempo = std::to_string(static_cast<long>(std::lround(bpm)));

    std::uint32_t division = facts.Division;
    if (!UsableDivision(facts.Division)) {
        division = kFallbackDivision;
        if (!facts.Chords.empty())
            sheet.Notes.push_back("the song counts no ticks per beat; bars are counted as at " +
                                  std::to_string(kFallbackDivision) + " ticks a beat");
    }
    std::vector<SheetChord> chords = facts.Chords;
    std::stable_sort(chords.begin(), chords.end(), [](const SheetChord& a, const SheetChord& b) { return a.Tick < b.Tick; });

    sheet.HasWords = !lyrics.Syllables.empty();
    if (sheet.HasWords) {
        sheet.Lines = PlaceChords(chords, lyrics.Syllables, metres, division);
        sheet.ChordCount = chords.size();
        if (chords.empty()) sheet.Notes.push_back("the song has words but no chords; the sheet shows the words only");
    } else {
        sheet.Bars = GridOf(chords, metres, division, sheet.Notes);
        for (const SheetBar& bar : sheet.Bars)
            for (const auto& beat : bar.Beats) sheet.ChordCount += beat.size();
        if (chords.empty()) sheet.Notes.push_back("the song has neither words nor chords; the sheet has only its title");
    }
    return sheet;
}

std::string GridLineText(const std::vector<SheetBar>& bars, std::size_t first, std::size_t count) {
    std::string line;
    const std::size_t end = std::min(bars.size(), first + count);
    for (std::size_t b = first; b < end; ++b) {
        line += "|";
        for (const auto& beat : bars[b].Beats) {
            line += ' ';
            if (beat.empty()) line += '.';
            for (std::size_t c = 0; c < beat.size(); ++c) line += (c > 0 ? "~" : "") + beat[c].Name;
        }
        line += ' ';
    }
    if (end > first) line += "|";
    return line;
}

}  // namespace tonalux
