// Loading the 1,000,000-event arranger song from a file and from its bytes in
// memory, and the song whose two tracks share one channel, the second
// reaching back in time.
#include <benchmark/benchmark.h>

#include "BenchSongs.h"

namespace {

using namespace tonalux;

void Load(benchmark::State& state, const bench::SongFile& song) {
    StandardMidifile midi(nullptr);
    std::size_t records = 0;
    for (auto _ : state) {
        if (!midi.LoadMidifile(song.path)) state.SkipWithError("the song did not load");
        records = bench::LoadedRecords(midi);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * records));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * song.bytes));
    state.counters["events"] = static_cast<double>(records);
    midi.InitHauptcontainer();
}

void BM_LoadArrangerSong(benchmark::State& state) { Load(state, bench::ArrangerSongFile()); }
BENCHMARK(BM_LoadArrangerSong)->Unit(benchmark::kMillisecond)->MinTime(1.0);

void BM_LoadSharedChannelSong(benchmark::State& state) { Load(state, bench::SharedChannelFile()); }
BENCHMARK(BM_LoadSharedChannelSong)->Unit(benchmark::kMillisecond)->MinTime(1.0);

void LoadBytes(benchmark::State& state, const bench::SongFile& song) {
    const testing::Bytes bytes = testing::ReadFile(song.path);
    StandardMidifile midi(nullptr);
    std::size_t records = 0;
    for (auto _ : state) {
        if (!midi.LoadMidiBytes(bytes.data(), bytes.size())) state.SkipWithError("the song did not load");
        records = bench::LoadedRecords(midi);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * records));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
    state.counters["events"] = static_cast<double>(records);
    midi.InitHauptcontainer();
}

void BM_LoadBytesArrangerSong(benchmark::State& state) { LoadBytes(state, bench::ArrangerSongFile()); }
BENCHMARK(BM_LoadBytesArrangerSong)->Unit(benchmark::kMillisecond)->MinTime(1.0);

void BM_LoadBytesSharedChannelSong(benchmark::State& state) { LoadBytes(state, bench::SharedChannelFile()); }
BENCHMARK(BM_LoadBytesSharedChannelSong)->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace
