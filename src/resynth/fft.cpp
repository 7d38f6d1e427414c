// Bit reversal by the counter method, then butterfly stages of half-size 1, 2, 4 … n/2.
#include "resynth/fft.h"

#include <cmath>
#include <utility>

namespace quenvale {

void fftInPlace(int32_t n, double* re, double* im, int32_t sign) noexcept {
    if (n <= 1) return;

    // j runs through the bit-reversed counter of i.
    int32_t j = 0;
    for (int32_t i = 0; i < n - 1; ++i) {
        if (i < j) {
            std::swap(re[i], re[j]);
            std::swap(im[i], im[j]);
        }
        int32_t k = n >> 1;
        while (k <= j) {
            j -= k;
            k >>= 1;
        }
        j += k;
    }

    const double pi = 3.14159265358979323846;
    for (int32_t m = 1; m < n; m <<= 1) {
        for (int32_t k = 0; k < m; ++k) {
            const double theta = sign * pi * k / m;
            const double wr = std::cos(theta);
            const double wi = std::sin(theta);
            for (int32_t a = k; a < n; a += 2 * m) {
                const int32_t b = a + m;
                const double tr = wr * re[b] - wi * im[b];
                const double ti = wr * im[b] + wi * re[b];
                re[b] = re[a] - tr;
                im[b] = im[a] - ti;
                re[a] += tr;
                im[a] += ti;
            }
        }
    }

    if (sign < 0) {
        const double scale = 1.0 / n;
        for (int32_t i = 0; i < n; ++i) {
            re[i] *= scale;
            im[i] *= scale;
        }
    }
}

}  // namespace quenvale
