// Type changes of a channel effect slot.
#include "engine/fx/effect_type.h"

#include <atomic>
#include <cstring>

namespace quenvale {

void applyLineSettings(ChannelEffect& effect) noexcept {
    if (effect.type == kEffectDelay) {
        effect.lines[0].time = effect.params[0];
        effect.lines[0].feedback = effect.params[1];
        effect.lines[1].time = effect.params[2];
        effect.lines[1].feedback = effect.params[3];
    } else if (effect.type == kEffectComb) {
        const float time = 0.5f / effect.params[0];
        for (DelayLine& line : effect.lines) {
            line.time = time;
            line.feedback = effect.params[1];
        }
    }
}

void setEffectType(ChannelEffect& effect, int32_t type) noexcept {
    if (type == effect.type) return;
    effect.type = kEffectNone;
    std::atomic_signal_fence(std::memory_order_seq_cst);
    if (type == kEffectDelay || type == kEffectComb) {
        for (DelayLine& line : effect.lines) {
            std::memset(line.buffer.get(), 0, sizeof(float) * kDelayLineLength);
            line.time = 0.2f;
            line.feedback = 0.5f;
            line.writeIndex = 0;
        }
    }
    std::atomic_signal_fence(std::memory_order_seq_cst);
    effect.type = type;
    applyLineSettings(effect);
}

}  // namespace quenvale
