// TEMPORARY stand-in for the envelope and LFO entry points until the components branch lands on
// main; delete this file when merging it. The envelope here only finishes on the first tick after
// its release, enough to exercise the voice lifecycle.
#include "engine/env/default_envelope.h"
#include "engine/env/envelope.h"
#include "engine/lfo/lfo_tick.h"
#include "engine/rate_values.h"

namespace quenvale {

void resetEnvelope(EnvelopeState& state) noexcept {
    const float outLevel = state.outLevel;
    state = EnvelopeState{};
    state.outLevel = outLevel;
}

void releaseEnvelope(EnvelopeState& state) noexcept { state.released = true; }

bool startSegment(const BreakpointCurve&, EnvelopeState&) noexcept { return false; }

bool tickEnvelope(const BreakpointCurve&, EnvelopeState& state, float outLevel) noexcept {
    state.outLevel = outLevel;
    if (state.finished) return false;
    if (state.released) {
        state.finished = true;
        state.value = state.output = 0.0f;
        return true;
    }
    state.value = 1.0f;
    state.output = state.value * outLevel;
    return false;
}

BreakpointCurve defaultEnvelopeCurve() noexcept {
    BreakpointCurve c;
    c.segmentCount = 2;
    c.lengths[0] = 0.01f;
    c.endValues[0] = 1.0f;
    c.shapes[0] = 0.3f;
    c.lengths[1] = 1.0f;
    c.endValues[1] = 0.0f;
    c.shapes[1] = 0.7f;
    return c;
}

void resetLfoGroup(LfoGroup& group) noexcept { group = LfoGroup{}; }

float freeRunningIncrement(float ratio, float offset, float keyFrequency) noexcept {
    return (ratio * keyFrequency + offset) * rates.lfoIncrementScale;
}

float reduceLfoPhase(float phase) noexcept { return phase; }

void tickVoiceLfoGroup(LfoGroup&, const int32_t[4], const int32_t[4], const float[4], const float[4],
                       const float[4], const float[4], float) noexcept {}

void tickChannelLfoGroup(LfoGroup&, const int32_t[4], const int32_t[4], const float[4],
                         const float[4]) noexcept {}

}  // namespace quenvale
