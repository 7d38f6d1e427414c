// Basses: sub, plucked filter bass, pulse-width bass, a step-sequenced resonant line and a growl.
#include <cmath>

#include "engine/spectrum/spectrum_modes.h"
#include "factory_bank.h"
#include "recipes.h"
#include "spectra.h"

namespace quenvale::factory {
namespace {

// A round sub whose low notes carry an upper edge that fades up the keyboard.
void subBass(SoundBuilder& b) {
    b.begin("Sub Bass", kBasses);
    b.generator().setPartialCount(64);
    fillBreakpoint(b.amp(), 0, unit(harmonics({{1, 1.0f}, {2, 0.25f}, {3, 0.06f}})));
    keyBrightness(b, scaled(unit(from(saw(24), 3)), 0.5f), 0.6f, 0.0f);
    ampEnvelope(b, 0.006f, 0.3f, 0.9f, 0.12f);
    velocityGain(b, 0.14f, 0.26f);
    b.amp().filterMode = kFilterLowPass12;
    b.amp().cutoff.base = 0.45f;
    wheelBrightness(b, 0.35f);
    macroBite(b, 1, unit(from(saw(32), 2)), 0.06f);
    macroBrightness(b, 2, 0.25f);
    macroTremolo(b, 3, 3, 6.0f, 0.5f);
    macroHollow(b, 4, unit(harmonics({{1, 1.0f}, {2, 0.25f}, {3, 0.06f}})));
    macroDrift(b, 5, 0.003f, 0.3f);
    macroComb(b, 6, 120.0f, 0.5f);
    b.store();
}

// A saw through a low-pass that snaps shut: the filter envelope depth follows velocity.
void pluckBass(SoundBuilder& b) {
    b.begin("Pluck Bass", kBasses);
    fillBreakpoint(b.amp(), 0, unit(saw(128)));
    filterEnvelope(b, 2, kFilterLowPass24, 0.28f, 0.3f, 0.35f);
    b.amp().resonance.base = 1.0f;
    b.modulate(b.amp().cutoff, kSourceVelocity, 0.15f);
    ampEnvelope(b, 0.003f, 0.8f, 0.6f, 0.1f);
    velocityGain(b, 0.12f, 0.24f);
    b.set("Env2 Out", 0.7f);
    b.modulate("Env2 Out", kSourceModWheel, 0.3f);
    b.wheel("deeper filter envelope");
    macroResonance(b, 1, 2.5f);
    macroHollow(b, 2, unit(saw(128)));
    macroShift(b, 3, 1.5f);
    macroDrift(b, 4, 0.004f, 0.4f);
    macroComb(b, 5, 160.0f, 0.6f);
    macroEcho(b, 6, 0.375f, 0.25f, 0.3f);
    b.store();
}

void pwmBass(SoundBuilder& b) {
    b.begin("PWM Bass", kBasses);
    fillBreakpoint(b.amp(), 0, unit(darkened(saw(96), 20.0f)));
    b.set("Gen1 PWM Mode", kPwmSub);
    b.set("Gen1 PWM Width", 0.35f);
    b.set("Lfo2 Type", kLfoSine);
    b.set("Lfo2 Offset", 0.5f);
    b.set("Lfo2 Out", 0.5f);
    b.modulate("Gen1 PWM Width", sourceLfo(2), 0.2f);
    ampEnvelope(b, 0.004f, 0.5f, 0.8f, 0.12f);
    velocityGain(b, 0.12f, 0.24f);
    b.amp().filterMode = kFilterLowPass12;
    b.amp().cutoff.base = 0.55f;
    wheelBrightness(b, 0.3f);
    macroPulseWidth(b, 1, 0.3f);
    macroLfoRate(b, 2, 2, 4.0f);
    macroResonance(b, 3, 2.0f);
    macroAmpLayer(b, 4, "Octave", "more of the second harmonic against the pulse", harmonics({{2, 0.4f}}));
    macroDrift(b, 5, 0.004f, 0.3f);
    macroEcho(b, 6, 0.3f, 0.45f, 0.3f);
    b.store();
}

// A resonant band-pass stepped by a sixteenth-note sequence.
void acidSteps(SoundBuilder& b) {
    b.begin("Acid Steps", kBasses);
    fillBreakpoint(b.amp(), 0, unit(saw(128)));
    b.amp().filterMode = kFilterLowPass24;
    b.amp().cutoff.base = 0.32f;
    b.amp().resonance.base = 2.0f;
    b.modulate(b.amp().cutoff, sourceStepSeq(1), 0.3f);
    b.stepSequencer(1, kSyncSixteenth, kLength16,
                    {{kStepConstant, 0.1f}, {kStepConstant, 0.6f}, {kStepLinear, 0.2f}, {kStepConstant, 0.9f},
                     {kStepConstant, 0.3f}, {kStepConstant, 0.1f}, {kStepLinear, 0.7f}, {kStepConstant, 0.2f},
                     {kStepConstant, 1.0f}, {kStepConstant, 0.4f}, {kStepLinear, 0.1f}, {kStepConstant, 0.5f},
                     {kStepConstant, 0.2f}, {kStepConstant, 0.8f}, {kStepLinear, 0.3f}, {kStepConstant, 0.6f}});
    ampEnvelope(b, 0.003f, 0.4f, 0.75f, 0.1f);
    velocityGain(b, 0.12f, 0.24f);
    b.modulate(b.amp().resonance, kSourceModWheel, 1.5f);
    b.wheel("more resonance: the squelch");
    macroSteps(b, 1, 1);
    b.set("StepSeq1 Out", 0.6f);
    b.macro(1, "Steps", "step pattern depth beyond its resting amount");
    macroBrightness(b, 2, 0.3f);
    macroHollow(b, 3, unit(saw(128)));
    macroShift(b, 4, 2.0f);
    macroComb(b, 5, 200.0f, 0.5f);
    macroEcho(b, 6, 0.375f, 0.28125f, 0.4f);
    b.store();
}

// A tempo-synced LFO moves the spectrum along the partials: a talking, wobbling bass.
void growlBass(SoundBuilder& b) {
    b.begin("Growl Bass", kBasses);
    fillBreakpoint(b.amp(), 0, unit(darkened(vowelO(128), 30.0f)));
    b.amp().filterMode = kFilterLowPass12;
    b.amp().cutoff.base = 0.5f;
    b.amp().resonance.base = 1.2f;
    b.set("Lfo2 Type", kLfoSine);
    b.set("Lfo2 Sync", static_cast<float>(kSyncEighth));
    b.set("Lfo2 Out", 0.0f);
    b.modulate("Lfo2 Out", kSourceModWheel, 1.0f);
    b.modulate(b.amp().cutoff, sourceLfo(2), 0.2f);
    b.wheel("wobble depth (tempo-synced eighths)");
    ampEnvelope(b, 0.004f, 0.5f, 0.85f, 0.12f);
    velocityGain(b, 0.12f, 0.24f);
    macroShift(b, 1, 3.0f);
    macroResonance(b, 2, 2.0f);
    macroAmpLayer(b, 3, "Sub", "a stronger fundamental under the wobble", harmonics({{1, 0.5f}}));
    macroBeat(b, 4, 0.006f);
    macroDrift(b, 5, 0.005f, 0.4f);
    macroComb(b, 6, 140.0f, 0.5f);
    b.store();
}

}  // namespace

void buildBasses(SoundBuilder& b) {
    subBass(b);
    pluckBass(b);
    pwmBass(b);
    acidSteps(b);
    growlBass(b);
}

}  // namespace quenvale::factory
