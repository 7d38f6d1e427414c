// Entry points of the per-path partial run kernels (internal to the oscillator; see partial_run.h).
//
// Every kernel works on blocks [0, count) of a bank over one run of n ≤ 64 samples, where p[t] is
// basePhase + phaseParam and baseFrequency[t] the fundamental at sample t. Sums are per lane and per
// sample, sums[4 t + lane], 64-byte aligned, with room for kSumsPadBefore floats before sums[0] and
// kSumsPadAfter floats after sums[4 n − 1] (the wide kernels read and write whole registers there).
// All of them are [audio] and call only what the processor supports (the caller checks).
#pragma once

#include "common/simd/simd_path.h"
#include "engine/osc/partial_bank.h"

namespace quenvale::partial_kernels {

inline constexpr int kMaxRunSamplesForKernels = 64;
inline constexpr int kSumsPadBefore = 16;
inline constexpr int kSumsPadAfter = 16;

#if QUENVALE_WIDE_SIMD
// Number of leading blocks whose lane-0 stop test passes at every sample of the run.
int countFullBlocksAvx2(const PartialBank& bank, const float* baseFrequency, int n, int count) noexcept;
int countFullBlocksAvx512(const PartialBank& bank, const float* baseFrequency, int n, int count) noexcept;

// Renders blocks [0, count) through the run, adding to the lane sums in block order; moves the blocks.
void renderFullBlocksAvx2(PartialBank& bank, const float* p, int n, int count, float* sumsLeft,
                          float* sumsRight) noexcept;
void renderFullBlocksAvx512(PartialBank& bank, const float* p, int n, int count, float* sumsLeft,
                            float* sumsRight) noexcept;

// The same arithmetic with frozen blocks and no stop test (benchmark reference).
void renderBareBlocksAvx2(const PartialBank& bank, const float* p, int n, int count, float* sumsLeft,
                          float* sumsRight) noexcept;
void renderBareBlocksAvx512(const PartialBank& bank, const float* p, int n, int count, float* sumsLeft,
                            float* sumsRight) noexcept;
#endif

}  // namespace quenvale::partial_kernels
