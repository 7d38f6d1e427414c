// Per-voice state of one spectrum modulator tree: time, evaluated values, child states, output curve.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/curve/partial_curve.h"

namespace quenvale {

struct ModulatorState {
    explicit ModulatorState(int32_t size = 512) : output(size) {}

    bool released = false;
    float time = 0.0f;  // seconds since note start
    float gain = 1.0f;
    float offset = 0.0f;
    float shift = 0.0f;
    float cutoff = 0.0f;
    float resonance = 0.0f;
    float dryWet = 0.0f;
    std::vector<ModulatorState> children;
    PartialCurve output;
};

}  // namespace quenvale
