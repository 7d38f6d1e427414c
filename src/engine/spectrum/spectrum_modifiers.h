// The modifier stages of a spectrum modulator that follow the shift: dynamic movement, the spectral
// filter and the gain, applied in one pass.
#pragma once

#include <cstdint>

#include "engine/spectrum/modulator.h"
#include "engine/spectrum/modulator_state.h"

namespace quenvale {

// [audio] True when the modulator moves or filters its curve (dynamic mode "Sine" or "Random", filter
// mode 1 … 17); otherwise the stages after the shift are the gain alone.
bool hasModifierStages(const Modulator& modulator) noexcept;

// [audio] Applies, to work[0 … count) and in this order:
// - the dynamic movement (no change for "None" or an unknown mode): partial h runs at Frequency × q ×
//   (1 + Partial Freq Scale × (h − 1)) cycles per second from the phase Phase + Partial Phase Ofs × q × h
//   + Random Phase Ofs × (its random phase), q = 1 for "Sine" and 0.05 for "Random". Without "Additive"
//   the movement scales the curve by Amount, with it Amount × movement is added;
// - the filter (mode 1 … 17): the resonance bump (the "BandPass -12 dB" shape around harmonic
//   2^(7 × cutoff), scaled by resonance) and, for modes 2 … 17, the mode's template moved to the same
//   harmonic; then the dry/wet mix against the curve as it entered the filter;
// - the factor gainKey.
// Uses the modulator's shape caches: one evaluation at a time.
void applyModifierStages(Modulator& modulator, const ModulatorState& state, float* work, float gainKey,
                         int32_t count) noexcept;

}  // namespace quenvale
