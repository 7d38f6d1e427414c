// Windowing, the two channel FFTs and the per-harmonic peak search of one analysis frame.
#include "resynth/harmonic_analyser.h"

#include <algorithm>
#include <cmath>

#include "resynth/fft.h"

namespace quenvale {
namespace {

constexpr double kWindowSlope = 6.103515625e-5;  // 1 / 16384
constexpr double kInversePi = 0.3183098861837907;
// Quieter partials are not placed: their detune and pan keep their earlier values.
constexpr double kPlacementThreshold = static_cast<double>(1e-5f);

}  // namespace

HarmonicAnalyser::HarmonicAnalyser(int32_t fundamentalBin, int32_t partialCount)
    : fundamentalBin_(fundamentalBin),
      partialCount_(partialCount),
      fft_(kAnalysisSize),
      leftRe_(kAnalysisSize),
      leftIm_(kAnalysisSize),
      rightRe_(kAnalysisSize),
      rightIm_(kAnalysisSize),
      window_(kAnalysisSize),
      amplitude_(partialCount),
      detune_(partialCount),
      phase_(partialCount),
      pan_(partialCount) {
    // A triangle from 0 at index 0 up to 1 at index 16384.
    for (int32_t i = 0; i < kAnalysisSize; ++i) window_[i] = 1.0 - std::abs(i - kAnalysisHalf) * kWindowSlope;
}

void HarmonicAnalyser::analyseFrame(const double* left, const double* right, int64_t frames, int64_t centre,
                                    bool firstFrame) {
    const int64_t start = centre - kAnalysisHalf;
    for (int32_t i = 0; i < kAnalysisSize; ++i) {
        const int64_t s = start + i;
        if (s >= 0 && s < frames) {
            leftRe_[i] = left[s] * window_[i];
            rightRe_[i] = right[s] * window_[i];
        } else {
            leftRe_[i] = 0.0;
            rightRe_[i] = 0.0;
        }
    }
    std::fill(leftIm_.begin(), leftIm_.end(), 0.0);
    std::fill(rightIm_.begin(), rightIm_.end(), 0.0);
    fftInPlace(fft_, leftRe_.data(), leftIm_.data(), -1);
    fftInPlace(fft_, rightRe_.data(), rightIm_.data(), -1);
    searchPartials(firstFrame);
}

void HarmonicAnalyser::searchPartials(bool firstFrame) noexcept {
    const double f = fundamentalBin_;
    // Harmonic h is searched in bins [ceil((h − 0.5)·F), ceil((h + 0.5)·F)), the first from F/2 down.
    int32_t lo = static_cast<int32_t>(std::floor(f * 0.5));
    for (int32_t p = 0; p < partialCount_; ++p) {
        const int32_t h = p + 1;
        const int32_t hi =
            static_cast<int32_t>(std::clamp(std::ceil((h + 0.5) * f), 0.0, double(kAnalysisHalf)));

        int32_t peak = lo;
        double best = 0.0, powL = 0.0, powR = 0.0;
        for (int32_t b = lo; b < hi; ++b) {
            const double l = leftRe_[b] * leftRe_[b] + leftIm_[b] * leftIm_[b];
            const double r = rightRe_[b] * rightRe_[b] + rightIm_[b] * rightIm_[b];
            const double m = std::max(l, r);
            if (m > best) {
                best = m;
                peak = b;
                powL = l;
                powR = r;
            }
        }

        const double aL = std::sqrt(powL);
        const double aR = std::sqrt(powR);
        const double a = std::max(aL, aR);
        if (a > globalPeak_) globalPeak_ = a;
        amplitude_[p] = static_cast<float>(a);
        if (a >= kPlacementThreshold) {
            detune_[p] = static_cast<float>(peak / f - h);
            pan_[p] = static_cast<float>((aR - aL) / a);
        }
        if (firstFrame && !(leftRe_[peak] == 0.0 && leftIm_[peak] == 0.0))
            phase_[p] = static_cast<float>(std::atan2(leftIm_[peak], leftRe_[peak]) * kInversePi);

        lo = hi;
    }
}

}  // namespace quenvale
