// The generator part of a voice: partial bank, control ramps, pulse-width comb, gain and compressor.
//
// How a voice drives it:
//   note start   startVoiceGenerator, then (after its LFO increments) updateGeneratorControl with
//                rampFraction 0, which sets every ramp to its target at once;
//   control tick updateGeneratorControl with rampFraction 1/64 (advances the spectrum's time);
//   parameter change  refreshGeneratorControl (new targets and steps; the spectrum's time stays);
//   audio        renderGeneratorRun for the samples up to the next tick (at most 64 at a time);
//   note-off     releaseVoiceGenerator.
#pragma once

#include <cstdint>

#include "engine/osc/control_ramp.h"
#include "engine/osc/partial_bank.h"
#include "engine/osc/pwm_line.h"
#include "engine/spectrum/generator_spectrum.h"

namespace quenvale {

struct Channel;

struct alignas(64) VoiceGenerator {
    // [ui] Fills the sine table, allocates the four 512-value spectrum curves, zeroes everything else.
    VoiceGenerator();
    VoiceGenerator(const VoiceGenerator&) = delete;
    VoiceGenerator& operator=(const VoiceGenerator&) = delete;

    PartialBank bank;
    ControlRamp baseFrequencyRamp;  // Hz
    ControlRamp phaseRamp;          // cycles
    ControlRamp outRamp;
    ControlRamp pwmDelayRamp;  // seconds
    ControlRamp pwmFeedbackRamp;
    ControlRamp gainRamp;
    bool bankActive = false;
    float compressorLevel = 0.0f;
    float compressorPower = 0.0f;  // the last (R² + L²) / 4
    GeneratorStates spectrum;      // "Amp", "Detune", "Phase", "Pan" states and their output curves
    PwmLine pwmLine[2];            // left, right
};

// [audio] Note start of frequency noteFrequency (Hz): the bank's f0 and increment, phases 0, the spectrum
// states reset and evaluated twice (time step 0, setting every partial at once, then 0.015625 s, whose
// steps reach the targets in 64 samples), the bank inactive, all six ramps, the compressor level and
// power 0, both pulse-width lines cleared (their write indices stay). voiceOutputs (indexed by
// VoiceOutput, may be null) are the voice's freshly reset outputs, read by the spectrum's slots. The
// voice then calls updateGeneratorControl with rampFraction 0.
void startVoiceGenerator(VoiceGenerator& vg, Channel& channel, float noteFrequency,
                         const float* voiceOutputs = nullptr) noexcept;

// [audio] The control update. rampFraction is 1 / (samples until the next tick): 1/64 at a tick, 0 at
// note start (everything jumps to its target). Evaluates the generator parameters with this voice's
// sources (voiceOutputs) and sets the ramps: f0 = "Gen1 Ratio" × keyFrequency + "Gen1 Offset" (a
// non-finite f0 counts as 0), "Gen1 Phase", "Gen1 Out", the pulse-width delay "Gen1 PWM Width" / f0
// seconds (limited to 0 … 65535 samples), "Gen1 PWM Feedback" (limited to magnitude 0.999), and the gain "Gain" × env1Output (the
// first envelope's output times its level). Then advances the spectrum's time by the seconds until the
// next tick, evaluates it with the present f0 and computes the partial targets and steps.
void updateGeneratorControl(VoiceGenerator& vg, Channel& channel, const float* voiceOutputs,
                            float keyFrequency, float env1Output, float rampFraction) noexcept;

// [audio] The same after a parameter change, except that the spectrum's time does not move: only the
// control tick advances it, however many changes arrive in between.
void refreshGeneratorControl(VoiceGenerator& vg, Channel& channel, const float* voiceOutputs,
                             float keyFrequency, float env1Output, float rampFraction) noexcept;

// [audio] Note-off: releases the four top-level spectrum states (their loops end).
void releaseVoiceGenerator(VoiceGenerator& vg) noexcept;

// [audio] Renders n samples (normally the run up to the next control tick, at most 64; longer runs are
// split) and adds each sample's voice output to sumLeft[i] and sumRight[i]. Identical bit for bit to n
// calls of renderGeneratorSample, on every vector path.
void renderGeneratorRun(VoiceGenerator& vg, const Channel& channel, int n, float* sumLeft,
                        float* sumRight) noexcept;

// [audio] One sample, the plain portable way (the reference for renderGeneratorRun): the ramps move,
// the partials sound (if the bank is active), then the pulse-width comb (unless "None"), the gain and
// the compressor (if on); the result is added to sumLeft and sumRight. The glide of keyFrequency
// belongs to the voice and happens before this call.
void renderGeneratorSample(VoiceGenerator& vg, const Channel& channel, float& sumLeft,
                           float& sumRight) noexcept;

}  // namespace quenvale
