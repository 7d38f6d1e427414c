// Per-voice running state of one breakpoint envelope (the curve itself lives in the channel).
#pragma once

#include <cstdint>

namespace quenvale {

struct EnvelopeState {
    float mul = 1.0f;   // per-tick recursion: value <- value * mul + add
    float add = 0.0f;
    float value = 0.0f;
    int32_t segment = -1;
    int32_t ticksLeft = 0;
    bool released = false;
    bool holding = false;
    bool finished = false;
    bool inRelease = false;
    float time = 0.0f;
    float outLevel = 1.0f;
    float output = 0.0f;
};

}  // namespace quenvale
