// Voice glide: steps and per-sample advance.
#include "engine/voice/glide.h"

#include "engine/rate_values.h"

namespace quenvale {

void startGlide(Voice& voice, float targetFrequency, float targetVelocity, float seconds) noexcept {
    const double samples = static_cast<double>(seconds) * rates.sampleRate;
    // Truncation toward zero; a NaN, negative or sub-sample glide takes one sample, an absurdly long
    // one is capped well inside the 32-bit counter.
    uint32_t s = 1;
    if (samples >= 1.0) s = samples < 4.0e9 ? static_cast<uint32_t>(samples) : 4000000000u;
    voice.glideCounter = s;
    voice.glideTargetFrequency = targetFrequency;
    voice.glideTargetVelocity = targetVelocity;
    const float inverse = static_cast<float>(1.0 / static_cast<double>(s));
    voice.keyFrequencyStep =
        static_cast<float>((static_cast<double>(targetFrequency) - voice.keyFrequency) * inverse);
    voice.keyVelocityStep =
        static_cast<float>((static_cast<double>(targetVelocity) - voice.keyVelocity) * inverse);
}

void advanceGlide(Voice& voice, int32_t samples) noexcept {
    for (int32_t i = 0; i < samples; ++i) {
        if (voice.glideCounter > 0) {
            if (--voice.glideCounter == 0) {
                voice.keyFrequency = voice.glideTargetFrequency;
                voice.keyVelocity = voice.glideTargetVelocity;
                voice.keyFrequencyStep = 0.0f;
                voice.keyVelocityStep = 0.0f;
            }
        } else if (voice.keyFrequencyStep == 0.0f && voice.keyVelocityStep == 0.0f) {
            return;  // nothing moves for the rest of the run
        }
        voice.keyFrequency = voice.keyFrequency + voice.keyFrequencyStep;
        voice.keyVelocity = voice.keyVelocity + voice.keyVelocityStep;
    }
}

}  // namespace quenvale
