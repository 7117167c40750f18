// The songs the benchmarks load, written once per run into a temporary
// folder that is removed at exit, and the memory figures of the process.
#pragma once

#include <benchmark/benchmark.h>

#include <cstddef>
#include <fstream>
#include <string>

#include "ArrangerSong.h"
#include "StandardMidifile.h"
#include "TestSupport.h"

namespace tonalux::bench {

struct SongFile {
    std::string path;
    std::size_t bytes = 0;
};

inline const testing::TempDir& BenchFolder() {
    static const testing::TempDir folder;
    return folder;
}

// The 1,000,000-event arranger song.
inline const SongFile& ArrangerSongFile() {
    static const SongFile song = [] {
        const testing::Bytes bytes = testing::ArrangerSong(1'000'000);
        SongFile file{BenchFolder().File("arranger-1m.mid"), bytes.size()};
        testing::WriteFile(file.path, bytes);
        return file;
    }();
    return song;
}

// Two tracks of 500,000 events each on one channel.
inline const SongFile& SharedChannelFile() {
    static const SongFile song = [] {
        const testing::Bytes bytes = testing::SharedChannelSong(500'000);
        SongFile file{BenchFolder().File("shared-channel.mid"), bytes.size()};
        testing::WriteFile(file.path, bytes);
        return file;
    }();
    return song;
}

// The song make bench writes with the shared generator: format 1, a meta
// track and one track per channel, all sixteen channels playing at once
// (1,000,353 records, 4 MB). Nothing when it has not been written.
inline const SongFile* GeneratedSong() {
    static const SongFile song = [] {
        SongFile file{TONALUX_GENERATED_SONG, 0};
        std::ifstream in(file.path, std::ios::binary | std::ios::ate);
        if (in) file.bytes = static_cast<std::size_t>(in.tellg());
        return file;
    }();
    return song.bytes == 0 ? nullptr : &song;
}

// The generated song, or the benchmark passed over with the reason.
inline const SongFile* GeneratedSongOrSkip(benchmark::State& state) {
    const SongFile* song = GeneratedSong();
    if (song == nullptr) {
        state.SkipWithError(TONALUX_GENERATED_SONG " is missing: make bench writes it with the shared song generator");
    }
    return song;
}

// Every record in the lists after a load.
inline std::size_t LoadedRecords(StandardMidifile& midi) {
    std::size_t count = 0;
    for (int c = 0; c < 16; ++c) count += static_cast<std::size_t>(midi.GetSizeMidievents(c));
    count += static_cast<std::size_t>(midi.GetSizeMetaEvents() + midi.GetSizeTempoevents() +
                                      midi.GetSizeMessureEvents() + midi.GetSizeLyricEvents() +
                                      midi.GetSizeMarkerEvents() + midi.GetSizeYamChordEvents() +
                                      midi.GetSizeSysexEvents());
    return count;
}

// A field of /proc/self/status in kilobytes ("VmHWM", "VmRSS"); 0 if absent.
inline double StatusKilobytes(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string name;
    while (status >> name) {
        if (name == field + ":") {
            double kb = 0;
            status >> kb;
            return kb;
        }
        std::getline(status, name);
    }
    return 0;
}

// Sets the peak resident size back to the current one; false where the
// system does not allow it.
inline bool ResetPeakMemory() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    clear.flush();
    return static_cast<bool>(clear);
}

}  // namespace tonalux::bench
