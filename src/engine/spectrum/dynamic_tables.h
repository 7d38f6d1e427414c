// The two interpolated wave tables of the spectrum's dynamic movement: a sine and a smoothed noise.
#pragma once

#include <cstdint>

namespace quenvale {

// One table entry, read as value + fraction × slope.
struct DynamicTableEntry {
    float value;
    float slope;
};

inline constexpr int32_t kSineDynamicTableSize = 128;
inline constexpr int32_t kRandomDynamicTableSize = 1024;
// Cut-off of the random table's smoothing kernel, cycles per sample (the float 0.05 widened).
inline constexpr float kRandomDynamicCutoff = 0.05f;

// [any] value[i] = sin(2π i / 128); slope[i] = value[i + 1] − value[i], wrapping.
const DynamicTableEntry* sineDynamicTable() noexcept;
// [any] 1024 noise values (runtimeRandom()) smoothed by a 1024-tap circular correlation with a low-pass kernel,
// rescaled to span exactly −1 … +1; slopes as above. Built on the first call of either table.
const DynamicTableEntry* randomDynamicTable() noexcept;

}  // namespace quenvale
