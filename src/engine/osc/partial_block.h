// Four partials of a voice's partial bank: amplitudes, phase, frequency ratio and their per-sample steps.
#pragma once

#include <cstddef>

namespace quenvale {

// Lane j of every field belongs to partial 4b + j of block b. Plain data: the bank zeroes it.
struct alignas(16) PartialBlock {
    float ampLeft[4];
    float ampRight[4];
    float partialPhase[4];  // the partial's "Phase" curve value, in cycles
    float ratio[4];         // frequency ratio to f0: harmonic number plus detune
    float phaseOffset[4];   // accumulated phase correction in cycles, kept in (−1, 1)
    float ampLeftStep[4];
    float ampRightStep[4];
    float partialPhaseStep[4];
    float ratioStep[4];
};

inline constexpr int kPartialBlockFloats = 36;
static_assert(sizeof(PartialBlock) == kPartialBlockFloats * sizeof(float));
static_assert(offsetof(PartialBlock, ratio) == 12 * sizeof(float));
static_assert(offsetof(PartialBlock, partialPhase) == 8 * sizeof(float));

}  // namespace quenvale
