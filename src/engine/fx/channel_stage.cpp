// Per-sample channel stage: the two effect slots, then the master gain.
#include "engine/fx/channel_stage.h"

#include <atomic>
#include <cstdint>

#include "engine/fx/line_settings.h"
#include "engine/rate_values.h"

namespace quenvale {
namespace {

constexpr int32_t kLineMask = kDelayLineLength - 1;
constexpr float kLongestDelay = static_cast<float>(kDelayLineLength - 1);
// Added to the recirculated signal to keep it away from denormal values (single-precision 1e-8).
constexpr double kDenormalGuard = 9.99999993922529e-09;

// Reads the line d samples back (the sample written now counts as delay 0), then writes
// the new sample. Returns the delayed signal y.
float runLine(DelayLine& line, float x, float sampleRate) noexcept {
    float d = line.time * sampleRate;
    if (!(d >= 0.0f)) d = 0.0f;  // negative, −inf and NaN
    if (d > kLongestDelay) d = kLongestDelay;
    const int32_t k = static_cast<int32_t>(d);
    const double f = d - static_cast<float>(k);
    float* buffer = line.buffer.get();
    int32_t w = line.writeIndex & kLineMask;
    const float y =
        static_cast<float>(buffer[(w - k + 1) & kLineMask] * (1.0 - f) + buffer[(w - k) & kLineMask] * f);
    w = (w + 1) & kLineMask;
    buffer[w] = static_cast<float>((y + kDenormalGuard) * line.feedback + x);
    line.writeIndex = w;
    return y;
}

void advance(EffectRamp& ramp, float& value) noexcept {
    ramp.value += ramp.step;
    value = ramp.value;
}

}  // namespace

void processChannelEffect(ChannelEffect& effect, float& left, float& right) noexcept {
    // Acquire pairs with setEffectType's release: the lines of a new type are cleared and settled.
    const int32_t type = std::atomic_ref<int32_t>(effect.type).load(std::memory_order_acquire);
    if (type != kEffectDelay && type != kEffectComb) return;
    for (int i = 0; i < 4; ++i) advance(effect.paramRamp[i], effect.params[i]);
    advance(effect.dryWetRamp, effect.wet);
    followLineSettings(effect);

    const float sampleRate = rates.sampleRate;
    const double x[2] = {left, right};
    const double y[2] = {runLine(effect.lines[0], left, sampleRate),
                         runLine(effect.lines[1], right, sampleRate)};
    const double wet = effect.wet;
    float* out[2] = {&left, &right};
    for (int side = 0; side < 2; ++side) {
        *out[side] = static_cast<float>(type == kEffectDelay ? (1.0 - wet) * x[side] + wet * y[side]
                                                             : x[side] + wet * y[side]);
    }
}

void processChannelSample(ChannelEffect (&fx)[kChannelEffectCount], float masterGain, float& left,
                          float& right) noexcept {
    for (ChannelEffect& effect : fx) processChannelEffect(effect, left, right);
    left *= masterGain;
    right *= masterGain;
}

}  // namespace quenvale
