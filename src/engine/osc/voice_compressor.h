// The per-voice peak compressor with hard knee.
#pragma once

#include <cmath>

#include "engine/channel.h"

namespace quenvale {

// [audio] One stereo sample: power = (R² + L²) / 4 (kept), level = √power; the running level follows
// it with the attack coefficient when rising, the release coefficient otherwise, plus 1e-8 (the
// single-precision constant, so that the level never reaches 0); above the threshold both sides are
// scaled by 1 / exp(slope × ln(level / threshold)). Computed in double, stored as float.
inline void compressVoiceSample(const CompressorBlock& c, float& compressorLevel, float& compressorPower,
                                float& left, float& right) noexcept {
    const float power =
        static_cast<float>((static_cast<double>(right) * right + static_cast<double>(left) * left) * 0.25);
    compressorPower = power;
    const double level = std::sqrt(static_cast<double>(power));
    const double coefficient = level > compressorLevel ? c.attackCoefficient : c.releaseCoefficient;
    compressorLevel = static_cast<float>((1.0 - coefficient) * level + coefficient * compressorLevel +
                                         static_cast<double>(1e-8f));
    if (compressorLevel > c.threshold) {
        const double over =
            std::log(static_cast<double>(compressorLevel)) - std::log(static_cast<double>(c.threshold));
        const double exponent = c.slope * (over > 0.0 ? over : 0.0);
        // exponent is NaN only for slope 0 at threshold 0, which asks for no compression.
        if (exponent > 0.0) {
            const float g = static_cast<float>(1.0 / std::exp(exponent));
            left = g * left;
            right = g * right;
        }
    }
}

}  // namespace quenvale
