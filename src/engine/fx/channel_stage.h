// Per-sample channel stage: the two effect slots in order, then the master gain.
#pragma once

#include "common/capacity.h"
#include "engine/fx/channel_effect.h"

namespace quenvale {

// [audio] Runs one slot on a stereo sample in place. A slot whose type is not Delay or Comb is
// skipped entirely (its ramps stand still). Otherwise the ramps advance one sample, the line
// settings follow the params, and each side reads its line d = time × sampleRate samples back
// (linear interpolation; d limited to 0 … 65535 so that any time, also infinite, negative or NaN,
// stays inside the line) and writes (y + 1e-8) × feedback + x. Delay cross-fades dry and delayed
// signals by wet; Comb adds wet × the delayed signal to the dry one.
void processChannelEffect(ChannelEffect& effect, float& left, float& right) noexcept;

// [audio] One sample of the channel stage: slot 1, slot 2, then both sides × masterGain.
void processChannelSample(ChannelEffect (&fx)[kChannelEffectCount], float masterGain, float& left,
                          float& right) noexcept;

}  // namespace quenvale
