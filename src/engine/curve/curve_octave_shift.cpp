// Shift of a partial curve by octaves, in three modes.
#include "engine/curve/curve_octave_shift.h"

#include <algorithm>
#include <cmath>

#include "engine/spectrum/spectrum_kernels.h"

namespace quenvale {
namespace {

struct ShiftInput {
    const float* in;
    int32_t p;
    double border;

    double at(int32_t i) const noexcept { return (i >= 0 && i < p) ? static_cast<double>(in[i]) : border; }
};

void repeated(const ShiftInput& s, float* out, float r) noexcept {
    const double limit = static_cast<double>(s.p) + 1.0;
    for (int32_t k = 0; k < s.p; ++k) {
        const double x = static_cast<double>(k + 1) * r;
        out[k] = static_cast<float>(x < limit ? s.at(static_cast<int32_t>(x) - 1) : s.border);
    }
}

void nearest(const float* in, float* out, int32_t p, float r2) noexcept {
    std::fill(out, out + p, 0.0f);
    const double limit = static_cast<double>(p) + 1.0;
    for (int32_t j = 0; j < p; ++j) {
        const double x = static_cast<double>(j + 1) * r2;
        if (!(x < limit)) break;  // the mapping only grows with j
        const int32_t t = static_cast<int32_t>(x) - 1;
        if (t >= 0) out[t] = std::max(out[t], in[j]);
    }
}

}  // namespace

void curveOctaveShift(const PartialCurve& source, PartialCurve& destination, float octaves, bool repeatBorder,
                      int32_t mode) noexcept {
    const int32_t p = source.size();
    if (p <= 0 || destination.size() != p) return;
    if (mode != kOctaveShiftInterpolated && mode != kOctaveShiftRepeated && mode != kOctaveShiftNearest)
        return;
    if (std::isnan(octaves)) octaves = 0.0f;
    const double o = octaves;
    if (mode == kOctaveShiftNearest) {
        nearest(source.data(), destination.data(), p, static_cast<float>(std::exp2(o)));
        return;
    }
    const float* in = source.data();
    const double border = !repeatBorder ? 0.0 : (std::signbit(-o) ? in[0] : in[p - 1]);
    const ShiftInput s{in, p, border};
    const float r = static_cast<float>(std::exp2(-o));
    if (mode == kOctaveShiftInterpolated)
        spectrumKernels().octaveInterpolated(in, destination.data(), p, r, border);
    else
        repeated(s, destination.data(), r);
}

}  // namespace quenvale
