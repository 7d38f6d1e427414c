// Complex radix-2 FFT on separate real and imaginary arrays, in place.
#pragma once

#include <cstdint>

namespace quenvale {

// [any] n must be a power of two (n ≤ 1 leaves the arrays unchanged). The transform uses the kernel
// e^(sign·iπk/m), so sign = −1 is the forward transform; with sign < 0 every output is divided by n,
// otherwise nothing is scaled.
void fftInPlace(int32_t n, double* re, double* im, int32_t sign) noexcept;

}  // namespace quenvale
