// What a voice needs from the generator's four spectrum modulators ("Amp", "Detune", "Phase", "Pan").
#pragma once

#include <cstdint>

#include "engine/spectrum/modulator_state.h"
#include "engine/spectrum/spectrum_property.h"

namespace quenvale {

struct Channel;
struct Generator;

// The four top-level states of one voice, each with a 512-value output curve.
struct GeneratorStates {
    ModulatorState states[4];
};

// [ui] Builds the child-state trees to mirror the generator, so that a note start never allocates.
// Called (under the engine's edit guard) whenever the generator's tree changes.
void prepareGeneratorStates(GeneratorStates& states, const Generator& generator);

// [audio] Note start: resets the four states (released clear, time 0, gain 1, offset 0, shift 0,
// children reset recursively). Never allocates.
void resetGeneratorStates(GeneratorStates& states, const Generator& generator) noexcept;

// [audio] Note-off: sets the released flag of the four top-level states only, which ends their
// breakpoint looping; child states are never released.
void releaseModulators(GeneratorStates& states) noexcept;
// [audio] The same as releaseModulators.
void releaseGeneratorStates(GeneratorStates& states) noexcept;

// [audio] One spectrum evaluation: evaluates the modulated values of the four modulators with this
// voice's sources, advances the four states' time by dt, then computes the four outputs for the
// generator's partial count with fundamental f0.
void evaluateGeneratorSpectrum(Generator& generator, GeneratorStates& states, const Channel& channel,
                               const float* voiceOutputs, float f0, float dt) noexcept;

}  // namespace quenvale
