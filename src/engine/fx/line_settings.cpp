// Delay-line times and feedbacks of a channel effect slot.
#include "engine/fx/line_settings.h"

#include <bit>

#include "engine/stable_values.h"

namespace quenvale {
namespace {

void setDelayLines(ChannelEffect& effect) noexcept {
    effect.lines[0].time = effect.params[0];
    effect.lines[0].feedback = stableFeedback(effect.params[1]);
    effect.lines[1].time = effect.params[2];
    effect.lines[1].feedback = stableFeedback(effect.params[3]);
}

void setCombLines(ChannelEffect& effect, bool force) noexcept {
    const float frequency = effect.params[0];
    const uint32_t bits = std::bit_cast<uint32_t>(frequency);
    if (force || bits != effect.combFrequencyBits) {
        // 0 Hz gives an infinite and negative frequencies a negative time; the per-sample stage
        // limits the delay to the line.
        const float time = 0.5f / frequency;
        effect.lines[0].time = time;
        effect.lines[1].time = time;
        effect.combFrequencyBits = bits;
    }
    effect.lines[0].feedback = stableFeedback(effect.params[1]);
    effect.lines[1].feedback = stableFeedback(effect.params[1]);
}

}  // namespace

void applyLineSettings(ChannelEffect& effect) noexcept {
    applyLineSettings(effect, effect.type);
}

void applyLineSettings(ChannelEffect& effect, int32_t type) noexcept {
    if (type == kEffectDelay) {
        setDelayLines(effect);
    } else if (type == kEffectComb) {
        setCombLines(effect, true);
    }
}

void followLineSettings(ChannelEffect& effect) noexcept {
    if (effect.type == kEffectDelay) {
        setDelayLines(effect);
    } else if (effect.type == kEffectComb) {
        setCombLines(effect, false);
    }
}

}  // namespace quenvale
