// Tempo-synchronised rates shared by the LFOs and the step sequencers.
#pragma once

#include <cstdint>

namespace quenvale {

inline constexpr int32_t kSyncCount = 13;  // 0 "Off", 1 " 4/4" … 12 " 1/32"

// Beats (quarter notes) per cycle for each Sync value; "Off" uses 1.0 where a rate is still needed.
inline constexpr float kSyncBeats[kSyncCount] = {
    1.0f, 4.0f, 3.0f, 2.6666667f, 2.0f, 1.5f, 1.3333334f, 1.0f, 0.75f, 0.5f, 0.33333334f, 0.25f, 0.125f,
};

// Beats per second per beat per minute, as the single-precision value of 1/60.
inline constexpr double kBeatsPerSecondPerBpm = 0.01666666753590107;

// [any] True for Sync values 1 … 12; "Off" and values outside the list run free (LFOs) or stand
// still (step sequencers).
inline bool isTempoSynced(int32_t sync) noexcept {
    return sync >= 1 && sync < kSyncCount;
}

// [any] Cycles per second of a synced rate at the given tempo: (tempo × 1/60) / beats(sync).
// sync must satisfy isTempoSynced or be 0.
inline float syncedRate(float tempo, int32_t sync) noexcept {
    return static_cast<float>(static_cast<double>(tempo) * kBeatsPerSecondPerBpm / kSyncBeats[sync]);
}

}  // namespace quenvale
