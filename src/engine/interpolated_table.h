// Read-only wave and shape tables of 128 (value, slope) pairs, read with linear interpolation.
#pragma once

#include <cstdint>

namespace quenvale {

inline constexpr int32_t kTableLength = 128;

// One table entry: the value at the entry and the step to the next entry's value.
struct TableEntry {
    float value = 0.0f;
    float slope = 0.0f;
};

// [any] value[n] + f × slope[n] with n = pos truncated and f = pos − n. The caller guarantees
// 0 <= pos < 128, so the entry read is always inside the table.
inline float readTable(const TableEntry* table, float pos) noexcept {
    const int32_t n = static_cast<int32_t>(pos);
    const float f = pos - static_cast<float>(n);
    return table[n].value + f * table[n].slope;
}

}  // namespace quenvale
