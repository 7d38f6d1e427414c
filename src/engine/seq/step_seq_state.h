// Per-voice running state of one step sequencer.
#pragma once

#include <cstdint>

namespace quenvale {

struct StepSeqState {
    int32_t step = 0;
    float position = 0.0f;   // table entries inside the step, 0 … 128
    float increment = 0.0f;  // table entries per control tick
    float outLevel = 1.0f;
    float output = 0.0f;
};

}  // namespace quenvale
