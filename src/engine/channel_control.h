// The channel's control-rate work: channel LFOs and the effect slots' ramp targets.
#pragma once

namespace quenvale {

struct Channel;

// [audio] Channel LFOs with their evaluated Offset and Out values, then both effect slots' ramp
// targets with ramp fraction 1/64: the channel part of every control tick.
void updateChannelControl(Channel& channel) noexcept;

// [any] New ramp targets of both effect slots from their evaluated Param1 … Param4 and Dry/Wet:
// rampFraction 0 jumps (note start, refresh of all parameters), otherwise the fraction of the
// distance covered per sample.
void updateChannelEffects(Channel& channel, float rampFraction) noexcept;

}  // namespace quenvale
