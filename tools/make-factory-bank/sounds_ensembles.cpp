// Ensembles: strings and brass whose brightness follows the envelope and the velocity, a solo horn, low
// strings and a flute ensemble.
#include <cmath>

#include "engine/spectrum/spectrum_modes.h"
#include "factory_bank.h"
#include "recipes.h"
#include "spectra.h"

namespace quenvale::factory {
namespace {

// Many players: every partial detuned a little differently, with slow random drift and a body resonance.
void stringSection(SoundBuilder& b) {
    b.begin("String Section", kEnsembles);
    fillBreakpoint(b.amp(), 0, unit(darkened(saw(128), 24.0f)));
    fillBreakpoint(b.detune(), 0, [](int32_t k) { return 0.006f * scatter(k, 17u); });
    b.detune().dynamicMode = kDynamicRandom;
    b.detune().additive = true;
    b.detune().dynamicFrequency = 8.0f;
    b.detune().dynamicAmount = 0.004f;
    b.amp().filterMode = kFilterLowPass12;
    b.amp().cutoff.base = 0.62f;
    b.modulate(b.amp().cutoff, kSourceVelocity, 0.15f);
    fillBreakpoint(b.pan(), 0, spreadPan(0.6f));
    ampEnvelope(b, 0.35f, 0.5f, 0.9f, 0.7f);
    vibrato(b, 1, 5.3f, 0.003f, 0.2f);
    velocityGain(b, 0.1f, 0.2f);
    stereoDelay(b, 1, 0.41f, 0.47f, 0.4f, 0.25f);
    wheelVibrato(b, 1);
    macroSwell(b, 1, 3, 1.5f);
    macroBrightness(b, 2, -0.3f);
    b.macro(2, "Mute", "muted strings: darker");
    macroShift(b, 3, 1.5f);
    macroWidth(b, 4, 0.4f);
    macroHollow(b, 5, unit(darkened(saw(128), 24.0f)));
    b.macro(5, "Sul Tasto", "bowed over the fingerboard: hollow and soft");
    macroEcho(b, 6, 0.55f, 0.45f, 0.45f);
    b.store();
}

// Brass: the spectrum opens as the note speaks and closes back a little; harder playing is brighter.
void brassSection(SoundBuilder& b) {
    b.begin("Brass Section", kEnsembles);
    fillBreakpoint(b.amp(), 0, unit(darkened(saw(128), 2.0f)));
    addBreakpoint(b.amp(), 0.12f, unit(darkened(saw(128), 14.0f)));
    addBreakpoint(b.amp(), 0.5f, unit(darkened(saw(128), 8.0f)));
    b.amp().filterMode = kFilterLowPass12;
    b.amp().cutoff.base = 0.35f;
    b.modulate(b.amp().cutoff, kSourceVelocity, 0.25f);
    fillBreakpoint(b.detune(), 0, [](int32_t k) { return 0.004f * scatter(k, 23u); });
    ampEnvelope(b, 0.06f, 0.3f, 0.85f, 0.25f);
    vibrato(b, 1, 5.0f, 0.003f, 0.0f);
    velocityGain(b, 0.1f, 0.22f);
    stereoDelay(b, 1, 0.33f, 0.39f, 0.3f, 0.18f);
    Modulator& blow = addLayer(b.amp(), "Blow", kCombineAdd, scaled(unit(from(saw(96), 4)), 0.6f));
    blow.gain.base = 0.0f;
    b.modulate(blow.gain, kSourceModWheel, 1.0f);
    b.wheel("blows harder: brighter, brassier");
    macroVibrato(b, 1, 1);
    macroAmpLayer(b, 2, "Fall", "a bright blare at the start of each note",
                  scaled(unit(from(saw(64), 6)), 0.6f));
    addBreakpoint(*b.amp().children.back().child, 0.3f, flat(0.0f));
    macroResonance(b, 3, 2.0f);
    macroWidth(b, 4, 0.2f);
    macroDrift(b, 5, 0.006f, 0.6f);
    macroEcho(b, 6, 0.45f, 0.55f, 0.4f);
    b.store();
}

// A solo horn: round, with the brightness riding on velocity and the wheel.
void soloHorn(SoundBuilder& b) {
    b.begin("Solo Horn", kEnsembles);
    b.generator().setPartialCount(64);
    fillBreakpoint(b.amp(), 0, unit(darkened(rolloff(0.6f, 48), 3.0f)));
    addBreakpoint(b.amp(), 0.15f, unit(darkened(rolloff(0.6f, 48), 6.0f)));
    b.amp().filterMode = kFilterLowPass12;
    b.amp().cutoff.base = 0.3f;
    b.modulate(b.amp().cutoff, kSourceVelocity, 0.2f);
    ampEnvelope(b, 0.08f, 0.4f, 0.85f, 0.3f);
    b.envelope(2, {{0.7f, 1.0f, 0.4f}, {0.1f, 0.0f, 0.5f}}, 0);
    vibrato(b, 1, 4.8f, 0.004f, 0.0f);
    b.modulate("Lfo1 Out", sourceEnv(2), 0.6f);
    velocityGain(b, 0.12f, 0.24f);
    b.set("Glide", 0.05f);
    stereoDelay(b, 1, 0.37f, 0.43f, 0.35f, 0.22f);
    wheelBrightness(b, 0.5f);
    macroAmpLayer(b, 1, "Brassy", "a brassy, forced edge", scaled(unit(from(saw(48), 5)), 0.4f));
    macroHollow(b, 2, unit(darkened(rolloff(0.6f, 48), 6.0f)));
    b.macro(2, "Stopped", "hand-stopped: the even harmonics go");
    macroAir(b, 3, 0.12f);
    macroBeat(b, 4, 0.005f);
    macroComb(b, 5, 300.0f, 0.5f);
    macroEcho(b, 6, 0.5f, 0.6f, 0.45f);
    b.store();
}

// Cellos and basses together: the low strings, with a slower bow.
void lowStrings(SoundBuilder& b) {
    b.begin("Low Strings", kEnsembles);
    b.set("Gen1 Ratio", 0.5f);
    fillBreakpoint(b.amp(), 0, unit([](int32_t k) {
        const float h = harmonicNumber(k);
        return k < 128 ? (k % 2 == 1 ? 1.0f : 0.35f) / h * std::exp(-h / 30.0f) : 0.0f;
    }));
    fillBreakpoint(b.detune(), 0, [](int32_t k) { return 0.008f * scatter(k, 29u); });
    b.amp().filterMode = kFilterLowPass12;
    b.amp().cutoff.base = 0.45f;
    b.modulate(b.amp().cutoff, kSourceVelocity, 0.15f);
    ampEnvelope(b, 0.5f, 0.5f, 0.9f, 0.9f);
    vibrato(b, 1, 4.9f, 0.0025f, 0.2f);
    velocityGain(b, 0.1f, 0.21f);
    stereoDelay(b, 1, 0.45f, 0.51f, 0.45f, 0.25f);
    wheelVibrato(b, 1);
    macroSwell(b, 1, 3, 2.0f);
    macroBrightness(b, 2, 0.45f);
    macroAmpLayer(b, 3, "Octave", "the double basses an octave down", harmonics({{1, 0.4f}, {3, 0.1f}}));
    macroWidth(b, 4, 0.2f);
    macroDrift(b, 5, 0.008f, 0.4f);
    macroEcho(b, 6, 0.55f, 0.47f, 0.45f);
    b.store();
}

// Flutes: few partials, breath flutter and a delayed vibrato.
void fluteEnsemble(SoundBuilder& b) {
    b.begin("Flute Ensemble", kEnsembles);
    b.generator().setPartialCount(64);
    fillBreakpoint(b.amp(), 0, unit(harmonics({{1, 1.0f}, {2, 0.25f}, {3, 0.12f}, {4, 0.05f}, {5, 0.02f}})));
    b.amp().dynamicMode = kDynamicRandom;
    b.amp().dynamicFrequency = 4.0f;
    b.amp().dynamicAmount = 0.1f;
    fillBreakpoint(b.detune(), 0, [](int32_t k) { return 0.003f * scatter(k, 31u); });
    ampEnvelope(b, 0.06f, 0.15f, 0.9f, 0.2f);
    b.envelope(2, {{0.6f, 1.0f, 0.4f}, {0.1f, 0.0f, 0.5f}}, 0);
    vibrato(b, 1, 5.0f, 0.008f, 0.0f);
    b.modulate("Lfo1 Out", sourceEnv(2), 0.8f);
    b.set("Gain", 0.24f);
    stereoDelay(b, 1, 0.31f, 0.47f, 0.3f, 0.2f);
    b.amp().filterMode = kFilterLowPass6;
    b.amp().cutoff.base = 0.8f;
    b.modulate("Lfo1 Out", kSourceModWheel, 0.5f);
    b.wheel("deeper vibrato");
    macroAir(b, 1, 0.06f);
    macroAmpLayer(b, 2, "Overblow", "overblown: the octave harmonic takes over", harmonics({{2, 0.6f}, {4, 0.2f}}));
    macroBeat(b, 3, 0.006f);
    macroWidth(b, 4, 0.0f);
    macroBrightness(b, 5, -0.6f);
    b.macro(5, "Soft", "softer, rounder tone");
    macroEcho(b, 6, 0.5f, 0.375f, 0.45f);
    b.store();
}

}  // namespace

void buildEnsembles(SoundBuilder& b) {
    stringSection(b);
    brassSection(b);
    soloHorn(b);
    lowStrings(b);
    fluteEnsemble(b);
}

}  // namespace quenvale::factory
