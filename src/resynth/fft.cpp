// Bit reversal by the counter method, then butterfly stages of half-size 1, 2, 4 … n/2.
#include "resynth/fft.h"

#include <cmath>
#include <utility>

namespace quenvale {
namespace {

constexpr double kPi = 3.14159265358979323846;

// j runs through the bit-reversed counter of i.
void bitReverse(int32_t n, double* re, double* im) noexcept {
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
}

// All butterflies of twiddle (wr, wi) in the stage of half-size m: t = w·x[b], x[b] = x[a] − t, x[a] += t.
inline void butterflies(int32_t n, int32_t m, int32_t k, double wr, double wi, double* re,
                        double* im) noexcept {
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

void scaleDown(int32_t n, double* re, double* im) noexcept {
    const double scale = 1.0 / n;  // a power of two: the same as dividing by n
    for (int32_t i = 0; i < n; ++i) {
        re[i] *= scale;
        im[i] *= scale;
    }
}

}  // namespace

void fftInPlace(int32_t n, double* re, double* im, int32_t sign) noexcept {
    if (n <= 1) return;
    bitReverse(n, re, im);
    for (int32_t m = 1; m < n; m <<= 1) {
        for (int32_t k = 0; k < m; ++k) {
            const double theta = sign * kPi * k / m;
            butterflies(n, m, k, std::cos(theta), std::sin(theta), re, im);
        }
    }
    if (sign < 0) scaleDown(n, re, im);
}

FftTable::FftTable(int32_t n) : n_(n), cos_(n / 2), sin_(n / 2) {
    const int32_t half = n / 2;
    for (int32_t j = 0; j < half; ++j) {
        const double theta = kPi * j / half;
        cos_[j] = std::cos(theta);
        sin_[j] = std::sin(theta);
    }
}

void fftInPlace(const FftTable& table, double* re, double* im, int32_t sign) noexcept {
    const int32_t n = table.n_;
    if (n <= 1) return;
    bitReverse(n, re, im);
    // θ = sign·π·k/m: cos is even, sin odd in the sign; sign 0 gives θ = 0. The butterflies of a stage
    // touch disjoint pairs, so they run block by block here (cache-friendly) instead of twiddle by
    // twiddle, with the same arithmetic for each.
    const double sinSign = sign < 0 ? -1.0 : (sign > 0 ? 1.0 : 0.0);
    const double* cosTable = table.cos_.data();
    const double* sinTable = table.sin_.data();
    for (int32_t m = 1; m < n; m <<= 1) {
        const int32_t step = n / (2 * m);
        for (int32_t block = 0; block < n; block += 2 * m) {
            double* reA = re + block;
            double* imA = im + block;
            double* reB = reA + m;
            double* imB = imA + m;
            for (int32_t k = 0; k < m; ++k) {
                const double wr = sign == 0 ? 1.0 : cosTable[k * step];
                const double wi = sinSign * sinTable[k * step];
                const double tr = wr * reB[k] - wi * imB[k];
                const double ti = wr * imB[k] + wi * reB[k];
                reB[k] = reA[k] - tr;
                imB[k] = imA[k] - ti;
                reA[k] += tr;
                imA[k] += ti;
            }
        }
    }
    if (sign < 0) scaleDown(n, re, im);
}

}  // namespace quenvale
