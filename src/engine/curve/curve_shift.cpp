// Fractional shift of a partial curve along the partial axis.
#include "engine/curve/curve_shift.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "engine/spectrum/spectrum_kernels.h"

namespace quenvale {

void curveShift(const PartialCurve& source, PartialCurve& destination, float amount,
                bool repeatBorder) noexcept {
    const int32_t p = source.size();
    if (p <= 0 || destination.size() != p) return;
    const float* in = source.data();
    float* out = destination.data();

    double m = -static_cast<double>(amount);
    if (std::isnan(m)) m = 0.0;
    // The sign bit decides the border side, so +0 (m = −0) repeats the first value.
    const double border = !repeatBorder ? 0.0 : (std::signbit(m) ? in[0] : in[p - 1]);
    // Beyond ±(P + 2) every read is a border read, so limiting m there changes no result but keeps
    // the index arithmetic inside 32 bits (and turns infinities into an all-border curve).
    const double limit = static_cast<double>(p) + 2.0;
    m = std::clamp(m, -limit, limit);
    const double fl = std::floor(m);
    const double f = m - fl;
    const double g = 1.0 - f;
    const int32_t offset = static_cast<int32_t>(fl);

    auto at = [&](int32_t i) noexcept { return (i >= 0 && i < p) ? static_cast<double>(in[i]) : border; };
    auto edge = [&](int32_t k) noexcept {
        out[k] = static_cast<float>(at(k + offset) * g + at(k + offset + 1) * f);
    };
    // Interior: both neighbours k + offset and k + offset + 1 lie inside the curve.
    const int32_t begin = std::clamp(-offset, 0, p);
    const int32_t end = std::clamp(p - 1 - offset, begin, p);
    for (int32_t k = 0; k < begin; ++k) edge(k);
    spectrumKernels().shiftInterior(in, out, begin, end, offset, g, f);
    for (int32_t k = end; k < p; ++k) edge(k);
}

}  // namespace quenvale
