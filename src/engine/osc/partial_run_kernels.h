// Entry points of the per-path partial run kernels (internal to the oscillator; see render_partials.h).
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
// One call of a wide kernel: each wide file has a single entry point that takes this record. p is
// baseFrequency for kCountFullBlocks.
struct KernelCall {
    enum Kind {
        kCountFullBlocks,   // result = leading blocks whose lane-0 stop test passes at every sample
        kRenderFullBlocks,  // renders blocks [0, count) through the run, adding to the lane sums in block
                            // order; moves the blocks
        kRenderBareBlocks,  // the same arithmetic with frozen blocks and no stop test (benchmark reference)
    };
    Kind kind;
    PartialBank* bank;
    const float* p;
    int n;
    int count;
    float* sumsLeft;
    float* sumsRight;
    int result;
};

// Runs the call (a KernelCall*) on the AVX2 or the AVX-512 kernel.
void runKernelAvx2(void* call) noexcept;
#endif
#if QUENVALE_AVX512_SIMD
void runKernelAvx512(void* call) noexcept;
#endif

}  // namespace quenvale::partial_kernels
