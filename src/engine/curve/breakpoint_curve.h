// A segment curve of up to 32 segments, shared by envelopes and key mapping (100 words).
#pragma once

#include <cstdint>

#include "common/capacity.h"

namespace quenvale {

struct BreakpointCurve {
    int32_t segmentCount = 0;
    int32_t loopStart = 0;
    int32_t loopEnd = 0;
    float startValue = 0.0f;
    float lengths[kMaxCurveSegments] = {};
    float endValues[kMaxCurveSegments] = {};
    float shapes[kMaxCurveSegments] = {};
};
static_assert(sizeof(BreakpointCurve) == 100 * 4);

}  // namespace quenvale
