// Spectrum modifier stages measured on evaluated spectra: the filter modes and the dynamic movement.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "engine/spectrum/modulator.h"
#include "engine/spectrum/modulator_evaluation.h"
#include "spectrum_test_support.h"

namespace quenvale::test {
namespace {

constexpr float kA4 = 440.0f;

// The band shape's gain at 0-based partial j (centre harmonic 32, zero at both ends).
double bandGain(int j) {
    if (j == 0 || j >= 511) return 0.0;
    return j < 32 ? (j + 1) / 32.0 : 32.0 / (j + 1);
}

Modulator flatModulator(int32_t partials) {
    Modulator m(partials);
    EXPECT_TRUE(m.setBreakpointValues(0, curveOf(partials, [](int) { return 1.0; })));
    return m;
}

TEST(SpectrumFilter, BrickWallLowPassAtCutoffFourSeventhsKeepsHarmonicsOneToSixteen) {
    SpectrumHarness h;
    Modulator m = flatModulator(512);
    m.filterMode = kFilterLowPassInf;
    m.cutoff.base = 4.0f / 7.0f;  // corner at harmonic 2^4
    ModulatorState s;
    h.tick(m, s, kA4, 512, 0.01f);
    // The resonance (0.5) raises each kept partial by the band shape one octave down (centre 2^(4 − 5)
    // octaves away from its home at harmonic 32): partial k reads the shape at partial 2k + 1.
    for (int k = 0; k < 16; ++k) {
        const double g = bandGain(2 * k + 1);
        EXPECT_NEAR(s.output[k], 1.0 + 0.5 * g * g, 1e-5) << "harmonic " << k + 1;
    }
    for (int k = 16; k < 512; ++k) ASSERT_EQ(s.output[k], 0.0f) << "harmonic " << k + 1;

    m.resonance.base = 0.0f;  // without resonance the pass band is flat
    h.tick(m, s, kA4, 512, 0.01f);
    for (int k = 0; k < 16; ++k) EXPECT_FLOAT_EQ(s.output[k], 1.0f) << k;
}

TEST(SpectrumFilter, CornerFollowsTheHarmonicNumberAndDryWetMixes) {
    SpectrumHarness h;
    Modulator m = flatModulator(128);
    m.resonance.base = 0.0f;
    m.filterMode = kFilterHighPassInf;
    m.cutoff.base = 1.0f;  // template at home: harmonics above 129 only (none of 128 partials)
    ModulatorState s;
    h.tick(m, s, kA4, 128, 0.01f);
    for (int k = 0; k < 128; ++k) ASSERT_EQ(s.output[k], 0.0f) << k;

    m.cutoff.base = 5.0f / 7.0f;  // two octaves down: the pass band starts above harmonic 32
    h.tick(m, s, kA4, 128, 0.01f);
    EXPECT_EQ(s.output[30], 0.0f);
    EXPECT_FLOAT_EQ(s.output[40], 1.0f);
    EXPECT_FLOAT_EQ(s.output[127], 1.0f);

    m.dryWet.base = 0.25f;
    h.tick(m, s, kA4, 128, 0.01f);
    EXPECT_FLOAT_EQ(s.output[30], 0.75f);
    EXPECT_FLOAT_EQ(s.output[40], 1.0f);

    m.filterMode = kFilterAllPass;  // resonance only, around the cutoff harmonic 2^5 = 32
    m.dryWet.base = 1.0f;
    m.resonance.base = 1.0f;
    h.tick(m, s, kA4, 128, 0.01f);
    EXPECT_NEAR(s.output[31], 2.0f, 1e-6f);
    EXPECT_NEAR(s.output[63], 1.0f + std::pow(32.0 / 64.0, 2.0), 1e-6);
    EXPECT_FLOAT_EQ(s.output[0], 1.0f);  // the band shape's forced zero at the fundamental
}

TEST(SpectrumDynamic, SineMovementScalesEachPartialAtItsOwnRate) {
    SpectrumHarness h;
    Modulator m(64);
    ASSERT_TRUE(m.setBreakpointValues(0, curveOf(64, [](int k) { return 1.0 + 0.1 * k; })));
    m.dynamicMode = kDynamicSine;
    m.dynamicAmount = 1.0f;
    m.dynamicFrequency = 2.0f;
    m.partialFreqScale = 0.5f;
    m.randomPhaseOffset = 0.0f;
    ModulatorState s;
    for (float dt : {0.3f, 0.41f, 1.7f}) {
        h.tick(m, s, kA4, 64, dt);
        const double t = s.time;
        for (int k = 0; k < 64; ++k) {
            const double expected =
                (1.0 + 0.1 * k) * std::sin(2.0 * std::numbers::pi * t * 2.0 * (1.0 + 0.5 * k));
            // A 128-entry table read by linear interpolation is within (2π/128)²/8 of the sine.
            EXPECT_NEAR(s.output[k], expected, 4e-4 * (1.0 + 0.1 * k)) << "t " << t << " k " << k;
        }
    }
}

TEST(SpectrumDynamic, AdditiveSineAddsAmountTimesMovementWithPhaseOffsets) {
    SpectrumHarness h;
    Modulator m(64);  // zero values
    m.dynamicMode = kDynamicSine;
    m.additive = true;
    m.dynamicAmount = 0.5f;
    m.dynamicFrequency = 0.0f;
    m.dynamicPhase = 0.25f;
    m.partialPhaseOffset = 0.125f;
    m.randomPhaseOffset = 0.0f;
    ModulatorState s;
    h.tick(m, s, kA4, 64, 0.5f);
    for (int k = 0; k < 64; ++k) {
        const double expected = 0.5 * std::sin(2.0 * std::numbers::pi * (0.25 + 0.125 * (k + 1)));
        EXPECT_NEAR(s.output[k], expected, 1e-6) << k;  // eighth cycles fall on table entries
    }
}

TEST(SpectrumDynamic, RandomMovementStaysWithinAmountAndMovesSmoothly) {
    SpectrumHarness h;
    Modulator m = flatModulator(128);
    m.dynamicMode = kDynamicRandom;
    m.dynamicAmount = 1.0f;
    m.dynamicFrequency = 0.25f;  // the highest partial sweeps about a quarter table entry per tick
    ModulatorState s;
    float previous[128];
    float lo = 1.0f, hi = -1.0f;
    for (int tick = 0; tick < 400; ++tick) {
        h.tick(m, s, kA4, 128, 64.0f / 44100.0f);
        for (int k = 0; k < 128; ++k) {
            ASSERT_GE(s.output[k], -1.0f);
            ASSERT_LE(s.output[k], 1.0f);
            if (tick > 0) {
                ASSERT_LT(std::fabs(s.output[k] - previous[k]), 0.1f) << k;
            }
            previous[k] = s.output[k];
        }
        lo = std::min(lo, s.output[127]);
        hi = std::max(hi, s.output[127]);
    }
    EXPECT_GT(hi - lo, 0.05f);  // it does move

    // Very long notes at high rates keep the movement defined (no integer overflow of the position).
    m.dynamicFrequency = 1e6f;
    s.time = 1e7f;
    h.tick(m, s, kA4, 128, 0.0f);
    for (int k = 0; k < 128; ++k)
        ASSERT_TRUE(std::isfinite(s.output[k]) && std::fabs(s.output[k]) <= 1.0f) << k;
}

}  // namespace
}  // namespace quenvale::test
