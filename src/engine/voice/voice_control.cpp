// Voice note start and control-rate update: envelopes, then LFOs, then step sequencers, then the
// generator, with the voice's slot outputs refreshed after each stage.
#include "engine/voice/voice_control.h"

#include "engine/channel.h"
#include "engine/env/envelope.h"
#include "engine/lfo/lfo_tick.h"
#include "engine/seq/step_seq.h"
#include "params/mod_evaluation.h"
#include "params/parameter_index.h"

namespace quenvale {
namespace {

constexpr int32_t kLfoRatioMember = kLfoGroup.first + 2;   // "Lfo1 Ratio"
constexpr int32_t kLfoOffsetMember = kLfoGroup.first + 7;  // "Lfo1 Offset"

void publishEnvelopes(Voice& voice) noexcept {
    for (int32_t k = 0; k < kEnvelopeCount; ++k)
        voice.modSources[kVoiceOutputEnvelope1 + k] = voice.env[k].output;
}

void publishLfos(Voice& voice) noexcept {
    for (int32_t n = 0; n < kVoiceLfoCount; ++n)
        voice.modSources[kVoiceOutputLfo1 + n] = voice.lfo[n / kLfoGroupSize].output[n % kLfoGroupSize];
}

void publishStepSeqs(Voice& voice) noexcept {
    for (int32_t k = 0; k < kStepSeqCount; ++k)
        voice.modSources[kVoiceOutputStepSeq1 + k] = voice.stepSeq[k].output;
}

void setLfoIncrement(const Channel& channel, Voice& voice, int32_t lfo) noexcept {
    const VoiceLfoBlock& block = channel.lfo[lfo / kLfoGroupSize];
    const int32_t lane = lfo % kLfoGroupSize;
    voice.lfo[lfo / kLfoGroupSize].increment[lane] =
        freeRunningIncrement(block.ratio[lane].base, block.offset[lane].base, voice.keyFrequency);
}

void tickLfoGroups(Channel& channel, Voice& voice) noexcept {
    for (int32_t g = 0; g < kVoiceLfoCount / kLfoGroupSize; ++g) {
        VoiceLfoBlock& block = channel.lfo[g];
        alignas(16) float ratio[4], offset[4], phase[4], out[4];
        for (int32_t j = 0; j < kLfoGroupSize; ++j) {
            ratio[j] = evaluateModParam(channel, voice.modSources, block.ratio[j]);
            offset[j] = evaluateModParam(channel, voice.modSources, block.offset[j]);
            phase[j] = evaluateModParam(channel, voice.modSources, block.phase[j]);
            out[j] = evaluateModParam(channel, voice.modSources, block.out[j]);
        }
        tickVoiceLfoGroup(voice.lfo[g], block.type, block.sync, ratio, offset, phase, out,
                          voice.keyFrequency);
    }
}

}  // namespace

void startVoice(Channel& channel, Voice& voice, float frequency, float velocity) noexcept {
    voice.active = true;
    voice.soundingMask = 1u;
    voice.glideCounter = 0;
    voice.glideTargetFrequency = frequency;
    voice.glideTargetVelocity = velocity;
    voice.keyFrequency = frequency;
    voice.keyFrequencyStep = 0.0f;
    voice.keyVelocity = velocity;
    voice.keyVelocityStep = 0.0f;

    for (EnvelopeState& e : voice.env) resetEnvelope(e);
    for (LfoGroup& g : voice.lfo) resetLfoGroup(g);
    for (StepSeqState& s : voice.stepSeq) resetStepSeq(s);
    for (float& s : voice.modSources) s = 0.0f;
    publishEnvelopes(voice);
    publishLfos(voice);
    publishStepSeqs(voice);
    voice.modSources[kVoiceOutputVelocity] = velocity;

    startVoiceGenerator(voice.generator, channel, frequency, voice.modSources);

    for (int32_t n = 0; n < kVoiceLfoCount; ++n) setLfoIncrement(channel, voice, n);

    updateGeneratorControl(voice.generator, channel, voice.modSources, voice.keyFrequency,
                           voice.env[0].output, 0.0f);
}

uint32_t tickVoiceEnvelopes(Channel& channel, Voice& voice) noexcept {
    voice.modSources[kVoiceOutputVelocity] = voice.keyVelocity;
    uint32_t finished = 0;
    for (int32_t k = 0; k < kEnvelopeCount; ++k) {
        EnvelopeBlock& block = channel.env[k];
        const float outLevel = evaluateModParam(channel, voice.modSources, block.out);
        if (tickEnvelope(block.curve, voice.env[k], outLevel)) finished |= 1u << k;
    }
    publishEnvelopes(voice);
    return finished;
}

void tickVoiceModulators(Channel& channel, Voice& voice) noexcept {
    tickLfoGroups(channel, voice);
    publishLfos(voice);
    for (int32_t k = 0; k < kStepSeqCount; ++k) {
        StepSeqBlock& block = channel.stepSeq[k];
        tickStepSeq(block, voice.stepSeq[k], evaluateModParam(channel, voice.modSources, block.out));
    }
    publishStepSeqs(voice);
    updateGeneratorControl(voice.generator, channel, voice.modSources, voice.keyFrequency,
                           voice.env[0].output, 1.0f / static_cast<float>(kControlTickSamples));
}

void refreshVoiceParameters(Channel& channel, Voice& voice, int32_t index, float rampFraction) noexcept {
    for (int32_t n = 0; n < kVoiceLfoCount; ++n) {
        const int32_t base = kLfoGroup.entries * n;
        if (index == kAllParameters || index == kLfoRatioMember + base || index == kLfoOffsetMember + base)
            setLfoIncrement(channel, voice, n);
    }
    refreshGeneratorControl(voice.generator, channel, voice.modSources, voice.keyFrequency,
                            voice.env[0].output, rampFraction);
}

void releaseVoiceComponents(Voice& voice) noexcept {
    for (EnvelopeState& e : voice.env) releaseEnvelope(e);
    releaseVoiceGenerator(voice.generator);
}

void silenceVoice(Voice& voice) noexcept {
    voice.active = false;
    voice.soundingMask = 0;
    voice.keyVelocity = 0.0f;
    voice.keyVelocityStep = 0.0f;
}

}  // namespace quenvale
