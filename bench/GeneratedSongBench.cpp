// The main job on the song of the shared generator (BenchSongs.h), the shape
// the arranger songs of the project's own generator do not have: sixteen
// channel tracks that interleave over the whole song. A fresh object loads
// it, as a conversion does for every song; the loaded song is saved as
// format 0 and as format 1; the full job loads and saves both formats. The
// floors beside them: the file read whole with one fread, and its bytes
// copied in memory.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "BenchSongs.h"

namespace {

using namespace tonalux;

void SetFigures(benchmark::State& state, std::size_t records, std::size_t bytes) {
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * records));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
    state.counters["events"] = static_cast<double>(records);
}

void BM_GeneratedSongFreshLoad(benchmark::State& state) {
    const bench::SongFile* song = bench::GeneratedSongOrSkip(state);
    if (song == nullptr) return;
    std::size_t records = 0;
    for (auto _ : state) {
        StandardMidifile midi(nullptr);
        if (!midi.LoadMidifile(song->path)) state.SkipWithError("the song did not load");
        records = bench::LoadedRecords(midi);
    }
    SetFigures(state, records, song->bytes);
    StandardMidifile(nullptr).InitHauptcontainer();
}
BENCHMARK(BM_GeneratedSongFreshLoad)->Unit(benchmark::kMillisecond)->MinTime(1.0);

void Save(benchmark::State& state, int format) {
    const bench::SongFile* song = bench::GeneratedSongOrSkip(state);
    if (song == nullptr) return;
    StandardMidifile midi(nullptr);
    if (!midi.LoadMidifile(song->path)) state.SkipWithError("the song did not load");
    const std::size_t records = bench::LoadedRecords(midi);
    const std::string out = bench::BenchFolder().File(format == 0 ? "generated0.mid" : "generated1.mid");
    for (auto _ : state) {
        if (!midi.SaveMidifile(format, out)) state.SkipWithError("the song was not saved");
    }
    SetFigures(state, records, midi.WrittenBytes().size());
    midi.InitHauptcontainer();
}

void BM_GeneratedSongSaveFormat0(benchmark::State& state) { Save(state, 0); }
BENCHMARK(BM_GeneratedSongSaveFormat0)->Unit(benchmark::kMillisecond)->MinTime(1.0);

void BM_GeneratedSongSaveFormat1(benchmark::State& state) { Save(state, 1); }
BENCHMARK(BM_GeneratedSongSaveFormat1)->Unit(benchmark::kMillisecond)->MinTime(1.0);

void BM_GeneratedSongFullJob(benchmark::State& state) {
    const bench::SongFile* song = bench::GeneratedSongOrSkip(state);
    if (song == nullptr) return;
    const std::string out0 = bench::BenchFolder().File("generated0.mid");
    const std::string out1 = bench::BenchFolder().File("generated1.mid");
    std::size_t records = 0;
    for (auto _ : state) {
        StandardMidifile midi(nullptr);
        if (!midi.LoadMidifile(song->path) || !midi.SaveMidifile(0, out0) || !midi.SaveMidifile(1, out1)) {
            state.SkipWithError("the job failed");
        }
        records = bench::LoadedRecords(midi);
    }
    SetFigures(state, records, song->bytes);
    StandardMidifile(nullptr).InitHauptcontainer();
}
BENCHMARK(BM_GeneratedSongFullJob)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// The file read whole into a buffer of its size, as a reader must at least.
void BM_GeneratedSongPlainRead(benchmark::State& state) {
    const bench::SongFile* song = bench::GeneratedSongOrSkip(state);
    if (song == nullptr) return;
    std::vector<std::uint8_t> bytes(song->bytes);
    for (auto _ : state) {
        std::FILE* file = std::fopen(song->path.c_str(), "rb");
        if (file == nullptr || std::fread(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
            state.SkipWithError("fread failed");
        }
        if (file != nullptr) std::fclose(file);
        benchmark::DoNotOptimize(bytes.data());
    }
    SetFigures(state, 0, song->bytes);
}
BENCHMARK(BM_GeneratedSongPlainRead)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// The file's bytes copied in memory, into room that is there already.
void BM_GeneratedSongPlainCopy(benchmark::State& state) {
    const bench::SongFile* song = bench::GeneratedSongOrSkip(state);
    if (song == nullptr) return;
    const testing::Bytes file = testing::ReadFile(song->path);
    std::vector<std::uint8_t> copy(file.size());
    for (auto _ : state) {
        std::memcpy(copy.data(), file.data(), file.size());
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
    SetFigures(state, 0, file.size());
}
BENCHMARK(BM_GeneratedSongPlainCopy)->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace
