// Note start, control updates and the audio path of a voice's generator.
#include "engine/osc/voice_generator.h"

#include <cmath>
#include <cstring>

#include "engine/channel.h"
#include "engine/osc/partial_targets.h"
#include "engine/osc/render_partials.h"
#include "engine/osc/voice_compressor.h"
#include "engine/rate_values.h"
#include "engine/spectrum/generator.h"
#include "engine/stable_values.h"
#include "params/mod_evaluation.h"

namespace quenvale {
namespace {

void setLanes(float (&lanes)[4], float value) noexcept {
    for (float& x : lanes) x = value;
}

void computeTargetsFromSpectrum(VoiceGenerator& vg, float dt) noexcept {
    const ModulatorState* s = vg.spectrum.states;
    computePartialTargets(vg.bank, s[kSpectrumAmp].output.data(), s[kSpectrumDetune].output.data(),
                          s[kSpectrumPhase].output.data(), s[kSpectrumPan].output.data(), dt);
}

// Evaluates the spectrum (advancing its time by timeStep) and sets the partial targets with dt.
void evaluateSpectrum(VoiceGenerator& vg, Channel& channel, const float* voiceOutputs, float timeStep,
                      float dt) noexcept {
    if (channel.generator) {
        evaluateGeneratorSpectrum(*channel.generator, vg.spectrum, channel, voiceOutputs,
                                  vg.bank.baseFrequency[0], timeStep);
    }
    computeTargetsFromSpectrum(vg, dt);
}

// The bank's part of a note start.
void startPartialBank(VoiceGenerator& vg, Channel& channel, const float* voiceOutputs) noexcept {
    PartialBank& bank = vg.bank;
    const int32_t partialCount = channel.generator ? channel.generator->partialCount : 0;
    int32_t blocks = partialCount >> 2;
    if (blocks < 0) blocks = 0;
    if (blocks > kMaxPartialGroups) blocks = kMaxPartialGroups;
    bank.blockCount = blocks;
    setLanes(bank.basePhase, 0.0f);
    setLanes(bank.phaseParam, 0.0f);
    bank.outLeft = 0.0f;
    bank.outRight = 0.0f;
    if (channel.generator) resetGeneratorStates(vg.spectrum, *channel.generator);
    evaluateSpectrum(vg, channel, voiceOutputs, 0.0f, 0.0f);
    evaluateSpectrum(vg, channel, voiceOutputs, 0.015625f, 0.015625f);
}

// The pulse-width delay target in seconds: width periods of f0, kept inside the line (an f0 of 0 or
// below, or NaN, would make it infinite, negative or undefined).
float pwmDelayTarget(float width, float f0) noexcept {
    const float seconds = width * (1.0f / f0);
    const float limit = kMaxPwmDelaySamples * rates.sampleTime;
    if (!(seconds > 0.0f)) return 0.0f;
    return seconds < limit ? seconds : limit;
}

void controlUpdate(VoiceGenerator& vg, Channel& channel, const float* voiceOutputs, float keyFrequency,
                   float env1Output, float r, bool advanceTime) noexcept {
    const bool ramping = r != 0.0f && r == r;
    const float spectrumDt = ramping ? (1.0f / r) * rates.sampleTime : 0.0f;
    GeneratorBlock& gen = channel.gen;

    const float ratio = evaluateModParam(channel, voiceOutputs, gen.ratio);
    const float offset = evaluateModParam(channel, voiceOutputs, gen.offset);
    float f0 = static_cast<float>(static_cast<double>(ratio) * keyFrequency + offset);
    if (!std::isfinite(f0)) f0 = 0.0f;
    setRampTarget(vg.baseFrequencyRamp, f0, r);
    setRampTarget(vg.phaseRamp, evaluateModParam(channel, voiceOutputs, gen.phase), r);
    setRampTarget(vg.outRamp, evaluateModParam(channel, voiceOutputs, gen.out), r);
    vg.bankActive = true;
    setRampTarget(vg.pwmDelayRamp, pwmDelayTarget(evaluateModParam(channel, voiceOutputs, gen.pwmWidth), f0),
                  r);
    setRampTarget(vg.pwmFeedbackRamp, stableFeedback(evaluateModParam(channel, voiceOutputs, gen.pwmFeedback)), r);
    evaluateSpectrum(vg, channel, voiceOutputs, advanceTime ? spectrumDt : 0.0f, spectrumDt);
    setRampTarget(vg.gainRamp, evaluateModParam(channel, voiceOutputs, channel.gain) * env1Output, r);
}

// Per-sample values of the three ramps that act after the partials.
struct SampleRamps {
    float out;
    float pwmDelay;
    float pwmFeedback;
};

inline SampleRamps advanceOutputRamps(VoiceGenerator& vg) noexcept {
    SampleRamps s;
    s.out = advanceRamp(vg.outRamp);
    s.pwmDelay = advanceRamp(vg.pwmDelayRamp);
    s.pwmFeedback = advanceRamp(vg.pwmFeedbackRamp);
    return s;
}

// Everything after the partial sum: output level, pulse-width comb, gain, compressor, mix.
inline void finishSample(VoiceGenerator& vg, const Channel& channel, const SampleRamps& ramps, float bankLeft,
                         float bankRight, float& sumLeft, float& sumRight) noexcept {
    float left = 0.0f, right = 0.0f;
    if (vg.bankActive) {
        left = bankLeft * ramps.out;
        right = bankRight * ramps.out;
        const int32_t mode = channel.gen.pwmMode;
        if (mode != kPwmNone) {
            const PwmTap tap = pwmTap(ramps.pwmDelay, rates.sampleRate);
            left = pwmStep(vg.pwmLine[0], tap, left, ramps.pwmFeedback, mode);
            right = pwmStep(vg.pwmLine[1], tap, right, ramps.pwmFeedback, mode);
        }
    }
    const float gain = advanceRamp(vg.gainRamp);
    left = gain * left;
    right = gain * right;
    if (channel.compressor.on)
        compressVoiceSample(channel.compressor, vg.compressorLevel, vg.compressorPower, left, right);
    sumLeft += left;
    sumRight += right;
}

}  // namespace

VoiceGenerator::VoiceGenerator() {
    std::memset(static_cast<void*>(pwmLine), 0, sizeof(pwmLine));
}

void startVoiceGenerator(VoiceGenerator& vg, Channel& channel, float noteFrequency,
                         const float* voiceOutputs) noexcept {
    setLanes(vg.bank.baseFrequency, noteFrequency);
    setLanes(vg.bank.baseIncrement, noteFrequency * rates.sampleTime);
    setLanes(vg.bank.phaseParam, 0.0f);
    startPartialBank(vg, channel, voiceOutputs);
    vg.bankActive = false;
    clearRamp(vg.baseFrequencyRamp);
    clearRamp(vg.phaseRamp);
    clearRamp(vg.outRamp);
    clearRamp(vg.pwmDelayRamp);
    clearRamp(vg.pwmFeedbackRamp);
    clearRamp(vg.gainRamp);
    clearPwmLine(vg.pwmLine[0]);
    clearPwmLine(vg.pwmLine[1]);
    vg.compressorLevel = 0.0f;
    vg.compressorPower = 0.0f;
}

void updateGeneratorControl(VoiceGenerator& vg, Channel& channel, const float* voiceOutputs,
                            float keyFrequency, float env1Output, float rampFraction) noexcept {
    controlUpdate(vg, channel, voiceOutputs, keyFrequency, env1Output, rampFraction, true);
}

void refreshGeneratorControl(VoiceGenerator& vg, Channel& channel, const float* voiceOutputs,
                             float keyFrequency, float env1Output, float rampFraction) noexcept {
    controlUpdate(vg, channel, voiceOutputs, keyFrequency, env1Output, rampFraction, false);
}

void releaseVoiceGenerator(VoiceGenerator& vg) noexcept {
    releaseGeneratorStates(vg.spectrum);
}

void renderGeneratorSample(VoiceGenerator& vg, const Channel& channel, float& sumLeft,
                           float& sumRight) noexcept {
    const float f0 = advanceRamp(vg.baseFrequencyRamp);
    setLanes(vg.bank.baseFrequency, f0);
    setLanes(vg.bank.baseIncrement, f0 * rates.sampleTime);
    setLanes(vg.bank.phaseParam, advanceRamp(vg.phaseRamp));
    const SampleRamps ramps = advanceOutputRamps(vg);
    if (vg.bankActive) renderPartials(vg.bank);
    finishSample(vg, channel, ramps, vg.bank.outLeft, vg.bank.outRight, sumLeft, sumRight);
}

void renderGeneratorRun(VoiceGenerator& vg, const Channel& channel, int n, float* sumLeft,
                        float* sumRight) noexcept {
    alignas(64) float baseFrequency[kMaxRunSamples];
    alignas(64) float baseIncrement[kMaxRunSamples];
    alignas(64) float phaseParam[kMaxRunSamples];
    alignas(64) float bankLeft[kMaxRunSamples];
    alignas(64) float bankRight[kMaxRunSamples];
    for (int start = 0; start < n; start += kMaxRunSamples) {
        const int length = n - start < kMaxRunSamples ? n - start : kMaxRunSamples;
        const float sampleTime = rates.sampleTime;
        for (int t = 0; t < length; ++t) {
            baseFrequency[t] = advanceRamp(vg.baseFrequencyRamp);
            baseIncrement[t] = baseFrequency[t] * sampleTime;
            phaseParam[t] = advanceRamp(vg.phaseRamp);
        }
        if (vg.bankActive) {
            renderPartialsRun(vg.bank, baseFrequency, baseIncrement, phaseParam, length, bankLeft, bankRight);
        } else {
            setLanes(vg.bank.baseFrequency, baseFrequency[length - 1]);
            setLanes(vg.bank.baseIncrement, baseIncrement[length - 1]);
            setLanes(vg.bank.phaseParam, phaseParam[length - 1]);
            for (int t = 0; t < length; ++t) bankLeft[t] = bankRight[t] = 0.0f;  // unused: the bank is silent
        }
        for (int t = 0; t < length; ++t) {
            const SampleRamps ramps = advanceOutputRamps(vg);
            finishSample(vg, channel, ramps, bankLeft[t], bankRight[t], sumLeft[start + t],
                         sumRight[start + t]);
        }
    }
}

}  // namespace quenvale
