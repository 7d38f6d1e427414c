// Control-rate update of a group of four LFOs.
#include "engine/lfo/lfo_tick.h"

#include <cmath>

#include "common/capacity.h"
#include "engine/interpolated_table.h"
#include "engine/lfo/lfo_waves.h"
#include "engine/lfo/tempo_sync.h"
#include "engine/rate_values.h"

namespace quenvale {
namespace {

constexpr float kPhaseSpan = static_cast<float>(kTableLength);

// Advances the phases by the lanes' increments and reads the tables (increment, lfoPhaseOffset and
// outLevel are already set for this tick).
void advanceGroup(LfoGroup& group, const int32_t type[4]) noexcept {
    for (int32_t j = 0; j < kLfoGroupSize; ++j) {
        group.lfoPhase[j] = reduceLfoPhase(group.lfoPhase[j] + group.increment[j]);
    }
    for (int32_t j = 0; j < kLfoGroupSize; ++j) {
        const int32_t t = type[j];
        if (t <= kLfoOff || t >= kLfoTypeCount) {
            group.output[j] = 0.0f;
            continue;
        }
        const float pos = reduceLfoPhase(group.lfoPhase[j] + group.lfoPhaseOffset[j]);
        group.output[j] = readTable(lfoWaveTable(t), pos) * group.outLevel[j];
    }
}

}  // namespace

void resetLfoGroup(LfoGroup& group) noexcept {
    for (int32_t j = 0; j < kLfoGroupSize; ++j) {
        group.lfoPhase[j] = 0.0f;
        group.increment[j] = 0.0f;
        group.lfoPhaseOffset[j] = 0.0f;
        group.outLevel[j] = 1.0f;
        group.output[j] = 0.0f;
    }
}

float freeRunningIncrement(float ratio, float offset, float keyFrequency) noexcept {
    return (ratio * keyFrequency + offset) * rates.lfoIncrementScale;
}

float reduceLfoPhase(float phase) noexcept {
    if (phase >= 0.0f && phase < kPhaseSpan) return phase;
    float r;
    if (phase >= kPhaseSpan && phase < 2.0f * kPhaseSpan) {
        r = phase - kPhaseSpan;
    } else if (phase < 0.0f && phase >= -kPhaseSpan) {
        r = phase + kPhaseSpan;  // may round up to 128 for tiny negative phases
    } else {
        r = std::fmod(phase, kPhaseSpan);  // exact; NaN for NaN or infinite phases
        if (r < 0.0f) r += kPhaseSpan;
    }
    return (r >= 0.0f && r < kPhaseSpan) ? r : 0.0f;
}

void tickVoiceLfoGroup(LfoGroup& group, const int32_t type[4], const int32_t sync[4], const float ratio[4],
                       const float offset[4], const float phase[4], const float out[4],
                       float keyFrequency) noexcept {
    const float tempo = rates.hostTempo;
    const float scale = rates.lfoIncrementScale;
    for (int32_t j = 0; j < kLfoGroupSize; ++j) {
        const float rate =
            isTempoSynced(sync[j]) ? syncedRate(tempo, sync[j]) : ratio[j] * keyFrequency + offset[j];
        group.increment[j] = rate * scale;
        group.lfoPhaseOffset[j] = phase[j] * kPhaseSpan;
        group.outLevel[j] = out[j];
    }
    advanceGroup(group, type);
}

void tickChannelLfoGroup(LfoGroup& group, const int32_t type[4], const int32_t sync[4], const float offset[4],
                         const float out[4]) noexcept {
    const float tempo = rates.hostTempo;
    const float scale = rates.lfoIncrementScale;
    for (int32_t j = 0; j < kLfoGroupSize; ++j) {
        const float rate = isTempoSynced(sync[j]) ? syncedRate(tempo, sync[j]) : offset[j];
        group.increment[j] = rate * scale;
        group.lfoPhaseOffset[j] = 0.0f;
        group.outLevel[j] = out[j];
    }
    advanceGroup(group, type);
}

}  // namespace quenvale
