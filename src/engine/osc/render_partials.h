// Audio-rate half of the partial bank: the per-sample reference loop and the run renderer.
#pragma once

#include "common/simd/simd_path.h"
#include "engine/osc/partial_bank.h"

namespace quenvale {

// [audio] One sample of the bank, the plain portable way (the reference every path must match):
// basePhase += baseIncrement; p = basePhase + phaseParam; for each active block in order, stop at the
// first whose lane-0 ratio × baseFrequency + partialPhase is not below 20000 Hz (the rest are neither
// rendered nor moved this sample); otherwise read the sine table at
// x = (ratio × p + partialPhase + phaseOffset) × 128 (truncated index AND 127, linear interpolation),
// add ampLeft × sine and ampRight × sine to four single-precision lane sums, and move the block by its
// steps. outLeft/outRight = ((lane0 + lane1) + lane2) + lane3 in double, stored as float.
void renderPartials(PartialBank& bank) noexcept;

// Most samples a run may hold (the samples between two control ticks).
inline constexpr int kMaxRunSamples = 64;

// [audio] n consecutive samples of renderPartials in one pass, where sample t first sets the bank's
// baseFrequency, baseIncrement and phaseParam lanes to baseFrequency[t], baseIncrement[t] and
// phaseParam[t]. Identical, bit for bit and in the state it leaves, to those n calls. outLeft[t] and
// outRight[t] receive the samples. Runs longer than 64 samples are split. Uses the selected path.
void renderPartialsRun(PartialBank& bank, const float* baseFrequency, const float* baseIncrement,
                       const float* phaseParam, int n, float* outLeft, float* outRight) noexcept;
// [audio] The same on an explicit path; an unsupported path falls back to the best supported one.
void renderPartialsRun(PartialBank& bank, const float* baseFrequency, const float* baseIncrement,
                       const float* phaseParam, int n, float* outLeft, float* outRight,
                       simd::SimdPath path) noexcept;

// [any] The path renderPartialsRun uses: the widest supported one unless forced. Forcing an
// unsupported path returns false and changes nothing. For tests, benchmarks and diagnostics.
bool setPartialRunPath(simd::SimdPath path) noexcept;
simd::SimdPath partialRunPath() noexcept;

// [audio] Benchmark reference: the run kernel's arithmetic alone for blocks [0, count) with frozen
// blocks and no stop test, for n ≤ 64 samples; p[t] is basePhase + phaseParam at sample t.
void renderBarePartialRun(const PartialBank& bank, const float* p, int n, int count, float* outLeft,
                          float* outRight, simd::SimdPath path) noexcept;

}  // namespace quenvale
