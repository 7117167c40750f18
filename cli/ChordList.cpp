#include "ChordList.h"

#include "SongRecords.h"
#include "StandardMidifile.h"

namespace tonalux::cli {

std::vector<ChordEntry> DecodeChords(StandardMidifile& engine) {
    std::vector<ChordEntry> entries;
    const int size = engine.GetSizeYamChordEvents();
    entries.reserve(static_cast<std::size_t>(size));
    for (int i = 0; i < size; ++i) {
        const MetaEvent chord = engine.GetYamchord(i);
        ChordEntry entry;
        entry.Tick = chord.Tick;
        // Every record of the chord list carries seven data bytes; the check
        // keeps a record added by other means from being read past its end.
        if (!chord.Data || chord.Length < 7) {
            entry.Error = "the record is shorter than a chord event";
            entries.push_back(std::move(entry));
            continue;
        }
        entry.Root = chord.Data[3];
        try {
            entry.Name = engine.YamChordCalculate(chord);
        } catch (const ChordDecodeError& error) {
            entry.Error = error.what();
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::string ChordErrorText(const ChordEntry& entry) {
    return "chord at tick " + std::to_string(entry.Tick) + " (root " + HexBytes({entry.Root}) +
           ") cannot be decoded: " + entry.Error;
}

}  // namespace tonalux::cli
