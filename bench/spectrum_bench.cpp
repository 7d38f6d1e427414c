// Per-voice, per-tick cost of the spectrum evaluation (four modulators, 512 partials).
#include <benchmark/benchmark.h>

#include "engine/channel.h"
#include "engine/spectrum/generator.h"
#include "engine/spectrum/generator_spectrum.h"

namespace {

using namespace quenvale;

constexpr float kTickSeconds = 64.0f / 44100.0f;

void fillValues(Modulator& m, int breakpoint) {
    PartialCurve values(kMaxPartials);
    for (int k = 0; k < kMaxPartials; ++k) values[k] = 1.0f / static_cast<float>(k + 1 + breakpoint);
    m.setBreakpointValues(breakpoint, values);
}

// One voice's ticks; with movingCutoff every tick asks for another cutoff, as when each voice's cutoff is
// modulated differently, so the filter shapes are moved anew every time.
void runTicks(benchmark::State& state, Channel& channel, bool movingCutoff = false) {
    Generator& g = *channel.generator;
    g.setPartialCount(kMaxPartials);
    float outputs[kVoiceOutputCount] = {};
    GeneratorStates states;
    prepareGeneratorStates(states, g);
    resetGeneratorStates(states, g);
    float cutoff = 0.6f;
    for (auto _ : state) {
        if (movingCutoff) {
            cutoff = cutoff < 0.7f ? cutoff + 1e-4f : 0.6f;
            for (Modulator& m : g.modulators) m.cutoff.base = cutoff;
        }
        evaluateGeneratorSpectrum(g, states, channel, outputs, 110.0f, kTickSeconds);
        benchmark::DoNotOptimize(states.states[kSpectrumAmp].output.data());
        benchmark::ClobberMemory();
    }
    // Share of one tick's real-time budget at 44.1 kHz that 32 such voices take (1 = all of it).
    state.counters["budget_32_voices"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kTickSeconds / 32.0,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// (a) One breakpoint and no modifiers on each of the four modulators.
void BM_SpectrumPlain(benchmark::State& state) {
    Channel channel;
    for (Modulator& m : channel.generator->modulators) fillValues(m, 0);
    runTicks(state, channel);
}
BENCHMARK(BM_SpectrumPlain);

// (b) Fully modulated: two breakpoints, a child layer, "Random" movement, a filter and a shift on each.
void modulateFully(Channel& channel) {
    for (Modulator& m : channel.generator->modulators) {
        fillValues(m, 0);
        m.insertBreakpoint(1, 4.0f, 0.5f, false);
        fillValues(m, 1);
        Modulator& layer = m.addChild("layer", kCombineMultiply, true);
        fillValues(layer, 0);
        m.dynamicMode = kDynamicRandom;
        m.dynamicAmount = 0.5f;
        m.filterMode = kFilterLowPass12;
        m.cutoff.base = 0.6f;
        m.shift.base = 0.75f;
    }
}

void BM_SpectrumFullyModulated(benchmark::State& state) {
    Channel channel;
    modulateFully(channel);
    runTicks(state, channel);
}
BENCHMARK(BM_SpectrumFullyModulated);

// (b') The same with a different cutoff at every evaluation (no voice shares the filter shapes).
void BM_SpectrumFullyModulatedMovingCutoff(benchmark::State& state) {
    Channel channel;
    modulateFully(channel);
    runTicks(state, channel, true);
}
BENCHMARK(BM_SpectrumFullyModulatedMovingCutoff);

}  // namespace
