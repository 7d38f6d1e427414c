// Rounding a double to float without the undefined conversion of a finite value beyond float's range.
#pragma once

#include <limits>

namespace quenvale {

// Finite values beyond ±FLT_MAX saturate there; infinities and NaN pass through unchanged.
constexpr float saturatingFloat(double v) noexcept {
    constexpr double kMax = std::numeric_limits<float>::max();
    if (v > kMax && v != std::numeric_limits<double>::infinity()) return std::numeric_limits<float>::max();
    if (v < -kMax && v != -std::numeric_limits<double>::infinity()) return -std::numeric_limits<float>::max();
    return static_cast<float>(v);
}

}  // namespace quenvale
