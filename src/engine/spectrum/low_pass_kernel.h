// Windowed-sinc low-pass kernel design (Blackman window), used to smooth the random movement table.
#pragma once

#include <cstdint>

namespace quenvale {

// [any] Writes n taps into kernel: h[i] = sin(2π fc (i − M)) / (π (i − M)) with M = (n − 1) / 2 (2 fc at
// i = M), times 0.42 − 0.5 cos(2πi/(n−1)) + 0.08 cos(4πi/(n−1)). fc is in cycles per sample. n ≥ 2.
void designLowPassKernel(int32_t n, double fc, double* kernel) noexcept;

}  // namespace quenvale
