// Plucks: a filtered pluck, a harp, pizzicato strings and two re-synthesized plucked strings.
#include <cmath>

#include "engine/spectrum/spectrum_modes.h"
#include "factory_bank.h"
#include "recipes.h"
#include "spectra.h"
#include "tone_sources.h"

namespace quenvale::factory {
namespace {

void pluck(SoundBuilder& b) {
    b.begin("Pluck", kPlucks);
    fillBreakpoint(b.amp(), 0, unit(saw(128)));
    addBreakpoint(b.amp(), 0.15f, unit(darkened(saw(128), 4.0f)));
    addBreakpoint(b.amp(), 1.0f, scaled(unit(darkened(saw(128), 1.5f)), 0.5f));
    percussiveEnvelope(b, 0.002f, 1.6f, 0.12f);
    velocityGain(b, 0.08f, 0.22f);
    comb(b, 1, 350.0f, 0.35f, 0.25f);
    b.amp().filterMode = kFilterLowPass12;
    b.amp().cutoff.base = 0.7f;
    b.modulate(b.amp().cutoff, kSourceVelocity, 0.2f);
    wheelShift(b, 2.0f);
    macroBrightness(b, 1, -0.3f);
    b.macro(1, "Muted", "palm-muted: darker");
    macroResonance(b, 2, 2.0f);
    macroHollow(b, 3, unit(saw(128)));
    macroBeat(b, 4, 0.006f);
    macroWidth(b, 5, 0.0f);
    macroEcho(b, 6, 0.3f, 0.45f, 0.35f);
    b.store();
}

// Harp: a soft pluck with long, pure strings; low notes ring with more overtones.
void harp(SoundBuilder& b) {
    b.begin("Harp", kPlucks);
    b.generator().setPartialCount(64);
    fillBreakpoint(b.amp(), 0, unit(darkened(rolloff(1.2f, 48), 8.0f)));
    addBreakpoint(b.amp(), 0.5f, unit(darkened(rolloff(1.5f, 48), 3.0f)));
    addBreakpoint(b.amp(), 3.0f, scaled(unit(harmonics({{1, 1.0f}, {2, 0.1f}})), 0.6f));
    keyBrightness(b, scaled(unit(from(rolloff(1.0f, 24), 3)), 0.3f), 0.5f, 0.0f);
    percussiveEnvelope(b, 0.003f, 5.0f, 0.8f);
    velocityGain(b, 0.1f, 0.26f);
    stereoDelay(b, 1, 0.43f, 0.57f, 0.4f, 0.25f);
    b.amp().filterMode = kFilterLowPass12;
    b.amp().cutoff.base = 0.3f;
    b.modulate(b.amp().cutoff, kSourceVelocity, 0.2f);
    wheelTremolo(b, 2, 5.0f, 0.4f);
    macroBrightness(b, 1, 0.6f);
    macroAmpLayer(b, 2, "Harmonic", "plucked at the middle: the octave harmonic", harmonics({{2, 0.5f}}));
    macroBeat(b, 3, 0.004f);
    macroWidth(b, 4, 0.0f);
    macroShimmer(b, 5, scaled(unit(rolloff(1.2f, 16)), 0.5f), 0.5f);
    macroComb(b, 6, 260.0f, 0.5f);
    b.store();
}

void pizzicato(SoundBuilder& b) {
    b.begin("Pizzicato", kPlucks);
    fillBreakpoint(b.amp(), 0, unit(darkened(saw(96), 12.0f)));
    addBreakpoint(b.amp(), 0.25f, unit(darkened(saw(96), 3.0f)));
    fillBreakpoint(b.detune(), 0, [](int32_t k) { return 0.006f * scatter(k, 43u); });
    percussiveEnvelope(b, 0.003f, 0.9f, 0.15f);
    velocityGain(b, 0.1f, 0.26f);
    fillBreakpoint(b.pan(), 0, spreadPan(0.5f));
    stereoDelay(b, 1, 0.39f, 0.45f, 0.35f, 0.25f);
    b.amp().filterMode = kFilterLowPass12;
    b.amp().cutoff.base = 0.6f;
    b.modulate(b.amp().cutoff, kSourceVelocity, 0.25f);
    wheelTremolo(b, 2, 6.0f, 0.4f);
    macroBite(b, 1, unit(from(saw(64), 6)), 0.03f);
    b.macro(1, "Snap", "a snapped attack: the string slaps the board");
    macroBrightness(b, 2, -0.3f);
    b.macro(2, "Soft", "softer fingers: darker");
    macroWidth(b, 3, 0.3f);
    macroDrift(b, 4, 0.006f, 0.5f);
    macroComb(b, 5, 220.0f, 0.6f);
    b.macro(5, "Body", "a wooden body resonance");
    macroEcho(b, 6, 0.45f, 0.55f, 0.4f);
    b.store();
}

// A steel string from our delay-loop model, re-synthesized.
void steelString(SoundBuilder& b) {
    b.begin("Steel String", kPlucks);
    b.generator().setPartialCount(64);
    resynthesizeTone(b, pluckedString(400, 3.0f, 0.45f, 1u), pluckedStringPitch(400), 0.05f);
    percussiveEnvelope(b, 0.002f, 6.0f, 0.3f);
    velocityGain(b, 0.1f, 0.26f);
    stereoDelay(b, 1, 0.35f, 0.47f, 0.35f, 0.2f);
    b.amp().filterMode = kFilterLowPass12;
    b.amp().cutoff.base = 0.7f;
    b.modulate(b.amp().cutoff, kSourceVelocity, 0.2f);
    wheelTremolo(b, 2, 5.5f, 0.4f);
    macroBrightness(b, 1, 0.3f);
    macroStretch(b, 2, 0.00005f);
    macroBeat(b, 3, 0.005f);
    b.macro(3, "12-String", "a second, slightly detuned course");
    macroWidth(b, 4, 0.0f);
    macroComb(b, 5, 180.0f, 0.6f);
    b.macro(5, "Body", "a resonant guitar body");
    macroEcho(b, 6, 0.3f, 0.45f, 0.35f);
    b.store();
}

// A darker nylon string from the same model with more loss, re-synthesized.
void nylonString(SoundBuilder& b) {
    b.begin("Nylon String", kPlucks);
    b.generator().setPartialCount(64);
    resynthesizeTone(b, pluckedString(300, 3.0f, 0.1f, 2u), pluckedStringPitch(300), 0.05f);
    percussiveEnvelope(b, 0.002f, 5.0f, 0.3f);
    velocityGain(b, 0.1f, 0.26f);
    stereoDelay(b, 1, 0.41f, 0.53f, 0.35f, 0.2f);
    b.amp().filterMode = kFilterLowPass6;
    b.amp().cutoff.base = 0.75f;
    b.modulate(b.amp().cutoff, kSourceVelocity, 0.2f);
    wheelVibrato(b, 1);
    vibrato(b, 1, 5.0f, 0.004f, 0.0f);
    macroBrightness(b, 1, -0.3f);
    b.macro(1, "Thumb", "plucked with the thumb: darker");
    macroBite(b, 2, unit(from(saw(48), 8)), 0.06f);
    b.macro(2, "Nail", "a nail attack");
    macroWidth(b, 3, 0.0f);
    macroDrift(b, 4, 0.004f, 0.4f);
    macroComb(b, 5, 200.0f, 0.5f);
    b.macro(5, "Body", "a resonant guitar body");
    macroEcho(b, 6, 0.45f, 0.33f, 0.4f);
    b.store();
}

}  // namespace

void buildPlucks(SoundBuilder& b) {
    pluck(b);
    harp(b);
    pizzicato(b);
    steelString(b);
    nylonString(b);
}

}  // namespace quenvale::factory
