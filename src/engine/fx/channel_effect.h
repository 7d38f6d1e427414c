// One channel effect slot (None, Delay or Comb) with its modulated parameters and per-sample ramps.
#pragma once

#include <cstdint>
#include <memory>

#include "common/capacity.h"
#include "params/mod_param.h"

namespace quenvale {

enum EffectType : int32_t { kEffectNone = 0, kEffectDelay = 1, kEffectComb = 2 };

// Both lines of a slot are allocated for the channel's life, so a type change never allocates
// (it may arrive on the audio thread through host automation); a type change clears them.
struct DelayLine {
    std::unique_ptr<float[]> buffer{new float[kDelayLineLength]()};
    float time = 0.2f;
    float feedback = 0.5f;
    int32_t writeIndex = 0;
};

struct EffectRamp {
    float value = 0.0f;
    float step = 0.0f;
};

struct ChannelEffect {
    int32_t type = kEffectNone;
    float wet = 0.5f;
    float params[4] = {};
    DelayLine lines[2];  // left, right
    ChModParam param[4];
    EffectRamp paramRamp[4];
    ChModParam dryWet;
    EffectRamp dryWetRamp;
    // Bit pattern of the Param1 value the Comb line times were last derived from, so the per-sample
    // path divides only when Param1 moves. The initial pattern is a NaN that no arithmetic produces.
    uint32_t combFrequencyBits = kNoCombFrequency;

    static constexpr uint32_t kNoCombFrequency = 0x7fbadbadu;
};

}  // namespace quenvale
