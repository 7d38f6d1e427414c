// Leads: saw, square, a sync-like shift sweep, a pulse-width lead and a breathy whistle.
#include <cmath>

#include "engine/spectrum/spectrum_modes.h"
#include "factory_bank.h"
#include "recipes.h"
#include "spectra.h"

namespace quenvale::factory {
namespace {

void brightSaw(SoundBuilder& b) {
    b.begin("Bright Saw", kLeads);
    b.generator().setPartialCount(256);
    fillBreakpoint(b.amp(), 0, unit(saw(256)));
    b.amp().filterMode = kFilterLowPass24;
    b.amp().cutoff.base = 0.72f;
    b.modulate(b.amp().cutoff, kSourceVelocity, 0.15f);
    ampEnvelope(b, 0.005f, 0.4f, 0.8f, 0.25f);
    vibrato(b, 1, 5.0f, 0.004f, 0.1f);
    b.set("Gain", 0.2f);
    wheelVibrato(b, 1);
    macroBrightness(b, 1, -0.35f);
    b.macro(1, "Dark", "closes the filter");
    macroResonance(b, 2, 2.0f);
    macroBeat(b, 3, 0.008f);
    macroHollow(b, 4, unit(saw(256)));
    macroWidth(b, 5, 0.0f);
    macroEcho(b, 6, 0.375f, 0.25f, 0.4f);
    b.store();
}

void squareLead(SoundBuilder& b) {
    b.begin("Square Lead", kLeads);
    fillBreakpoint(b.amp(), 0, unit(square(128)));
    ampEnvelope(b, 0.01f, 0.3f, 0.85f, 0.2f);
    // Delayed vibrato: envelope 2 fades the LFO in over 0.8 s.
    b.envelope(2, {{0.8f, 1.0f, 0.35f}, {0.2f, 0.0f, 0.5f}}, 0);
    vibrato(b, 1, 5.5f, 0.007f, 0.0f);
    b.modulate("Lfo1 Out", sourceEnv(2), 0.8f);
    b.set("Gain", 0.2f);
    b.amp().filterMode = kFilterLowPass12;
    b.amp().cutoff.base = 0.8f;
    wheelBrightness(b, -0.4f);
    b.wheel("rounds the square off: darker");
    macroAmpLayer(b, 1, "Even", "adds the even harmonics: from square towards saw",
                  scaled(evenOf(unit(saw(128))), 0.8f));
    macroResonance(b, 2, 2.0f);
    macroShift(b, 3, 2.0f);
    macroDrift(b, 4, 0.006f, 0.5f);
    macroComb(b, 5, 700.0f, 0.5f);
    macroEcho(b, 6, 0.25f, 0.375f, 0.35f);
    b.store();
}

// The spectrum starts shifted up and falls into place: the sweep of a synced oscillator.
void syncLead(SoundBuilder& b) {
    b.begin("Sync Sweep", kLeads);
    fillBreakpoint(b.amp(), 0, unit(darkened(saw(128), 40.0f)));
    b.amp().shiftRepeatBorder = false;
    b.amp().shift.base = 0.0f;
    b.envelope(2, {{0.002f, 1.0f, 0.5f}, {0.35f, 0.0f, 0.7f}, {0.1f, 0.0f, 0.5f}}, 1);
    b.modulate(b.amp().shift, sourceEnv(2), 9.0f);
    b.amp().filterMode = kFilterBandPass3;
    b.amp().cutoff.base = 0.55f;
    b.amp().resonance.base = 1.2f;
    ampEnvelope(b, 0.004f, 0.3f, 0.85f, 0.2f);
    vibrato(b, 1, 5.2f, 0.005f, 0.0f);
    b.set("Gain", 0.21f);
    b.modulate(b.amp().shift, kSourceModWheel, 6.0f);
    b.wheel("holds the sweep higher: a brighter, nasal sync tone");
    macroVibrato(b, 1, 1);
    macroBrightness(b, 2, 0.3f);
    macroResonance(b, 3, 2.0f);
    macroBeat(b, 4, 0.006f);
    macroWidth(b, 5, 0.0f);
    macroEcho(b, 6, 0.3f, 0.45f, 0.35f);
    b.store();
}

// The pulse stage on a saw spectrum with an LFO on its width: a classic pulse-width lead.
void pwmLead(SoundBuilder& b) {
    b.begin("PWM Lead", kLeads);
    fillBreakpoint(b.amp(), 0, unit(saw(128)));
    b.set("Gen1 PWM Mode", kPwmSub);
    b.set("Gen1 PWM Width", 0.5f);
    b.set("Lfo2 Type", kLfoTri);
    b.set("Lfo2 Offset", 0.8f);
    b.set("Lfo2 Out", 0.6f);
    b.modulate("Gen1 PWM Width", sourceLfo(2), 0.3f);
    b.amp().filterMode = kFilterLowPass12;
    b.amp().cutoff.base = 0.7f;
    ampEnvelope(b, 0.006f, 0.3f, 0.8f, 0.25f);
    vibrato(b, 1, 5.4f, 0.005f, 0.0f);
    b.set("Gain", 0.2f);
    wheelVibrato(b, 1);
    macroPulseWidth(b, 1, -0.35f);
    macroLfoRate(b, 2, 2, 5.0f);
    macroBrightness(b, 3, 0.3f);
    b.modulate("Gen1 PWM Feedback", sourceMacro(4), 0.5f);
    b.macro(4, "Feedback", "feeds the pulse stage back: a ringing, reedy edge");
    macroDrift(b, 5, 0.006f, 0.4f);
    macroEcho(b, 6, 0.375f, 0.5f, 0.4f);
    b.store();
}

// Few partials, a breath layer and a gentle vibrato that comes in late.
void whistleLead(SoundBuilder& b) {
    b.begin("Whistle Lead", kLeads);
    b.generator().setPartialCount(64);
    fillBreakpoint(b.amp(), 0, unit(harmonics({{1, 1.0f}, {2, 0.08f}, {3, 0.04f}})));
    addLayer(b.amp(), "Breath", kCombineAdd, scaled(from(darkened(flat(0.03f), 30.0f), 4), 1.0f)).dynamicMode =
        kDynamicRandom;
    ampEnvelope(b, 0.05f, 0.2f, 0.9f, 0.2f);
    b.envelope(2, {{0.6f, 1.0f, 0.4f}, {0.1f, 0.0f, 0.5f}}, 0);
    vibrato(b, 1, 5.6f, 0.006f, 0.0f);
    b.modulate("Lfo1 Out", sourceEnv(2), 0.7f);
    b.set("Gain", 0.22f);
    b.set("Glide", 0.06f);
    b.amp().filterMode = kFilterLowPass6;
    b.amp().cutoff.base = 0.9f;
    wheelVibrato(b, 1);
    macroAir(b, 1, 0.08f);
    macroShift(b, 2, 1.0f);
    macroBrightness(b, 3, -0.5f);
    b.macro(3, "Soft", "takes the edge off the breath");
    macroBeat(b, 4, 0.004f);
    macroComb(b, 5, 1500.0f, 0.5f);
    macroEcho(b, 6, 0.45f, 0.3f, 0.45f);
    b.store();
}

}  // namespace

void buildLeads(SoundBuilder& b) {
    brightSaw(b);
    squareLead(b);
    syncLead(b);
    pwmLead(b);
    whistleLead(b);
}

}  // namespace quenvale::factory
