// Fused per-partial passes of the spectrum evaluation, with SSE2, AVX2 and AVX-512 builds chosen at run time.
#pragma once

#include <cstdint>

#include "common/simd/simd_path.h"
#include "engine/spectrum/dynamic_tables.h"

namespace quenvale {

// Every pass works on count values, a multiple of four. All paths give identical results bit for bit:
// each value sees the same float (or double) operations in the same order as the one-stage-at-a-time
// evaluation, and no multiply-add is fused.

// out = ((values × level + slopes × elapsed) ∘ child + offset) [× gainKey], where ∘ is the child's
// combine (none, multiply, add) and the gain is applied only by the "with gain" variants.
struct FrontPass {
    float* out;
    const float* values;
    const float* slopes;
    float level;
    float elapsed;
    const float* child;  // unused without a child
    float offset;
    float gainKey;  // unused without gain
    int32_t count;
};

// The stages after the shift, in place: dynamic movement (movement[] holds the table readings),
// resonance bump, filter shape, dry/wet mix, gain × key factor.
struct BackPass {
    float* work;
    const float* movement;
    float amount;
    const float* resonanceShape;
    float resonance;
    const float* filterShape;
    float wet;
    float gainKey;
    int32_t count;
};

// The dynamic stage's table readings: for partial k (h = k + 1),
// y = (perHarmonic × h + phase + randomPhase[k] × randomness + (h × scale + rest) × time × f) × N,
// limited to ±2^62, read as value[n & (N − 1)] + (y − n) × slope[…] with n = y truncated.
struct MovementPass {
    float* out;
    const DynamicTableEntry* table;
    int32_t tableSize;  // N, a power of two
    const float* randomPhase;
    float f, scale, rest, phase, perHarmonic, randomness, time;
    int32_t count;
};

enum FrontChild : int32_t { kFrontNoChild = 0, kFrontMultiply = 1, kFrontAdd = 2 };
enum BackMovement : int32_t { kBackNoMovement = 0, kBackScaling = 1, kBackAdditive = 2 };
enum BackFilter : int32_t { kBackNoFilter = 0, kBackResonance = 1, kBackShaped = 2 };

struct SpectrumKernels {
    void (*front[3][2])(const FrontPass&) noexcept;        // [FrontChild][with gain]
    void (*back[3][3][2])(const BackPass&) noexcept;       // [BackMovement][BackFilter][with mix]
    void (*movement)(const MovementPass&) noexcept;
    // out[k] = in[k + offset] × g + in[k + offset + 1] × f in double, for k in [begin, end), all
    // reads inside the source.
    void (*shiftInterior)(const float* in, float* out, int32_t begin, int32_t end, int32_t offset, double g,
                          double f) noexcept;
    // Interpolated octave shift of p values at rate r: x = (k + 1) × r − 1 rounded to float, read by
    // linear interpolation between entries trunc(x) and trunc(x) + 1 (border outside), border
    // for x ≥ p + 1.
    void (*octaveInterpolated)(const float* in, float* out, int32_t p, float r, double border) noexcept;
};

// [any] The kernels of the selected path (the widest supported one unless forced).
const SpectrumKernels& spectrumKernels() noexcept;
// [any] Forces a path for tests and benchmarks; an unsupported path returns false and changes nothing.
bool setSpectrumKernelPath(simd::SimdPath path) noexcept;
simd::SimdPath spectrumKernelPath() noexcept;

namespace spectrum_kernels {
const SpectrumKernels& baseline() noexcept;
#if QUENVALE_WIDE_SIMD
const SpectrumKernels& avx2() noexcept;
#endif
#if QUENVALE_AVX512_SIMD
const SpectrumKernels& avx512() noexcept;
#endif
}  // namespace spectrum_kernels

}  // namespace quenvale
