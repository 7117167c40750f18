// libFuzzer target over the chord recognition: any song the reader takes.
//
// The input is loaded from memory; the chords its notes suggest are
// recognised and put into the chord list in place of the song's own. The
// target stops when a recognised event is no chord event of the types the
// recognition writes, when the events are not in tick order or two share a
// tick, when the recognition changes any other list, or when the song saved
// with the chords and loaded again does not give back exactly those chords.
#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "ChordRecognition.h"
#include "FuzzSupport.h"
#include "StandardMidifile.h"

namespace {

using tonalux::MetaEvent;
using tonalux::StandardMidifile;
using tonalux::fuzz::Check;
using tonalux::fuzz::RecordBytes;

// The types the recognition may write (see ChordRecognition.h).
constexpr std::array<std::uint8_t, 15> kWrittenTypes{0, 1, 2, 4, 7, 8, 9, 10, 11, 17, 18, 19, 20, 32, 34};

std::vector<std::vector<std::uint8_t>> ChordList(StandardMidifile& midi) {
    std::vector<std::vector<std::uint8_t>> list;
    for (int i = 0, n = midi.GetSizeYamChordEvents(); i < n; ++i) list.push_back(RecordBytes(midi.GetYamchord(i)));
    return list;
}

// The sizes of every list but the chord list.
std::vector<int> OtherLists(StandardMidifile& midi) {
    std::vector<int> sizes;
    for (int c = 0; c < 16; ++c) sizes.push_back(midi.GetSizeMidievents(c));
    sizes.push_back(midi.GetSizeMetaEvents());
    sizes.push_back(midi.GetSizeTempoevents());
    sizes.push_back(midi.GetSizeMessureEvents());
    sizes.push_back(midi.GetSizeLyricEvents());
    sizes.push_back(midi.GetSizeMarkerEvents());
    sizes.push_back(midi.GetSizeSysexEvents());
    return sizes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tonalux::fuzz::QuietHost& host = tonalux::fuzz::InstalledHost();
    StandardMidifile midi(nullptr);
    if (!midi.LoadMidiBytes(data, size)) return 0;
    const std::vector<int> before = OtherLists(midi);

    const std::vector<MetaEvent> chords = tonalux::RecogniseChords(midi);
    std::uint64_t lastTick = 0;
    for (std::size_t i = 0; i < chords.size(); ++i) {
        const MetaEvent& e = chords[i];
        Check(e.Status == 0xFF && e.Type == 0x7F && e.Length == 7 && e.Data.get() != nullptr, "no keyboard chord event");
        const std::uint8_t* d = e.Data.get();
        Check(d[0] == 0x43 && d[1] == 0x7B && d[2] == 0x01, "chord event without its identifier");
        Check(std::find(kWrittenTypes.begin(), kWrittenTypes.end(), d[4]) != kWrittenTypes.end(),
              "chord type the recognition does not write");
        Check(d[4] == tonalux::kNoChordType || midi.YamChordCalculate(e).size() > 0, "chord without a name");
        Check(i == 0 || e.Tick > lastTick, "chord events out of tick order or on one tick");
        lastTick = e.Tick;
    }

    const tonalux::ChordRecognitionResult result = tonalux::AddChordsFromNotes(midi, true);
    Check(OtherLists(midi) == before, "the recognition changed a list besides the chords");
    if (result.Outcome != tonalux::ChordsFromNotes::Added) return 0;
    Check(result.Events == chords.size(), "the recognition added other chords than it suggests");
    const auto added = ChordList(midi);

    std::vector<std::uint8_t> saved;
    Check(midi.SaveMidiBytes(1, saved), "song with chords not saved");
    host.Forget();
    Check(midi.LoadMidiBytes(saved.data(), saved.size()), "song with chords refused by the reader");
    Check(!host.damage && !host.other, "reader reported damage in the song with chords");
    Check(ChordList(midi) == added, "the saved song does not give back its chords");
    return 0;
}
