// libFuzzer target over the reader and both writers.
//
// Every input is loaded as a file, saved as format 0 and as format 1, and each
// output is loaded again. Beyond the sanitizers, the target stops on any of
// these faults:
//  - an output file differs from the bytes the writer assembled, or from
//    the bytes saved in memory;
//  - the reader finds damage in a file the writer produced;
//  - reloading an output does not give back every record of the first load
//    (the format 1 writer turns note-on velocity 0 into note-off, nothing else
//    may change);
//  - saving the reloaded song does not give the same bytes again.
// The input's last byte holds two switches: bit 0 turns the start-at-first-
// note option on, so that the song shift is fuzzed too; bit 1 reverses the
// ticks of every list after the load, as an editing caller may leave them,
// and the outputs must then hold each list sorted by tick, equal ticks in
// list order.
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "FuzzSupport.h"
#include "StandardMidifile.h"

namespace {

using tonalux::MetaEvent;
using tonalux::MidiEvent;
using tonalux::StandardMidifile;
using Bytes = std::vector<std::uint8_t>;
using tonalux::fuzz::Check;
using tonalux::fuzz::QuietHost;

// Everything a load leaves in the lists, in list order, each record as its
// tick and comparable text.
using List = std::vector<std::pair<std::uint32_t, std::string>>;
struct Song {
    std::uint16_t division = 0;
    std::array<List, 16> channels;
    std::array<List, 7> metaLists;  // general, tempo, time signature, lyric, marker, chord, sysex

    bool operator==(const Song&) const = default;

    // Each list in the order a writer puts it: by tick, equal ticks in list order.
    Song SortedByTick() const {
        Song sorted = *this;
        const auto byTick = [](const auto& a, const auto& b) { return a.first < b.first; };
        for (auto& list : sorted.channels) std::stable_sort(list.begin(), list.end(), byTick);
        for (auto& list : sorted.metaLists) std::stable_sort(list.begin(), list.end(), byTick);
        return sorted;
    }
};

std::pair<std::uint32_t, std::string> Record(std::uint32_t tick, std::uint8_t status, std::uint8_t type,
                                             std::uint32_t length, const std::uint8_t* data) {
    std::string out = std::to_string(status) + ':' + std::to_string(type) + ':' + std::to_string(length) + ':';
    if (data != nullptr) out.append(reinterpret_cast<const char*>(data), length);
    return {tick, out};
}

std::pair<std::uint32_t, std::string> Record(const MetaEvent& e) {
    return Record(e.Tick, e.Status, e.Type, e.Length, e.Data.get());
}

// noteOffRule: note-on velocity 0 is taken as the note-off the format 1 writer makes of it.
Song Snapshot(StandardMidifile& midi, bool noteOffRule) {
    Song song;
    song.division = midi.Division;
    for (int c = 0; c < 16; ++c) {
        const int n = midi.GetSizeMidievents(c);
        for (int i = 0; i < n; ++i) {
            const MidiEvent e = midi.GetMidievent(c, i);
            // A damaged file can give a data byte of 0x80 or more; the writers
            // leave such a record out rather than write an unreadable file.
            if (e.Data1 >= 0x80 || e.Data2 >= 0x80) continue;
            std::uint8_t status = e.Status;
            if (noteOffRule && e.Kind == 0x90 && e.Data2 == 0) status = static_cast<std::uint8_t>(0x80 | (status & 0x0F));
            song.channels[static_cast<std::size_t>(c)].emplace_back(
                e.Tick, std::to_string(status) + ':' + std::to_string(e.Data1) + ':' + std::to_string(e.Data2) + ':' +
                            std::to_string(e.Channel) + ':' + std::to_string(e.Kind == (e.Status & 0xF0)));
        }
    }
    auto& m = song.metaLists;
    for (int i = 0, n = midi.GetSizeMetaEvents(); i < n; ++i) m[0].push_back(Record(midi.GetMetaEvent(i)));
    for (int i = 0, n = midi.GetSizeTempoevents(); i < n; ++i) m[1].push_back(Record(midi.GetTempoevent(i)));
    for (int i = 0, n = midi.GetSizeMessureEvents(); i < n; ++i) m[2].push_back(Record(midi.GetMessure(i)));
    for (int i = 0, n = midi.GetSizeLyricEvents(); i < n; ++i) m[3].push_back(Record(midi.GetLyricevent(i)));
    for (int i = 0, n = midi.GetSizeMarkerEvents(); i < n; ++i) {
        const auto e = midi.GetMarkerevent(i);
        m[4].push_back(Record(e.Tick, e.Status, e.Type, e.Length, e.Data.get()));
    }
    for (int i = 0, n = midi.GetSizeYamChordEvents(); i < n; ++i) m[5].push_back(Record(midi.GetYamchord(i)));
    for (int i = 0, n = midi.GetSizeSysexEvents(); i < n; ++i) {
        const auto e = midi.GetSysex(i);
        m[6].push_back(Record(e.Tick, e.Status, e.Manufacturer, e.Length, e.Data.get()));
    }
    return song;
}

// Gives the records of a list the ticks of the list in reverse, leaving them
// in falling tick order.
template <typename Get, typename Edit>
void ReverseTicks(int size, Get get, Edit edit) {
    std::vector<std::uint32_t> ticks;
    for (int i = 0; i < size; ++i) ticks.push_back(get(i).Tick);
    for (int i = 0; i < size; ++i) {
        auto record = get(i);
        record.Tick = ticks[static_cast<std::size_t>(size - 1 - i)];
        edit(i, record);
    }
}

void ReverseAllTicks(StandardMidifile& m) {
    for (int c = 0; c < 16; ++c) {
        ReverseTicks(m.GetSizeMidievents(c), [&](int i) { return m.GetMidievent(c, i); },
                     [&](int i, const MidiEvent& e) { m.EditMidievent(c, i, e); });
    }
    ReverseTicks(m.GetSizeMetaEvents(), [&](int i) { return m.GetMetaEvent(i); },
                 [&](int i, const MetaEvent& e) { m.EditMetaEvent(i, e); });
    ReverseTicks(m.GetSizeTempoevents(), [&](int i) { return m.GetTempoevent(i); },
                 [&](int i, const MetaEvent& e) { m.EditTempoevent(i, e); });
    ReverseTicks(m.GetSizeMessureEvents(), [&](int i) { return m.GetMessure(i); },
                 [&](int i, const MetaEvent& e) { m.EditMessure(i, e); });
    ReverseTicks(m.GetSizeLyricEvents(), [&](int i) { return m.GetLyricevent(i); },
                 [&](int i, const MetaEvent& e) { m.EditLyricevent(i, e); });
    ReverseTicks(m.GetSizeMarkerEvents(), [&](int i) { return m.GetMarkerevent(i); },
                 [&](int i, const tonalux::Marker& e) { m.EditMarkerevent(i, e); });
    ReverseTicks(m.GetSizeYamChordEvents(), [&](int i) { return m.GetYamchord(i); },
                 [&](int i, const MetaEvent& e) { m.EditYamchord(i, e); });
    ReverseTicks(m.GetSizeSysexEvents(), [&](int i) { return m.GetSysex(i); },
                 [&](int i, const tonalux::SysexEvent& e) { m.EditSysex(i, e); });
}

bool WriteAll(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    const bool written = size == 0 || std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && written;
}

Bytes ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Per-process file names in a memory-backed folder where there is one.
std::string WorkFile(const char* name) {
    static const std::filesystem::path folder = [] {
        std::error_code ec;
        if (std::filesystem::is_directory("/dev/shm", ec)) return std::filesystem::path("/dev/shm");
        return std::filesystem::temp_directory_path();
    }();
    return (folder / ("tonalux-fuzz-" + std::to_string(::getpid()) + "-" + name)).string();
}

// Saves in a format and checks the file against the assembled bytes.
Bytes SaveChecked(StandardMidifile& midi, int format, const std::string& path) {
    Check(midi.SaveMidifile(format, path), "save failed");
    Bytes written = ReadAll(path);
    Check(written == midi.WrittenBytes(), "file differs from the assembled bytes");
    Bytes inMemory;
    Check(midi.SaveMidiBytes(format, inMemory), "save to bytes failed");
    Check(inMemory == written, "bytes saved in memory differ from the file");
    return written;
}

// Loads a file the writer produced and checks that the reader takes it whole.
void LoadOutput(StandardMidifile& midi, QuietHost& host, const std::string& path) {
    host.Forget();
    Check(midi.LoadMidifile(path), "output refused by the reader");
    Check(!host.damage && !host.other, "reader reported damage in the writer's output");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QuietHost& host = tonalux::fuzz::InstalledHost();
    static const std::string input = WorkFile("in.mid");
    static const std::string out0 = WorkFile("out0.mid");
    static const std::string out1 = WorkFile("out1.mid");
    static const std::string again = WorkFile("again.mid");
    static const int cleanup = std::atexit([] {
        for (const std::string* path : {&input, &out0, &out1, &again}) std::remove(path->c_str());
    });
    (void)cleanup;

    if (!WriteAll(input, data, size)) return 0;

    StandardMidifile midi(nullptr);
    midi.SetStartFirstNote(size > 0 && (data[size - 1] & 1) != 0);
    midi.LoadMidifile(input);
    const bool edited = size > 0 && (data[size - 1] & 2) != 0;
    if (edited) ReverseAllTicks(midi);
    const Song loaded = Snapshot(midi, false).SortedByTick();
    const Song loadedAsFormat1 = Snapshot(midi, true).SortedByTick();

    const Bytes format0 = SaveChecked(midi, 0, out0);
    const Bytes format1 = SaveChecked(midi, 1, out1);

    LoadOutput(midi, host, out0);
    Check(Snapshot(midi, false) == loaded, "format 0 output does not hold the song");
    Check(SaveChecked(midi, 0, again) == format0, "format 0 output changes when saved again");

    LoadOutput(midi, host, out1);
    Check(Snapshot(midi, false) == loadedAsFormat1, "format 1 output does not hold the song");
    Check(SaveChecked(midi, 1, again) == format1, "format 1 output changes when saved again");
    return 0;
}
