// One voice of the pool: its note, glide, component states and the outputs its slots read.
#pragma once

#include <cstdint>

#include "common/capacity.h"
#include "engine/env/envelope_state.h"
#include "engine/lfo/lfo_group.h"
#include "engine/osc/voice_generator.h"
#include "engine/seq/step_seq_state.h"
#include "params/mod_param.h"

namespace quenvale {

class SynthEngine;

// States: unassigned (channel −1, inactive, not in the engine's voice list), sounding (channel 0,
// active, listed), assigned but silent (channel 0, inactive, listed; reused first).
struct Voice {  // aligned as strictly as its vector members require
    SynthEngine* engine = nullptr;
    int32_t index = 0;
    int32_t channel = -1;
    bool active = false;
    uint32_t soundingMask = 0;  // bit 0: envelope 1 keeps the voice alive

    uint32_t glideCounter = 0;  // samples left in the current glide
    float glideTargetFrequency = 0.0f;
    float glideTargetVelocity = 0.0f;
    float keyFrequency = 0.0f;  // Hz
    float keyFrequencyStep = 0.0f;
    float keyVelocity = 0.0f;  // 0 … 1
    float keyVelocityStep = 0.0f;

    EnvelopeState env[kEnvelopeCount];
    LfoGroup lfo[kVoiceLfoCount / kLfoGroupSize];
    StepSeqState stepSeq[kStepSeqCount];
    // Partial bank, ramps, pulse-width comb, gain, compressor and the four spectrum states.
    VoiceGenerator generator;

    // Current outputs that voice-bound modulation slots read, indexed by VoiceOutput. Refreshed
    // after each stage of the control tick; velocity is set before any evaluation.
    alignas(16) float modSources[kVoiceOutputCount] = {};
};

}  // namespace quenvale
