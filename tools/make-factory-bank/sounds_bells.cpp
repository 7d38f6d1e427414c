// Bells and mallets: inharmonic modes, each decaying at its own rate, placed with "Detune".
#include <cmath>
#include <vector>

#include "engine/spectrum/spectrum_modes.h"
#include "factory_bank.h"
#include "recipes.h"
#include "spectra.h"

namespace quenvale::factory {
namespace {

// A vibration mode: its frequency ratio to the fundamental, level and the level left after one second.
// Each mode takes the partial slot nearest below its ratio, so "Detune" only has to add the remainder.
struct Mode {
    float ratio, level, decay;
};

int32_t slotOf(const Mode& m) {
    return static_cast<int32_t>(std::floor(m.ratio)) - 1;
}

// Fills "Amp" with breakpoints at 0, 1, 3 and 8 s and "Detune" with the modes' remainders.
void modes(SoundBuilder& b, const std::vector<Mode>& list) {
    const auto level = [list](float seconds) {
        return [list, seconds](int32_t k) {
            float sum = 0.0f;
            for (const Mode& m : list)
                if (slotOf(m) == k) sum += m.level * std::pow(m.decay, seconds);
            return sum;
        };
    };
    fillBreakpoint(b.amp(), 0, level(0.0f));
    addBreakpoint(b.amp(), 1.0f, level(1.0f));
    addBreakpoint(b.amp(), 2.0f, level(3.0f));
    addBreakpoint(b.amp(), 5.0f, level(8.0f));
    fillBreakpoint(b.detune(), 0, [list](int32_t k) {
        for (const Mode& m : list)
            if (slotOf(m) == k) return m.ratio - harmonicNumber(k);
        return 0.0f;
    });
}

// Free-free bar modes: a glassy bell whose partials sit far from the harmonic series.
void glassBell(SoundBuilder& b) {
    b.begin("Glass Bell", kBells);
    b.generator().setPartialCount(64);
    modes(b, {{1.0f, 0.6f, 0.7f}, {2.756f, 0.4f, 0.45f}, {5.404f, 0.25f, 0.25f}, {8.933f, 0.15f, 0.1f},
              {13.34f, 0.08f, 0.05f}, {3.01f, 0.1f, 0.4f}});
    fillBreakpoint(b.pan(), 0, [](int32_t k) { return k % 2 == 0 ? -0.3f : 0.3f; });
    percussiveEnvelope(b, 0.002f, 8.0f, 0.5f);
    velocityGain(b, 0.12f, 0.3f);
    stereoDelay(b, 1, 0.29f, 0.41f, 0.35f, 0.2f);
    b.amp().filterMode = kFilterLowPass6;
    b.amp().cutoff.base = 0.8f;
    wheelTremolo(b, 2, 5.0f, 0.5f);
    macroBrightness(b, 1, -0.4f);
    b.macro(1, "Soft", "a softer mallet: fewer high modes");
    macroStretch(b, 2, 0.0002f);
    macroBeat(b, 3, 0.01f);
    macroShimmer(b, 4, scaled(unit(harmonics({{2, 0.5f}, {5, 0.4f}, {8, 0.3f}})), 0.4f), 1.5f);
    macroComb(b, 5, 880.0f, 0.6f);
    macroEcho(b, 6, 0.5f, 0.375f, 0.45f);
    b.store();
}

// Tubular chime: the strike tone is heard around the fourth to sixth partials.
void tubularBell(SoundBuilder& b) {
    b.begin("Tubular Bell", kBells);
    b.generator().setPartialCount(64);
    modes(b, {{1.0f, 0.3f, 0.85f}, {2.76f, 0.5f, 0.8f}, {5.40f, 0.7f, 0.75f}, {8.93f, 0.55f, 0.6f},
              {13.34f, 0.35f, 0.45f}, {18.64f, 0.2f, 0.3f}});
    percussiveEnvelope(b, 0.002f, 12.0f, 1.2f);
    velocityGain(b, 0.1f, 0.28f);
    b.amp().filterMode = kFilterLowPass12;
    b.amp().cutoff.base = 0.45f;
    b.modulate(b.amp().cutoff, kSourceVelocity, 0.25f);
    wheelBrightness(b, 0.35f);
    macroBeat(b, 1, 0.006f);
    macroStretch(b, 2, 0.00008f);
    macroWidth(b, 3, 0.0f);
    macroShift(b, 4, -2.0f);
    macroDrift(b, 5, 0.006f, 0.3f);
    macroEcho(b, 6, 0.55f, 0.43f, 0.5f);
    b.store();
}

// Marimba: a bar tuned so its second mode is four times the first; short and woody.
void marimba(SoundBuilder& b) {
    b.begin("Marimba", kBells);
    b.generator().setPartialCount(64);
    modes(b, {{1.0f, 1.0f, 0.08f}, {3.93f, 0.35f, 0.01f}, {9.2f, 0.15f, 0.002f}, {2.0f, 0.05f, 0.05f}});
    keyBrightness(b, scaled(unit(harmonics({{4, 0.5f}, {10, 0.3f}})), 0.4f), 0.5f, 0.0f);
    percussiveEnvelope(b, 0.002f, 2.0f, 0.15f);
    velocityGain(b, 0.12f, 0.32f);
    b.amp().filterMode = kFilterLowPass12;
    b.amp().cutoff.base = 0.35f;
    b.modulate(b.amp().cutoff, kSourceVelocity, 0.25f);
    wheelTremolo(b, 2, 6.0f, 0.5f);
    macroBite(b, 1, unit(harmonics({{4, 0.6f}, {9, 0.5f}, {14, 0.3f}})), 0.03f);
    macroBrightness(b, 2, 0.45f);
    macroComb(b, 3, 400.0f, 0.7f);
    b.macro(3, "Tube", "a resonator tube under the bars");
    macroWidth(b, 4, 0.0f);
    macroStretch(b, 5, 0.0003f);
    macroEcho(b, 6, 0.3f, 0.45f, 0.35f);
    b.store();
}

// Vibraphone: long, pure bars with a motor tremolo that the wheel speeds up.
void vibraphone(SoundBuilder& b) {
    b.begin("Vibraphone", kBells);
    b.generator().setPartialCount(64);
    modes(b, {{1.0f, 1.0f, 0.55f}, {4.0f, 0.25f, 0.15f}, {10.0f, 0.08f, 0.03f}});
    percussiveEnvelope(b, 0.002f, 9.0f, 0.6f);
    velocityGain(b, 0.12f, 0.32f);
    b.set("Lfo2 Type", kLfoSine);
    b.set("Lfo2 Offset", 4.0f);
    b.set("Lfo2 Out", 0.6f);
    b.modulate("Gain", sourceLfo(2), 0.3f * b.get("Gain"));
    b.modulate("Lfo2 Offset", kSourceModWheel, 4.0f);
    b.wheel("speeds up the motor tremolo");
    b.amp().filterMode = kFilterLowPass12;
    b.amp().cutoff.base = 0.7f;
    macroBrightness(b, 1, -0.3f);
    b.macro(1, "Soft", "softer mallets");
    macroBite(b, 2, unit(harmonics({{4, 0.5f}, {10, 0.4f}})), 0.05f);
    macroShimmer(b, 3, scaled(unit(harmonics({{1, 1.0f}, {4, 0.4f}})), 0.6f), 2.5f);
    macroBeat(b, 4, 0.004f);
    macroComb(b, 5, 523.0f, 0.6f);
    macroEcho(b, 6, 0.43f, 0.57f, 0.4f);
    b.store();
}

// Gamelan-like bronze: pairs of close modes beat against each other.
void bronzeGong(SoundBuilder& b) {
    b.begin("Bronze Gong", kBells);
    b.generator().setPartialCount(64);
    modes(b, {{1.0f, 0.8f, 0.7f}, {2.32f, 0.5f, 0.5f}, {3.94f, 0.45f, 0.4f},
              {5.3f, 0.3f, 0.3f}, {6.85f, 0.25f, 0.2f}, {9.4f, 0.15f, 0.1f}});
    percussiveEnvelope(b, 0.003f, 10.0f, 1.0f);
    velocityGain(b, 0.1f, 0.28f);
    b.amp().filterMode = kFilterLowPass12;
    b.amp().cutoff.base = 0.45f;
    b.modulate(b.amp().cutoff, kSourceVelocity, 0.25f);
    wheelShift(b, -2.0f);
    b.wheel("bends the modes down the series: a darker metal");
    macroBeat(b, 1, 0.012f);
    macroStretch(b, 2, 0.0002f);
    macroShimmer(b, 3, scaled(unit(harmonics({{2, 0.5f}, {3, 0.4f}, {5, 0.3f}})), 0.5f), 0.7f);
    macroWidth(b, 4, 0.0f);
    macroResonance(b, 5, 2.0f);
    macroEcho(b, 6, 0.6f, 0.45f, 0.5f);
    b.store();
}

}  // namespace

void buildBells(SoundBuilder& b) {
    glassBell(b);
    tubularBell(b);
    marimba(b);
    vibraphone(b);
    bronzeGong(b);
}

}  // namespace quenvale::factory
