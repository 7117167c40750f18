// Conversion of keyboard chord events into chord lyrics: lyric meta events
// whose text is "%" and the chord name, as other arranger keyboards show
// chords. Also the removal of either kind of chord information.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <limits>
#include <memory>
#include <new>
#include <vector>

#include "EngineHost.h"
#include "lists/Hauptcontainer.h"
#include "MidiBytes.h"
#include "StandardMidifile.h"

namespace tonalux {

namespace {

constexpr std::uint8_t kChordLyricMark = 0x25;  // "%"

bool IsChordLyric(const MetaEvent& lyric) {
    return lyric.Data && lyric.Length >= 1 && lyric.Data[0] == kChordLyricMark;
}

bool EarlierTick(const MetaEvent& x, const MetaEvent& y) { return x.Tick < y.Tick; }

// Places the new lyrics among the existing ones as adding them one by one
// would: each after every lyric of the same or an earlier tick, the new ones
// of one tick in the order they were made. One merge keeps this linear.
void PlaceLyrics(StandardMidifile& engine, std::vector<MetaEvent>&& added) {
    if (added.empty()) return;
    auto& lyrics = detail::Lists().LyricEvents;
    if (!std::is_sorted(lyrics.begin(), lyrics.end(), EarlierTick)) {
        // A list a caller has put out of tick order: add one by one.
        for (const MetaEvent& lyric : added) engine.AddLyricevent(lyric);
        return;
    }
    std::stable_sort(added.begin(), added.end(), EarlierTick);
    std::vector<MetaEvent> merged;
    try {
        merged.reserve(lyrics.size() + added.size());
    } catch (const std::bad_alloc&) {
        // The lyric list stays as it was.
        CurrentEngineHost().ShowMessage("AddError #1001");
        return;
    }
    // On equal ticks std::merge takes from the first range first: the existing lyrics.
    std::merge(std::make_move_iterator(lyrics.begin()), std::make_move_iterator(lyrics.end()),
               std::make_move_iterator(added.begin()), std::make_move_iterator(added.end()),
               std::back_inserter(merged), EarlierTick);
    lyrics = std::move(merged);
}

// The chord lyric for the name at the tick. A record's tick is taken as it
// is: a long of 32 bits (Windows) cannot hold every tick.
MetaEvent ChordLyric(const std::string& name, std::uint32_t tick) {
    // Block: "%", the name, a zero byte; four spare bytes stay zero. The name's
    // bytes are taken as they stand.
    const std::size_t n = name.size();
    DataBlock block = std::make_shared<std::uint8_t[]>(n + 5);
    block[0] = kChordLyricMark;
    if (n > 0) std::memcpy(block.get() + 1, name.data(), n);
    MetaEvent lyric{};
    lyric.Tick = tick;
    lyric.Delta = 0;
    lyric.Status = 0xFF;
    lyric.Type = kLyricType;
    lyric.Length = static_cast<std::uint32_t>(n + 1);
    lyric.Data = std::move(block);
    return lyric;
}

}  // namespace

MetaEvent StandardMidifile::ChToMeta(const std::string& name, long tick) {
    // A tick outside what a record can hold is brought to the nearest end.
    const long long clamped = std::clamp<long long>(tick, 0, std::numeric_limits<std::uint32_t>::max());
    return ChordLyric(name, static_cast<std::uint32_t>(clamped));
}

bool StandardMidifile::YamahaChordToKetron() {
    // One chord lyric per chord event, at the chord's tick. The chord events
    // stay; existing chord lyrics are not looked for.
    const auto& chords = detail::Lists().YamChordEvents;
    std::vector<MetaEvent> added;
    added.reserve(chords.size());
    try {
        for (const MetaEvent& chord : chords) added.push_back(ChordLyric(YamChordCalculate(chord), chord.Tick));
    } catch (...) {
        // The lyrics of the chords before the undecodable one are kept.
        PlaceLyrics(*this, std::move(added));
        throw;
    }
    PlaceLyrics(*this, std::move(added));
    return true;
}

bool StandardMidifile::DeleteAllYamChords() {
    detail::Lists().YamChordEvents.clear();
    return true;
}

bool StandardMidifile::DelAllKetronChords() {
    // Any lyric whose text begins with "%" is a chord lyric, whoever made it.
    auto& lyrics = detail::Lists().LyricEvents;
    lyrics.erase(std::remove_if(lyrics.begin(), lyrics.end(), IsChordLyric), lyrics.end());
    return true;
}

}  // namespace tonalux
