// The render loop's last line of defence: finding an inf or NaN in a run of samples, cheaply.
#pragma once

#include <bit>
#include <cstdint>

namespace quenvale {

// [audio] True when every one of the n samples of a and b is finite. One integer pass without
// branches (a sample is inf or NaN exactly when its exponent bits are all ones; adding one to that
// field carries into the sign bit), so the compiler vectorises it; meant to run once per run of at
// most 64 samples, not per sample.
inline bool runIsFinite(const float* a, const float* b, int32_t n) noexcept {
    uint32_t bad = 0;
    for (int32_t i = 0; i < n; ++i) {
        bad |= ((std::bit_cast<uint32_t>(a[i]) & 0x7f800000u) + 0x00800000u) |
               ((std::bit_cast<uint32_t>(b[i]) & 0x7f800000u) + 0x00800000u);
    }
    return (bad & 0x80000000u) == 0;
}

}  // namespace quenvale
