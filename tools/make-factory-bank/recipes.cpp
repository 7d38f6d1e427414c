// Recurring musical moves of the factory sounds.
#include "recipes.h"

#include <string>

#include "engine/spectrum/spectrum_modes.h"
#include "spectra.h"

namespace quenvale::factory {
namespace {

std::string lfoName(int32_t lfo, const char* member) {
    return "Lfo" + std::to_string(lfo) + " " + member;
}

void sineLfo(SoundBuilder& b, int32_t lfo, float rateHz, float out) {
    b.set(lfoName(lfo, "Type").c_str(), kLfoSine);
    b.set(lfoName(lfo, "Offset").c_str(), rateHz);
    b.set(lfoName(lfo, "Out").c_str(), out);
}

// A layer whose gain is 0 until macro m raises it to `amount`.
Modulator& macroLayer(SoundBuilder& b, Modulator& parent, int32_t m, const char* name, int32_t mode,
                      const Spectrum& values, float amount) {
    Modulator& layer = addLayer(parent, name, mode, values);
    layer.gain.base = 0.0f;
    b.modulate(layer.gain, sourceMacro(m), amount);
    return layer;
}

}  // namespace

void ampEnvelope(SoundBuilder& b, float attack, float decay, float sustain, float release) {
    b.envelope(1, {{attack, 1.0f, 0.5f}, {decay, sustain, 0.7f}, {release, 0.0f, 0.7f}}, 1);
}

void percussiveEnvelope(SoundBuilder& b, float attack, float decay, float release) {
    b.envelope(1, {{attack, 1.0f, 0.5f}, {decay, 0.0f, 0.8f}, {release, 0.0f, 0.6f}}, 1);
}

void velocityGain(SoundBuilder& b, float soft, float hard) {
    b.set("Gain", soft);
    b.modulate("Gain", kSourceVelocity, hard - soft);
}

void filterEnvelope(SoundBuilder& b, int32_t env, int32_t filterMode, float base, float depth, float decay) {
    b.amp().filterMode = filterMode;
    b.amp().cutoff.base = base;
    b.modulate(b.amp().cutoff, sourceEnv(env), depth);
    b.envelope(env, {{0.003f, 1.0f, 0.5f}, {decay, 0.0f, 0.75f}, {0.1f, 0.0f, 0.5f}}, 1);
}

void stereoDelay(SoundBuilder& b, int32_t slot, float left, float right, float feedback, float wet) {
    const std::string stem = "ChFx" + std::to_string(slot) + " ";
    b.set((stem + "Type").c_str(), kFxDelay);
    b.set((stem + "Param1").c_str(), left);
    b.set((stem + "Param2").c_str(), feedback);
    b.set((stem + "Param3").c_str(), right);
    b.set((stem + "Param4").c_str(), feedback);
    b.set((stem + "Dry/Wet").c_str(), wet);
}

void comb(SoundBuilder& b, int32_t slot, float notchHz, float feedback, float wet) {
    const std::string stem = "ChFx" + std::to_string(slot) + " ";
    b.set((stem + "Type").c_str(), kFxComb);
    b.set((stem + "Param1").c_str(), notchHz);
    b.set((stem + "Param2").c_str(), feedback);
    b.set((stem + "Dry/Wet").c_str(), wet);
}

void vibrato(SoundBuilder& b, int32_t lfo, float rateHz, float depth, float base) {
    sineLfo(b, lfo, rateHz, base);
    b.modulate("Gen1 Ratio", sourceLfo(lfo), depth);
}

void keyBrightness(SoundBuilder& b, const Spectrum& spectrum, float low, float high) {
    keyMapping(addLayer(b.amp(), "Key Tilt", kCombineAdd, spectrum), low, high);
}

void wheelVibrato(SoundBuilder& b, int32_t lfo) {
    b.modulate(lfoName(lfo, "Out").c_str(), kSourceModWheel, 0.8f);
    b.wheel("vibrato depth");
}

void wheelBrightness(SoundBuilder& b, float amount) {
    b.modulate(b.amp().cutoff, kSourceModWheel, amount);
    b.wheel("opens the spectral filter: brighter");
}

void wheelShift(SoundBuilder& b, float partials) {
    b.modulate(b.amp().shift, kSourceModWheel, partials);
    b.wheel("shifts the spectrum up along the partials");
}

void wheelTremolo(SoundBuilder& b, int32_t lfo, float rateHz, float depth) {
    sineLfo(b, lfo, rateHz, 0.0f);
    b.modulate(lfoName(lfo, "Out").c_str(), kSourceModWheel, 1.0f);
    b.modulate("Gain", sourceLfo(lfo), depth * b.get("Gain"));
    b.wheel("tremolo depth");
}

void macroBrightness(SoundBuilder& b, int32_t m, float amount) {
    b.modulate(b.amp().cutoff, sourceMacro(m), amount);
    b.macro(m, "Bright", "opens the spectral filter");
}

void macroResonance(SoundBuilder& b, int32_t m, float amount) {
    b.modulate(b.amp().resonance, sourceMacro(m), 2.0f * amount);
    b.macro(m, "Reso", "raises the spectral filter's resonance");
}

void macroEcho(SoundBuilder& b, int32_t m, float left, float right, float feedback) {
    stereoDelay(b, 2, left, right, feedback, 0.0f);
    b.modulate("ChFx2 Dry/Wet", chSourceMacro(m), 0.45f);
    b.macro(m, "Echo", "stereo echo level");
}

void macroWidth(SoundBuilder& b, int32_t m, float base) {
    fillBreakpoint(b.pan(), 0, spreadPan(1.0f));
    b.pan().gain.base = base;
    b.modulate(b.pan().gain, sourceMacro(m), 1.0f - base);
    b.macro(m, "Width", "spreads the partials across the stereo field");
}

void macroDrift(SoundBuilder& b, int32_t m, float depth, float rateHz) {
    Modulator& layer = macroLayer(b, b.detune(), m, "Drift", kCombineAdd, flat(0.0f), 1.0f);
    layer.dynamicMode = kDynamicRandom;
    layer.additive = true;
    layer.dynamicFrequency = rateHz * 20.0f;  // the random table runs at a twentieth of the rate
    layer.partialFreqScale = 0.3f;
    layer.dynamicAmount = depth;
    b.macro(m, "Drift", "slow random detuning of the partials");
}

void macroStretch(SoundBuilder& b, int32_t m, float amount) {
    macroLayer(b, b.detune(), m, "Stretch", kCombineAdd, [amount](int32_t k) {
        const float h = harmonicNumber(k);
        return amount * h * h * h;
    }, 1.0f);
    b.macro(m, "Stretch", "stretches the upper partials out of tune: metallic");
}

void macroShimmer(SoundBuilder& b, int32_t m, const Spectrum& spectrum, float rateHz) {
    Modulator& layer = macroLayer(b, b.amp(), m, "Shimmer", kCombineAdd, spectrum, 0.8f);
    layer.dynamicMode = kDynamicSine;
    layer.dynamicFrequency = rateHz;
    layer.partialFreqScale = 0.35f;
    layer.partialPhaseOffset = 0.13f;
    layer.dynamicAmount = 1.0f;
    b.macro(m, "Shimmer", "partials swell and fade, each at its own rate");
}

void macroHollow(SoundBuilder& b, int32_t m, const Spectrum& spectrum) {
    macroLayer(b, b.amp(), m, "Hollow", kCombineAdd, scaled(evenOf(spectrum), -1.0f), 1.0f);
    b.macro(m, "Hollow", "takes out the even harmonics: hollow, clarinet-like");
}

void macroBite(SoundBuilder& b, int32_t m, const Spectrum& spectrum, float decay) {
    Modulator& layer = macroLayer(b, b.amp(), m, "Bite", kCombineAdd, spectrum, 1.5f);
    addBreakpoint(layer, decay, flat(0.0f));
    b.macro(m, "Bite", "a bright transient at the start of each note");
}

void macroAir(SoundBuilder& b, int32_t m, float level) {
    Modulator& layer = macroLayer(b, b.amp(), m, "Air", kCombineAdd,
                                  from(darkened(flat(3.0f * level), 40.0f), 10), 1.0f);
    layer.dynamicMode = kDynamicRandom;
    layer.dynamicFrequency = 60.0f;
    layer.partialFreqScale = 0.5f;
    layer.dynamicAmount = 1.0f;
    b.macro(m, "Air", "a breathy, flickering layer of high partials");
}

void macroSwell(SoundBuilder& b, int32_t m, int32_t env, float time) {
    b.envelope(env, {{0.005f, 1.0f, 0.5f}, {time, 0.0f, 0.4f}, {0.05f, 0.0f, 0.5f}}, 1);
    const std::string out = "Env" + std::to_string(env) + " Out";
    b.set(out.c_str(), 0.0f);
    b.modulate(out.c_str(), sourceMacro(m), 1.0f);
    b.modulate("Gen1 Out", sourceEnv(env), -0.5f);
    b.macro(m, "Swell", "slower attack: the note fades in");
}

void macroShift(SoundBuilder& b, int32_t m, float partials) {
    b.modulate(b.amp().shift, sourceMacro(m), partials);
    b.macro(m, "Shift", "moves the spectrum along the partials");
}

void macroTremolo(SoundBuilder& b, int32_t m, int32_t lfo, float rateHz, float depth) {
    sineLfo(b, lfo, rateHz, 0.0f);
    b.modulate(lfoName(lfo, "Out").c_str(), sourceMacro(m), 1.0f);
    b.modulate("Gain", sourceLfo(lfo), depth * b.get("Gain"));
    b.macro(m, "Tremolo", "tremolo depth");
}

void macroVibrato(SoundBuilder& b, int32_t m, int32_t lfo) {
    b.modulate(lfoName(lfo, "Out").c_str(), sourceMacro(m), 0.8f);
    b.macro(m, "Vibrato", "vibrato depth");
}

void macroComb(SoundBuilder& b, int32_t m, float notchHz, float feedback) {
    comb(b, 1, notchHz, feedback, 0.0f);
    b.modulate("ChFx1 Dry/Wet", chSourceMacro(m), 0.9f);
    b.macro(m, "Comb", "a comb resonance over the sound");
}

void macroAmpLayer(SoundBuilder& b, int32_t m, const char* name, const char* text, const Spectrum& spectrum) {
    macroLayer(b, b.amp(), m, name, kCombineAdd, spectrum, 1.0f);
    b.macro(m, name, text);
}

void macroSub(SoundBuilder& b, int32_t m, float level) {
    macroLayer(b, b.amp(), m, "Sub", kCombineAdd, harmonics({{1, level}}), 1.0f);
    b.macro(m, "Sub", "adds the octave below");
}

void macroPulseWidth(SoundBuilder& b, int32_t m, float amount) {
    b.modulate("Gen1 PWM Width", sourceMacro(m), amount);
    b.macro(m, "PW", "moves the pulse stage's width: the comb of harmonics shifts");
}

void macroSteps(SoundBuilder& b, int32_t m, int32_t seq) {
    const std::string out = "StepSeq" + std::to_string(seq) + " Out";
    b.set(out.c_str(), 0.0f);
    b.modulate(out.c_str(), sourceMacro(m), 1.0f);
    b.macro(m, "Steps", "depth of the tempo-synced step pattern");
}

void macroLfoRate(SoundBuilder& b, int32_t m, int32_t lfo, float hz) {
    b.modulate(lfoName(lfo, "Offset").c_str(), sourceMacro(m), hz);
    b.macro(m, "Rate", "speeds up the movement");
}

void macroBeat(SoundBuilder& b, int32_t m, float amount) {
    macroLayer(b, b.detune(), m, "Beat", kCombineAdd, [amount](int32_t k) { return amount * scatter(k, 3u); },
               1.0f);
    b.macro(m, "Beat", "detunes the partials against each other: chorus-like beating");
}

}  // namespace quenvale::factory
