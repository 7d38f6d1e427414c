// Changing a channel effect slot's type.
#pragma once

#include <cstdint>

#include "engine/fx/channel_effect.h"

namespace quenvale {

// [any] Sets the slot to None first, clears both lines when the new type uses them (so a change between
// Delay and Comb also clears the tails), then stores the new type and sets the lines' times and
// feedbacks from the current params. Never allocates: the lines live as long as the channel.
void setEffectType(ChannelEffect& effect, int32_t type) noexcept;

// [audio] Line settings from the current params: Delay uses Param1 … Param4 as left time, left
// feedback, right time, right feedback; Comb uses half the period of Param1 and Param2.
void applyLineSettings(ChannelEffect& effect) noexcept;

}  // namespace quenvale
