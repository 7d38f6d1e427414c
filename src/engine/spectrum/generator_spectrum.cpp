// The voice's view of the generator's spectrum: state trees, note start and end, per-tick evaluation.
#include "engine/spectrum/generator_spectrum.h"

#include "engine/spectrum/generator.h"
#include "engine/spectrum/modulator_evaluation.h"

namespace quenvale {

void prepareGeneratorStates(GeneratorStates& states, const Generator& generator) {
    for (int32_t p = 0; p < kSpectrumPropertyCount; ++p)
        prepareModulatorState(states.states[p], generator.modulators[p]);
}

void resetGeneratorStates(GeneratorStates& states, const Generator& generator) noexcept {
    for (int32_t p = 0; p < kSpectrumPropertyCount; ++p)
        resetModulatorState(states.states[p], generator.modulators[p]);
}

void releaseModulators(GeneratorStates& states) noexcept {
    for (ModulatorState& s : states.states) s.released = true;
}

void releaseGeneratorStates(GeneratorStates& states) noexcept {
    releaseModulators(states);
}

void evaluateGeneratorSpectrum(Generator& generator, GeneratorStates& states, const Channel& channel,
                               const float* voiceOutputs, float f0, float dt) noexcept {
    for (int32_t p = 0; p < kSpectrumPropertyCount; ++p)
        evaluateModulatorValues(generator.modulators[p], states.states[p], channel, voiceOutputs);
    for (ModulatorState& s : states.states) advanceModulatorTime(s, dt);
    for (int32_t p = 0; p < kSpectrumPropertyCount; ++p)
        evaluateModulator(generator.modulators[p], states.states[p], f0, generator.partialCount);
}

}  // namespace quenvale
