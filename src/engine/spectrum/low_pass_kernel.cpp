// Windowed-sinc low-pass kernel design.
#include "engine/spectrum/low_pass_kernel.h"

#include <cmath>
#include <numbers>

namespace quenvale {

void designLowPassKernel(int32_t n, double fc, double* kernel) noexcept {
    if (n < 2 || kernel == nullptr) return;
    constexpr double kPi = std::numbers::pi;
    const double middle = (n - 1) * 0.5;
    const double span = static_cast<double>(n - 1);
    for (int32_t i = 0; i < n; ++i) {
        const double d = i - middle;
        const double sinc = (d == 0.0) ? 2.0 * fc : std::sin(2.0 * kPi * fc * d) / (kPi * d);
        const double window =
            0.42 - 0.5 * std::cos(2.0 * kPi * i / span) + 0.08 * std::cos(4.0 * kPi * i / span);
        kernel[i] = sinc * window;
    }
}

}  // namespace quenvale
