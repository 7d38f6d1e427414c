// Changing a channel effect slot's type.
#pragma once

#include <cstdint>

#include "engine/fx/channel_effect.h"
#include "engine/fx/line_settings.h"

namespace quenvale {

// [any] Sets the slot to None first, clears both lines when the new type uses them (so a change between
// Delay and Comb also clears the tails), sets the lines' times and feedbacks from the current params,
// and only then stores the new type. Never allocates: the lines live as long as the channel.
void setEffectType(ChannelEffect& effect, int32_t type) noexcept;

// [audio] Zeroes both lines of the slot (their write indices back to 0), keeping type, times and
// feedbacks: the render loop's recovery when the channel stage gave inf or NaN.
void clearEffectLines(ChannelEffect& effect) noexcept;

}  // namespace quenvale
