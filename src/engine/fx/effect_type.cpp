// Type changes of a channel effect slot.
#include "engine/fx/effect_type.h"

#include <atomic>
#include <cstring>

namespace quenvale {

// The type is the slot's publication word: None is stored before the lines are touched and the new
// type with release after they are settled, so a reader that acquires the new type also sees the
// cleared lines and their settings. The engine runs this only where no render reads the slot at the
// same time (on the audio thread, or inside a structural edit), so the lines are never written
// under a running sample; the ordering still holds for any reader that meets the change.
void setEffectType(ChannelEffect& effect, int32_t type) noexcept {
    std::atomic_ref<int32_t> published(effect.type);
    if (type == published.load(std::memory_order_relaxed)) return;
    published.store(kEffectNone, std::memory_order_relaxed);
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
    published.store(type, std::memory_order_release);
}

}  // namespace quenvale
