// Key-position computation and segment-curve evaluation for key mapping.
#include "engine/spectrum/key_mapping.h"

#include <algorithm>
#include <cmath>

#include "common/capacity.h"

namespace quenvale {

BreakpointCurve defaultKeyMapping() noexcept {
    BreakpointCurve curve;
    curve.segmentCount = 1;
    curve.loopStart = 0;
    curve.loopEnd = 0;
    curve.startValue = 1.0f;
    curve.lengths[0] = 1.0f;
    curve.endValues[0] = 1.0f;
    curve.shapes[0] = 0.5f;
    return curve;
}

float keyPosition(float f0) noexcept {
    // 12 log2(f0 / 13.75) + 9 is the note number; 0.0727… is 1/13.75 and 0.00787… is 1/127.
    if (!(f0 > 0.0f)) return 0.0f;
    const float x =
        static_cast<float>((12.0 * std::log2(f0 * 0.072727270424366) + 9.0) * 0.007874015718698502);
    return std::isfinite(x) ? x : 0.0f;
}

float evaluateCurve(const BreakpointCurve& curve, float x) noexcept {
    const int32_t count = std::clamp(curve.segmentCount, 0, kMaxCurveSegments);
    float start = 0.0f;
    for (int32_t i = 0; i < count; ++i) {
        const float length = curve.lengths[i];
        const float end = start + length;
        if (end > x) {
            const float from = i == 0 ? curve.startValue : curve.endValues[i - 1];
            const float to = curve.endValues[i];
            // Only a first segment can be met with x before its start (a note below 0); a segment
            // without length there holds its start value instead of dividing by zero.
            const float t = length > 0.0f ? (x - start) / length : 0.0f;
            const float c = std::clamp(curve.shapes[i], 0.001f, 0.999f);
            if (curve.shapes[i] == 0.5f) return from + (to - from) * t;
            const float e = c <= 0.5f ? 4.0f * c * c : (4.0f - 2.0f * c) * c - 1.0f;
            return from + (to - from) * e * t;
        }
        start = end;
    }
    return count > 0 ? curve.endValues[count - 1] : 0.0f;
}

}  // namespace quenvale
