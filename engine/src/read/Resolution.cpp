// Meta-event resolution: tempo, time-signature, lyric, marker and keyboard
// chord events move from MetaEvents into their own lists, so that MetaEvents
// keeps only the meta events no other part of the engine interprets. Each
// step is one linear pass: matching records are appended to the target list
// in the order of MetaEvents, the others close up behind them.
#include <algorithm>

#include "lists/Hauptcontainer.h"
#include "MidiBytes.h"
#include "StandardMidifile.h"

namespace tonalux {

namespace {

using detail::Lists;

template <typename Matches, typename Move>
void MoveOut(Matches matches, Move move) {
    auto& meta = Lists().MetaEvents;
    auto keep = meta.begin();
    for (auto it = meta.begin(); it != meta.end(); ++it) {
        if (matches(*it)) {
            move(*it);
        } else {
            if (keep != it) *keep = std::move(*it);
            ++keep;
        }
    }
    meta.erase(keep, meta.end());
}

// Typed lists get the record without a meaningful Delta.
MetaEvent TypedCopy(const MetaEvent& event) {
    MetaEvent copy = event;
    copy.Delta = 0;
    return copy;
}

void MoveType(std::uint8_t type, std::vector<MetaEvent>& target) {
    MoveOut([type](const MetaEvent& e) { return e.Type == type; },
            [&target](const MetaEvent& e) { target.push_back(TypedCopy(e)); });
}

bool IsKeyboardChord(const MetaEvent& e) { return IsKeyboardChordEvent(e.Type, e.Length, e.Data.get()); }

}  // namespace

bool StandardMidifile::DatenAufloesen() {
    MarkerAufloesen();
    TempoAufloesen();
    LyricAufloesen();
    TaktartAufloesen();
    YamChordAufloesen();
    return true;
}

bool StandardMidifile::MarkerAufloesen() {
    auto& markers = Lists().MarkerEvents;
    MoveOut([](const MetaEvent& e) { return e.Type == kMarkerType; },
            [&markers](const MetaEvent& e) { markers.push_back(MarkerFromMeta(e)); });
    return true;
}

bool StandardMidifile::TempoAufloesen() {
    MoveType(kTempoType, Lists().TempoEvents);
    return true;
}

bool StandardMidifile::LyricAufloesen() {
    MoveType(kLyricType, Lists().LyricEvents);
    return true;
}

bool StandardMidifile::TaktartAufloesen() {
    MoveType(kTimeSignatureType, Lists().MessureEvents);
    return true;
}

bool StandardMidifile::YamChordAufloesen() {
    auto& chords = Lists().YamChordEvents;
    MoveOut(IsKeyboardChord, [&chords](const MetaEvent& e) { chords.push_back(TypedCopy(e)); });
    return true;
}

}  // namespace tonalux
