// Control-rate part of a channel effect slot: ramp targets, and the reset at channel start.
#pragma once

#include "engine/fx/channel_effect.h"

namespace quenvale {

inline constexpr int kEffectTargetCount = 5;  // Param1 … Param4, then Dry/Wet

// [audio] New ramp targets for Param1 … Param4 and Dry/Wet (targets: the slot's evaluated
// ChModParams in that order). rampFraction 0 (or NaN), or a ramp whose value is inf or NaN, jumps:
// value = target, step = 0; otherwise
// step = (target − value) × rampFraction, so 1/64 arrives at the target after 64 samples. Runs for
// every slot whatever its type.
void updateEffectControl(ChannelEffect& effect, const float targets[kEffectTargetCount],
                         float rampFraction) noexcept;

// [ui] Channel start: type None, params 0, wet 0.5, every ramp at 0 with step 0. The parameter
// records and the lines are left alone (a later type change clears the lines).
void resetChannelEffect(ChannelEffect& effect) noexcept;

}  // namespace quenvale
