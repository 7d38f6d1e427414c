// A control-rate value that is given a new target at each control tick and moves towards it per sample.
#pragma once

#include "engine/stable_values.h"

namespace quenvale {

struct ControlRamp {
    float value = 0.0f;
    float step = 0.0f;  // added to value once per sample
};

// [audio] The ramp rule. rampFraction is 1 / (samples until the next control tick): the step becomes
// (target − value) × rampFraction (computed in double, stored as float) and the value is not touched.
// A rampFraction of 0 (or NaN) sets the value to the target at once with step 0, and so does a value
// that has become inf or NaN (from a target that was), so that the ramp recovers at the next target
// instead of staying NaN for good.
inline void setRampTarget(ControlRamp& ramp, float target, float rampFraction) noexcept {
    if (rampFraction != 0.0f && rampFraction == rampFraction && finiteValue(ramp.value)) {
        ramp.step = static_cast<float>((static_cast<double>(target) - ramp.value) * rampFraction);
    } else {
        ramp.value = target;
        ramp.step = 0.0f;
    }
}

// [audio] One sample: value += step; returns the new value.
inline float advanceRamp(ControlRamp& ramp) noexcept {
    ramp.value = ramp.value + ramp.step;
    return ramp.value;
}

// [audio] Value and step 0.
inline void clearRamp(ControlRamp& ramp) noexcept {
    ramp.value = 0.0f;
    ramp.step = 0.0f;
}

}  // namespace quenvale
