// Placeholder engine: keeps program names and raw parameter values and renders silence.
#include "engine/synth_engine.h"

#include <cstdio>
#include <cstring>

namespace quenvale {

SynthEngine::SynthEngine() {
    for (int i = 0; i < 128; ++i) std::snprintf(programNames_[i], sizeof programNames_[i], "Program %03d", i + 1);
}

SynthEngine::~SynthEngine() = default;

void SynthEngine::processMidi(const MidiEntry*, int32_t) noexcept {}

void SynthEngine::render(float* left, float* right, int32_t sampleFrames) noexcept {
    if (tempoReader_ != nullptr && sampleFrames >= 0) (void)tempoReader_(tempoReaderContext_);
    for (int32_t i = 0; i < sampleFrames; ++i) left[i] = right[i] = 0.0f;
}

void SynthEngine::setSampleRate(float) noexcept {}

void SynthEngine::selectProgram(int32_t channel, int32_t program, bool) {
    if (program < 0 || program >= 128) return;
    currentProgram_ = program;
    if (programChanged_ != nullptr) programChanged_(channel, program, programChangedContext_);
}

int32_t SynthEngine::currentProgram(int32_t) const noexcept { return currentProgram_; }

const char* SynthEngine::programName(int32_t program) const noexcept {
    return (program >= 0 && program < 128) ? programNames_[program] : "";
}

void SynthEngine::setProgramName(int32_t program, const char* name) noexcept {
    if (program < 0 || program >= 128 || name == nullptr) return;
    std::strncpy(programNames_[program], name, 16);
    programNames_[program][16] = '\0';
}

void SynthEngine::setParameterNormalized(int32_t channel, int32_t index, float value) noexcept {
    if (index < 0 || index >= 383) return;
    parameters_[index] = value;
    if (parameterChanged_ != nullptr) parameterChanged_(channel, index, parameterChangedContext_);
}

float SynthEngine::getParameterNormalized(int32_t, int32_t index) noexcept {
    return (index >= 0 && index < 383) ? parameters_[index] : 0.0f;
}

const char* SynthEngine::parameterDisplayText(int32_t, int32_t index) noexcept {
    std::snprintf(displayText_, sizeof displayText_, "%1.3f", getParameterNormalized(0, index));
    return displayText_;
}

void SynthEngine::setProgramChangedCallback(ProgramChangedFn fn, void* context) noexcept {
    programChanged_ = fn;
    programChangedContext_ = context;
}

void SynthEngine::setParameterChangedCallback(ParameterChangedFn fn, void* context) noexcept {
    parameterChanged_ = fn;
    parameterChangedContext_ = context;
}

void SynthEngine::setTempoReader(TempoReaderFn fn, void* context) noexcept {
    tempoReader_ = fn;
    tempoReaderContext_ = context;
}

void SynthEngine::readPeaks(float& left, float& right) noexcept { left = right = 0.0f; }

}  // namespace quenvale
