// The sounds of the demo bank. Program 0 suits examples/demo.mid: soft keys whose vibrato and
// brightness follow the mod wheel.
#include "demo_sounds.h"

#include <cmath>
#include <string>

#include "engine/spectrum/generator.h"
#include "engine/spectrum/spectrum_modes.h"
#include "sound_design.h"

namespace quenvale::demo {
namespace {

// Enumeration values used below.
constexpr float kSine = 1.0f;   // LFO type
constexpr float kDelay = 1.0f;  // effect type
constexpr float kComb = 2.0f;
constexpr float kSixteenth = 11.0f;  // sync " 1/16"
constexpr int32_t kConstant = 0;     // step shapes
constexpr int32_t kLinear = 1;

void setSlot(ModParam& value, int32_t slot, int32_t source, float amount) {
    ModSlot& s = value.slots[slot - 1];
    s.source = source;
    s.amount = amount;
    s.channelValue = nullptr;
    s.voiceOutput = -1;
    s.stale = true;  // bound by the engine at its first evaluation
}

float harmonic(int32_t k) {
    return static_cast<float>(k + 1);
}

void stereoDelay(SoundBuilder& b, int32_t slot, float left, float right, float feedback, float wet) {
    const char* type = slot == 1 ? "ChFx1 Type" : "ChFx2 Type";
    const char* stem = slot == 1 ? "ChFx1 " : "ChFx2 ";
    b.set(type, kDelay);
    b.set((std::string(stem) + "Param1").c_str(), left);
    b.set((std::string(stem) + "Param2").c_str(), feedback);
    b.set((std::string(stem) + "Param3").c_str(), right);
    b.set((std::string(stem) + "Param4").c_str(), feedback);
    b.set((std::string(stem) + "Dry/Wet").c_str(), wet);
}

// A key-following vibrato from LFO 1 on "Gen1 Ratio".
void vibrato(SoundBuilder& b, float rateHz, float depth) {
    b.set("Lfo1 Type", kSine);
    b.set("Lfo1 Offset", rateHz);
    b.modulate("Gen1 Ratio", 1, kSourceLfo1, depth);
}

void softKeys(SoundBuilder& b) {
    b.begin(0, "Soft Keys");
    Modulator& amp = b.generator().modulator(kSpectrumAmp);
    fillBreakpoint(amp, 0, [](int32_t k) {
        const float h = harmonic(k);
        return k < 64 ? ((k % 2 == 0) ? 1.0f : 0.55f) / std::pow(h, 1.1f) : 0.0f;
    });
    amp.filterMode = kFilterLowPass12;
    amp.cutoff.base = 0.5f;
    amp.resonance.base = 0.3f;
    setSlot(amp.cutoff, 1, kSourceEnv2, 0.2f);
    setSlot(amp.cutoff, 2, kSourceModWheel, 0.3f);
    b.envelope(1, {{0.015f, 1.0f, 0.5f}, {1.5f, 0.65f, 0.7f}, {0.6f, 0.0f, 0.7f}}, 1);
    b.envelope(2, {{0.01f, 1.0f, 0.5f}, {0.6f, 0.0f, 0.7f}, {0.1f, 0.0f, 0.5f}}, 1);
    vibrato(b, 5.2f, 0.005f);
    b.set("Lfo1 Out", 0.2f);
    b.modulate("Lfo1 Out", 1, kSourceModWheel, 0.8f);
    b.set("Gain", 0.13f);
    b.modulate("Gain", 1, kSourceVelocity, 0.16f);
    stereoDelay(b, 1, 0.33f, 0.45f, 0.3f, 0.18f);
    b.store();
}

void brightSaw(SoundBuilder& b) {
    b.begin(1, "Bright Saw");
    b.generator().setPartialCount(256);
    Modulator& amp = b.generator().modulator(kSpectrumAmp);
    fillBreakpoint(amp, 0, [](int32_t k) { return 1.0f / harmonic(k); });
    amp.filterMode = kFilterLowPass24;
    amp.cutoff.base = 0.72f;
    setSlot(amp.cutoff, 1, kSourceVelocity, 0.15f);
    b.envelope(1, {{0.005f, 1.0f, 0.5f}, {0.4f, 0.8f, 0.7f}, {0.25f, 0.0f, 0.7f}}, 1);
    vibrato(b, 5.0f, 0.002f);
    b.set("Gain", 0.2f);
    b.store();
}

void squareLead(SoundBuilder& b) {
    b.begin(2, "Square Lead");
    Modulator& amp = b.generator().modulator(kSpectrumAmp);
    fillBreakpoint(amp, 0, [](int32_t k) { return k % 2 == 0 ? 1.0f / harmonic(k) : 0.0f; });
    b.envelope(1, {{0.01f, 1.0f, 0.5f}, {0.3f, 0.85f, 0.6f}, {0.2f, 0.0f, 0.7f}}, 1);
    // Delayed vibrato: envelope 2 fades the LFO in over 0.8 s.
    b.envelope(2, {{0.8f, 1.0f, 0.35f}, {0.2f, 0.0f, 0.5f}}, 0);
    vibrato(b, 5.5f, 0.007f);
    b.set("Lfo1 Out", 0.0f);
    b.modulate("Lfo1 Out", 1, kSourceEnv2, 1.0f);
    b.set("Gain", 0.3f);
    stereoDelay(b, 1, 0.25f, 0.375f, 0.25f, 0.15f);
    b.store();
}

void drawbarOrgan(SoundBuilder& b) {
    b.begin(3, "Drawbar Organ");
    // Half the key frequency as the fundamental: harmonic 2 is the played pitch, 1 the sub-octave.
    b.set("Gen1 Ratio", 0.5f);
    Modulator& amp = b.generator().modulator(kSpectrumAmp);
    fillBreakpoint(amp, 0, [](int32_t k) {
        switch (k + 1) {
            case 1:
                return 0.45f;
            case 2:
                return 0.8f;
            case 3:
                return 0.35f;
            case 4:
                return 0.5f;
            case 6:
                return 0.25f;
            case 8:
                return 0.3f;
            case 10:
                return 0.12f;
            case 12:
                return 0.12f;
            case 16:
                return 0.1f;
            default:
                return 0.0f;
        }
    });
    b.envelope(1, {{0.006f, 1.0f, 0.5f}, {0.08f, 0.0f, 0.6f}}, 0);
    vibrato(b, 6.4f, 0.0015f);
    b.set("Gain", 0.2f);
    stereoDelay(b, 1, 0.21f, 0.29f, 0.2f, 0.12f);
    b.store();
}

// Free-free bar modes: a glassy bell whose partials sit far from the harmonic series.
void glassBell(SoundBuilder& b) {
    b.begin(4, "Glass Bell");
    struct Mode {
        int32_t slot;
        float ratio, level, decay;  // decay: level left after one second
    };
    static constexpr Mode kModes[] = {{0, 1.0f, 0.6f, 0.7f},      {1, 2.756f, 0.4f, 0.45f},
                                      {4, 5.404f, 0.25f, 0.25f},  {7, 8.933f, 0.15f, 0.1f},
                                      {12, 13.34f, 0.08f, 0.05f}, {2, 3.01f, 0.1f, 0.4f}};
    Modulator& amp = b.generator().modulator(kSpectrumAmp);
    Modulator& detune = b.generator().modulator(kSpectrumDetune);
    Modulator& pan = b.generator().modulator(kSpectrumPan);
    const auto level = [](int32_t k, float seconds) {
        for (const Mode& m : kModes)
            if (m.slot == k) return m.level * std::pow(m.decay, seconds);
        return 0.0f;
    };
    fillBreakpoint(amp, 0, [&](int32_t k) { return level(k, 0.0f); });
    addBreakpoint(amp, 1.0f, [&](int32_t k) { return level(k, 1.0f); });
    addBreakpoint(amp, 3.0f, [&](int32_t k) { return level(k, 4.0f); });
    fillBreakpoint(detune, 0, [](int32_t k) {
        for (const Mode& m : kModes)
            if (m.slot == k) return m.ratio - harmonic(k);
        return 0.0f;
    });
    fillBreakpoint(pan, 0, [](int32_t k) { return k % 2 == 0 ? -0.3f : 0.3f; });
    b.envelope(1, {{0.002f, 1.0f, 0.5f}, {5.0f, 0.0f, 0.8f}, {0.4f, 0.0f, 0.7f}}, 1);
    b.set("Gain", 0.3f);
    b.modulate("Gain", 1, kSourceVelocity, 0.2f);
    stereoDelay(b, 1, 0.29f, 0.41f, 0.35f, 0.25f);
    b.store();
}

// Dark to bright and back, looping while held, with a slow sine movement across the partials.
void evolvingPad(SoundBuilder& b) {
    b.begin(5, "Evolving Pad");
    Modulator& amp = b.generator().modulator(kSpectrumAmp);
    const auto spectrum = [](float brightness) {
        return [brightness](int32_t k) {
            return k < 64 ? std::exp(-harmonic(k) / brightness) / std::pow(harmonic(k), 0.7f) : 0.0f;
        };
    };
    fillBreakpoint(amp, 0, spectrum(3.0f));
    addBreakpoint(amp, 2.5f, spectrum(18.0f));
    addBreakpoint(amp, 3.0f, spectrum(5.0f));
    addBreakpoint(amp, 3.0f, spectrum(18.0f));
    amp.loopStart = 1;
    amp.loopEnd = 3;
    amp.dynamicMode = kDynamicSine;
    amp.dynamicFrequency = 0.35f;
    amp.partialFreqScale = 0.15f;
    amp.partialPhaseOffset = 0.21f;
    amp.dynamicAmount = 0.5f;
    Modulator& pan = b.generator().modulator(kSpectrumPan);
    fillBreakpoint(pan, 0, [](int32_t k) { return k == 0 ? 0.0f : (k % 2 == 0 ? -0.6f : 0.6f); });
    b.envelope(1, {{1.5f, 1.0f, 0.4f}, {2.5f, 0.0f, 0.75f}}, 0);
    b.set("Gain", 0.2f);
    stereoDelay(b, 1, 0.43f, 0.57f, 0.5f, 0.35f);
    b.store();
}

void pluck(SoundBuilder& b) {
    b.begin(6, "Pluck");
    Modulator& amp = b.generator().modulator(kSpectrumAmp);
    fillBreakpoint(amp, 0, [](int32_t k) { return 1.0f / harmonic(k); });
    addBreakpoint(amp, 0.15f, [](int32_t k) { return std::exp(-harmonic(k) / 4.0f) / harmonic(k); });
    addBreakpoint(amp, 1.0f, [](int32_t k) { return 0.5f * std::exp(-harmonic(k) / 1.5f) / harmonic(k); });
    b.envelope(1, {{0.002f, 1.0f, 0.5f}, {1.6f, 0.0f, 0.85f}, {0.12f, 0.0f, 0.6f}}, 1);
    b.set("Gain", 0.12f);
    b.modulate("Gain", 1, kSourceVelocity, 0.1f);
    // A short comb resonance, then a stereo echo.
    b.set("ChFx1 Type", kComb);
    b.set("ChFx1 Param1", 350.0f);
    b.set("ChFx1 Param2", 0.35f);
    b.set("ChFx1 Dry/Wet", 0.25f);
    stereoDelay(b, 2, 0.3f, 0.45f, 0.3f, 0.2f);
    b.store();
}

// A band-pass sweep through the harmonics, stepped by step sequencer 1 in sixteenths.
void stepFilter(SoundBuilder& b) {
    b.begin(7, "Step Filter");
    Modulator& amp = b.generator().modulator(kSpectrumAmp);
    fillBreakpoint(amp, 0, [](int32_t k) { return 1.0f / harmonic(k); });
    amp.filterMode = kFilterBandPass12;
    amp.cutoff.base = 0.3f;
    amp.resonance.base = 0.7f;
    setSlot(amp.cutoff, 1, kSourceStepSeq1, 0.45f);
    b.stepSequencer(1, static_cast<int32_t>(kSixteenth), 6,
                    {{kConstant, 1.0f},
                     {kConstant, 0.2f},
                     {kLinear, 0.6f},
                     {kConstant, 0.1f},
                     {kConstant, 0.8f},
                     {kLinear, 0.3f},
                     {kConstant, 1.0f},
                     {kConstant, 0.2f},
                     {kConstant, 0.5f},
                     {kConstant, 0.1f},
                     {kLinear, 0.9f},
                     {kConstant, 0.4f},
                     {kConstant, 0.7f},
                     {kConstant, 0.2f},
                     {kLinear, 1.0f},
                     {kConstant, 0.5f}});
    b.envelope(1, {{0.005f, 1.0f, 0.5f}, {0.2f, 0.0f, 0.7f}}, 0);
    b.set("Gain", 0.3f);
    stereoDelay(b, 1, 0.375f, 0.25f, 0.35f, 0.25f);
    b.store();
}

// A slowly swept comb resonance over a soft saw: channel LFO 1 moves the first notch.
void combDrone(SoundBuilder& b) {
    b.begin(8, "Comb Drone");
    Modulator& amp = b.generator().modulator(kSpectrumAmp);
    fillBreakpoint(amp, 0, [](int32_t k) { return k < 48 ? 1.0f / harmonic(k) : 0.0f; });
    b.envelope(1, {{0.4f, 1.0f, 0.4f}, {1.2f, 0.0f, 0.7f}}, 0);
    b.set("ChLfo1 Type", kSine);
    b.set("ChLfo1 Offset", 0.15f);
    b.set("ChFx1 Type", kComb);
    b.set("ChFx1 Param1", 180.0f);
    b.modulate("ChFx1 Param1", 1, kChannelSourceChLfo1, 60.0f);
    b.set("ChFx1 Param2", 0.7f);
    b.set("ChFx1 Dry/Wet", 0.6f);
    stereoDelay(b, 2, 0.5f, 0.66f, 0.35f, 0.2f);
    b.set("Gain", 0.14f);
    b.store();
}

void vibratoFlute(SoundBuilder& b) {
    b.begin(9, "Vibrato Flute");
    Modulator& amp = b.generator().modulator(kSpectrumAmp);
    fillBreakpoint(amp, 0, [](int32_t k) {
        static constexpr float kLevels[] = {1.0f, 0.25f, 0.12f, 0.05f, 0.02f};
        return k < 5 ? kLevels[k] : 0.0f;
    });
    // A little random flutter on the partial levels: breath.
    amp.dynamicMode = kDynamicRandom;
    amp.dynamicFrequency = 4.0f;
    amp.dynamicAmount = 0.1f;
    b.envelope(1, {{0.06f, 1.0f, 0.5f}, {0.15f, 0.0f, 0.6f}}, 0);
    b.envelope(2, {{0.6f, 1.0f, 0.4f}, {0.1f, 0.0f, 0.5f}}, 0);
    vibrato(b, 5.0f, 0.008f);
    b.set("Lfo1 Out", 0.0f);
    b.modulate("Lfo1 Out", 1, kSourceEnv2, 1.0f);
    b.set("Gain", 0.35f);
    stereoDelay(b, 1, 0.31f, 0.47f, 0.3f, 0.2f);
    b.store();
}

}  // namespace

void buildDemoSounds(SynthEngine& engine) {
    SoundBuilder b(engine);
    softKeys(b);
    brightSaw(b);
    squareLead(b);
    drawbarOrgan(b);
    glassBell(b);
    evolvingPad(b);
    pluck(b);
    stepFilter(b);
    combDrone(b);
    vibratoFlute(b);
    engine.selectProgram(0, 0, true);
}

}  // namespace quenvale::demo
