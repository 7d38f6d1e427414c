// Per-sample channel stage (Delay, Comb) and per-tick LFO group costs.
#include <benchmark/benchmark.h>

#include "engine/fx/channel_stage.h"
#include "engine/fx/effect_control.h"
#include "engine/fx/effect_type.h"
#include "engine/lfo/lfo_tick.h"
#include "engine/lfo/lfo_waves.h"
#include "engine/rate_values.h"

namespace quenvale {
namespace {

// rampFraction 1/64 retargeted every 64 samples, as the render loop does; `moving` alternates the
// targets so the ramps (and the Comb's derived time) change on every sample.
void runChannelStage(benchmark::State& state, int32_t type, float p1, bool moving) {
    setRateValues(44100.0f);
    static ChannelEffect fx[kChannelEffectCount];
    for (ChannelEffect& e : fx) resetChannelEffect(e);
    setEffectType(fx[0], type);
    float targets[2][5] = {{p1, 0.5f, p1, 0.5f, 0.7f}, {p1 * 1.5f, 0.6f, p1 * 1.5f, 0.4f, 0.6f}};
    updateEffectControl(fx[0], targets[0], 0.0f);
    float x = 0.25f;
    int64_t n = 0;
    for (auto _ : state) {
        if ((n & 63) == 0) updateEffectControl(fx[0], targets[moving ? (n >> 6) & 1 : 0], 1.0f / 64.0f);
        ++n;
        float l = x, r = -x;
        processChannelSample(fx, 1.0f, l, r);
        benchmark::DoNotOptimize(l);
        benchmark::DoNotOptimize(r);
        x = -x;
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_ChannelSampleDelay(benchmark::State& s) {
    runChannelStage(s, kEffectDelay, 0.2f, true);
}
void BM_ChannelSampleCombSettled(benchmark::State& s) {
    runChannelStage(s, kEffectComb, 441.0f, false);
}
void BM_ChannelSampleCombRamping(benchmark::State& s) {
    runChannelStage(s, kEffectComb, 441.0f, true);
}
BENCHMARK(BM_ChannelSampleDelay);
BENCHMARK(BM_ChannelSampleCombSettled);
BENCHMARK(BM_ChannelSampleCombRamping);

void BM_VoiceLfoGroupTick(benchmark::State& state) {
    setRateValues(44100.0f);
    lfoWaveTable(kLfoSine);  // build the tables outside the timing
    LfoGroup g;
    resetLfoGroup(g);
    const int32_t type[4] = {kLfoSine, kLfoSaw, kLfoPulse, kLfoTri};
    const int32_t sync[4] = {0, 7, 0, 11};
    const float ratio[4] = {0.0f, 0.0f, 0.25f, 0.1f};
    const float offset[4] = {5.0f, 1.0f, 0.5f, -3.0f};
    const float phase[4] = {0.0f, 0.25f, 0.5f, 0.75f};
    const float out[4] = {1.0f, 0.5f, 0.8f, 1.0f};
    for (auto _ : state) {
        tickVoiceLfoGroup(g, type, sync, ratio, offset, phase, out, 440.0f);
        benchmark::DoNotOptimize(g.output);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_VoiceLfoGroupTick);

}  // namespace
}  // namespace quenvale
