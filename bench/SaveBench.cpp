// Saving the 1,000,000-event arranger song as format 0 and format 1, to a
// file and to bytes in memory; writing the same number of bytes with a plain
// fwrite, and copying them in memory, for comparison; and the peak memory of
// one load followed by both saves.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <vector>

#include "BenchSongs.h"

namespace {

using namespace tonalux;

void Save(benchmark::State& state, int format) {
    const bench::SongFile& song = bench::ArrangerSongFile();
    StandardMidifile midi(nullptr);
    if (!midi.LoadMidifile(song.path)) state.SkipWithError("the song did not load");
    const std::size_t records = bench::LoadedRecords(midi);
    const std::string out = bench::BenchFolder().File(format == 0 ? "saved0.mid" : "saved1.mid");
    for (auto _ : state) {
        if (!midi.SaveMidifile(format, out)) state.SkipWithError("the song was not saved");
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * records));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * midi.WrittenBytes().size()));
    state.counters["events"] = static_cast<double>(records);
    state.counters["file_bytes"] = static_cast<double>(midi.WrittenBytes().size());
    midi.InitHauptcontainer();
}

void BM_SaveFormat0(benchmark::State& state) { Save(state, 0); }
BENCHMARK(BM_SaveFormat0)->Unit(benchmark::kMillisecond)->MinTime(1.0);

void BM_SaveFormat1(benchmark::State& state) { Save(state, 1); }
BENCHMARK(BM_SaveFormat1)->Unit(benchmark::kMillisecond)->MinTime(1.0);

void SaveBytes(benchmark::State& state, int format) {
    const bench::SongFile& song = bench::ArrangerSongFile();
    StandardMidifile midi(nullptr);
    if (!midi.LoadMidifile(song.path)) state.SkipWithError("the song did not load");
    const std::size_t records = bench::LoadedRecords(midi);
    std::vector<std::uint8_t> bytes;
    for (auto _ : state) {
        if (!midi.SaveMidiBytes(format, bytes)) state.SkipWithError("the song was not assembled");
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * records));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
    state.counters["events"] = static_cast<double>(records);
    state.counters["file_bytes"] = static_cast<double>(bytes.size());
    midi.InitHauptcontainer();
}

void BM_SaveBytesFormat0(benchmark::State& state) { SaveBytes(state, 0); }
BENCHMARK(BM_SaveBytesFormat0)->Unit(benchmark::kMillisecond)->MinTime(1.0);

void BM_SaveBytesFormat1(benchmark::State& state) { SaveBytes(state, 1); }
BENCHMARK(BM_SaveBytesFormat1)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// The floor in memory: the bytes of the song's file copied into a vector
// that has the room already, as SaveMidiBytes hands them over.
void BM_PlainCopy(benchmark::State& state) {
    const testing::Bytes file = testing::ReadFile(bench::ArrangerSongFile().path);
    std::vector<std::uint8_t> copy(file.size());
    for (auto _ : state) {
        copy = file;
        benchmark::DoNotOptimize(copy.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
    state.counters["file_bytes"] = static_cast<double>(file.size());
}
BENCHMARK(BM_PlainCopy)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// The floor: the bytes of the format 0 file written with one fwrite.
void BM_PlainFwrite(benchmark::State& state) {
    const bench::SongFile& song = bench::ArrangerSongFile();
    std::vector<std::uint8_t> bytes;
    {
        StandardMidifile midi(nullptr);
        midi.LoadMidifile(song.path);
        midi.SaveMidifile(0, bench::BenchFolder().File("saved0.mid"));
        bytes = midi.WrittenBytes();
        midi.InitHauptcontainer();
    }
    const std::string out = bench::BenchFolder().File("plain.bin");
    for (auto _ : state) {
        std::FILE* file = std::fopen(out.c_str(), "wb");
        if (file == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
            state.SkipWithError("fwrite failed");
        }
        if (file != nullptr) std::fclose(file);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
    state.counters["file_bytes"] = static_cast<double>(bytes.size());
}
BENCHMARK(BM_PlainFwrite)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// Peak resident memory of the process over one load and both saves, with the
// peak set back to the resident size just before (run it on its own:
// --benchmark_filter=PeakMemory).
void BM_PeakMemoryLoadAndBothSaves(benchmark::State& state) {
    const bench::SongFile& song = bench::ArrangerSongFile();
    StandardMidifile midi(nullptr);
    midi.InitHauptcontainer();
    const bool reset = bench::ResetPeakMemory();
    const double before = bench::StatusKilobytes("VmRSS");
    for (auto _ : state) {
        midi.LoadMidifile(song.path);
        midi.SaveMidifile(0, bench::BenchFolder().File("saved0.mid"));
        midi.SaveMidifile(1, bench::BenchFolder().File("saved1.mid"));
    }
    state.counters["rss_before_MB"] = before / 1024.0;
    state.counters["peak_MB"] = bench::StatusKilobytes("VmHWM") / 1024.0;
    if (!reset) state.SetLabel("peak not reset: includes the song generation");
    midi.InitHauptcontainer();
}
BENCHMARK(BM_PeakMemoryLoadAndBothSaves)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
