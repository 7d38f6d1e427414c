// Vocal and formant spectra: choirs, a single voice, vowels morphing through breakpoints, a formant
// lead and a re-synthesized sung vowel.
#include <cmath>

#include "engine/spectrum/spectrum_modes.h"
#include "factory_bank.h"
#include "recipes.h"
#include "spectra.h"
#include "tone_sources.h"

namespace quenvale::factory {
namespace {

void aahChoir(SoundBuilder& b) {
    b.begin("Aah Choir", kVocal);
    fillBreakpoint(b.amp(), 0, unit(vowelA(96)));
    fillBreakpoint(b.detune(), 0, [](int32_t k) { return 0.007f * scatter(k, 41u); });
    b.detune().dynamicMode = kDynamicRandom;
    b.detune().additive = true;
    b.detune().dynamicFrequency = 6.0f;
    b.detune().dynamicAmount = 0.005f;
    fillBreakpoint(b.pan(), 0, spreadPan(0.7f));
    ampEnvelope(b, 0.4f, 0.5f, 0.9f, 0.9f);
    vibrato(b, 1, 5.1f, 0.003f, 0.3f);
    b.set("Gain", 0.22f);
    stereoDelay(b, 1, 0.47f, 0.53f, 0.45f, 0.3f);
    b.amp().filterMode = kFilterLowPass12;
    b.amp().cutoff.base = 0.75f;
    wheelVibrato(b, 1);
    macroAmpLayer(b, 1, "Ooh", "rounds the vowel towards \"ooh\"", scaled(unit(vowelU(96)), 0.8f));
    macroAir(b, 2, 0.05f);
    macroSwell(b, 3, 3, 2.0f);
    macroShift(b, 4, 1.5f);
    b.macro(4, "Formant", "moves the vowel's formants up");
    macroBrightness(b, 5, -0.3f);
    b.macro(5, "Hum", "closed mouth: darker");
    macroEcho(b, 6, 0.55f, 0.6f, 0.5f);
    b.store();
}

void oohVoice(SoundBuilder& b) {
    b.begin("Ooh Voice", kVocal);
    b.generator().setPartialCount(64);
    fillBreakpoint(b.amp(), 0, unit(vowelU(48)));
    ampEnvelope(b, 0.15f, 0.3f, 0.9f, 0.5f);
    b.envelope(2, {{0.5f, 1.0f, 0.4f}, {0.1f, 0.0f, 0.5f}}, 0);
    vibrato(b, 1, 5.3f, 0.006f, 0.0f);
    b.modulate("Lfo1 Out", sourceEnv(2), 0.6f);
    b.set("Gain", 0.24f);
    b.set("Glide", 0.04f);
    stereoDelay(b, 1, 0.37f, 0.49f, 0.4f, 0.25f);
    b.modulate("Lfo1 Out", kSourceModWheel, 0.4f);
    b.wheel("deeper vibrato");
    macroAmpLayer(b, 1, "Open", "opens the mouth towards \"oh\"", scaled(unit(vowelO(48)), 0.8f));
    macroAir(b, 2, 0.05f);
    macroBeat(b, 3, 0.006f);
    macroWidth(b, 4, 0.0f);
    macroShift(b, 5, 1.0f);
    macroComb(b, 6, 600.0f, 0.5f);
    b.store();
}

// a – e – i – o – u and back while the key is held: the vowel loop of breakpoints.
void vowelMorph(SoundBuilder& b) {
    b.begin("Vowel Morph", kVocal);
    fillBreakpoint(b.amp(), 0, unit(vowelA(96)));
    addBreakpoint(b.amp(), 0.8f, unit(vowelE(96)));
    addBreakpoint(b.amp(), 0.8f, unit(vowelI(96)));
    addBreakpoint(b.amp(), 0.8f, unit(vowelO(96)));
    addBreakpoint(b.amp(), 0.8f, unit(vowelU(96)));
    addBreakpoint(b.amp(), 0.8f, unit(vowelA(96)));
    b.amp().loopStart = 0;
    b.amp().loopEnd = 5;
    ampEnvelope(b, 0.1f, 0.3f, 0.9f, 0.4f);
    vibrato(b, 1, 5.0f, 0.004f, 0.2f);
    b.set("Gain", 0.22f);
    stereoDelay(b, 1, 0.375f, 0.5f, 0.4f, 0.25f);
    b.amp().filterMode = kFilterLowPass12;
    b.amp().cutoff.base = 0.8f;
    wheelVibrato(b, 1);
    macroShift(b, 1, 2.0f);
    b.macro(1, "Formant", "moves every vowel's formants up");
    macroAir(b, 2, 0.05f);
    macroBeat(b, 3, 0.007f);
    macroWidth(b, 4, 0.0f);
    macroResonance(b, 5, 2.0f);
    macroEcho(b, 6, 0.5f, 0.375f, 0.45f);
    b.store();
}

// A talking lead: the step sequencer moves the formant shift in eighths.
void talkingLead(SoundBuilder& b) {
    b.begin("Talking Lead", kVocal);
    fillBreakpoint(b.amp(), 0, unit(vowelA(128)));
    b.amp().shiftRepeatBorder = false;
    b.stepSequencer(1, kSyncEighth, kLength8,
                    {{kStepSine, 0.0f}, {kStepSine, 3.0f}, {kStepConstant, 1.0f}, {kStepSine, 5.0f},
                     {kStepSine, 2.0f}, {kStepConstant, 0.0f}, {kStepSine, 4.0f}, {kStepSine, 1.0f}});
    b.set("StepSeq1 Out", 0.0f);
    b.modulate(b.amp().shift, sourceStepSeq(1), 1.0f);
    ampEnvelope(b, 0.01f, 0.3f, 0.85f, 0.2f);
    vibrato(b, 1, 5.5f, 0.005f, 0.1f);
    b.set("Gain", 0.22f);
    b.modulate("StepSeq1 Out", kSourceModWheel, 1.0f);
    b.wheel("the voice starts talking: a formant pattern in eighths");
    macroVibrato(b, 1, 1);
    macroBrightness(b, 2, 0.3f);
    b.amp().filterMode = kFilterLowPass12;
    b.amp().cutoff.base = 0.7f;
    macroResonance(b, 3, 2.0f);
    macroBeat(b, 4, 0.006f);
    macroDrift(b, 5, 0.006f, 0.5f);
    macroEcho(b, 6, 0.375f, 0.25f, 0.4f);
    b.store();
}

// A sung "ah" made by our source-filter voice, re-synthesized: measured partials with their vibrato.
void sungAh(SoundBuilder& b) {
    b.begin("Resynth Ah", kVocal);
    b.generator().setPartialCount(64);
    resynthesizeTone(b, sungVowel(130.81f, 2.0f), 130.81f, 0.1f);
    // Loop the second half of the analysed note while the key is held: the vibrato goes on.
    b.amp().loopStart = b.amp().breakpointCount() / 2;
    b.amp().loopEnd = b.amp().breakpointCount() - 1;
    ampEnvelope(b, 0.2f, 0.3f, 0.9f, 0.5f);
    b.set("Gain", 0.24f);
    stereoDelay(b, 1, 0.43f, 0.51f, 0.4f, 0.25f);
    b.amp().filterMode = kFilterLowPass12;
    b.amp().cutoff.base = 0.8f;
    wheelBrightness(b, -0.4f);
    b.wheel("closes the mouth: darker");
    macroShift(b, 1, 1.5f);
    b.macro(1, "Formant", "moves the formants up");
    macroBeat(b, 2, 0.007f);
    b.macro(2, "Choir", "more singers: detuned beating");
    macroWidth(b, 3, 0.0f);
    macroAir(b, 4, 0.05f);
    macroSwell(b, 5, 3, 1.5f);
    macroEcho(b, 6, 0.5f, 0.6f, 0.45f);
    b.store();
}

}  // namespace

void buildVocal(SoundBuilder& b) {
    aahChoir(b);
    oohVoice(b);
    vowelMorph(b);
    talkingLead(b);
    sungAh(b);
}

}  // namespace quenvale::factory
