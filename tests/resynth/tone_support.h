// Synthesised recordings for the resynthesis tests: partials placed on exact analysis bins.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "wav_test_support.h"

namespace quenvale::test {

// The analysis bin width at 44100 Hz is 44100 / 32768 = 11025 / 8192 Hz; a fundamental of
// F · 11025 / 8192 Hz is exact in single precision for F < 1521 and lies exactly on bin F.
inline float binAlignedFundamental(int32_t bin) {
    return static_cast<float>(bin * 11025.0 / 8192.0);
}

struct TonePartial {
    int32_t bin;        // frequency in analysis bins (harmonic h of fundamental bin F: h·F)
    double left = 0.0;  // amplitudes, full scale 1
    double right = 0.0;
    double phaseLeft = 0.0;  // radians at sample 0
    double phaseRight = 0.0;
};

struct StereoSignal {
    std::vector<double> left, right;
};

inline StereoSignal makeTone(size_t frames, const std::vector<TonePartial>& partials) {
    StereoSignal s{std::vector<double>(frames, 0.0), std::vector<double>(frames, 0.0)};
    const double twoPi = 6.283185307179586476925;
    for (const TonePartial& p : partials) {
        const double w = twoPi * p.bin / 32768.0;
        for (size_t n = 0; n < frames; ++n) {
            const double x = w * static_cast<double>(n % 32768);  // exact period of 32768 samples
            s.left[n] += p.left * std::cos(x + p.phaseLeft);
            s.right[n] += p.right * std::cos(x + p.phaseRight);
        }
    }
    return s;
}

inline std::string writeTone(const TempFolder& tmp, const std::string& name, const StereoSignal& s) {
    return tmp.write(name, canonicalWav(quantise(s.left, s.right)));
}

}  // namespace quenvale::test
