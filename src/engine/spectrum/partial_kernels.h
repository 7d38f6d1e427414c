// Element-wise kernels over groups of four partials, written so the compiler emits 4-lane vector code.
#pragma once

#include <cstdint>

#include "common/capacity.h"

namespace quenvale::kernels {

// [any] count is a multiple of four in every kernel; the pointers must not overlap.

// out = values × level + slopes × elapsed
inline void interpolate(float* __restrict out, const float* __restrict values, const float* __restrict slopes,
                        float level, float elapsed, int32_t count) noexcept {
    for (int32_t g = 0; g < count; g += kPartialsPerGroup)
        for (int32_t j = 0; j < kPartialsPerGroup; ++j)
            out[g + j] = values[g + j] * level + slopes[g + j] * elapsed;
}

// work = work × other
inline void multiply(float* __restrict work, const float* __restrict other, int32_t count) noexcept {
    for (int32_t g = 0; g < count; g += kPartialsPerGroup)
        for (int32_t j = 0; j < kPartialsPerGroup; ++j) work[g + j] = work[g + j] * other[g + j];
}

// work = work + other
inline void add(float* __restrict work, const float* __restrict other, int32_t count) noexcept {
    for (int32_t g = 0; g < count; g += kPartialsPerGroup)
        for (int32_t j = 0; j < kPartialsPerGroup; ++j) work[g + j] = work[g + j] + other[g + j];
}

// work = work + value
inline void addScalar(float* __restrict work, float value, int32_t count) noexcept {
    for (int32_t g = 0; g < count; g += kPartialsPerGroup)
        for (int32_t j = 0; j < kPartialsPerGroup; ++j) work[g + j] = work[g + j] + value;
}

// work = work × value
inline void scale(float* __restrict work, float value, int32_t count) noexcept {
    for (int32_t g = 0; g < count; g += kPartialsPerGroup)
        for (int32_t j = 0; j < kPartialsPerGroup; ++j) work[g + j] = work[g + j] * value;
}

// work = (shape × amount + 1) × work
inline void bump(float* __restrict work, const float* __restrict shape, float amount,
                 int32_t count) noexcept {
    for (int32_t g = 0; g < count; g += kPartialsPerGroup)
        for (int32_t j = 0; j < kPartialsPerGroup; ++j)
            work[g + j] = (shape[g + j] * amount + 1.0f) * work[g + j];
}

// work = shape × work
inline void shape(float* __restrict work, const float* __restrict shapeValues, int32_t count) noexcept {
    for (int32_t g = 0; g < count; g += kPartialsPerGroup)
        for (int32_t j = 0; j < kPartialsPerGroup; ++j) work[g + j] = shapeValues[g + j] * work[g + j];
}

// work = dry × (1 − wet) + wet × work
inline void mix(float* __restrict work, const float* __restrict dry, float wet, int32_t count) noexcept {
    const float dryShare = 1.0f - wet;
    for (int32_t g = 0; g < count; g += kPartialsPerGroup)
        for (int32_t j = 0; j < kPartialsPerGroup; ++j)
            work[g + j] = dry[g + j] * dryShare + wet * work[g + j];
}

}  // namespace quenvale::kernels
