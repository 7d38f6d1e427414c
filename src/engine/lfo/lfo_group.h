// Four LFOs evaluated together, one lane each (a voice has two groups, the channel one).
#pragma once

namespace quenvale {

struct alignas(16) LfoGroup {
    alignas(16) float lfoPhase[4] = {};        // table entries, 0 <= phase < 128
    alignas(16) float increment[4] = {};       // table entries per control tick
    alignas(16) float lfoPhaseOffset[4] = {};  // Phase value x 128
    alignas(16) float outLevel[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    alignas(16) float output[4] = {};          // the modulation source values
};

}  // namespace quenvale
