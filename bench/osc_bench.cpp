// Partial-loop throughput per vector path: the run renderer against the bare kernel of its arithmetic,
// and the whole generator run of one voice.
#include <benchmark/benchmark.h>

#include <cstring>
#include <ctime>
#include <memory>

#include "common/simd/simd_path.h"
#include "engine/channel.h"
#include "engine/osc/partial_targets.h"
#include "engine/osc/render_partials.h"
#include "engine/osc/voice_generator.h"
#include "engine/rate_values.h"
#include "engine/spectrum/generator.h"

namespace {

using quenvale::PartialBank;
using quenvale::simd::SimdPath;

constexpr int kRun = 64;
constexpr float kF0 = 30.0f;  // 512 × 30 Hz stays below the 20 kHz stop: every partial sounds

// A bank whose blocks all sound and all move (every step non-zero), at f0 = 30 Hz.
std::unique_ptr<PartialBank> makeBank(int partials) {
    auto bank = std::make_unique<PartialBank>();
    bank->blockCount = partials / 4;
    for (int b = 0; b < quenvale::kMaxPartialGroups; ++b) {
        auto& blk = bank->blocks[b];
        for (int j = 0; j < 4; ++j) {
            const float k = static_cast<float>(4 * b + j);
            blk.ampLeft[j] = 1.0f / (k + 1.0f);
            blk.ampRight[j] = 0.5f / (k + 1.0f);
            blk.ratio[j] = k + 1.0f + 0.01f * static_cast<float>(j);
            blk.partialPhase[j] = 0.125f * static_cast<float>(j);
            blk.phaseOffset[j] = 0.0625f;
            blk.ampLeftStep[j] = 1e-7f;
            blk.ampRightStep[j] = -1e-7f;
            blk.partialPhaseStep[j] = 1e-6f;
            blk.ratioStep[j] = 1e-7f;
        }
    }
    return bank;
}

struct RunInputs {
    alignas(64) float baseFrequency[kRun];
    alignas(64) float baseIncrement[kRun];
    alignas(64) float phaseParam[kRun];
    alignas(64) float p[kRun];
    RunInputs() {
        float base = 0.0f;
        for (int t = 0; t < kRun; ++t) {
            baseFrequency[t] = kF0 + 0.001f * static_cast<float>(t);
            baseIncrement[t] = baseFrequency[t] / 44100.0f;
            phaseParam[t] = 0.25f;
            base += baseIncrement[t];
            p[t] = base + phaseParam[t];
        }
    }
};

// CPU seconds per core cycle, from a dependent chain of double additions (3 cycles each on the
// AMD Zen 4 core these figures are taken on). The machine is shared, so raw rates vary with the load;
// per-cycle rates do not. Multiply items_per_cycle by the idle clock (about 3.6 GHz) for the rate of
// an unloaded core.
double secondsPerCycle() {
    static const double value = [] {
        constexpr long kAdds = 60'000'000;
        volatile double seed = 1e-9;
        double x = 0.0;
        const double y = seed;
        const std::clock_t start = std::clock();
        for (long i = 0; i < kAdds; ++i) x = x + y;
        const double seconds = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
        benchmark::DoNotOptimize(x);
        return seconds / (3.0 * kAdds);
    }();
    return value;
}

// Partial-samples per CPU second of the bare kernel (frozen blocks, no stop test, no ramps).
double bareRate(SimdPath path, int partials) {
    auto bank = makeBank(partials);
    RunInputs in;
    alignas(64) float outLeft[kRun], outRight[kRun];
    const int iterations = 200000 / partials + 200;
    // Process CPU time: the machine may be shared, and wall time then measures the neighbours.
    const std::clock_t start = std::clock();
    for (int i = 0; i < iterations; ++i) {
        quenvale::renderBarePartialRun(*bank, in.p, kRun, partials / 4, outLeft, outRight, path);
        benchmark::DoNotOptimize(outLeft);
        benchmark::DoNotOptimize(outRight);
    }
    const double seconds = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
    return static_cast<double>(iterations) * kRun * partials / seconds;
}

void BM_PartialRun(benchmark::State& state) {
    const auto path = static_cast<SimdPath>(state.range(0));
    const int partials = static_cast<int>(state.range(1));
    if (!quenvale::simd::simdPathSupported(path)) {
        state.SkipWithError("path not supported on this processor");
        return;
    }
    auto bank = makeBank(partials);
    auto fresh = makeBank(partials);
    RunInputs in;
    alignas(64) float outLeft[kRun], outRight[kRun];
    int64_t count = 0;
    for (auto _ : state) {
        // Keep the moving blocks near their start (the base phase and the steps drift otherwise).
        if ((++count & 4095) == 0) std::memcpy(bank->blocks, fresh->blocks, sizeof(bank->blocks));
        for (float& b : bank->basePhase) b = 0.0f;
        quenvale::renderPartialsRun(*bank, in.baseFrequency, in.baseIncrement, in.phaseParam, kRun, outLeft,
                                    outRight, path);
        benchmark::DoNotOptimize(outLeft);
        benchmark::DoNotOptimize(outRight);
    }
    state.SetItemsProcessed(state.iterations() * kRun * partials);
    state.SetLabel(quenvale::simd::simdPathName(path));
    const double bare = bareRate(path, partials);
    state.counters["bare_items_per_second"] = bare;
    const double cpuSeconds = state.iterations() > 0 ? secondsPerCycle() : 1.0;
    state.counters["items_per_cycle"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * kRun * partials * cpuSeconds, benchmark::Counter::kIsRate);
    state.counters["bare_items_per_cycle"] = bare * cpuSeconds;
}

// items_per_second / bare_items_per_second is the run loop's share of the bare kernel's speed.
void PathsAndPartials(benchmark::internal::Benchmark* b) {
    for (int path = 0; path < quenvale::simd::kSimdPathCount; ++path)
        for (int partials : {64, 128, 256, 512}) b->Args({path, partials});
}
BENCHMARK(BM_PartialRun)->Apply(PathsAndPartials);

void BM_PartialBare(benchmark::State& state) {
    const auto path = static_cast<SimdPath>(state.range(0));
    const int partials = static_cast<int>(state.range(1));
    if (!quenvale::simd::simdPathSupported(path)) {
        state.SkipWithError("path not supported on this processor");
        return;
    }
    auto bank = makeBank(partials);
    RunInputs in;
    alignas(64) float outLeft[kRun], outRight[kRun];
    for (auto _ : state) {
        quenvale::renderBarePartialRun(*bank, in.p, kRun, partials / 4, outLeft, outRight, path);
        benchmark::DoNotOptimize(outLeft);
        benchmark::DoNotOptimize(outRight);
    }
    state.SetItemsProcessed(state.iterations() * kRun * partials);
    state.SetLabel(quenvale::simd::simdPathName(path));
}
BENCHMARK(BM_PartialBare)->Apply(PathsAndPartials);

// One whole voice (512 partials at 30 Hz, comb and compressor on) through renderGeneratorRun and its
// control tick, on the automatically chosen path; items are partial-samples.
void BM_GeneratorRunWithTick(benchmark::State& state) {
    quenvale::Channel channel;
    channel.generator->partialCount = 512;
    channel.gen.ratio.base = 1.0f;
    channel.gen.out.base = 1.0f;
    channel.gen.pwmMode = quenvale::kPwmAdd;
    channel.gen.pwmWidth.base = 0.5f;
    channel.gen.pwmFeedback.base = 0.3f;
    channel.gain.base = 1.0f;
    channel.compressor.on = true;
    channel.compressor.threshold = 0.5f;
    channel.compressor.slope = 0.5f;
    channel.compressor.attackCoefficient = 0.9f;
    channel.compressor.releaseCoefficient = 0.999f;
    auto vg = std::make_unique<quenvale::VoiceGenerator>();
    quenvale::prepareGeneratorStates(vg->spectrum, *channel.generator);
    for (int k = 0; k < 512; ++k) vg->spectrum.states[quenvale::kSpectrumAmp].output[k] = 1.0f / (k + 1.0f);
    float outputs[quenvale::kVoiceOutputCount] = {};
    quenvale::startVoiceGenerator(*vg, channel, kF0, outputs);
    quenvale::updateGeneratorControl(*vg, channel, outputs, kF0, 1.0f, 0.0f);
    alignas(64) float left[kRun] = {}, right[kRun] = {};
    for (auto _ : state) {
        quenvale::renderGeneratorRun(*vg, channel, kRun, left, right);
        quenvale::updateGeneratorControl(*vg, channel, outputs, kF0, 1.0f, 0.015625f);
        benchmark::DoNotOptimize(left);
    }
    state.SetItemsProcessed(state.iterations() * kRun * 512);
    state.SetLabel(quenvale::simd::simdPathName(quenvale::partialRunPath()));
}
BENCHMARK(BM_GeneratorRunWithTick);

}  // namespace
