// Organs: drawbar registrations, a pipe organ mixture, a reed organ and percussion.
#include <cmath>

#include "engine/spectrum/spectrum_modes.h"
#include "factory_bank.h"
#include "recipes.h"
#include "spectra.h"

namespace quenvale::factory {
namespace {

// Played with "Gen1 Ratio" 0.5: harmonic 2 is the played pitch, harmonic 1 the sub-octave.
void drawbarOrgan(SoundBuilder& b) {
    b.begin("Drawbar Organ", kOrgans);
    b.set("Gen1 Ratio", 0.5f);
    const Spectrum bars = harmonics({{1, 0.45f}, {2, 0.8f}, {3, 0.35f}, {4, 0.5f}, {6, 0.25f}, {8, 0.3f}});
    fillBreakpoint(b.amp(), 0, unit(bars));
    b.envelope(1, {{0.006f, 1.0f, 0.5f}, {0.08f, 0.0f, 0.6f}}, 0);
    vibrato(b, 1, 6.4f, 0.002f, 0.0f);
    b.set("Gain", 0.2f);
    stereoDelay(b, 1, 0.21f, 0.29f, 0.2f, 0.12f);
    wheelVibrato(b, 1);
    b.wheel("scanner-style vibrato");
    macroAmpLayer(b, 1, "Bright", "pulls out the upper drawbars (10, 12, 16)",
                  harmonics({{10, 0.2f}, {12, 0.2f}, {16, 0.15f}}));
    macroAmpLayer(b, 2, "Perc", "third-harmonic percussion on every note",
                  harmonics({{6, 0.5f}}));
    addBreakpoint(*b.amp().children.back().child, 0.25f, flat(0.0f));
    macroTremolo(b, 3, 3, 6.7f, 0.35f);
    b.macro(3, "Leslie", "fast rotary-style tremolo");
    macroWidth(b, 4, 0.0f);
    macroDrift(b, 5, 0.004f, 0.8f);
    macroComb(b, 6, 500.0f, 0.3f);
    b.store();
}

// Pipe organ mixture: 16', 8', 4', 2 2/3' and 2' ranks on "Gen1 Ratio" 0.25, with a slow wind.
void churchOrgan(SoundBuilder& b) {
    b.begin("Church Organ", kOrgans);
    b.set("Gen1 Ratio", 0.25f);
    const Spectrum ranks = [](int32_t k) {
        const int32_t h = k + 1;
        const float pipe = h == 1 ? 0.5f : h == 2 ? 0.3f : h == 4 ? 1.0f : h == 8 ? 0.55f : h == 12 ? 0.35f
                           : h == 16 ? 0.4f : h == 20 ? 0.15f : h == 24 ? 0.15f : h == 32 ? 0.1f : 0.0f;
        return pipe;
    };
    fillBreakpoint(b.amp(), 0, unit(ranks));
    addLayer(b.amp(), "Wind", kCombineAdd, scaled(from(darkened(flat(0.01f), 60.0f), 8), 1.0f)).dynamicMode =
        kDynamicRandom;
    ampEnvelope(b, 0.08f, 0.2f, 1.0f, 0.6f);
    b.set("Gain", 0.2f);
    stereoDelay(b, 1, 0.53f, 0.59f, 0.55f, 0.35f);
    b.amp().filterMode = kFilterLowPass6;
    b.amp().cutoff.base = 0.8f;
    wheelBrightness(b, -0.35f);
    b.wheel("closes the swell box: softer");
    macroAmpLayer(b, 1, "Mixture", "adds the high mixture ranks", harmonics({{24, 0.25f}, {32, 0.2f}, {40, 0.15f}, {48, 0.1f}}));
    macroAmpLayer(b, 2, "Reed", "adds a reed rank (odd harmonics of 8')",
                  scaled(unit([](int32_t k) { return (k + 1) % 4 == 0 && ((k + 1) / 4) % 2 == 1 ? 4.0f / (k + 1) : 0.0f; }), 0.5f));
    macroTremolo(b, 3, 3, 5.5f, 0.25f);
    b.macro(3, "Tremulant", "the wind tremulant");
    macroBeat(b, 4, 0.004f);
    b.macro(4, "Celeste", "a detuned rank beating against the others");
    macroWidth(b, 5, 0.0f);
    macroEcho(b, 6, 0.6f, 0.5f, 0.5f);
    b.store();
}

// Reed organ: strong odd harmonics, a touch of hollow breath and a wobbling bellows.
void reedOrgan(SoundBuilder& b) {
    b.begin("Reed Organ", kOrgans);
    fillBreakpoint(b.amp(), 0, unit([](int32_t k) {
        const float h = harmonicNumber(k);
        return k < 48 ? (k % 2 == 0 ? 1.0f : 0.45f) / std::pow(h, 0.9f) : 0.0f;
    }));
    b.amp().filterMode = kFilterBandPass3;
    b.amp().cutoff.base = 0.5f;
    ampEnvelope(b, 0.04f, 0.2f, 0.95f, 0.15f);
    b.set("Gain", 0.2f);
    b.set("Lfo2 Type", kLfoSine);
    b.set("Lfo2 Offset", 3.2f);
    b.set("Lfo2 Out", 0.3f);
    b.modulate("Gain", sourceLfo(2), 0.1f * b.get("Gain"));
    stereoDelay(b, 1, 0.27f, 0.33f, 0.25f, 0.12f);
    wheelBrightness(b, 0.3f);
    macroHollow(b, 1, unit([](int32_t k) {
        const float h = harmonicNumber(k);
        return k < 48 ? (k % 2 == 0 ? 1.0f : 0.45f) / std::pow(h, 0.9f) : 0.0f;
    }));
    macroResonance(b, 2, 2.0f);
    macroAir(b, 3, 0.05f);
    macroShift(b, 4, 2.0f);
    macroBeat(b, 5, 0.006f);
    macroEcho(b, 6, 0.375f, 0.5f, 0.35f);
    b.store();
}

// Percussive organ: a click and a fast-decaying third harmonic on top of a soft registration.
void percOrgan(SoundBuilder& b) {
    b.begin("Perc Organ", kOrgans);
    b.set("Gen1 Ratio", 0.5f);
    fillBreakpoint(b.amp(), 0, unit(harmonics({{1, 0.4f}, {2, 1.0f}, {4, 0.6f}, {6, 1.0f}, {8, 0.2f}})));
    addBreakpoint(b.amp(), 0.4f, unit(harmonics({{1, 0.4f}, {2, 1.0f}, {4, 0.6f}, {6, 0.1f}, {8, 0.2f}})));
    b.envelope(1, {{0.004f, 1.0f, 0.5f}, {0.07f, 0.0f, 0.6f}}, 0);
    vibrato(b, 1, 6.8f, 0.0025f, 0.0f);
    b.set("Gain", 0.2f);
    wheelVibrato(b, 1);
    macroBite(b, 1, unit(harmonics({{16, 0.5f}, {20, 0.4f}, {24, 0.3f}})), 0.05f);
    b.macro(1, "Click", "key click at the start of each note");
    macroAmpLayer(b, 2, "Sub", "the 16' bar: an octave below", harmonics({{1, 0.6f}}));
    macroTremolo(b, 3, 3, 6.9f, 0.35f);
    b.macro(3, "Leslie", "fast rotary-style tremolo");
    macroDrift(b, 4, 0.004f, 1.0f);
    macroComb(b, 5, 440.0f, 0.4f);
    macroEcho(b, 6, 0.3f, 0.45f, 0.3f);
    b.store();
}

}  // namespace

void buildOrgans(SoundBuilder& b) {
    drawbarOrgan(b);
    churchOrgan(b);
    reedOrgan(b);
    percOrgan(b);
}

}  // namespace quenvale::factory
