// Complex radix-2 FFT on separate real and imaginary arrays, in place.
#pragma once

#include <cstdint>
#include <vector>

namespace quenvale {

// [any] n must be a power of two (n ≤ 1 leaves the arrays unchanged). The transform uses the kernel
// e^(sign·iπk/m), so sign = −1 is the forward transform; with sign < 0 every output is divided by n,
// otherwise nothing is scaled. The twiddles are computed as it goes.
void fftInPlace(int32_t n, double* re, double* im, int32_t sign) noexcept;

// The twiddles of one transform size, computed once: cos and sin of π·j/(n/2) for j < n/2. Stage m's
// twiddle k is entry k·n/(2m), the same double as π·k/m because n/(2m) and n/2 are powers of two, so
// a transform with the table gives bit for bit the result of one without.
class FftTable {
public:
    // [ui] n a power of two ≥ 2.
    explicit FftTable(int32_t n);
    int32_t size() const noexcept { return n_; }

private:
    friend void fftInPlace(const FftTable& table, double* re, double* im, int32_t sign) noexcept;
    int32_t n_;
    std::vector<double> cos_;
    std::vector<double> sin_;
};

// [any] fftInPlace of table.size() points with the precomputed twiddles, for sign −1, 0 or +1 (only
// the sign of `sign` is used).
void fftInPlace(const FftTable& table, double* re, double* im, int32_t sign) noexcept;

}  // namespace quenvale
