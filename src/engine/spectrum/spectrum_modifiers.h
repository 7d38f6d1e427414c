// The modifier stages of a spectrum modulator that work on the whole curve: dynamic movement and the
// spectral filter.
#pragma once

#include <cstdint>

#include "engine/spectrum/modulator.h"
#include "engine/spectrum/modulator_state.h"

namespace quenvale {

// [audio] Moves work[0 … count) with the modulator's sine or random table (no change for "None" or an
// unknown mode): partial h runs at Frequency × q × (1 + Partial Freq Scale × (h − 1)) cycles per second
// from the phase Phase + Partial Phase Ofs × q × h + Random Phase Ofs × (its random phase), q = 1 for
// "Sine" and 0.05 for "Random". Without "Additive" the movement scales the curve by Amount, with it
// Amount × movement is added.
void applyDynamicMovement(const Modulator& modulator, const ModulatorState& state, float* work,
                          int32_t count) noexcept;

// [audio] Applies the filter mode to work[0 … count): the resonance bump (the "BandPass -12 dB" shape
// around harmonic 2^(7 × cutoff), scaled by resonance) and, for modes 2 … 17, the mode's template moved
// to the same harmonic; then the dry/wet mix. Uses the modulator's dry curve and shape caches. Mode 0 and
// modes outside 0 … 17 leave the curve unchanged.
void applySpectralFilter(Modulator& modulator, const ModulatorState& state, float* work,
                         int32_t count) noexcept;

}  // namespace quenvale
