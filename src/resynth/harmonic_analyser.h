// Short-time spectrum analysis locked to the harmonics of a fundamental that sits exactly on a bin.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/curve/partial_curve.h"
#include "resynth/fft.h"

namespace quenvale {

inline constexpr int32_t kAnalysisSize = 32768;              // FFT points per frame
inline constexpr int32_t kAnalysisHalf = kAnalysisSize / 2;  // the window's peak; the highest bin
inline constexpr int32_t kFirstFrameCentre = 8192;

// Owns the work arrays of one run (allocated once) and the four analysis curves, which keep their
// values from frame to frame: a partial too quiet to place keeps its earlier detune and pan.
class HarmonicAnalyser {
public:
    // [ui] fundamentalBin ≥ 1; partialCount 64 … 512, a multiple of 4.
    HarmonicAnalyser(int32_t fundamentalBin, int32_t partialCount);

    // [ui] Analyses the frame centred on sample `centre` of two channels of `frames` samples (the
    // window reaches 16384 samples either side; samples outside the channels count as 0). On the
    // first frame the phase curve is taken from the left channel.
    void analyseFrame(const double* left, const double* right, int64_t frames, int64_t centre,
                      bool firstFrame);

    const PartialCurve& amplitude() const noexcept { return amplitude_; }
    const PartialCurve& detune() const noexcept { return detune_; }  // harmonic units, 0 on the harmonic
    const PartialCurve& phase() const noexcept { return phase_; }    // −1 … +1 (radians / π)
    const PartialCurve& pan() const noexcept { return pan_; }        // −1 left … +1 right
    // The largest amplitude met in any frame so far (0 before the first).
    double globalPeak() const noexcept { return globalPeak_; }

private:
    void searchPartials(bool firstFrame) noexcept;

    int32_t fundamentalBin_;
    int32_t partialCount_;
    FftTable fft_;
    std::vector<double> leftRe_, leftIm_, rightRe_, rightIm_, window_;
    PartialCurve amplitude_, detune_, phase_, pan_;
    double globalPeak_ = 0.0;
};

}  // namespace quenvale
