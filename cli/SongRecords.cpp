#include "SongRecords.h"

#include <algorithm>

#include "MidiBytes.h"
#include "StandardMidifile.h"

namespace tonalux::cli {

namespace {

constexpr std::array<const char*, kSongListCount - 16> kNamedLists = {"meta",   "tempo",  "timesig", "lyric",
                                                                       "marker", "chord", "sysex"};

void AppendVlq(std::vector<std::uint8_t>& out, std::uint32_t value) {
    std::uint8_t groups[kMaxVlqBytes];
    const std::uint8_t* end = PutVlq(groups, value);
    // Byte by byte: a range insert here makes GCC 12 warn wrongly at -O3.
    for (const std::uint8_t* byte = groups; byte != end; ++byte) out.push_back(*byte);
}

void AppendData(std::vector<std::uint8_t>& out, const DataBlock& data, std::uint32_t length) {
    if (!data) return;  // a record without a block carries no bytes
    out.insert(out.end(), data.get(), data.get() + length);
}

std::vector<std::uint8_t> EncodeMeta(std::uint8_t type, std::uint32_t length, const DataBlock& data) {
    std::vector<std::uint8_t> out{kMetaStatus, type};
    AppendVlq(out, length);
    AppendData(out, data, length);
    return out;
}

std::uint8_t ListIndex(SongList list) { return static_cast<std::uint8_t>(list); }

}  // namespace

std::string SongListName(std::size_t list) {
    if (list < 16) return "ch" + std::to_string(list + 1);
    return kNamedLists.at(list - 16);
}

std::vector<std::uint8_t> EncodeRecord(const MidiEvent& event) {
    std::vector<std::uint8_t> out{event.Status, event.Data1};
    // Program change and channel pressure carry one data byte, every other
    // status two.
    if (ChannelMessageBytes(event.Status & 0xF0) != 2) out.push_back(event.Data2);
    return out;
}

std::vector<std::uint8_t> EncodeRecord(const MetaEvent& event) {
    return EncodeMeta(event.Type, event.Length, event.Data);
}

std::vector<std::uint8_t> EncodeRecord(const Marker& marker) {
    return EncodeMeta(marker.Type, marker.Length, marker.Data);
}

std::vector<std::uint8_t> EncodeRecord(const SysexEvent& event) {
    std::vector<std::uint8_t> out{event.Status};
    AppendVlq(out, event.Length);
    AppendData(out, event.Data, event.Length);
    return out;
}

std::array<std::size_t, kSongListCount> CountRecords(StandardMidifile& engine) {
    std::array<std::size_t, kSongListCount> counts{};
    for (int channel = 0; channel < 16; ++channel)
        counts[static_cast<std::size_t>(channel)] = static_cast<std::size_t>(engine.GetSizeMidievents(channel));
    auto set = [&counts](SongList list, int size) { counts[ListIndex(list)] = static_cast<std::size_t>(size); };
    set(SongList::Meta, engine.GetSizeMetaEvents());
    set(SongList::Tempo, engine.GetSizeTempoevents());
    set(SongList::Timesig, engine.GetSizeMessureEvents());
    set(SongList::Lyric, engine.GetSizeLyricEvents());
    set(SongList::Marker, engine.GetSizeMarkerEvents());
    set(SongList::Chord, engine.GetSizeYamChordEvents());
    set(SongList::Sysex, engine.GetSizeSysexEvents());
    return counts;
}

std::vector<SongRecord> CollectRecords(StandardMidifile& engine) {
    std::vector<SongRecord> records;
    const auto counts = CountRecords(engine);
    std::size_t total = 0;
    for (auto count : counts) total += count;
    records.reserve(total);

    auto add = [&records](std::uint32_t tick, std::uint8_t list, std::vector<std::uint8_t> bytes) {
        records.push_back({tick, list, std::move(bytes)});
    };
    for (int channel = 0; channel < 16; ++channel)
        for (int i = 0; i < engine.GetSizeMidievents(channel); ++i) {
            const MidiEvent event = engine.GetMidievent(channel, i);
            add(event.Tick, static_cast<std::uint8_t>(channel), EncodeRecord(event));
        }
    auto addMeta = [&](SongList list, int size, MetaEvent (StandardMidifile::*get)(int)) {
        for (int i = 0; i < size; ++i) {
            const MetaEvent event = (engine.*get)(i);
            add(event.Tick, ListIndex(list), EncodeRecord(event));
        }
    };
    addMeta(SongList::Meta, engine.GetSizeMetaEvents(), &StandardMidifile::GetMetaEvent);
    addMeta(SongList::Tempo, engine.GetSizeTempoevents(), &StandardMidifile::GetTempoevent);
    addMeta(SongList::Timesig, engine.GetSizeMessureEvents(), &StandardMidifile::GetMessure);
    addMeta(SongList::Lyric, engine.GetSizeLyricEvents(), &StandardMidifile::GetLyricevent);
    for (int i = 0; i < engine.GetSizeMarkerEvents(); ++i) {
        const Marker marker = engine.GetMarkerevent(i);
        add(marker.Tick, ListIndex(SongList::Marker), EncodeRecord(marker));
    }
    addMeta(SongList::Chord, engine.GetSizeYamChordEvents(), &StandardMidifile::GetYamchord);
    for (int i = 0; i < engine.GetSizeSysexEvents(); ++i) {
        const SysexEvent event = engine.GetSysex(i);
        add(event.Tick, ListIndex(SongList::Sysex), EncodeRecord(event));
    }

    // Collected list by list, so a stable sort on the tick alone keeps the
    // list order and each list's own order among equal ticks.
    std::stable_sort(records.begin(), records.end(),
                     [](const SongRecord& a, const SongRecord& b) { return a.Tick < b.Tick; });
    return records;
}

std::string HexBytes(const std::vector<std::uint8_t>& bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size() * 3);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i) out += ' ';
        out += kDigits[bytes[i] >> 4];
        out += kDigits[bytes[i] & 15];
    }
    return out;
}

}  // namespace tonalux::cli
