// The per-sample glide of a voice's key frequency and velocity (linear in Hz and in velocity).
#pragma once

#include <cstdint>

#include "engine/voice/voice.h"

namespace quenvale {

// [audio] Starts a glide towards the targets over s = trunc(seconds × sampleRate) samples (at
// least 1): per-sample steps (target − current) × (1/s), with 1/s rounded to single precision.
void startGlide(Voice& voice, float targetFrequency, float targetVelocity, float seconds) noexcept;

// [audio] The glide for `samples` samples: each sample, a running counter is decremented and at 0
// the values take their targets exactly and the steps become 0; then both values advance by their
// steps. The generator reads the key values only at control ticks, so a whole run is advanced at
// once before the voice renders it.
void advanceGlide(Voice& voice, int32_t samples) noexcept;

}  // namespace quenvale
