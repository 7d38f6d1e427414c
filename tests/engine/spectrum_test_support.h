// Helpers shared by the spectrum modulator tests: curves from formulas and one-tick evaluation.
#pragma once

#include <cstdint>

#include "engine/channel.h"
#include "engine/curve/partial_curve.h"
#include "engine/spectrum/modulator.h"
#include "engine/spectrum/modulator_evaluation.h"
#include "params/mod_param.h"

namespace quenvale::test {

template <typename F>
PartialCurve curveOf(int32_t size, F f) {
    PartialCurve c(size);
    for (int32_t k = 0; k < size; ++k) c[k] = static_cast<float>(f(k));
    return c;
}

// A single modulator evaluated for one voice with no voice-side sources.
struct SpectrumHarness {
    Channel channel;
    float voiceOutputs[kVoiceOutputCount] = {};

    // One control tick as the voice runs it: values, time step, output.
    void tick(Modulator& m, ModulatorState& s, float f0, int32_t partials, float dt) {
        evaluateModulatorValues(m, s, channel, voiceOutputs);
        advanceModulatorTime(s, dt);
        evaluateModulator(m, s, f0, partials);
    }
};

// A key-mapping ramp from 0 at x = 0 to 1 at x = 1: the factor equals the key position.
inline BreakpointCurve rampKeyMapping() {
    BreakpointCurve c;
    c.segmentCount = 1;
    c.startValue = 0.0f;
    c.lengths[0] = 1.0f;
    c.endValues[0] = 1.0f;
    c.shapes[0] = 0.5f;
    return c;
}

}  // namespace quenvale::test
