// Evolving spectral motion: step sequencers, sine and random movement across the partials, shifts
// and looping breakpoint spectra.
#include <cmath>

#include "engine/spectrum/spectrum_modes.h"
#include "factory_bank.h"
#include "recipes.h"
#include "spectra.h"

namespace quenvale::factory {
namespace {

// A band-pass sweep through the harmonics, stepped by step sequencer 1 in sixteenths.
void stepFilter(SoundBuilder& b) {
    b.begin("Step Filter", kMotion);
    fillBreakpoint(b.amp(), 0, unit(saw(128)));
    b.amp().filterMode = kFilterBandPass12;
    b.amp().cutoff.base = 0.3f;
    b.amp().resonance.base = 0.7f;
    b.modulate(b.amp().cutoff, sourceStepSeq(1), 0.45f);
    b.stepSequencer(1, kSyncSixteenth, kLength16,
                    {{kStepConstant, 1.0f}, {kStepConstant, 0.2f}, {kStepLinear, 0.6f}, {kStepConstant, 0.1f},
                     {kStepConstant, 0.8f}, {kStepLinear, 0.3f}, {kStepConstant, 1.0f}, {kStepConstant, 0.2f},
                     {kStepConstant, 0.5f}, {kStepConstant, 0.1f}, {kStepLinear, 0.9f}, {kStepConstant, 0.4f},
                     {kStepConstant, 0.7f}, {kStepConstant, 0.2f}, {kStepLinear, 1.0f}, {kStepConstant, 0.5f}});
    ampEnvelope(b, 0.005f, 0.3f, 0.9f, 0.2f);
    b.set("Gain", 0.3f);
    stereoDelay(b, 1, 0.375f, 0.25f, 0.35f, 0.25f);
    b.modulate(b.amp().cutoff, kSourceModWheel, 0.2f);
    b.wheel("lifts the whole pattern higher");
    macroResonance(b, 1, 2.0f);
    macroShift(b, 2, 3.0f);
    macroHollow(b, 3, unit(saw(128)));
    macroWidth(b, 4, 0.0f);
    macroDrift(b, 5, 0.006f, 0.5f);
    macroComb(b, 6, 300.0f, 0.6f);
    b.store();
}

// Sine waves travel across the partials: each harmonic swells at its own rate.
void spectralWaves(SoundBuilder& b) {
    b.begin("Spectral Waves", kMotion);
    fillBreakpoint(b.amp(), 0, unit(rolloff(0.6f, 96)));
    b.amp().dynamicMode = kDynamicSine;
    b.amp().dynamicFrequency = 0.4f;
    b.amp().partialFreqScale = 0.25f;
    b.amp().partialPhaseOffset = 0.07f;
    b.amp().dynamicAmount = 1.0f;
    fillBreakpoint(b.pan(), 0, spreadPan(0.7f));
    ampEnvelope(b, 0.6f, 1.0f, 1.0f, 1.5f);
    b.set("Gain", 0.28f);
    stereoDelay(b, 1, 0.45f, 0.6f, 0.5f, 0.3f);
    b.amp().filterMode = kFilterLowPass12;
    b.amp().cutoff.base = 0.65f;
    wheelBrightness(b, 0.3f);
    macroShift(b, 1, 4.0f);
    macroResonance(b, 2, 2.0f);
    macroDrift(b, 3, 0.008f, 0.4f);
    macroWidth(b, 4, 0.3f);
    macroHollow(b, 5, unit(rolloff(0.6f, 96)));
    macroEcho(b, 6, 0.5f, 0.33f, 0.5f);
    b.store();
}

// Partials flicker on and off at random, like rain on glass.
void partialRain(SoundBuilder& b) {
    b.begin("Partial Rain", kMotion);
    b.generator().setPartialCount(64);
    fillBreakpoint(b.amp(), 0, unit([](int32_t k) { return k > 0 && k < 63 ? 1.0f / std::sqrt(harmonicNumber(k)) : 0.0f; }));
    addLayer(b.amp(), "Root", kCombineAdd, harmonics({{1, 0.12f}}));
    b.amp().dynamicMode = kDynamicRandom;
    b.amp().dynamicFrequency = 120.0f;
    b.amp().partialFreqScale = 0.6f;
    b.amp().dynamicAmount = 1.0f;
    b.amp().offset.base = -0.04f;
    fillBreakpoint(b.pan(), 0, spreadPan(1.0f));
    ampEnvelope(b, 0.3f, 1.0f, 1.0f, 1.2f);
    b.set("Gen1 Out", 1.0f);  // few partials sound at a time: the full output level
    b.set("Gain", 0.35f);
    stereoDelay(b, 1, 0.37f, 0.53f, 0.5f, 0.35f);
    b.modulate(b.amp().offset, kSourceModWheel, 0.04f);
    b.wheel("more drops: a denser spectrum");
    macroShift(b, 1, 6.0f);
    macroStretch(b, 2, 0.0002f);
    macroBeat(b, 3, 0.01f);
    b.amp().filterMode = kFilterLowPass6;
    b.amp().cutoff.base = 0.8f;
    macroBrightness(b, 4, -0.4f);
    b.macro(4, "Dark", "darker drops");
    macroSwell(b, 5, 3, 2.0f);
    macroComb(b, 6, 440.0f, 0.7f);
    b.store();
}

// A step sequencer moves the shift in whole partials: an arpeggio through the harmonic series.
void shiftArp(SoundBuilder& b) {
    b.begin("Harmonic Arp", kMotion);
    fillBreakpoint(b.amp(), 0, unit(harmonics({{1, 0.5f}, {2, 0.15f}})));
    addLayer(b.amp(), "Peak", kCombineAdd, harmonics({{4, 0.6f}, {5, 0.25f}}));
    b.amp().shiftRepeatBorder = false;
    b.stepSequencer(1, kSyncSixteenth, kLength8,
                    {{kStepConstant, 0.0f}, {kStepConstant, 2.0f}, {kStepConstant, 4.0f}, {kStepConstant, 1.0f},
                     {kStepConstant, 6.0f}, {kStepConstant, 3.0f}, {kStepConstant, 8.0f}, {kStepConstant, 4.0f}});
    b.amp().children.back().child->shiftRepeatBorder = false;
    b.modulate(b.amp().children.back().child->shift, sourceStepSeq(1), 1.0f);
    ampEnvelope(b, 0.005f, 0.3f, 0.9f, 0.3f);
    b.set("Gain", 0.28f);
    stereoDelay(b, 1, 0.375f, 0.5f, 0.4f, 0.3f);
    b.set("StepSeq1 Out", 1.0f);
    b.modulate(b.amp().children.back().child->gain, kSourceModWheel, 0.6f);
    b.wheel("louder arpeggio partials");
    b.amp().filterMode = kFilterLowPass12;
    b.amp().cutoff.base = 0.75f;
    macroBrightness(b, 1, -0.35f);
    b.macro(1, "Dark", "darker arpeggio");
    macroResonance(b, 2, 2.0f);
    macroBeat(b, 3, 0.006f);
    macroWidth(b, 4, 0.0f);
    macroShimmer(b, 5, scaled(unit(saw(24)), 0.4f), 0.5f);
    macroEcho(b, 6, 0.375f, 0.25f, 0.45f);
    b.store();
}

// A comb of notches sweeps slowly through the spectrum: a phaser made of partials.
void notchSweep(SoundBuilder& b) {
    b.begin("Notch Sweep", kMotion);
    fillBreakpoint(b.amp(), 0, unit(saw(128)));
    b.amp().filterMode = kFilterNotch12;
    b.amp().cutoff.base = 0.5f;
    b.set("Lfo2 Type", kLfoTri);
    b.set("Lfo2 Offset", 0.15f);
    b.modulate(b.amp().cutoff, sourceLfo(2), 0.25f);
    ampEnvelope(b, 0.2f, 0.5f, 0.9f, 0.8f);
    b.set("Gain", 0.2f);
    stereoDelay(b, 1, 0.43f, 0.31f, 0.45f, 0.25f);
    b.modulate("Lfo2 Offset", kSourceModWheel, 2.0f);
    b.wheel("speeds up the sweep");
    macroResonance(b, 1, 2.0f);
    macroShift(b, 2, 3.0f);
    macroBeat(b, 3, 0.008f);
    macroWidth(b, 4, 0.2f);
    macroSwell(b, 5, 3, 2.0f);
    macroComb(b, 6, 250.0f, 0.6f);
    b.store();
}

}  // namespace

void buildMotion(SoundBuilder& b) {
    stepFilter(b);
    spectralWaves(b);
    partialRain(b);
    shiftArp(b);
    notchSweep(b);
}

}  // namespace quenvale::factory
