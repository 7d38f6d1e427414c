// Whole-engine rendering cost, reported as seconds of audio rendered per second of CPU time
// ("realtime_x": 1 means exactly the real-time budget of one core).
#include <benchmark/benchmark.h>

#include <vector>

#include "engine/synth_engine.h"

namespace {

void BM_EngineRender(benchmark::State& state) {
    quenvale::SynthEngine engine;
    const int voices = static_cast<int>(state.range(0));
    const int block = static_cast<int>(state.range(1));
    for (int n = 0; n < voices; ++n) {
        const quenvale::MidiEntry on{0x90, static_cast<uint8_t>(36 + n), 100, 0};
        engine.processMidi(&on, 1);
    }
    std::vector<float> l(static_cast<size_t>(block)), r(static_cast<size_t>(block));
    int64_t samples = 0;
    for (auto _ : state) {
        engine.render(l.data(), r.data(), block);
        benchmark::DoNotOptimize(l.data());
        benchmark::DoNotOptimize(r.data());
        samples += block;
    }
    state.counters["realtime_x"] =
        benchmark::Counter(static_cast<double>(samples) / 44100.0, benchmark::Counter::kIsRate);
}

BENCHMARK(BM_EngineRender)->Args({1, 512})->Args({8, 512})->Args({32, 512})->Args({32, 37});

}  // namespace
