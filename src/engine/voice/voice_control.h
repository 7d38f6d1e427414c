// A voice's note start, control-rate update and parameter refresh: the wiring of its components.
#pragma once

#include <cstdint>

#include "engine/voice/voice.h"

namespace quenvale {

struct Channel;

// [audio] Resets the voice for a note of frequency f and velocity v: active, sounding mask 1, no
// glide, key values with zero steps; then envelopes, both LFO groups, the step sequencers and the
// generator restart in that order; the voice LFOs take their free-running increments; the
// generator's control update runs with ramp fraction 0 so every ramp starts at its target.
// The channel effects' update and the engine's voice counts are the caller's.
void startVoice(Channel& channel, Voice& voice, float frequency, float velocity) noexcept;

// [audio] First stage of the control tick: the six envelopes in order with their evaluated Out
// levels. Returns a mask with bit k set when envelope k finished on this tick; the caller clears
// those sounding bits (which may end the voice) before tickVoiceModulators.
uint32_t tickVoiceEnvelopes(Channel& channel, Voice& voice) noexcept;

// [audio] Rest of the control tick: the eight voice LFOs, the four step sequencers, then the
// generator's control update with ramp fraction 1/64.
void tickVoiceModulators(Channel& channel, Voice& voice) noexcept;

// [any] After a parameter store: for each voice LFO whose "Ratio" or "Offset" is the changed
// parameter, or for all when index is 383, the free-running increment from the unmodulated values;
// then the generator's control refresh (which does not advance spectrum time) with rampFraction.
void refreshVoiceParameters(Channel& channel, Voice& voice, int32_t index, float rampFraction) noexcept;

// [audio] Note-off: the release flags of the six envelopes and of the four top-level spectrum states.
void releaseVoiceComponents(Voice& voice) noexcept;

// [audio] The voice falls silent at once: inactive, sounding mask 0, velocity and its step 0.
void silenceVoice(Voice& voice) noexcept;

}  // namespace quenvale
