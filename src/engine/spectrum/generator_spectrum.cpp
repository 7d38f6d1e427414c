// Placeholder spectrum: silent outputs until the modulators land.
#include "engine/spectrum/generator_spectrum.h"

#include "engine/spectrum/generator.h"

namespace quenvale {

void prepareGeneratorStates(GeneratorStates&, const Generator&) {}

void resetGeneratorStates(GeneratorStates& states, const Generator&) noexcept {
    for (ModulatorState& s : states.states) {
        s.released = false;
        s.time = 0.0f;
    }
}

void releaseGeneratorStates(GeneratorStates& states) noexcept {
    for (ModulatorState& s : states.states) s.released = true;
}

void evaluateGeneratorSpectrum(Generator&, GeneratorStates& states, const Channel&, const float*, float,
                               float dt) noexcept {
    for (ModulatorState& s : states.states) s.time += dt;
}

}  // namespace quenvale
