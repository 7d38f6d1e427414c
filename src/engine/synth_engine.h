// The synthesizer behind the plug-in: programs, the live channel, the voice pool, the render loop.
//
// Thread tags: [audio] only the host's audio thread, [ui] only the user-interface thread,
// [any] either. The engine knows nothing of the plug-in ABI.
#pragma once

#include <cstdint>

#include "engine/midi_entry.h"

namespace quenvale {

class SynthEngine {
public:
    using ProgramChangedFn = void (*)(int32_t channel, int32_t program, void* context);
    using ParameterChangedFn = void (*)(int32_t channel, int32_t index, void* context);
    using TempoReaderFn = float (*)(void* context);

    SynthEngine();
    ~SynthEngine();
    SynthEngine(const SynthEngine&) = delete;
    SynthEngine& operator=(const SynthEngine&) = delete;

    // [audio] Applies every entry at once, in order.
    void processMidi(const MidiEntry* entries, int32_t count) noexcept;
    // [audio] Writes sampleFrames stereo samples over left and right.
    void render(float* left, float* right, int32_t sampleFrames) noexcept;
    // [ui] Sets the process-wide rate values.
    void setSampleRate(float sampleRate) noexcept;

    // [ui] Program selection, with or without making the stored values the live sound.
    void selectProgram(int32_t channel, int32_t program, bool load);
    // [any]
    int32_t currentProgram(int32_t channel) const noexcept;
    // [any] The stored name of a program (at most 16 characters).
    const char* programName(int32_t program) const noexcept;
    // [ui]
    void setProgramName(int32_t program, const char* name) noexcept;

    // [any] Host-level parameter access (normalised 0..1 values).
    void setParameterNormalized(int32_t channel, int32_t index, float value) noexcept;
    float getParameterNormalized(int32_t channel, int32_t index) noexcept;
    // [any] Text owned by the engine, overwritten by the next request.
    const char* parameterDisplayText(int32_t channel, int32_t index) noexcept;

    // [ui] Callback slots.
    void setProgramChangedCallback(ProgramChangedFn fn, void* context) noexcept;
    void setParameterChangedCallback(ParameterChangedFn fn, void* context) noexcept;
    void setTempoReader(TempoReaderFn fn, void* context) noexcept;

    // [ui] Peaks since the last reading.
    void readPeaks(float& left, float& right) noexcept;

private:
    // Placeholder state until the voice engine lands: silence, named programs.
    char programNames_[128][17] = {};
    int32_t currentProgram_ = 0;
    float parameters_[383] = {};
    char displayText_[64] = {};
    ProgramChangedFn programChanged_ = nullptr;
    void* programChangedContext_ = nullptr;
    ParameterChangedFn parameterChanged_ = nullptr;
    void* parameterChangedContext_ = nullptr;
    TempoReaderFn tempoReader_ = nullptr;
    void* tempoReaderContext_ = nullptr;
};

}  // namespace quenvale
