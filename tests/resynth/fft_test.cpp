// FFT against a direct DFT on random data of several sizes (fixed seed), with and without a twiddle table.
#include "resynth/fft.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace quenvale {
namespace {

// X[k] = Σ x[j]·e^(sign·2πi·jk/n), divided by n for a negative sign, summed in long double.
void directDft(int32_t n, const std::vector<double>& re, const std::vector<double>& im, int32_t sign,
               int32_t k, double& outRe, double& outIm) {
    long double sr = 0, si = 0;
    for (int32_t j = 0; j < n; ++j) {
        const long double phase = 2.0L * 3.14159265358979323846264338L * ((static_cast<int64_t>(j) * k) % n) / n;
        const long double c = std::cos(phase), s = sign * std::sin(phase);
        sr += re[j] * c - im[j] * s;
        si += re[j] * s + im[j] * c;
    }
    outRe = static_cast<double>(sign < 0 ? sr / n : sr);
    outIm = static_cast<double>(sign < 0 ? si / n : si);
}

// Every bin up to 2048 points, sampled bins at the analysis size 32768; the table gives the same bits.
TEST(Fft, MatchesDirectDftForBothSignsAndSeveralSizes) {
    std::mt19937 rng(12345);
    std::uniform_real_distribution<double> dist(-1.0, 1.0);
    for (int32_t n : {1, 2, 4, 8, 64, 512, 2048, 32768}) {
        const FftTable table(n);
        for (int32_t sign : {-1, 1}) {
            SCOPED_TRACE(testing::Message() << "n=" << n << " sign=" << sign);
            std::vector<double> re(n), im(n);
            for (int32_t i = 0; i < n; ++i) {
                re[i] = dist(rng);
                im[i] = dist(rng);
            }
            std::vector<double> fr = re, fi = im, tr = re, ti = im;
            fftInPlace(n, fr.data(), fi.data(), sign);
            fftInPlace(table, tr.data(), ti.data(), sign);
            ASSERT_EQ(fr, tr);
            ASSERT_EQ(fi, ti);
            const double tol = (sign < 0 ? 1e-14 : 1e-14 * n) * std::log2(2.0 * n);
            for (int32_t k = 0; k < n; k += n > 2048 ? 1237 : 1) {
                double dr, di;
                directDft(n, re, im, sign, k, dr, di);
                ASSERT_NEAR(fr[k], dr, tol) << "k=" << k;
                ASSERT_NEAR(fi[k], di, tol) << "k=" << k;
            }
        }
    }
}

}  // namespace
}  // namespace quenvale
