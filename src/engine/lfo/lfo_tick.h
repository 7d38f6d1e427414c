// Control-rate update of a group of four LFOs (voice LFOs 1–4 or 5–8, or the channel LFOs).
#pragma once

#include <cstdint>

#include "engine/lfo/lfo_group.h"

namespace quenvale {

// [audio] lfoPhase = increment = lfoPhaseOffset = output = 0, outLevel = 1. Voice groups at every
// note start, the channel group when the channel is initialised.
void resetLfoGroup(LfoGroup& group) noexcept;

// [audio] Table entries per tick of a free-running voice LFO from unmodulated values:
// (ratio × keyFrequency + offset) × lfoIncrementScale. For note start and parameter refreshes.
float freeRunningIncrement(float ratio, float offset, float keyFrequency) noexcept;

// [any] Reduces a phase into the table: the result is always 0 <= phase < 128 (one subtraction or
// addition of 128 for a phase within one cycle of the table, an exact modulo beyond that, and 0 for
// NaN or infinite phases).
float reduceLfoPhase(float phase) noexcept;

// [audio] One tick of a voice group. Per lane j: rate = synced rate of sync[j] at the host tempo,
// or ratio[j] × keyFrequency + offset[j] Hz when sync[j] is "Off"; increment = rate ×
// lfoIncrementScale; lfoPhaseOffset = phase[j] × 128; outLevel = out[j]; the phase advances and the
// output is the type's table at phase + offset, times outLevel ("Off" and unknown types give 0).
// ratio, offset, phase and out are this voice's evaluated modulated values.
void tickVoiceLfoGroup(LfoGroup& group, const int32_t type[4], const int32_t sync[4], const float ratio[4],
                       const float offset[4], const float phase[4], const float out[4],
                       float keyFrequency) noexcept;

// [audio] One tick of the channel group: as the voice group with rate = offset[j] Hz when free and
// no phase offset. offset and out are the evaluated channel-level values.
void tickChannelLfoGroup(LfoGroup& group, const int32_t type[4], const int32_t sync[4], const float offset[4],
                         const float out[4]) noexcept;

}  // namespace quenvale
