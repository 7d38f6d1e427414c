// One side of a voice's pulse-width comb: a 65536-sample line, its read tap and its per-sample step.
#pragma once

#include <cstdint>
#include <cstring>

#include "common/capacity.h"

namespace quenvale {

// "Gen1 PWM Mode" values.
enum PwmMode : int32_t { kPwmNone = 0, kPwmAdd = 1, kPwmSub = 2, kPwmMul = 3 };

struct PwmLine {
    float samples[kDelayLineLength];
    uint16_t writeIndex;  // taken modulo 65536 by its width
    int32_t written;      // entries written since the last clear (at most the line length)
};

// Longest delay in samples: every read stays inside the line.
inline constexpr float kMaxPwmDelaySamples = static_cast<float>(kDelayLineLength - 1);

// Where the read tap sits: whole samples and fraction of the delay.
struct PwmTap {
    int32_t whole;
    float frac;
};

// [audio] The tap for a delay in seconds: d = max(0, delay) × sampleRate, limited to 65535 samples; a
// NaN delay counts as 0. (An f0 of 0 or below makes the delay target infinite or undefined; the
// limit keeps such values out of the line and the output.)
inline PwmTap pwmTap(float delaySeconds, float sampleRate) noexcept {
    float d = delaySeconds > 0.0f ? delaySeconds * sampleRate : 0.0f;
    if (!(d >= 0.0f)) d = 0.0f;
    if (d > kMaxPwmDelaySamples) d = kMaxPwmDelaySamples;
    const int32_t whole = static_cast<int32_t>(d);
    return {whole, d - static_cast<float>(whole)};
}

// [audio] One sample: reads the delayed value D (the sample written `whole` steps ago, interpolated
// towards the one before it by frac; computed in double), advances the write index, writes
// D × feedback + dry, and returns the mode's mix of D and dry.
inline float pwmStep(PwmLine& line, PwmTap tap, float dry, float feedback, int32_t mode) noexcept {
    const uint16_t w = line.writeIndex;
    const float newer = line.samples[static_cast<uint16_t>(w - tap.whole + 1)];
    const float older = line.samples[static_cast<uint16_t>(w - tap.whole)];
    const float delayed = static_cast<float>(static_cast<double>(newer) * (1.0 - tap.frac) +
                                             static_cast<double>(older) * tap.frac);
    const uint16_t next = static_cast<uint16_t>(w + 1);
    line.writeIndex = next;
    line.samples[next] = static_cast<float>(static_cast<double>(delayed) * feedback + dry);
    if (line.written < kDelayLineLength) ++line.written;
    switch (mode) {
        case kPwmAdd:
            return delayed + dry;
        case kPwmSub:
            return dry - delayed;
        case kPwmMul:
            return delayed * dry;
        default:
            return dry;
    }
}

// [audio] Zeroes the line, keeping the write index. Only the entries written since the last clear
// are touched, so a line that was never used costs nothing.
inline void clearPwmLine(PwmLine& line) noexcept {
    const int32_t count = line.written;
    if (count >= kDelayLineLength) {
        std::memset(line.samples, 0, sizeof(line.samples));
    } else if (count > 0) {
        const int32_t start = (line.writeIndex - count + 1) & (kDelayLineLength - 1);
        const int32_t first = start + count <= kDelayLineLength ? count : kDelayLineLength - start;
        std::memset(line.samples + start, 0, static_cast<size_t>(first) * sizeof(float));
        std::memset(line.samples, 0, static_cast<size_t>(count - first) * sizeof(float));
    }
    line.written = 0;
}

}  // namespace quenvale
