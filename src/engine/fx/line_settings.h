// Delay-line times and feedbacks of a channel effect slot, derived from its current params.
#pragma once

#include <cstdint>

#include "engine/fx/channel_effect.h"

namespace quenvale {

// [any] Line settings from the current params: Delay uses Param1 … Param4 as left time, left
// feedback, right time, right feedback; Comb uses half the period of Param1 (0.5 / Param1 seconds)
// for both lines and Param2 for both feedbacks. Feedbacks are limited to magnitude 0.999 (stableFeedback),
// so no modulation or stored value makes a line grow. Other types leave the lines alone.
void applyLineSettings(ChannelEffect& effect) noexcept;
// [any] The same as if the slot had the given type (used before a new type is published).
void applyLineSettings(ChannelEffect& effect, int32_t type) noexcept;

// [audio] The same, once per sample: the Comb time is recomputed only when Param1 has changed since
// the last derivation, so a settled ramp costs no division. Results equal applyLineSettings.
void followLineSettings(ChannelEffect& effect) noexcept;

}  // namespace quenvale
