// Per-voice state of one spectrum modulator tree: time, evaluated values, child states, output curve.
#pragma once

#include <cstdint>
#include <vector>

#include "common/capacity.h"
#include "engine/curve/partial_curve.h"

namespace quenvale {

struct ModulatorState {
    // Top-level states hold 512 values; child states take their parent's size.
    explicit ModulatorState(int32_t size = kMaxPartials) : output(size) {}

    bool released = false;
    float time = 0.0f;  // seconds since note start
    // The six modulated values as evaluated for this voice.
    float gain = 1.0f;
    float offset = 0.0f;
    float shift = 0.0f;
    float cutoff = 0.5f;
    float resonance = 0.5f;
    float dryWet = 1.0f;
    std::vector<ModulatorState> children;  // one per child link while the tree matches the modulator
    PartialCurve output;
    // Values of output from this index on are 0 (the last evaluation's partial count), so a consumer
    // may read all 512 values whatever the partial count.
    int32_t evaluatedCount = 0;
};

}  // namespace quenvale
