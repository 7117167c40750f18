// Removal of the vocoder messages from a song with 100,000 system-exclusive
// messages, half of them vocoder messages. Only the removal is timed; the
// list is rebuilt before every run with the timer paused.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "StandardMidifile.h"

namespace {

using tonalux::DataBlock;
using tonalux::StandardMidifile;
using tonalux::SysexEvent;

SysexEvent Message(std::uint32_t tick, std::vector<std::uint8_t> body) {
    DataBlock block = std::make_shared<std::uint8_t[]>(body.size() + 1);
    for (std::size_t i = 0; i < body.size(); ++i) block[i] = body[i];
    return SysexEvent{tick, 0, 0xF0, body[0], static_cast<std::uint32_t>(body.size()), block};
}

void BM_DeleteVocoderNachrichten(benchmark::State& state) {
    const auto count = static_cast<std::uint32_t>(state.range(0));
    const SysexEvent vocoder = Message(0, {0x43, 0x10, 0x4C, 0x04, 0x00, 0x20, 0x40, 0xF7});
    const SysexEvent xgParameter = Message(0, {0x43, 0x10, 0x4C, 0x02, 0x01, 0x00, 0x01, 0xF7});
    StandardMidifile engine(nullptr);
    for (auto _ : state) {
        state.PauseTiming();
        engine.InitHauptcontainer();
        for (std::uint32_t i = 0; i < count; ++i) {
            SysexEvent e = (i % 2 == 0) ? vocoder : xgParameter;
            e.Tick = i * 10;
            engine.AddSysex(e);
        }
        state.ResumeTiming();
        engine.DeleteVocoderNachrichten();
        benchmark::DoNotOptimize(engine.GetSizeSysexEvents());
    }
    if (engine.GetSizeSysexEvents() != static_cast<int>(count / 2)) state.SkipWithError("wrong number of messages left");
    engine.InitHauptcontainer();
}
BENCHMARK(BM_DeleteVocoderNachrichten)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
