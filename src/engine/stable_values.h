// Limits that keep the engine's recursions stable whatever stored data or modulation asks for. Values
// inside the limits pass bit for bit, so ordinary sounds are not touched.
#pragma once

namespace quenvale {

// Largest feedback magnitude a line recirculates with: below 1, so every line decays.
inline constexpr float kMaxFeedback = 0.999f;

// [any] The feedback a line uses: NaN counts as 0; magnitudes above kMaxFeedback are limited to it.
inline float stableFeedback(float feedback) noexcept {
    if (feedback > kMaxFeedback) return kMaxFeedback;
    if (feedback < -kMaxFeedback) return -kMaxFeedback;
    return feedback == feedback ? feedback : 0.0f;
}

// [any] A one-pole smoothing coefficient (the share of the old value kept per step): 0 … 1, NaN counts
// as 0 (no smoothing). Above 1 the pole would grow without bound.
inline float stableSmoothing(float coefficient) noexcept {
    if (coefficient > 1.0f) return 1.0f;
    return coefficient >= 0.0f ? coefficient : 0.0f;
}

// [any] True for every finite value (not inf, not NaN).
inline bool finiteValue(float v) noexcept {
    return v - v == 0.0f;
}

}  // namespace quenvale
