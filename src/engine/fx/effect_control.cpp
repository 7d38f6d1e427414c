// Control-rate part of a channel effect slot.
#include "engine/fx/effect_control.h"

#include <cmath>

#include "engine/stable_values.h"

namespace quenvale {
namespace {

void rampTo(EffectRamp& ramp, float target, float rampFraction) noexcept {
    // A value run to inf or NaN jumps too, so the ramp recovers at the next finite target.
    if (rampFraction == 0.0f || std::isnan(rampFraction) || !finiteValue(ramp.value)) {
        ramp.value = target;
        ramp.step = 0.0f;
    } else {
        ramp.step = static_cast<float>((static_cast<double>(target) - ramp.value) * rampFraction);
    }
}

}  // namespace

void updateEffectControl(ChannelEffect& effect, const float targets[kEffectTargetCount],
                         float rampFraction) noexcept {
    for (int i = 0; i < 4; ++i) rampTo(effect.paramRamp[i], targets[i], rampFraction);
    rampTo(effect.dryWetRamp, targets[4], rampFraction);
}

void resetChannelEffect(ChannelEffect& effect) noexcept {
    effect.type = kEffectNone;
    effect.wet = 0.5f;
    for (int i = 0; i < 4; ++i) {
        effect.params[i] = 0.0f;
        effect.paramRamp[i] = EffectRamp{};
    }
    effect.dryWetRamp = EffectRamp{};
    effect.combFrequencyBits = ChannelEffect::kNoCombFrequency;
}

}  // namespace quenvale
