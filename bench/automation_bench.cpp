// Host automation density: blocks of 512 samples at 32 voices with 0, 1, 16 or 64 automated
// parameters stored before each block (as a host does on the audio thread). Stores between two
// blocks are coalesced into one voice refresh at the start of the next block, so the cost per
// block should stay close to the plain render's whatever the density ("refreshes" per block ≤ 1).
// BM_AudioThreadStore is the cost of one store on the audio thread alone.
#include <benchmark/benchmark.h>

#include <vector>

#include "engine/synth_engine.h"
#include "params/parameter_index.h"

namespace {

constexpr int kBlock = 512;

// Values of the generator, the envelopes, the voice LFOs and the effects, in turn.
int32_t automatedParameter(int k) {
    static const int32_t picks[] = {8,   9,   10,  13,  39,  49,  50,  54,  55,  107, 108, 110,
                                    129, 130, 151, 152, 332, 333, 334, 335, 358, 359, 360, 361};
    return picks[k % static_cast<int>(sizeof picks / sizeof picks[0])];
}

void startVoices(quenvale::SynthEngine& engine, int voices) {
    for (int n = 0; n < voices; ++n) {
        const quenvale::MidiEntry on{0x90, static_cast<uint8_t>(36 + n), 100, 0};
        engine.processMidi(&on, 1);
    }
}

void BM_AutomationDensity(benchmark::State& state) {
    quenvale::SynthEngine engine;
    const int parameters = static_cast<int>(state.range(0));
    startVoices(engine, 32);
    std::vector<float> l(kBlock), r(kBlock);
    engine.render(l.data(), r.data(), kBlock);
    std::vector<float> base(64);
    for (int k = 0; k < 64; ++k)
        base[static_cast<size_t>(k)] = engine.getParameterNormalized(0, automatedParameter(k));
    const uint64_t refreshesBefore = engine.refreshCount();
    int64_t blocks = 0;
    for (auto _ : state) {
        const float wobble = (blocks & 1) != 0 ? 0.001f : -0.001f;
        for (int k = 0; k < parameters; ++k)
            engine.setParameterNormalized(0, automatedParameter(k), base[static_cast<size_t>(k)] + wobble);
        engine.render(l.data(), r.data(), kBlock);
        benchmark::DoNotOptimize(l.data());
        ++blocks;
    }
    state.counters["refreshes_per_block"] =
        static_cast<double>(engine.refreshCount() - refreshesBefore) / static_cast<double>(blocks);
    state.counters["realtime_x"] =
        benchmark::Counter(static_cast<double>(blocks) * kBlock / 44100.0, benchmark::Counter::kIsRate);
    state.counters["voices"] = engine.activeVoiceCount();
}

BENCHMARK(BM_AutomationDensity)->Arg(0)->Arg(1)->Arg(16)->Arg(64)->Unit(benchmark::kMicrosecond);

void BM_AudioThreadStore(benchmark::State& state) {
    quenvale::SynthEngine engine;
    startVoices(engine, 32);
    std::vector<float> l(kBlock), r(kBlock);
    engine.render(l.data(), r.data(), kBlock);  // this thread is the audio thread from here on
    float x = 0.25f;
    for (auto _ : state) {
        engine.setParameterNormalized(0, quenvale::kGenGroup.first, x);
        x = x == 0.25f ? 0.26f : 0.25f;
    }
}

BENCHMARK(BM_AudioThreadStore)->Unit(benchmark::kNanosecond);

}  // namespace
