// Shifting partial curves by partials and by octaves, in double precision, stored as float.
#include "engine/curve/curve_shift.h"

#include <algorithm>
#include <cmath>

namespace quenvale {
namespace {

int32_t commonSize(const PartialCurve& a, const PartialCurve& b) noexcept {
    return std::min(a.size(), b.size());
}

// Border value for positions outside the curve. The sign test is on the negated amount, so +0 counts
// as a move upwards (reads the first value).
double borderValue(const float* in, int32_t count, float amount, bool repeatBorder) noexcept {
    if (!repeatBorder) return 0.0;
    return std::signbit(-amount) ? in[0] : in[count - 1];
}

// Index arithmetic on a clamped position: anything beyond the curve on either side reads the border,
// so limiting the offset keeps the integer conversion defined for huge or non-finite amounts.
int64_t clampedIndex(double position, int32_t count) noexcept {
    const double limit = static_cast<double>(count) + 2.0;
    if (!(position > -limit)) return -static_cast<int64_t>(count) - 2;
    if (!(position < limit)) return static_cast<int64_t>(count) + 2;
    return static_cast<int64_t>(position);  // truncation toward zero
}

}  // namespace

void curveShift(const PartialCurve& source, PartialCurve& destination, float amount,
                bool repeatBorder) noexcept {
    const int32_t count = commonSize(source, destination);
    if (count <= 0) return;
    const float* in = source.data();
    float* out = destination.data();
    const double b = borderValue(in, count, amount, repeatBorder);
    const double m = -static_cast<double>(amount);
    const double fl = std::floor(m);
    const double f = m - fl;
    const int64_t offset = clampedIndex(fl, count);
    const double g = 1.0 - f;
    auto read = [&](int64_t i) noexcept { return (i >= 0 && i < count) ? static_cast<double>(in[i]) : b; };
    auto edge = [&](int32_t k) noexcept {
        out[k] = static_cast<float>(read(k + offset) * g + read(k + offset + 1) * f);
    };
    // Positions whose two neighbours both lie inside the curve need no border test.
    const int32_t first = static_cast<int32_t>(std::clamp<int64_t>(-offset, 0, count));
    const int32_t last = static_cast<int32_t>(std::clamp<int64_t>(count - 1 - offset, first, count));
    for (int32_t k = 0; k < first; ++k) edge(k);
    for (int32_t k = first; k < last; ++k) {
        const int64_t i = k + offset;
        out[k] = static_cast<float>(static_cast<double>(in[i]) * g + static_cast<double>(in[i + 1]) * f);
    }
    for (int32_t k = last; k < count; ++k) edge(k);
}

void curveOctaveShift(const PartialCurve& source, PartialCurve& destination, float octaves, bool repeatBorder,
                      int32_t mode) noexcept {
    const int32_t count = commonSize(source, destination);
    if (count <= 0 || mode < 0 || mode > 2) return;
    const float* in = source.data();
    float* out = destination.data();
    if (mode == 2) {
        const float r2 = static_cast<float>(std::pow(2.0, static_cast<double>(octaves)));
        std::fill(out, out + count, 0.0f);
        for (int32_t j = 0; j < count; ++j) {
            const int64_t t = clampedIndex(static_cast<double>(j + 1) * r2, count) - 1;
            if (t >= 0 && t < count) out[t] = std::max(out[t], in[j]);
        }
        return;
    }
    const double b = borderValue(in, count, octaves, repeatBorder);
    auto read = [&](int64_t i) noexcept { return (i >= 0 && i < count) ? static_cast<double>(in[i]) : b; };
    const float r = static_cast<float>(std::pow(2.0, -static_cast<double>(octaves)));
    if (mode == 1) {
        for (int32_t k = 0; k < count; ++k) {
            const int64_t i = clampedIndex(static_cast<double>(k + 1) * r, count) - 1;
            out[k] = static_cast<float>(read(i));
        }
        return;
    }
    const float lastInner = static_cast<float>(count - 1);
    for (int32_t k = 0; k < count; ++k) {
        const float x = static_cast<float>(static_cast<double>(k + 1) * r - 1.0);
        if (x >= 0.0f && x < lastInner) {  // both neighbours inside: no border test
            const int32_t j = static_cast<int32_t>(x);
            const double f = static_cast<double>(x) - static_cast<double>(j);
            out[k] = static_cast<float>(static_cast<double>(in[j]) * (1.0 - f) +
                                        static_cast<double>(in[j + 1]) * f);
            continue;
        }
        const int64_t i = clampedIndex(x, count);
        if (i < -1 || i >= count) {  // both neighbours lie outside (also for a clamped position)
            out[k] = static_cast<float>(b);
            continue;
        }
        const double f = static_cast<double>(x) - static_cast<double>(i);
        out[k] = static_cast<float>(read(i) * (1.0 - f) + read(i + 1) * f);
    }
}

}  // namespace quenvale
