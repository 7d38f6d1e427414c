// Drones and effects: combs, deep drones, wind, a riser and a metallic scrape. They sit lower than the
// playable sounds (marked quiet): they are beds and colours, not lead voices.
#include <cmath>

#include "engine/spectrum/spectrum_modes.h"
#include "factory_bank.h"
#include "recipes.h"
#include "spectra.h"

namespace quenvale::factory {
namespace {

// A slowly swept comb resonance over a soft saw: channel LFO 1 moves the first notch.
void combDrone(SoundBuilder& b) {
    b.begin("Comb Drone", kDrones);
    b.quiet();
    b.generator().setPartialCount(64);
    fillBreakpoint(b.amp(), 0, unit(saw(48)));
    ampEnvelope(b, 0.6f, 1.0f, 1.0f, 1.5f);
    b.set("ChLfo1 Type", kLfoSine);
    b.set("ChLfo1 Offset", 0.15f);
    comb(b, 1, 180.0f, 0.7f, 0.6f);
    b.modulate("ChFx1 Param1", chSourceChLfo(1), 60.0f);
    b.set("Gain", 0.12f);
    b.modulate("ChFx1 Param2", kChSourceModWheel, 0.2f);
    b.wheel("rings the comb harder");
    b.amp().filterMode = kFilterLowPass12;
    b.amp().cutoff.base = 0.7f;
    macroBrightness(b, 1, 0.3f);
    b.modulate("ChFx1 Param1", chSourceMacro(2), 300.0f);
    b.macro(2, "Pitch", "raises the comb's first notch");
    macroDrift(b, 3, 0.01f, 0.3f);
    macroWidth(b, 4, 0.0f);
    macroShimmer(b, 5, scaled(unit(saw(24)), 0.5f), 0.2f);
    macroEcho(b, 6, 0.5f, 0.6f, 0.45f);
    b.store();
}

// Three octaves of a dark, beating spectrum that breathes slowly.
void deepDrone(SoundBuilder& b) {
    b.begin("Deep Drone", kDrones);
    b.quiet();
    b.set("Gen1 Ratio", 0.5f);
    fillBreakpoint(b.amp(), 0, unit(darkened(rolloff(0.5f, 128), 10.0f)));
    fillBreakpoint(b.detune(), 0, [](int32_t k) { return 0.01f * scatter(k, 53u); });
    b.amp().dynamicMode = kDynamicSine;
    b.amp().dynamicFrequency = 0.08f;
    b.amp().partialFreqScale = 0.5f;
    b.amp().partialPhaseOffset = 0.1f;
    b.amp().dynamicAmount = 0.7f;
    fillBreakpoint(b.pan(), 0, spreadPan(0.8f));
    ampEnvelope(b, 2.0f, 1.0f, 1.0f, 3.0f);
    b.set("Gain", 0.16f);
    stereoDelay(b, 1, 0.57f, 0.6f, 0.5f, 0.3f);
    b.amp().filterMode = kFilterLowPass12;
    b.amp().cutoff.base = 0.55f;
    wheelBrightness(b, 0.35f);
    macroShift(b, 1, 5.0f);
    macroResonance(b, 2, 2.5f);
    macroBeat(b, 3, 0.02f);
    macroAir(b, 4, 0.1f);
    macroLfoRate(b, 5, 2, 0.5f);
    b.set("Lfo2 Type", kLfoSine);
    b.set("Lfo2 Offset", 0.05f);
    b.modulate(b.amp().shift, sourceLfo(2), 1.0f);
    b.macro(5, "Rate", "speeds up a slow drift of the spectrum");
    macroComb(b, 6, 110.0f, 0.7f);
    b.store();
}

// Wind: high random partials through a slowly swept band-pass.
void wind(SoundBuilder& b) {
    b.begin("Wind", kDrones);
    b.quiet();
    b.generator().setPartialCount(256);
    b.set("Gen1 Ratio", 0.25f);
    fillBreakpoint(b.amp(), 0, unit([](int32_t k) { return k > 8 && k < 256 ? 1.0f : 0.0f; }));
    b.amp().dynamicMode = kDynamicRandom;
    b.amp().dynamicFrequency = 200.0f;
    b.amp().partialFreqScale = 0.8f;
    b.amp().dynamicAmount = 1.0f;
    b.amp().filterMode = kFilterBandPass12;
    b.amp().cutoff.base = 0.6f;
    b.amp().resonance.base = 1.5f;
    b.set("Lfo2 Type", kLfoSine);
    b.set("Lfo2 Offset", 0.13f);
    b.modulate(b.amp().cutoff, sourceLfo(2), 0.15f);
    fillBreakpoint(b.detune(), 0, [](int32_t k) { return 0.4f * scatter(k, 59u); });
    fillBreakpoint(b.pan(), 0, spreadPan(1.0f));
    ampEnvelope(b, 1.0f, 1.0f, 1.0f, 2.0f);
    b.set("Gain", 0.5f);
    b.modulate(b.amp().cutoff, kSourceModWheel, 0.2f);
    b.wheel("the wind rises: higher band");
    macroResonance(b, 1, 2.5f);
    b.macro(1, "Howl", "a howling resonance");
    macroLfoRate(b, 2, 2, 1.0f);
    b.macro(2, "Gusts", "faster gusts");
    macroSwell(b, 3, 3, 3.0f);
    b.modulate("Gen1 Ratio", sourceMacro(4), -0.12f);
    b.macro(4, "Low", "moves the wind down an octave");
    macroComb(b, 5, 300.0f, 0.7f);
    macroEcho(b, 6, 0.6f, 0.45f, 0.5f);
    b.store();
}

// A riser: the spectrum climbs and brightens for as long as the key is held.
void riser(SoundBuilder& b) {
    b.begin("Riser", kDrones);
    b.quiet();
    fillBreakpoint(b.amp(), 0, unit(darkened(saw(128), 3.0f)));
    addBreakpoint(b.amp(), 6.0f, unit(saw(128)));
    fillBreakpoint(b.detune(), 0, [](int32_t k) { return 0.01f * scatter(k, 61u); });
    b.envelope(2, {{6.0f, 1.0f, 0.3f}, {0.1f, 1.0f, 0.5f}}, 0);
    b.modulate("Gen1 Ratio", sourceEnv(2), 1.0f);
    b.amp().filterMode = kFilterLowPass24;
    b.amp().cutoff.base = 0.3f;
    b.modulate(b.amp().cutoff, sourceEnv(2), 0.5f);
    ampEnvelope(b, 1.5f, 1.0f, 1.0f, 1.0f);
    b.set("Gain", 0.18f);
    stereoDelay(b, 1, 0.375f, 0.5f, 0.5f, 0.3f);
    b.set("Lfo3 Type", kLfoSaw);
    b.set("Lfo3 Offset", 8.0f);
    b.set("Lfo3 Out", 0.0f);
    b.modulate("Lfo3 Out", kSourceModWheel, 1.0f);
    b.modulate("Gain", sourceLfo(3), 0.5f * b.get("Gain"));
    b.wheel("a fast saw tremolo: the riser stutters");
    macroResonance(b, 1, 2.5f);
    macroBeat(b, 2, 0.02f);
    macroWidth(b, 3, 0.0f);
    macroShift(b, 4, 4.0f);
    macroAir(b, 5, 0.2f);
    macroComb(b, 6, 500.0f, 0.6f);
    b.store();
}

// Metal scrape: strongly stretched partials, randomly flickering, with a ringing comb.
void metalScrape(SoundBuilder& b) {
    b.begin("Metal Scrape", kDrones);
    b.quiet();
    b.generator().setPartialCount(64);
    fillBreakpoint(b.amp(), 0, unit(from(rolloff(0.3f, 64), 2)));
    fillBreakpoint(b.detune(), 0, [](int32_t k) {
        const float h = harmonicNumber(k);
        return 0.002f * h * h + 0.2f * scatter(k, 67u);
    });
    b.amp().dynamicMode = kDynamicRandom;
    b.amp().dynamicFrequency = 150.0f;
    b.amp().partialFreqScale = 1.0f;
    b.amp().dynamicAmount = 1.0f;
    ampEnvelope(b, 0.3f, 1.0f, 1.0f, 1.0f);
    b.set("Gain", 0.3f);
    comb(b, 1, 700.0f, 0.6f, 0.5f);
    b.amp().filterMode = kFilterHighPass6;
    b.amp().cutoff.base = 0.3f;
    wheelShift(b, 6.0f);
    macroBrightness(b, 1, 0.3f);
    macroStretch(b, 2, 0.0003f);
    macroResonance(b, 3, 2.5f);
    macroWidth(b, 4, 0.0f);
    b.modulate("ChFx1 Param1", chSourceMacro(5), 1200.0f);
    b.macro(5, "Ring", "raises the ringing comb");
    macroEcho(b, 6, 0.45f, 0.6f, 0.5f);
    b.store();
}

}  // namespace

void buildDrones(SoundBuilder& b) {
    combDrone(b);
    deepDrone(b);
    wind(b);
    riser(b);
    metalScrape(b);
}

}  // namespace quenvale::factory
