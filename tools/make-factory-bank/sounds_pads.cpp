// Pads: spectra that move over time through breakpoint loops, sine and random movement.
#include <cmath>

#include "engine/spectrum/spectrum_modes.h"
#include "factory_bank.h"
#include "recipes.h"
#include "spectra.h"

namespace quenvale::factory {
namespace {

// Dark to bright and back, looping while held, with a slow sine movement across the partials.
void evolvingPad(SoundBuilder& b) {
    b.begin("Evolving Pad", kPads);
    b.generator().setPartialCount(64);
    const auto spectrum = [](float brightness) { return unit(darkened(rolloff(0.7f, 64), brightness)); };
    fillBreakpoint(b.amp(), 0, spectrum(3.0f));
    addBreakpoint(b.amp(), 2.5f, spectrum(18.0f));
    addBreakpoint(b.amp(), 3.0f, spectrum(5.0f));
    addBreakpoint(b.amp(), 3.0f, spectrum(18.0f));
    b.amp().loopStart = 1;
    b.amp().loopEnd = 3;
    b.amp().dynamicMode = kDynamicSine;
    b.amp().dynamicFrequency = 0.35f;
    b.amp().partialFreqScale = 0.15f;
    b.amp().partialPhaseOffset = 0.21f;
    b.amp().dynamicAmount = 0.5f;
    ampEnvelope(b, 1.5f, 2.5f, 0.8f, 2.5f);
    b.set("Gain", 0.2f);
    stereoDelay(b, 1, 0.43f, 0.57f, 0.5f, 0.3f);
    b.amp().filterMode = kFilterLowPass6;
    b.amp().cutoff.base = 0.8f;
    wheelBrightness(b, -0.4f);
    b.wheel("darkens the pad");
    macroWidth(b, 1, 0.3f);
    macroDrift(b, 2, 0.008f, 0.3f);
    macroShift(b, 3, 4.0f);
    macroSwell(b, 4, 3, 3.0f);
    macroHollow(b, 5, spectrum(10.0f));
    macroComb(b, 6, 220.0f, 0.6f);
    b.store();
}

// A dark saw that blooms open over four seconds and stays.
void slowBloom(SoundBuilder& b) {
    b.begin("Slow Bloom", kPads);
    fillBreakpoint(b.amp(), 0, unit(darkened(saw(96), 2.0f)));
    addBreakpoint(b.amp(), 4.0f, unit(darkened(saw(96), 24.0f)));
    fillBreakpoint(b.detune(), 0, [](int32_t k) { return 0.004f * scatter(k, 11u); });
    ampEnvelope(b, 2.0f, 1.0f, 1.0f, 3.0f);
    b.set("Gain", 0.19f);
    stereoDelay(b, 1, 0.37f, 0.49f, 0.45f, 0.25f);
    vibrato(b, 1, 4.6f, 0.002f, 0.0f);
    wheelVibrato(b, 1);
    b.amp().filterMode = kFilterLowPass12;
    b.amp().cutoff.base = 0.6f;
    macroBrightness(b, 1, -0.35f);
    b.macro(1, "Dark", "closes the filter over the bloom");
    macroWidth(b, 2, 0.2f);
    macroShimmer(b, 3, unit(saw(32)), 0.25f);
    macroAir(b, 4, 0.15f);
    macroResonance(b, 5, 2.0f);
    macroEcho(b, 6, 0.5f, 0.6f, 0.45f);
    b.store();
}

// Only the upper partials, flickering at random: breath and air.
void airPad(SoundBuilder& b) {
    b.begin("Air Pad", kPads);
    fillBreakpoint(b.amp(), 0, unit([](int32_t k) { return k < 96 ? 1.0f / std::sqrt(harmonicNumber(k)) : 0.0f; }));
    b.amp().filterMode = kFilterHighPass12;
    b.amp().cutoff.base = 0.45f;
    b.amp().dynamicMode = kDynamicRandom;
    b.amp().dynamicFrequency = 30.0f;
    b.amp().partialFreqScale = 0.4f;
    b.amp().dynamicAmount = 0.8f;
    fillBreakpoint(b.pan(), 0, spreadPan(0.8f));
    ampEnvelope(b, 1.2f, 1.0f, 1.0f, 2.0f);
    b.set("Gain", 0.3f);
    stereoDelay(b, 1, 0.41f, 0.53f, 0.5f, 0.3f);
    wheelShift(b, -4.0f);
    b.wheel("moves the spectrum down: warmer");
    macroBrightness(b, 1, -0.4f);
    b.macro(1, "Body", "lowers the high-pass: more body");
    macroSwell(b, 2, 3, 3.0f);
    macroDrift(b, 3, 0.01f, 0.5f);
    macroResonance(b, 4, 2.0f);
    macroLfoRate(b, 5, 2, 2.0f);
    b.set("Lfo2 Type", kLfoSine);
    b.set("Lfo2 Offset", 0.2f);
    b.modulate(b.amp().cutoff, sourceLfo(2), 0.08f);
    b.macro(5, "Rate", "speeds up the slow filter wave");
    macroEcho(b, 6, 0.55f, 0.45f, 0.5f);
    b.store();
}

// A comb of moving peaks: the "Phase" of partials swept by a sine movement while a wide detune beats.
void glacierPad(SoundBuilder& b) {
    b.begin("Glacier Pad", kPads);
    b.generator().setPartialCount(64);
    fillBreakpoint(b.amp(), 0, unit(triangle(63)));
    addLayer(b.amp(), "Glint", kCombineAdd, scaled(unit(from(rolloff(0.5f, 48), 8)), 0.25f)).dynamicMode =
        kDynamicSine;
    fillBreakpoint(b.detune(), 0, [](int32_t k) { return 0.006f * scatter(k, 5u); });
    ampEnvelope(b, 2.5f, 1.0f, 1.0f, 3.5f);
    b.set("Gain", 0.18f);
    stereoDelay(b, 1, 0.47f, 0.59f, 0.55f, 0.35f);
    b.amp().filterMode = kFilterLowPass12;
    b.amp().cutoff.base = 0.7f;
    wheelBrightness(b, 0.3f);
    macroWidth(b, 1, 0.0f);
    macroBeat(b, 2, 0.01f);
    macroSwell(b, 3, 3, 4.0f);
    macroShift(b, 4, 3.0f);
    macroTremolo(b, 5, 3, 0.25f, 0.4f);
    macroComb(b, 6, 330.0f, 0.7f);
    b.store();
}

// Warm, slightly hollow waves that sway with a tempo-synced LFO on the spectral filter.
void swayPad(SoundBuilder& b) {
    b.begin("Sway Pad", kPads);
    fillBreakpoint(b.amp(), 0, unit(darkened(square(80), 30.0f)));
    addLayer(b.amp(), "Even", kCombineAdd, scaled(unit(evenOf(darkened(saw(80), 6.0f))), 0.4f));
    b.amp().filterMode = kFilterLowPass12;
    b.amp().cutoff.base = 0.45f;
    b.amp().resonance.base = 0.8f;
    b.set("Lfo2 Type", kLfoTri);
    b.set("Lfo2 Sync", static_cast<float>(kSyncWhole));
    b.modulate(b.amp().cutoff, sourceLfo(2), 0.15f);
    ampEnvelope(b, 0.8f, 1.0f, 0.9f, 2.0f);
    b.set("Gain", 0.2f);
    stereoDelay(b, 1, 0.375f, 0.5f, 0.4f, 0.25f);
    vibrato(b, 1, 5.0f, 0.003f, 0.0f);
    wheelVibrato(b, 1);
    macroBrightness(b, 1, 0.45f);
    macroResonance(b, 2, 2.5f);
    macroWidth(b, 3, 0.2f);
    macroSwell(b, 4, 3, 2.5f);
    macroDrift(b, 5, 0.008f, 0.3f);
    macroEcho(b, 6, 0.5f, 0.375f, 0.45f);
    b.store();
}

}  // namespace

void buildPads(SoundBuilder& b) {
    evolvingPad(b);
    slowBloom(b);
    airPad(b);
    glacierPad(b);
    swayPad(b);
}

}  // namespace quenvale::factory
