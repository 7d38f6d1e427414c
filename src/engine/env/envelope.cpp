// Running a breakpoint envelope once per control tick.
#include "engine/env/envelope.h"

#include <algorithm>
#include <cmath>

#include "engine/rate_values.h"

namespace quenvale {
namespace {

// Ticks of a segment: length × controlRate truncated, at least one tick (a segment shorter than a
// tick, of negative or NaN length, still moves to its end value in one tick instead of dividing
// by zero) and at most kMaxSegmentTicks.
int32_t segmentTicks(float length) noexcept {
    const float ticks = length * rates.controlRate;
    if (!(ticks >= 1.0f)) return 1;
    if (ticks >= static_cast<float>(kMaxSegmentTicks)) return kMaxSegmentTicks;
    return static_cast<int32_t>(ticks);
}

// Curvature factor r of a shape: the value minus its asymptote changes by r over the segment.
float curvature(float shape) noexcept {
    float c = std::isnan(shape) ? 0.5f : shape;
    c = std::clamp(c, 0.001f, 0.999f);
    const double cd = c;
    const double e = cd <= 0.5 ? 2.0 * cd * cd : (4.0 - 2.0 * cd) * cd - 1.0;
    const float d = static_cast<float>(1.0 / e - 1.0);
    return d * d;
}

void startCurve(EnvelopeState& state, float y1, float shape, int32_t t) noexcept {
    const double y0 = state.value;
    float r = curvature(shape);
    // Limits the overshoot of the asymptote for steep curves starting far from zero. Done before the
    // test for a straight line: from a start beyond ±1000 the limit can bring r to 1, where the curve
    // form would divide by 1 − r = 0. (From starts within ±1000 the limit never lands near 1.)
    if (r * y0 > 1000.0) r = static_cast<float>(1000.0 / y0);
    if (r * y0 < -1000.0) r = static_cast<float>(-1000.0 / y0);
    if (r > 0.99999f && r < 1.00001f) {
        state.mul = 1.0f;
        state.add = static_cast<float>((y1 - y0) / t);
        return;
    }
    const double rd = r;
    state.mul = static_cast<float>(std::pow(rd, 1.0 / t));
    const double b = (y1 - rd * y0) / (1.0 - rd);
    state.add = static_cast<float>((1.0 - static_cast<double>(state.mul)) * b);
}

}  // namespace

void resetEnvelope(EnvelopeState& state) noexcept {
    state.mul = 1.0f;
    state.add = 0.0f;
    state.value = 0.0f;
    state.output = 0.0f;
    state.segment = -1;
    state.ticksLeft = 0;
    state.released = false;
    state.holding = false;
    state.finished = false;
    state.inRelease = false;
    state.time = 0.0f;
}

void releaseEnvelope(EnvelopeState& state) noexcept {
    state.released = true;
}

bool startSegment(const BreakpointCurve& curve, EnvelopeState& state) noexcept {
    // Read once: the editor may change the curve while it plays. Indices outside −1 … 32 compare
    // like −1 or 32 (no segment has either index), so clamping them changes no decision.
    const int32_t n = std::clamp(curve.segmentCount, 0, kMaxCurveSegments);
    const int32_t loopStart = std::clamp(curve.loopStart, -1, kMaxCurveSegments);
    const int32_t loopEnd = std::clamp(curve.loopEnd, -1, kMaxCurveSegments);
    const int32_t segment = state.segment;

    int32_t s;
    if (state.inRelease || segment < 0) {
        s = segment + 1;
    } else if (state.released) {
        state.holding = false;
        state.inRelease = true;
        s = loopEnd + 1;
    } else if (segment == loopStart) {
        if (loopStart == loopEnd) {
            state.mul = 1.0f;
            state.add = 0.0f;
            state.holding = true;
            state.value = curve.endValues[segment];
            return false;
        }
        s = segment + 1;
    } else if (segment == loopEnd) {
        // A loop start before the first segment loops from segment 0.
        s = std::max(loopStart, 0);
    } else {
        s = segment + 1;
    }

    if (s >= n) {
        state.mul = 1.0f;
        state.add = 0.0f;
        state.value = 0.0f;
        state.finished = true;
        return true;
    }
    state.segment = s;
    if (s > 0) state.time = curve.lengths[s - 1];
    const int32_t t = segmentTicks(curve.lengths[s]);
    state.ticksLeft = t - 1;
    startCurve(state, curve.endValues[s], curve.shapes[s], t);
    return false;
}

bool tickEnvelope(const BreakpointCurve& curve, EnvelopeState& state, float outLevel) noexcept {
    state.outLevel = outLevel;
    bool finishedNow = false;
    if (!state.finished) {
        if (state.released != state.inRelease) {
            finishedNow = startSegment(curve, state);
        } else if (state.holding) {
            // Sustaining: only a note-off moves the envelope on.
        } else if (state.ticksLeft > 0) {
            --state.ticksLeft;
        } else {
            finishedNow = startSegment(curve, state);
        }
    }
    state.value = static_cast<float>(static_cast<double>(state.value) * state.mul + state.add);
    state.output = state.value * outLevel;
    if (!state.holding) state.time = static_cast<float>(state.time + 64.0 * rates.sampleTime);
    return finishedNow;
}

}  // namespace quenvale
