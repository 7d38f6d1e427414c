// Spectra for the factory sounds: classic waveforms, roll-offs, formants, chosen partials and pan patterns,
// each a function of the partial index k (k + 1 is the harmonic number).
#pragma once

#include <cstdint>
#include <initializer_list>
#include <utility>

#include "sound_design.h"

namespace quenvale::factory {

float harmonicNumber(int32_t k);
// 1 / h^exponent for the first `count` partials, 0 above.
Spectrum rolloff(float exponent, int32_t count);
Spectrum saw(int32_t count);
Spectrum square(int32_t count);  // odd harmonics, 1 / h
Spectrum triangle(int32_t count);  // odd harmonics, 1 / h²
// Only the even (2, 4, …) or the odd harmonics of another spectrum.
Spectrum evenOf(Spectrum s);
Spectrum oddOf(Spectrum s);
// s(k) × exp(−h / brightness): a soft low-pass in harmonic numbers.
Spectrum darkened(Spectrum s, float brightness);
// s(k) × factor.
Spectrum scaled(Spectrum s, float factor);
// Harmonics from `first` up: s(k), else 0.
Spectrum from(Spectrum s, int32_t firstHarmonic);
// The listed harmonics (harmonic number, level); partial slots of other numbers 0.
Spectrum harmonics(std::initializer_list<std::pair<int32_t, float>> levels);
// A voice-like source (1 / h^1.2) through resonances at formant frequencies (Hz) for a fundamental of
// `referenceHz`; the harmonics keep their place as the key changes, so the vowel colours shift slightly.
struct Formant {
    float hz, bandwidth, gain;
};
Spectrum vowel(float referenceHz, std::initializer_list<Formant> formants, int32_t count);
// Five vowels for a voice around C3.
Spectrum vowelA(int32_t count);
Spectrum vowelE(int32_t count);
Spectrum vowelI(int32_t count);
Spectrum vowelO(int32_t count);
Spectrum vowelU(int32_t count);
// Pan: partials spread alternately left and right, the fundamental in the centre.
Spectrum spreadPan(float width);
// s scaled so that its squares sum to 1 over all 512 partials: every unit spectrum sounds at about the
// same level.
Spectrum unit(Spectrum s);
// A constant value for every partial.
Spectrum flat(float value);
// A repeatable pseudo-random value in −1 … 1 per partial and seed (no process-wide state).
float scatter(int32_t k, uint32_t seed);

}  // namespace quenvale::factory
