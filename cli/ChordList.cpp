#include "ChordList.h"

#include "Console.h"
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
        // The root names a note only with a letter (low digit 1 to 7) and an
        // accidental of the table (high digit 0 to 6); any other byte would
        // give a name without a note, such as "" or "bbb".
        const unsigned accidental = entry.Root >> 4;
        const unsigned letter = entry.Root & 0x0F;
        if (letter < 1 || letter > 7 || accidental > 6) {
            entry.Error = "root byte " + HexBytes({entry.Root}) + " names no note";
            entries.push_back(std::move(entry));
            continue;
        }
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
    return "chord at tick " + std::to_string(entry.Tick) + " cannot be decoded: " + entry.Error;
}

bool ReportUndecodableChords(const std::string& command, const std::vector<ChordEntry>& chords) {
    bool any = false;
    for (const auto& chord : chords)
        if (!chord.Name) {
            PrintError(command, ChordErrorText(chord));
            any = true;
        }
    return any;
}

}  // namespace tonalux::cli
