// Tones made by our own code for re-synthesis (no recordings): a plucked string from a delay loop, a
// frequency-modulated tine and a sung vowel from a pulse source through formant resonators.
#pragma once

#include <cstdint>
#include <vector>

#include "sound_design.h"

namespace quenvale::factory {

inline constexpr float kToneRate = 44100.0f;

// A plucked string: a noise burst circulating in a delay line with an averaging low-pass; `brightness`
// 0 … 1 is the share of the high-frequency loss kept out of the loop. The pitch is kToneRate / (N + 0.5).
std::vector<float> pluckedString(int32_t delaySamples, float seconds, float brightness, uint32_t seed);
float pluckedStringPitch(int32_t delaySamples);
// A two-operator FM tine: the modulator index decays fast, so the attack is bright and the tail pure.
std::vector<float> fmTine(float hz, float seconds);
// A sung "ah" at hz: a smooth glottal pulse with a little vibrato through four formant resonators.
std::vector<float> sungVowel(float hz, float seconds);

// Writes the tone to a temporary WAV file, re-synthesizes it into the sound's "Amp" and "Detune"
// (frames every `distance` seconds), and removes the file. Stops the build if the analysis fails.
void resynthesizeTone(SoundBuilder& b, const std::vector<float>& tone, float fundamental, float distance);

}  // namespace quenvale::factory
