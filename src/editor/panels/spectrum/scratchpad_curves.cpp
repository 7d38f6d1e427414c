// Scratchpad generators, transforms and transfers.
#include "editor/panels/spectrum/scratchpad_curves.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "common/random.h"
#include "engine/curve/curve_octave_shift.h"
#include "engine/curve/curve_shift.h"

namespace quenvale::editor {
namespace {

double inverse(double base, int power) {
    return 1.0 / std::pow(base, power);
}

// out[k] = (in[k] + Σ w·in[j]) / (1 + Σ w) over the neighbours j within r = ceil(x) partials, with a
// raised-cosine weight that falls to 0 at a distance of x partials; x runs 0 … 64 for v = −2 … 2.
void smooth(const PartialCurve& in, PartialCurve& out, float v) {
    const double x = (static_cast<double>(v) + 2.0) * 0.25 * 128.0 * 0.5;
    const int32_t r = static_cast<int32_t>(std::ceil(x));
    const int32_t n = in.size();
    for (int32_t k = 0; k < n; ++k) {
        double sum = in[k], weights = 1.0;
        for (int32_t j = std::max(0, k - r); j <= std::min(n - 1, k + r); ++j) {
            if (j == k) continue;
            const double d = std::clamp((j - k) / x, -1.0, 1.0);
            const double w = 0.5 * std::cos(d * std::numbers::pi) + 0.5;
            sum += w * in[j];
            weights += w;
        }
        out[k] = static_cast<float>(sum / weights);
    }
}

}  // namespace

bool generateScratchpad(int32_t command, PartialCurve& curve) {
    const int32_t n = curve.size();
    auto fill = [&](auto valueOf) {
        for (int32_t k = 0; k < n; ++k) curve[k] = static_cast<float>(valueOf(k));
    };
    switch (command) {
        case kGenClear:
            fill([](int32_t) { return 0.0; });
            return true;
        case kGenSetToOne:
            fill([](int32_t) { return 1.0; });
            return true;
        case kGenSetToMinusOne:
            fill([](int32_t) { return -1.0; });
            return true;
        case kGenRandomize:
            fill([](int32_t) { return randomFloat(0.0f, 1.0f); });
            return true;
        case kGenRandomizeBipolar:
            fill([](int32_t) { return randomFloat(-1.0f, 1.0f); });
            return true;
        case kGenSine:
            fill([](int32_t k) { return k == 0 ? 1.0 : 0.0; });
            return true;
        case kGenSaw:
        case kGenLowPass6:
            fill([](int32_t k) { return inverse(k + 1, 1); });
            return true;
        case kGenSquare:
            fill([](int32_t k) { return k % 2 == 0 ? inverse(k + 1, 1) : 0.0; });
            return true;
        case kGenTriangle:
            fill([](int32_t k) {
                if (k % 2 != 0) return 0.0;
                return k % 4 == 0 ? inverse(k + 1, 2) : -inverse(k + 1, 2);
            });
            return true;
        case kGenLowPass12:
            fill([](int32_t k) { return inverse(k + 1, 2); });
            return true;
        case kGenLowPass24:
            fill([](int32_t k) { return inverse(k + 1, 4); });
            return true;
        case kGenHighPass6:
            fill([n](int32_t k) { return inverse(n - k, 1); });
            return true;
        case kGenHighPass12:
            fill([n](int32_t k) { return inverse(n - k, 2); });
            return true;
        case kGenHighPass24:
            fill([n](int32_t k) { return inverse(n - k, 4); });
            return true;
        default:
            return false;
    }
}

bool transformScratchpad(int32_t transform, const PartialCurve& in, PartialCurve& out, float v) {
    if (in.size() != out.size()) return false;
    const int32_t n = in.size();
    switch (transform) {
        case kTransformScale:
            for (int32_t k = 0; k < n; ++k) out[k] = in[k] * v;
            return true;
        case kTransformOffset:
            for (int32_t k = 0; k < n; ++k) out[k] = in[k] + v;
            return true;
        case kTransformShift:
            curveShift(in, out, v, false);
            return true;
        case kTransformOctaveInterpolated:
            curveOctaveShift(in, out, v, false, kOctaveShiftInterpolated);
            return true;
        case kTransformOctaveRepeated:
            curveOctaveShift(in, out, v, false, kOctaveShiftRepeated);
            return true;
        case kTransformOctaveNearest:
            curveOctaveShift(in, out, v, false, kOctaveShiftNearest);
            return true;
        case kTransformSmooth:
            smooth(in, out, v);
            return true;
        case kTransformAddNoise:
            for (int32_t k = 0; k < n; ++k) out[k] = in[k] + randomFloat(-v, v);
            return true;
        case kTransformMulNoise:
            for (int32_t k = 0; k < n; ++k) out[k] = in[k] * (1.0f - v) + randomFloat(0.0f, 1.0f) * in[k] * v;
            return true;
        default:
            return false;
    }
}

void transferCurve(int32_t mode, const PartialCurve& src, PartialCurve& dst, const std::vector<bool>& mask) {
    const int32_t n = std::min({src.size(), dst.size(), static_cast<int32_t>(mask.size())});
    for (int32_t k = 0; k < n; ++k) {
        if (!mask[k]) continue;
        switch (mode) {
            case kTransferCopy:
                dst[k] = src[k];
                break;
            case kTransferMultiply:
                dst[k] = dst[k] * src[k];
                break;
            case kTransferAdd:
                dst[k] = dst[k] + src[k];
                break;
            case kTransferSubtract:
                dst[k] = dst[k] - src[k];
                break;
            default:
                return;
        }
    }
}

}  // namespace quenvale::editor
