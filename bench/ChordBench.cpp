// Chords from the notes of the 1,000,000-event arranger song, against the
// time its load takes: the counter load_ratio is recognition time over load
// time (goal: at most 1). Every iteration loads the song and then recognises
// its chords, so that both are timed under the same conditions of the machine.
#include <benchmark/benchmark.h>

#include <chrono>

#include "BenchSongs.h"
#include "ChordRecognition.h"

namespace {

using namespace tonalux;

void BM_ChordsOfArrangerSong(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    StandardMidifile midi(nullptr);
    const std::string& path = bench::ArrangerSongFile().path;
    double load = 0, recognise = 0;
    std::size_t chords = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        midi.LoadMidifile(path);
        const auto loaded = Clock::now();
        const auto found = RecogniseChords(midi);
        const auto done = Clock::now();
        chords = found.size();
        benchmark::DoNotOptimize(found.data());
        load += std::chrono::duration<double>(loaded - start).count();
        recognise += std::chrono::duration<double>(done - loaded).count();
        state.SetIterationTime(std::chrono::duration<double>(done - loaded).count());
    }
    state.counters["chords"] = static_cast<double>(chords);
    state.counters["load_ms"] = load * 1000.0 / static_cast<double>(state.iterations());
    state.counters["load_ratio"] = recognise / load;
    midi.InitHauptcontainer();
}
BENCHMARK(BM_ChordsOfArrangerSong)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(1.0);

}  // namespace
