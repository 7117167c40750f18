// Access to every event list: count, read, overwrite, delete and add.
//
// Records are passed and returned by value; a copied record shares its data
// block. An index or channel outside its list is the caller's fault; it raises
// std::out_of_range rather than touching memory outside the list.
#include <string>
#include <vector>

#include "lists/Hauptcontainer.h"
#include "StandardMidifile.h"
#include "lists/TickOrder.h"

namespace tonalux {

namespace {

using detail::Lists;

template <typename Record>
std::vector<Record>& Checked(std::vector<Record>& list, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= list.size()) throw std::out_of_range("event list index");
    return list;
}

std::vector<MidiEvent>& Channel(int channel) {
    if (channel < 0 || channel > 15) throw std::out_of_range("channel");
    return Lists().ChannelEvents[static_cast<std::size_t>(channel)];
}

template <typename Record>
Record GetAt(std::vector<Record>& list, int index) {
    return Checked(list, index)[static_cast<std::size_t>(index)];
}

template <typename Record>
bool EditAt(std::vector<Record>& list, int index, const Record& record) {
    Checked(list, index)[static_cast<std::size_t>(index)] = record;
    return true;
}

template <typename Record>
bool DeleteAt(std::vector<Record>& list, int index) {
    Checked(list, index).erase(list.begin() + index);
    return true;
}

// Inserts `record` by its tick with the tie rule; with `deltas` the Delta of
// it and of the record after it are updated. A failure shows its message.
template <typename Record>
bool AddByTick(std::vector<Record>& list, const Record& record, detail::Ties ties, bool deltas, const char* failure) {
    try {
        const std::size_t at = detail::InsertByTick(list, record, ties);
        if constexpr (requires { record.Delta; }) {
            if (deltas) detail::UpdateDeltasAround(list, at);
        }
        return true;
    } catch (const std::exception&) {
        CurrentEngineHost().ShowMessage(failure);
        return false;
    }
}

// After the records of the same tick, with the Deltas updated.
bool InsertAfterEqualTicks(std::vector<MetaEvent>& list, const MetaEvent& record, const char* failure) {
    return AddByTick(list, record, detail::Ties::After, true, failure);
}

}  // namespace

// ---- channel lists ------------------------------------------------------------

int StandardMidifile::GetSizeMidievents(int channel) { return static_cast<int>(Channel(channel).size()); }
MidiEvent StandardMidifile::GetMidievent(int channel, int index) { return GetAt(Channel(channel), index); }
bool StandardMidifile::EditMidievent(int channel, int index, const MidiEvent& event) {
    return EditAt(Channel(channel), index, event);
}
bool StandardMidifile::DeleteMidievent(int channel, int index) { return DeleteAt(Channel(channel), index); }
bool StandardMidifile::AddMidievent(const MidiEvent& event) {
    Channel(event.Channel);  // refuses a channel outside 0..15
    return InsertMidiEventToConatiner(event);
}

// ---- general meta events ------------------------------------------------------------

int StandardMidifile::GetSizeMetaEvents() { return static_cast<int>(Lists().MetaEvents.size()); }
MetaEvent StandardMidifile::GetMetaEvent(int index) { return GetAt(Lists().MetaEvents, index); }
bool StandardMidifile::EditMetaEvent(int index, const MetaEvent& event) {
    return EditAt(Lists().MetaEvents, index, event);
}
bool StandardMidifile::DeleteMetaevent(int index) { return DeleteAt(Lists().MetaEvents, index); }
bool StandardMidifile::AddMetaevent(const MetaEvent& event) {
    // Before the records of the same tick, whatever its type; a failure shows
    // its message and the operation still answers true.
    InsertMetaEvent(event, event.Tick);
    return true;
}

// ---- tempo ----------------------------------------------------------------------------

int StandardMidifile::GetSizeTempoevents() { return static_cast<int>(Lists().TempoEvents.size()); }
MetaEvent StandardMidifile::GetTempoevent(int index) { return GetAt(Lists().TempoEvents, index); }
bool StandardMidifile::EditTempoevent(int index, const MetaEvent& event) {
    return EditAt(Lists().TempoEvents, index, event);
}
bool StandardMidifile::DeleteTempoevent(int index) { return DeleteAt(Lists().TempoEvents, index); }
bool StandardMidifile::AddTempoevent(const MetaEvent& event) {
    return InsertAfterEqualTicks(Lists().TempoEvents, event, "Error #1003");
}

// ---- time signatures ------------------------------------------------------------------

int StandardMidifile::GetSizeMessureEvents() { return static_cast<int>(Lists().MessureEvents.size()); }
MetaEvent StandardMidifile::GetMessure(int index) { return GetAt(Lists().MessureEvents, index); }
bool StandardMidifile::EditMessure(int index, const MetaEvent& event) {
    return EditAt(Lists().MessureEvents, index, event);
}
bool StandardMidifile::DeleteMessure(int index) { return DeleteAt(Lists().MessureEvents, index); }
bool StandardMidifile::AddMessure(const MetaEvent& event) {
    return InsertAfterEqualTicks(Lists().MessureEvents, event, "Error #1004");
}

// ---- lyrics ------------------------------------------------------------------------------

int StandardMidifile::GetSizeLyricEvents() { return static_cast<int>(Lists().LyricEvents.size()); }
MetaEvent StandardMidifile::GetLyricevent(int index) { return GetAt(Lists().LyricEvents, index); }
bool StandardMidifile::EditLyricevent(int index, const MetaEvent& event) {
    return EditAt(Lists().LyricEvents, index, event);
}
bool StandardMidifile::DeleteLyricevent(int index) { return DeleteAt(Lists().LyricEvents, index); }
bool StandardMidifile::AddLyricevent(const MetaEvent& event) {
    // After the last record whose tick is not later than the new one; at the
    // front when every record is later. The Deltas stay as they are.
    return AddByTick(Lists().LyricEvents, event, detail::Ties::After, false, "AddError #1001");
}

// ---- markers -------------------------------------------------------------------------------

int StandardMidifile::GetSizeMarkerEvents() { return static_cast<int>(Lists().MarkerEvents.size()); }
Marker StandardMidifile::GetMarkerevent(int index) { return GetAt(Lists().MarkerEvents, index); }
bool StandardMidifile::EditMarkerevent(int index, const Marker& marker) {
    return EditAt(Lists().MarkerEvents, index, marker);
}
bool StandardMidifile::DeleteMarkerevent(int index) { return DeleteAt(Lists().MarkerEvents, index); }
bool StandardMidifile::AddMarkerevent(const Marker& marker) {
    return AddByTick(Lists().MarkerEvents, marker, detail::Ties::After, false, "Error #1002");
}

// ---- keyboard chords ---------------------------------------------------------------------

int StandardMidifile::GetSizeYamChordEvents() { return static_cast<int>(Lists().YamChordEvents.size()); }
MetaEvent StandardMidifile::GetYamchord(int index) { return GetAt(Lists().YamChordEvents, index); }
bool StandardMidifile::EditYamchord(int index, const MetaEvent& event) {
    return EditAt(Lists().YamChordEvents, index, event);
}
bool StandardMidifile::DeleteYamchord(int index) { return DeleteAt(Lists().YamChordEvents, index); }
bool StandardMidifile::AddYamchord(const MetaEvent& event) {
    return InsertAfterEqualTicks(Lists().YamChordEvents, event, "Error #1005");
}

// ---- system-exclusive events -------------------------------------------------------------

int StandardMidifile::GetSizeSysexEvents() { return static_cast<int>(Lists().SysexEvents.size()); }
SysexEvent StandardMidifile::GetSysex(int index) { return GetAt(Lists().SysexEvents, index); }
bool StandardMidifile::EditSysex(int index, const SysexEvent& event) {
    return EditAt(Lists().SysexEvents, index, event);
}
bool StandardMidifile::DeleteSysex(int index) { return DeleteAt(Lists().SysexEvents, index); }
bool StandardMidifile::AddSysex(const SysexEvent& event) {
    // Appended whatever its tick; the writers order the records by tick.
    try {
        Lists().SysexEvents.push_back(event);
        return true;
    } catch (const std::exception&) {
        CurrentEngineHost().ShowMessage("AddError #1006");
        return false;
    }
}

}  // namespace tonalux
