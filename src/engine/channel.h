// The one live sound state: current parameter values with their modulation slots, the controller
// table, the channel LFOs, the channel effects and the generator.
#pragma once

#include <cstdint>
#include <memory>

#include "common/capacity.h"
#include "engine/env/envelope_block.h"
#include "engine/fx/channel_effect.h"
#include "engine/lfo/lfo_block.h"
#include "engine/lfo/lfo_group.h"
#include "engine/seq/step_seq_block.h"
#include "params/mod_param.h"

namespace quenvale {

struct Generator;  // partial count and the four spectrum modulators (engine/spectrum/generator.h)

// "Gen1": the modulated generator parameters.
struct GeneratorBlock {
    ModParam ratio;
    ModParam offset;
    ModParam out;
    ModParam phase;
    int32_t pwmMode = 0;  // 0 None, 1 Add, 2 Sub, 3 Mul
    ModParam pwmWidth;
    ModParam pwmFeedback;
};

struct CompressorBlock {
    bool on = false;
    float threshold = 0.0f;
    float slope = 0.0f;
    float attackMs = 0.0f;
    float releaseMs = 0.0f;
    float attackCoefficient = 0.0f;
    float releaseCoefficient = 0.0f;
};

// A new Channel has MasterGain 1, program 0, every other parameter field zero and every slot empty;
// the engine then applies program 0, so the catalogue defaults are the first values that sound.
struct alignas(16) Channel {
    Channel();
    ~Channel();
    Channel(const Channel&) = delete;
    Channel& operator=(const Channel&) = delete;

    int32_t currentProgram = 0;
    float masterGain = 1.0f;
    float glide = 0.0f;
    float macro[kMacroCount] = {};
    ModParam gain;
    CompressorBlock compressor;
    GeneratorBlock gen;
    EnvelopeBlock env[kEnvelopeCount];
    StepSeqBlock stepSeq[kStepSeqCount];
    VoiceLfoBlock lfo[kVoiceLfoCount / kLfoGroupSize];
    ChannelLfoBlock chLfo;
    LfoGroup chLfoState;
    ChannelEffect fx[kChannelEffectCount];
    float controllerValue[kControllerCount] = {};
    std::unique_ptr<Generator> generator;
};

}  // namespace quenvale
