// Whole-engine real-time factor under full load: 32 voices of 512 partials, every partial below 20 kHz.
// "rtf" is CPU seconds per second of audio on one core (1.0 uses the whole budget; lower is better).
#include <benchmark/benchmark.h>

#include <vector>

#include "common/simd/simd_path.h"
#include "engine/channel.h"
#include "engine/edit_guard.h"
#include "engine/osc/render_partials.h"
#include "engine/spectrum/generator.h"
#include "engine/spectrum/modulator.h"
#include "engine/spectrum/spectrum_modes.h"
#include "engine/synth_engine.h"
#include "params/parameter_value.h"

namespace {

using namespace quenvale;

constexpr int kVoices = 32;
constexpr int kBlock = 512;

// A breakpoint whose values fall off like a saw spectrum (amp), or a small spread (other properties).
PartialCurve breakpointValues(int property, float scale) {
    PartialCurve values(kMaxPartials);
    for (int k = 0; k < kMaxPartials; ++k) {
        const float h = static_cast<float>(k + 1);
        values[k] = property == kSpectrumAmp ? scale / h : scale * 0.001f * static_cast<float>(k % 7);
    }
    return values;
}

void shapeModulator(Modulator& m, int property, bool modulated) {
    m.setBreakpointValues(0, breakpointValues(property, 1.0f));
    if (!modulated) return;
    m.insertBreakpoint(1, 0.5f, 0.8f, false);
    m.setBreakpointValues(1, breakpointValues(property, 0.5f));
    Modulator& layer = m.addChild("Layer", kCombineMultiply, true);
    PartialCurve ones(kMaxPartials);
    for (int k = 0; k < kMaxPartials; ++k) ones[k] = 1.0f - 0.0005f * static_cast<float>(k);
    layer.setBreakpointValues(0, ones);
    m.dynamicMode = kDynamicRandom;
    m.dynamicAmount = 0.3f;
    m.filterMode = kFilterLowPass12;
    m.cutoff.base = 0.7f;
}

// The engine with its generator set to 512 partials and every note's partials below 20 kHz: with
// "Gen1 Ratio" 0.75, notes 0 … 31 have fundamentals up to 36.7 Hz (512 × 36.7 Hz < 20 kHz).
void startLoad(SynthEngine& engine, bool modulated) {
    {
        EditGuard::EditScope edit(engine.editGuard());
        Generator& generator = *engine.channel().generator;
        generator.setPartialCount(kMaxPartials);
        for (int p = 0; p < 4; ++p) shapeModulator(generator.modulators[p], p, modulated);
    }
    engine.generatorChanged();
    engine.setParameterValue(0, 8, makeFloatValue(0.75f));  // "Gen1 Ratio"
    for (int n = 0; n < kVoices; ++n) {
        const MidiEntry on{0x90, static_cast<uint8_t>(n), 100, 0};
        engine.processMidi(&on, 1);
    }
}

void renderLoad(benchmark::State& state, bool modulated) {
    const auto path = static_cast<simd::SimdPath>(state.range(0));
    if (!simd::simdPathSupported(path)) {
        state.SkipWithError("path not supported on this processor");
        return;
    }
    const simd::SimdPath saved = partialRunPath();
    setPartialRunPath(path);
    SynthEngine engine;
    startLoad(engine, modulated);
    std::vector<float> l(kBlock), r(kBlock);
    engine.render(l.data(), r.data(), kBlock);  // the first block settles the ramps
    int64_t samples = 0;
    for (auto _ : state) {
        engine.render(l.data(), r.data(), kBlock);
        benchmark::DoNotOptimize(l.data());
        benchmark::DoNotOptimize(r.data());
        samples += kBlock;
    }
    state.SetLabel(simd::simdPathName(path));
    state.counters["voices"] = engine.voiceCount();
    state.counters["rtf"] = benchmark::Counter(static_cast<double>(samples) / 44100.0,
                                               benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    setPartialRunPath(saved);
}

void BM_EnginePlainLoad(benchmark::State& state) { renderLoad(state, false); }
void BM_EngineModulatedLoad(benchmark::State& state) { renderLoad(state, true); }

BENCHMARK(BM_EnginePlainLoad)->DenseRange(0, simd::kSimdPathCount - 1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EngineModulatedLoad)->DenseRange(0, simd::kSimdPathCount - 1)->Unit(benchmark::kMillisecond);

}  // namespace
