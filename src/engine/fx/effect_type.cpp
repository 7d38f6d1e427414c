// Type changes of a channel effect slot.
#include "engine/fx/effect_type.h"

#include <atomic>
#include <cstring>

namespace quenvale {

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
        // Settled before the type is published, so the first sample of the new type already
        // reads the lines with their final times.
        applyLineSettings(effect, type);
    }
    std::atomic_signal_fence(std::memory_order_seq_cst);
    effect.type = type;
}

void clearEffectLines(ChannelEffect& effect) noexcept {
    for (DelayLine& line : effect.lines) {
        std::memset(line.buffer.get(), 0, sizeof(float) * kDelayLineLength);
        line.writeIndex = 0;
    }
}

}  // namespace quenvale
