// Keys: soft electric and felt pianos, a clavinet-like pluck, glass keys and a re-synthesized FM tine.
#include <cmath>

#include "engine/spectrum/spectrum_modes.h"
#include "factory_bank.h"
#include "recipes.h"
#include "spectra.h"
#include "tone_sources.h"

namespace quenvale::factory {
namespace {

// Program 0, the sound of examples/demo.mid: soft keys whose vibrato and brightness follow the wheel.
void softKeys(SoundBuilder& b) {
    b.begin("Soft Keys", kKeys);
    fillBreakpoint(b.amp(), 0, unit([](int32_t k) {
        return k < 64 ? ((k % 2 == 0) ? 1.0f : 0.55f) / std::pow(harmonicNumber(k), 1.1f) : 0.0f;
    }));
    filterEnvelope(b, 2, kFilterLowPass12, 0.5f, 0.2f, 0.6f);
    b.amp().resonance.base = 0.3f;
    keyBrightness(b, unit(from(saw(48), 6)), 0.25f, 0.0f);
    ampEnvelope(b, 0.015f, 1.5f, 0.65f, 0.6f);
    vibrato(b, 1, 5.2f, 0.005f, 0.2f);
    velocityGain(b, 0.1f, 0.22f);
    stereoDelay(b, 1, 0.33f, 0.45f, 0.3f, 0.18f);
    wheelVibrato(b, 1);
    b.modulate(b.amp().cutoff, kSourceModWheel, 0.25f);
    b.wheel("vibrato and a brighter filter");
    macroBite(b, 1, unit(from(saw(64), 5)), 0.12f);
    macroResonance(b, 2, 1.5f);
    macroTremolo(b, 3, 3, 4.5f, 0.5f);
    macroWidth(b, 4, 0.0f);
    macroDrift(b, 5, 0.006f, 0.4f);
    macroEcho(b, 6, 0.5f, 0.375f, 0.35f);
    b.store();
}

// Body partials and a tine an octave and a half up that rings off quickly; hard notes bark.
void tinePiano(SoundBuilder& b) {
    b.begin("Tine Piano", kKeys);
    const Spectrum body = harmonics({{1, 1.0f}, {2, 0.35f}, {3, 0.12f}, {4, 0.05f}});
    const Spectrum tine = harmonics({{1, 1.0f}, {2, 0.4f}, {3, 0.2f}, {7, 0.25f}, {8, 0.15f}, {14, 0.2f}});
    fillBreakpoint(b.amp(), 0, unit(tine));
    addBreakpoint(b.amp(), 0.25f, unit(body));
    addBreakpoint(b.amp(), 3.0f, scaled(unit(harmonics({{1, 1.0f}, {2, 0.15f}})), 0.6f));
    b.amp().filterMode = kFilterLowPass12;
    b.amp().cutoff.base = 0.35f;
    b.modulate(b.amp().cutoff, kSourceVelocity, 0.2f);
    keyBrightness(b, scaled(unit(harmonics({{5, 0.5f}, {6, 0.4f}, {7, 0.3f}})), 0.5f), 0.4f, 0.0f);
    percussiveEnvelope(b, 0.003f, 6.0f, 0.35f);
    velocityGain(b, 0.08f, 0.26f);
    wheelTremolo(b, 2, 5.0f, 0.6f);
    macroBite(b, 1, unit(harmonics({{6, 0.6f}, {9, 0.5f}, {12, 0.4f}, {15, 0.3f}})), 0.08f);
    macroAmpLayer(b, 2, "Bark", "odd harmonics growl under a hard touch",
                  scaled(unit(harmonics({{3, 0.6f}, {5, 0.4f}, {7, 0.3f}, {9, 0.2f}})), 0.7f));
    macroBeat(b, 3, 0.004f);
    macroWidth(b, 4, 0.1f);
    macroComb(b, 5, 600.0f, 0.4f);
    macroEcho(b, 6, 0.3f, 0.45f, 0.3f);
    b.store();
}

// Hammers on felt: a dark, short spectrum whose highs fade first; the stretch tunes it like a piano.
void feltPiano(SoundBuilder& b) {
    b.begin("Felt Piano", kKeys);
    b.generator().setPartialCount(64);
    fillBreakpoint(b.amp(), 0, unit(darkened(rolloff(1.3f, 40), 9.0f)));
    addBreakpoint(b.amp(), 0.6f, unit(darkened(rolloff(1.5f, 40), 4.0f)));
    addBreakpoint(b.amp(), 4.0f, scaled(unit(darkened(rolloff(1.8f, 40), 2.0f)), 0.4f));
    fillBreakpoint(b.detune(), 0, [](int32_t k) {
        const float h = harmonicNumber(k);
        return 0.00004f * h * h * h;
    });
    keyBrightness(b, scaled(unit(from(rolloff(1.0f, 30), 5)), 0.3f), 0.5f, 0.0f);
    percussiveEnvelope(b, 0.004f, 7.0f, 0.5f);
    velocityGain(b, 0.09f, 0.25f);
    b.amp().filterMode = kFilterLowPass12;
    b.amp().cutoff.base = 0.5f;
    wheelBrightness(b, 0.5f);
    macroStretch(b, 1, 0.0001f);
    macroShimmer(b, 2, unit(rolloff(1.5f, 24)), 0.3f);
    macroWidth(b, 3, 0.0f);
    macroBrightness(b, 4, -0.3f);
    b.macro(4, "Felt", "darker, softer hammers");
    macroDrift(b, 5, 0.005f, 0.3f);
    macroEcho(b, 6, 0.45f, 0.6f, 0.4f);
    b.store();
}

// A bright string struck near the bridge: the pulse stage's comb plays the pickup position.
void clavPluck(SoundBuilder& b) {
    b.begin("Clav Pluck", kKeys);
    fillBreakpoint(b.amp(), 0, unit(rolloff(0.8f, 96)));
    addBreakpoint(b.amp(), 0.4f, unit(rolloff(1.2f, 64)));
    b.set("Gen1 PWM Mode", kPwmSub);
    b.set("Gen1 PWM Width", 0.22f);
    percussiveEnvelope(b, 0.002f, 2.2f, 0.08f);
    velocityGain(b, 0.07f, 0.2f);
    b.amp().filterMode = kFilterLowPass12;
    b.amp().cutoff.base = 0.45f;
    b.modulate(b.amp().cutoff, kSourceVelocity, 0.25f);
    wheelShift(b, 3.0f);
    macroPulseWidth(b, 1, 0.5f);
    macroResonance(b, 2, 2.0f);
    macroBrightness(b, 3, 0.45f);
    macroComb(b, 4, 900.0f, 0.5f);
    macroWidth(b, 5, 0.0f);
    macroEcho(b, 6, 0.25f, 0.375f, 0.3f);
    b.store();
}

// Stretched, bell-like partials over a sine body: keys made of glass.
void glassKeys(SoundBuilder& b) {
    b.begin("Glass Keys", kKeys);
    b.generator().setPartialCount(64);
    fillBreakpoint(b.amp(), 0, unit(harmonics({{1, 1.0f}, {2, 0.3f}, {4, 0.35f}, {7, 0.2f}, {11, 0.12f}})));
    addBreakpoint(b.amp(), 1.5f, scaled(unit(harmonics({{1, 1.0f}, {2, 0.2f}, {4, 0.1f}})), 0.7f));
    fillBreakpoint(b.detune(), 0, [](int32_t k) { return k == 0 ? 0.0f : 0.0015f * harmonicNumber(k) * harmonicNumber(k); });
    keyBrightness(b, scaled(unit(harmonics({{7, 0.4f}, {11, 0.3f}})), 0.4f), 0.0f, 0.5f);
    percussiveEnvelope(b, 0.002f, 5.0f, 0.6f);
    velocityGain(b, 0.08f, 0.24f);
    b.amp().filterMode = kFilterLowPass6;
    b.amp().cutoff.base = 0.75f;
    wheelTremolo(b, 2, 6.0f, 0.5f);
    macroShimmer(b, 1, unit(harmonics({{4, 0.5f}, {7, 0.4f}, {11, 0.3f}})), 0.8f);
    macroStretch(b, 2, 0.00015f);
    macroBrightness(b, 3, -0.35f);
    b.macro(3, "Soften", "closes the filter: rounder");
    macroWidth(b, 4, 0.2f);
    macroComb(b, 5, 1200.0f, 0.6f);
    macroEcho(b, 6, 0.43f, 0.57f, 0.45f);
    b.store();
}

// An FM tine, rendered by our code and re-synthesized: every partial's measured level and tuning.
void resynthTine(SoundBuilder& b) {
    b.begin("Resynth Tine", kKeys);
    b.generator().setPartialCount(64);
    resynthesizeTone(b, fmTine(220.0f, 2.5f), 220.0f, 0.05f);
    percussiveEnvelope(b, 0.002f, 4.0f, 0.3f);
    velocityGain(b, 0.08f, 0.24f);
    b.amp().filterMode = kFilterLowPass12;
    b.amp().cutoff.base = 0.25f;
    b.modulate(b.amp().cutoff, kSourceVelocity, 0.25f);
    wheelTremolo(b, 2, 5.5f, 0.6f);
    macroAmpLayer(b, 1, "Bell", "the tine's high partial rings on",
                  scaled(unit(harmonics({{14, 0.6f}, {15, 0.2f}, {28, 0.2f}})), 0.5f));
    macroShift(b, 2, 2.0f);
    macroBeat(b, 3, 0.003f);
    macroWidth(b, 4, 0.0f);
    macroDrift(b, 5, 0.006f, 0.5f);
    macroEcho(b, 6, 0.33f, 0.5f, 0.35f);
    b.store();
}

}  // namespace

void buildKeys(SoundBuilder& b) {
    softKeys(b);
    tinePiano(b);
    feltPiano(b);
    clavPluck(b);
    glassKeys(b);
    resynthTine(b);
}

}  // namespace quenvale::factory
