// FFT against a direct DFT on random data of several sizes (fixed seed).
#include "resynth/fft.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace quenvale {
namespace {

// X[k] = Σ x[j]·e^(sign·2πi·jk/n), divided by n for a negative sign; twiddles from a long-double table.
void directDft(int32_t n, const std::vector<double>& re, const std::vector<double>& im, int32_t sign,
               int32_t k, double& outRe, double& outIm) {
    static std::vector<long double> cosTable, sinTable;
    if (static_cast<int32_t>(cosTable.size()) != n) {
        cosTable.resize(n);
        sinTable.resize(n);
        for (int32_t m = 0; m < n; ++m) {
            const long double phase = 2.0L * 3.14159265358979323846264338L * m / n;
            cosTable[m] = std::cos(phase);
            sinTable[m] = std::sin(phase);
        }
    }
    long double sr = 0, si = 0;
    for (int32_t j = 0; j < n; ++j) {
        const int32_t m = static_cast<int32_t>((static_cast<int64_t>(j) * k) % n);
        const long double c = cosTable[m];
        const long double s = sign * sinTable[m];
        sr += re[j] * c - im[j] * s;
        si += re[j] * s + im[j] * c;
    }
    if (sign < 0) {
        sr /= n;
        si /= n;
    }
    outRe = static_cast<double>(sr);
    outIm = static_cast<double>(si);
}

TEST(Fft, MatchesDirectDftForBothSignsAndSeveralSizes) {
    std::mt19937 rng(12345);
    std::uniform_real_distribution<double> dist(-1.0, 1.0);
    for (int32_t n : {1, 2, 4, 8, 64, 512, 2048}) {
        for (int32_t sign : {-1, 1}) {
            std::vector<double> re(n), im(n);
            for (int32_t i = 0; i < n; ++i) {
                re[i] = dist(rng);
                im[i] = dist(rng);
            }
            std::vector<double> fr = re, fi = im;
            fftInPlace(n, fr.data(), fi.data(), sign);
            const double tol = (sign < 0 ? 1e-14 : 1e-14 * n) * std::log2(2.0 * n);
            for (int32_t k = 0; k < n; ++k) {
                double dr, di;
                directDft(n, re, im, sign, k, dr, di);
                ASSERT_NEAR(fr[k], dr, tol) << "n=" << n << " sign=" << sign << " k=" << k;
                ASSERT_NEAR(fi[k], di, tol) << "n=" << n << " sign=" << sign << " k=" << k;
            }
        }
    }
}

TEST(Fft, AnalysisSizeMatchesDirectDftOnSampledBins) {
    const int32_t n = 32768;
    std::mt19937 rng(777);
    std::uniform_real_distribution<double> dist(-1.0, 1.0);
    std::vector<double> re(n), im(n, 0.0);
    for (double& v : re) v = dist(rng);
    std::vector<double> fr = re, fi = im;
    fftInPlace(n, fr.data(), fi.data(), -1);
    for (int32_t k : {0, 1, 163, 327, 12345, 16384, 20000, 32767}) {
        double dr, di;
        directDft(n, re, im, -1, k, dr, di);
        EXPECT_NEAR(fr[k], dr, 1e-13) << k;
        EXPECT_NEAR(fi[k], di, 1e-13) << k;
    }
    // A real input has a conjugate-symmetric spectrum.
    for (int32_t k : {5, 4000, 16000}) {
        EXPECT_NEAR(fr[k], fr[n - k], 1e-13);
        EXPECT_NEAR(fi[k], -fi[n - k], 1e-13);
    }
}

TEST(Fft, ForwardThenInverseRestoresTheInputScaledOnce) {
    const int32_t n = 1024;
    std::mt19937 rng(99);
    std::uniform_real_distribution<double> dist(-1.0, 1.0);
    std::vector<double> re(n), im(n);
    for (int32_t i = 0; i < n; ++i) {
        re[i] = dist(rng);
        im[i] = dist(rng);
    }
    std::vector<double> r = re, m = im;
    fftInPlace(n, r.data(), m.data(), -1);
    fftInPlace(n, r.data(), m.data(), 1);
    for (int32_t i = 0; i < n; ++i) {
        ASSERT_NEAR(r[i], re[i], 1e-14);
        ASSERT_NEAR(m[i], im[i], 1e-14);
    }
}

TEST(Fft, TableGivesTheSameBitsAsTwiddlesComputedOnTheWay) {
    std::mt19937 rng(4242);
    std::uniform_real_distribution<double> dist(-1.0, 1.0);
    for (int32_t n : {2, 16, 1024, 32768}) {
        const FftTable table(n);
        for (int32_t sign : {-1, 0, 1}) {
            std::vector<double> re(n), im(n);
            for (int32_t i = 0; i < n; ++i) {
                re[i] = dist(rng);
                im[i] = dist(rng);
            }
            std::vector<double> r1 = re, i1 = im, r2 = re, i2 = im;
            fftInPlace(n, r1.data(), i1.data(), sign);
            fftInPlace(table, r2.data(), i2.data(), sign);
            ASSERT_EQ(r1, r2) << n << " " << sign;
            ASSERT_EQ(i1, i2) << n << " " << sign;
        }
    }
}

}  // namespace
}  // namespace quenvale
