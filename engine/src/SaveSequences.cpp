// The writers' save sequences: every channel record in tick order for the
// format 0 track (SaveMidiEvents), and every meta and system-exclusive record
// in tick order for either writer (SaveMetaEvents). Both are the stable sort
// by tick of their source lists laid end to end, built by merging the lists
// rather than by inserting record after record. The event lists are only read.
#include <algorithm>
#include <vector>

#include "Hauptcontainer.h"
#include "StandardMidifile.h"
#include "TickMerge.h"
#include "WindowTurns.h"

namespace tonalux {

namespace {

using detail::MergeSource;

MetaEvent FromMarker(const Marker& marker) {
    MetaEvent record{};
    record.Tick = marker.Tick;
    record.Status = marker.Status;
    record.Type = marker.Type;
    record.Length = marker.Length;
    record.Data = marker.Data;
    return record;
}

MetaEvent FromSysex(const SysexEvent& sysex) {
    MetaEvent record{};
    record.Tick = sysex.Tick;
    record.Delta = sysex.Delta;
    record.Status = sysex.Status;
    record.Type = sysex.Manufacturer;
    record.Length = sysex.Length;
    record.Data = sysex.Data;
    return record;
}

template <typename Record>
MergeSource SourceOf(const std::vector<Record>& list) {
    MergeSource source;
    source.size = list.size();
    source.order = detail::StableTickOrder(list.size(), [&](std::size_t i) { return list[i].Tick; });
    return source;
}

// Stable insertion by tick: after every record of the same or an earlier tick.
template <typename Record>
void InsertByTick(std::vector<Record>& sequence, const Record& record) {
    if (sequence.empty() || sequence.back().Tick <= record.Tick) {
        sequence.push_back(record);
        return;
    }
    const auto place = std::upper_bound(sequence.begin(), sequence.end(), record.Tick,
                                        [](std::uint32_t tick, const Record& r) { return tick < r.Tick; });
    sequence.insert(place, record);
}

}  // namespace

bool StandardMidifile::SaveVectorFuellen() {
    auto& lists = detail::Lists();
    const auto& channels = lists.ChannelEvents;

    std::vector<MergeSource> sources;
    sources.reserve(channels.size());
    std::size_t total = 0;
    for (const auto& channel : channels) {
        sources.push_back(SourceOf(channel));
        total += channel.size();
    }

    auto& out = lists.SaveMidiEvents;
    out.clear();
    out.reserve(total);
    detail::WindowTurns turns;
    detail::MergeByTick(
        sources, [&](std::size_t c, std::size_t i) { return channels[c][i].Tick; },
        [&](std::size_t c, std::size_t i) { out.push_back(channels[c][i]); },
        [&] { turns.Step(); });

    return MetaUndSysexVectorFuellen();
}

bool StandardMidifile::MetaUndSysexVectorFuellen() {
    auto& lists = detail::Lists();
    // At equal ticks: general meta events, time signatures, tempos, markers,
    // lyrics, keyboard chords, system-exclusive messages.
    enum Source : std::size_t { General, TimeSignature, Tempo, Markers, Lyrics, Chords, Sysex, Count };
    const std::vector<MetaEvent>* metaLists[Count] = {&lists.MetaEvents,  &lists.MessureEvents,
                                                      &lists.TempoEvents, nullptr,
                                                      &lists.LyricEvents, &lists.YamChordEvents,
                                                      nullptr};

    std::vector<MergeSource> sources(Count);
    std::size_t total = 0;
    for (std::size_t s = 0; s < Count; ++s) {
        if (s == Markers) {
            sources[s] = SourceOf(lists.MarkerEvents);
        } else if (s == Sysex) {
            sources[s] = SourceOf(lists.SysexEvents);
        } else {
            sources[s] = SourceOf(*metaLists[s]);
        }
        total += sources[s].size;
    }

    auto& out = lists.SaveMetaEvents;
    out.clear();
    out.reserve(total);
    detail::MergeByTick(
        sources,
        [&](std::size_t s, std::size_t i) {
            if (s == Markers) return lists.MarkerEvents[i].Tick;
            if (s == Sysex) return lists.SysexEvents[i].Tick;
            return (*metaLists[s])[i].Tick;
        },
        [&](std::size_t s, std::size_t i) {
            if (s == Markers) {
                out.push_back(FromMarker(lists.MarkerEvents[i]));
            } else if (s == Sysex) {
                out.push_back(FromSysex(lists.SysexEvents[i]));
            } else {
                out.push_back((*metaLists[s])[i]);
            }
        },
        [] {});
    return true;
}

bool StandardMidifile::InsertSaveMidiEventToContainer(const MidiEvent& event) {
    InsertByTick(detail::Lists().SaveMidiEvents, event);
    return true;
}

bool StandardMidifile::InsertSaveMetaEventToContainer(const MetaEvent& event) {
    InsertByTick(detail::Lists().SaveMetaEvents, event);
    return true;
}

}  // namespace tonalux
