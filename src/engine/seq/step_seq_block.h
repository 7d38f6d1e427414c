// The channel's stored data of one step sequencer: sync, length, 32 steps and its "Out" level.
#pragma once

#include <cstdint>

#include "common/capacity.h"
#include "params/mod_param.h"

namespace quenvale {

struct Step {
    int32_t shape = 0;     // shape table index 0 … 8
    float start = 0.0f;    // the step's value
    float range = 0.0f;    // derived: start of the next step minus this start
};

struct StepSeqBlock {
    int32_t sync = 0;
    int32_t lengthIndex = 3;  // 0 … 8 → 1, 2, 3, 4, 8, 12, 16, 24, 32 steps
    int32_t stepCount = 4;
    Step steps[kMaxSteps];
    ModParam out;
};

}  // namespace quenvale
