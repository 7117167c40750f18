// The writers' save sequences: the message of every channel record in tick
// order for the format 0 track (SaveMidiEvents), and every meta and
// system-exclusive record in tick order for either writer (SaveMetaEvents).
// Both are the stable sort by tick of their source lists laid end to end,
// built by merging the lists rather than by inserting record after record.
// The event lists are only read.
#include <algorithm>
#include <array>
#include <vector>

#include "write/EventEncoding.h"
#include "lists/Hauptcontainer.h"
#include "StandardMidifile.h"
#include "write/TickMerge.h"
#include "lists/TickOrder.h"
#include "write/WindowTurns.h"

namespace tonalux {

namespace {

using detail::MergeSource;

// A system-exclusive record in the shape the save sequence holds: its status
// where a meta event has 0xFF, its manufacturer byte in the Type.
MetaEvent FromSysex(const SysexEvent& sysex) {
    return MetaEvent{sysex.Tick, sysex.Delta, sysex.Status, sysex.Manufacturer, sysex.Length, sysex.Data};
}

template <typename Record>
MergeSource SourceOf(const std::vector<Record>& list) {
    MergeSource source;
    source.size = list.size();
    source.order = detail::StableTickOrder(list.size(), [&](std::size_t i) { return list[i].Tick; });
    return source;
}

}  // namespace

bool StandardMidifile::SaveVectorFuellen() {
    auto& lists = detail::Lists();
    const auto& channels = lists.ChannelEvents;

    std::array<std::size_t, 16> sizes{};
    std::array<const MidiEvent*, 16> records{};
    std::size_t total = 0;
    for (std::size_t c = 0; c < channels.size(); ++c) {
        sizes[c] = channels[c].size();
        records[c] = channels[c].data();
        total += channels[c].size();
    }

    // The sequence is sized at once and written by rank.
    auto& out = lists.SaveMidiEvents;
    out.resize(total);
    detail::SaveMessage* messages = out.data();
    detail::WindowTurns turns;
    const auto turn = [&] { turns.Step(); };
    const auto emit = [messages](const MidiEvent& record, std::size_t rank) {
        messages[rank] = detail::MessageOf(record, false);
    };
    // The lists as they stand; the reader keeps them in tick order.
    const bool merged = detail::MergeByTick(
        sizes.data(), sizes.size(),
        [&](std::size_t c, std::size_t p) {
            detail::PrefetchAhead(records[c], p, sizes[c]);
            return records[c][p].Tick;
        },
        [&](std::size_t c, std::size_t p, std::size_t rank) { emit(records[c][p], rank); }, turn);
    if (!merged) {
        // Editing left a list out of tick order: merge again with every list
        // taken through the order that sorts it (stable, so records of one
        // tick keep their list order).
        std::array<std::vector<std::uint32_t>, 16> orders;
        for (std::size_t c = 0; c < channels.size(); ++c) {
            orders[c] = detail::StableTickOrder(sizes[c], [&](std::size_t i) { return records[c][i].Tick; });
        }
        const auto at = [&](std::size_t c, std::size_t p) -> const MidiEvent& {
            return records[c][orders[c].empty() ? p : orders[c][p]];
        };
        detail::MergeByTick(
            sizes.data(), sizes.size(), [&](std::size_t c, std::size_t p) { return at(c, p).Tick; },
            [&](std::size_t c, std::size_t p, std::size_t rank) { emit(at(c, p), rank); }, turn);
    }

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
    std::array<std::size_t, Count> sizes{};
    std::size_t total = 0;
    for (std::size_t s = 0; s < Count; ++s) {
        if (s == Markers) {
            sources[s] = SourceOf(lists.MarkerEvents);
        } else if (s == Sysex) {
            sources[s] = SourceOf(lists.SysexEvents);
        } else {
            sources[s] = SourceOf(*metaLists[s]);
        }
        sizes[s] = sources[s].size;
        total += sources[s].size;
    }

    auto& out = lists.SaveMetaEvents;
    out.clear();
    out.resize(total);
    detail::MergeByTick(
        sizes.data(), sizes.size(),
        [&](std::size_t s, std::size_t p) {
            const std::size_t i = sources[s].At(p);
            if (s == Markers) return lists.MarkerEvents[i].Tick;
            if (s == Sysex) return lists.SysexEvents[i].Tick;
            return (*metaLists[s])[i].Tick;
        },
        [&](std::size_t s, std::size_t p, std::size_t rank) {
            const std::size_t i = sources[s].At(p);
            if (s == Markers) {
                out[rank] = MetaFromMarker(lists.MarkerEvents[i]);
            } else if (s == Sysex) {
                out[rank] = FromSysex(lists.SysexEvents[i]);
            } else {
                out[rank] = (*metaLists[s])[i];
            }
        },
        [] {});
    return true;
}

bool StandardMidifile::InsertSaveMidiEventToContainer(const MidiEvent& event) {
    detail::InsertByTick(detail::Lists().SaveMidiEvents, detail::MessageOf(event, false), detail::Ties::After);
    return true;
}

bool StandardMidifile::InsertSaveMetaEventToContainer(const MetaEvent& event) {
    detail::InsertByTick(detail::Lists().SaveMetaEvents, event, detail::Ties::After);
    return true;
}

}  // namespace tonalux
