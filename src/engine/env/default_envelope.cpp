// The curve a new envelope starts with.
#include "engine/env/default_envelope.h"

namespace quenvale {

BreakpointCurve defaultEnvelopeCurve() noexcept {
    BreakpointCurve curve;
    curve.segmentCount = 2;
    curve.loopStart = 0;
    curve.loopEnd = 0;
    curve.startValue = 0.0f;
    curve.lengths[0] = 0.01f;
    curve.endValues[0] = 1.0f;
    curve.shapes[0] = 0.3f;
    curve.lengths[1] = 1.0f;
    curve.endValues[1] = 0.0f;
    curve.shapes[1] = 0.7f;
    return curve;
}

}  // namespace quenvale
