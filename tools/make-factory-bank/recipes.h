// Recurring musical moves of the factory sounds: amplitude and filter envelopes, vibrato, echo, and the
// macro and mod-wheel assignments (each sets the macro's name and says what it does).
#pragma once

#include <cstdint>

#include "sound_design.h"

namespace quenvale::factory {

// Enumeration values of the catalogue.
inline constexpr float kLfoSine = 1.0f, kLfoSaw = 2.0f, kLfoPulse = 4.0f, kLfoTri = 5.0f;
inline constexpr float kFxDelay = 1.0f, kFxComb = 2.0f;
inline constexpr float kPwmAdd = 1.0f, kPwmSub = 2.0f, kPwmMul = 3.0f;
inline constexpr int32_t kSyncQuarter = 7, kSyncEighth = 9, kSyncSixteenth = 11, kSyncWhole = 1, kSyncHalf = 4;
inline constexpr int32_t kLength4 = 3, kLength8 = 4, kLength16 = 6;
inline constexpr int32_t kStepConstant = 0, kStepLinear = 1, kStepSine = 2;

// Envelope 1 (amplitude): attack, decay to sustain, release (seconds, levels 0 … 1).
void ampEnvelope(SoundBuilder& b, float attack, float decay, float sustain, float release);
// Envelope 1 for struck and plucked sounds: attack, a long decay to silence while held, release.
void percussiveEnvelope(SoundBuilder& b, float attack, float decay, float release);
// "Gain" base plus velocity: level at velocity 0 and at 127.
void velocityGain(SoundBuilder& b, float soft, float hard);
// Envelope `env` shapes the "Amp" cutoff: from base + depth down to base over `decay` seconds.
void filterEnvelope(SoundBuilder& b, int32_t env, int32_t filterMode, float base, float depth, float decay);
// Stereo delay in effect slot `slot` (times in seconds, at most 0.6 so 96 kHz fits the line).
void stereoDelay(SoundBuilder& b, int32_t slot, float left, float right, float feedback, float wet);
// Comb in effect slot `slot`: first notch (Hz), feedback, wet.
void comb(SoundBuilder& b, int32_t slot, float notchHz, float feedback, float wet);
// LFO `lfo` (sine at rateHz) on "Gen1 Ratio" with `depth`; its "Out" is `base` (0 … 1).
void vibrato(SoundBuilder& b, int32_t lfo, float rateHz, float depth, float base);

// Key mapping of brightness: an Amp layer of `spectrum` that sounds at `low` on note 0 and at `high` on
// note 127 (bright low notes that darken up the keyboard when low > high, or the reverse).
void keyBrightness(SoundBuilder& b, const Spectrum& spectrum, float low, float high);

// ---- the mod wheel ----------------------------------------------------------------------------------
// Vibrato depth follows the wheel (LFO `lfo` set up by vibrato()).
void wheelVibrato(SoundBuilder& b, int32_t lfo);
// The "Amp" cutoff opens with the wheel (the modulator needs a filter mode).
void wheelBrightness(SoundBuilder& b, float amount);
// The "Amp" shift moves the spectrum up with the wheel.
void wheelShift(SoundBuilder& b, float partials);
// An LFO (sine) on "Gain", its depth from the wheel.
void wheelTremolo(SoundBuilder& b, int32_t lfo, float rateHz, float depth);

// ---- macros -----------------------------------------------------------------------------------------
// Opens the "Amp" cutoff ("Bright").
void macroBrightness(SoundBuilder& b, int32_t m, float amount);
// Raises the filter's resonance ("Reso").
void macroResonance(SoundBuilder& b, int32_t m, float amount);
// Wet level of a stereo delay in slot 2 ("Echo"); sets the delay up.
void macroEcho(SoundBuilder& b, int32_t m, float left, float right, float feedback);
// Stereo spread of the partials ("Width"): "Pan" gain from `base` up to 1.
void macroWidth(SoundBuilder& b, int32_t m, float base);
// Slow random drift of every partial's tuning ("Drift"): a Detune layer.
void macroDrift(SoundBuilder& b, int32_t m, float depth, float rateHz);
// Inharmonic stretch of the upper partials ("Stretch"): a Detune layer growing with h².
void macroStretch(SoundBuilder& b, int32_t m, float amount);
// Partials shimmer, each at its own rate ("Shimmer"): an Amp layer with a sine movement.
void macroShimmer(SoundBuilder& b, int32_t m, const Spectrum& spectrum, float rateHz);
// Removes the even harmonics ("Hollow"): an Amp layer subtracting them.
void macroHollow(SoundBuilder& b, int32_t m, const Spectrum& spectrum);
// A bright transient at the note start ("Bite"): an Amp layer decaying in `decay` seconds.
void macroBite(SoundBuilder& b, int32_t m, const Spectrum& spectrum, float decay);
// A breathy upper layer moving at random ("Air").
void macroAir(SoundBuilder& b, int32_t m, float level);
// Slower attack ("Swell"): envelope `env` pulls "Gen1 Out" down at the note start, fading over `time`.
void macroSwell(SoundBuilder& b, int32_t m, int32_t env, float time);
// Moves the spectrum along the partials ("Shift").
void macroShift(SoundBuilder& b, int32_t m, float partials);
// Tremolo depth ("Tremolo") from LFO `lfo` on "Gain".
void macroTremolo(SoundBuilder& b, int32_t m, int32_t lfo, float rateHz, float depth);
// Vibrato depth ("Vibrato") from LFO `lfo` set up by vibrato().
void macroVibrato(SoundBuilder& b, int32_t m, int32_t lfo);
// Wet level of a comb in slot 1 ("Comb"); sets the comb up.
void macroComb(SoundBuilder& b, int32_t m, float notchHz, float feedback);
// An Amp layer of `spectrum` added as macro m rises, named and described by the caller.
void macroAmpLayer(SoundBuilder& b, int32_t m, const char* name, const char* text, const Spectrum& spectrum);
// Sub octave ("Sub"): for sounds played with "Gen1 Ratio" 0.5, an Amp layer on the odd partials.
void macroSub(SoundBuilder& b, int32_t m, float level);
// PWM comb width sweep ("Width" of the pulse stage): "Gen1 PWM Width" plus the macro.
void macroPulseWidth(SoundBuilder& b, int32_t m, float amount);
// Depth of step sequencer `seq` where it is routed ("Steps"): its "Out" from the macro.
void macroSteps(SoundBuilder& b, int32_t m, int32_t seq);
// Rate of the spectral movement LFO `lfo` ("Rate"): "LfoN Offset" plus the macro.
void macroLfoRate(SoundBuilder& b, int32_t m, int32_t lfo, float hz);
// Detuned beating of a fixed rate ("Beat"): a Detune layer of ± `cents`-like ratio offsets.
void macroBeat(SoundBuilder& b, int32_t m, float amount);

}  // namespace quenvale::factory
