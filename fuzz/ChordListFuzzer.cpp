// libFuzzer target over the chord list that set-chords reads ("TICK NAME" a
// line).
//
// The input is read as a list. The target stops when a list with problems
// still gives chords, when a chord is no keyboard chord event with its own
// bass type, when the chords are not in tick order, or when the list the
// chords print as (each chord's name as the chords command gives it) does
// not read back into the same chord events.
#include <cstdint>
#include <string>
#include <vector>

#include "ChordListReading.h"
#include "FuzzSupport.h"
#include "StandardMidifile.h"

using tonalux::MetaEvent;
using tonalux::fuzz::Check;
using tonalux::fuzz::RecordBytes;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tonalux::fuzz::InstalledHost();
    const std::string text(reinterpret_cast<const char*>(data), size);
    const tonalux::cli::ChordListReading reading = tonalux::cli::ReadChordList(text);
    if (!reading.Problems.empty()) {
        Check(reading.Chords.empty(), "a list with problems gives chords");
        return 0;
    }
    static tonalux::StandardMidifile names(nullptr);
    std::string printed;
    std::uint32_t lastTick = 0;
    for (const MetaEvent& chord : reading.Chords) {
        Check(chord.Status == 0xFF && chord.Type == 0x7F && chord.Length == 7 && chord.Data.get() != nullptr,
              "no keyboard chord event");
        const std::uint8_t* d = chord.Data.get();
        Check(d[0] == 0x43 && d[1] == 0x7B && d[2] == 0x01 && d[6] == 0x7F, "chord event without its identifier");
        Check(chord.Tick >= lastTick, "chords out of tick order");
        lastTick = chord.Tick;
        printed += std::to_string(chord.Tick) + ' ' + names.YamChordCalculate(chord) + '\n';
    }
    const tonalux::cli::ChordListReading again = tonalux::cli::ReadChordList(printed);
    Check(again.Problems.empty(), "the printed chords are refused");
    Check(again.Chords.size() == reading.Chords.size(), "the printed chords read back as another number");
    for (std::size_t i = 0; i < again.Chords.size(); ++i)
        Check(RecordBytes(again.Chords[i]) == RecordBytes(reading.Chords[i]), "a printed chord reads back as another");
    return 0;
}
