// Channel LFO ticks and effect ramp targets.
#include "engine/channel_control.h"

#include "engine/channel.h"
#include "engine/fx/effect_control.h"
#include "engine/lfo/lfo_tick.h"
#include "params/mod_evaluation.h"

namespace quenvale {

void updateChannelEffects(Channel& channel, float rampFraction) noexcept {
    for (ChannelEffect& fx : channel.fx) {
        float targets[kEffectTargetCount];
        for (int32_t p = 0; p < 4; ++p) targets[p] = evaluateChModParam(channel, fx.param[p]);
        targets[4] = evaluateChModParam(channel, fx.dryWet);
        updateEffectControl(fx, targets, rampFraction);
    }
}

void updateChannelControl(Channel& channel) noexcept {
    alignas(16) float offset[kChannelLfoCount], out[kChannelLfoCount];
    for (int32_t j = 0; j < kChannelLfoCount; ++j) {
        offset[j] = evaluateChModParam(channel, channel.chLfo.offset[j]);
        out[j] = evaluateChModParam(channel, channel.chLfo.out[j]);
    }
    tickChannelLfoGroup(channel.chLfoState, channel.chLfo.type, channel.chLfo.sync, offset, out);
    updateChannelEffects(channel, 1.0f / 64.0f);
}

}  // namespace quenvale
