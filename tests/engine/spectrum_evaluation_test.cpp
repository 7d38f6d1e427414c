// Spectrum modulator evaluation: breakpoint playback, loop, key mapping, children, offset and shift.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/spectrum/key_mapping.h"
#include "engine/spectrum/modulator.h"
#include "engine/spectrum/modulator_evaluation.h"
#include "params/mod_evaluation.h"
#include "spectrum_test_support.h"

namespace quenvale::test {
namespace {

constexpr float kA4 = 440.0f;

TEST(SpectrumEvaluation, OneBreakpointIsValuesTimesLevelGainAndKeyPlusOffset) {
    SpectrumHarness h;
    Modulator m(64);
    ASSERT_TRUE(m.setBreakpointValues(0, curveOf(64, [](int k) { return k + 1; })));
    ASSERT_TRUE(m.setBreakpoint(0, 0.0f, 0.5f));
    m.gain.base = 2.0f;
    m.offset.base = 0.25f;
    m.keyMapping = rampKeyMapping();
    // Gain also follows macro 1 through a slot read from stored data (bound on first use).
    m.gain.slots[0].source = 148;
    m.gain.slots[0].amount = 1.0f;
    markStale(m.gain);
    h.channel.macro[0] = 0.5f;

    ModulatorState s;
    const float key = 69.0f / 127.0f;
    for (int tick = 0; tick < 3; ++tick) {
        h.tick(m, s, kA4, 64, 0.7f);
        for (int k = 0; k < 64; ++k)
            EXPECT_NEAR(s.output[k], ((k + 1) * 0.5f + 0.25f) * 2.5f * key, 1e-4f)
                << "tick " << tick << " k " << k;
        for (int k = 64; k < 512; ++k) ASSERT_EQ(s.output[k], 0.0f) << k;
    }
}

TEST(SpectrumEvaluation, TwoBreakpointsInterpolateBetweenLevelScaledCurvesThenHold) {
    SpectrumHarness h;
    Modulator m(128);
    ASSERT_TRUE(m.setBreakpointValues(0, curveOf(128, [](int k) { return 1.0 + k; })));
    ASSERT_TRUE(m.insertBreakpoint(1, 2.0f, 0.5f, false));
    ASSERT_TRUE(m.setBreakpointValues(1, curveOf(128, [](int k) { return 4.0 * k; })));

    ModulatorState s;
    h.tick(m, s, kA4, 128, 1.0f);
    for (int k = 0; k < 128; ++k) EXPECT_NEAR(s.output[k], ((1.0f + k) + 0.5f * 4.0f * k) * 0.5f, 1e-4f) << k;
    h.tick(m, s, kA4, 128, 1.5f);  // 2.5 s: past the last breakpoint, which holds
    for (int k = 0; k < 128; ++k) EXPECT_NEAR(s.output[k], 2.0f * k, 1e-4f) << k;
}

// Breakpoints at 0, 1, 2 and 3 s with constant values 1, 2, 3, 4; loop from breakpoint 1 to 2.
Modulator loopingModulator() {
    Modulator m(64);
    for (int i = 0; i < 4; ++i) {
        if (i > 0) {
            EXPECT_TRUE(m.insertBreakpoint(i, 1.0f, 1.0f, false));
        }
        EXPECT_TRUE(m.setBreakpointValues(i, curveOf(64, [i](int) { return i + 1; })));
    }
    m.loopStart = 1;
    m.loopEnd = 2;
    return m;
}

TEST(SpectrumEvaluation, LoopJumpsBackToLoopStartUntilReleaseThenRunsOn) {
    SpectrumHarness h;
    Modulator m = loopingModulator();
    ModulatorState s;
    h.tick(m, s, kA4, 64, 0.25f);
    EXPECT_NEAR(s.output[5], 1.25f, 1e-5f);
    h.tick(m, s, kA4, 64, 1.5f);  // 1.75 s
    EXPECT_NEAR(s.output[5], 2.75f, 1e-5f);
    h.tick(m, s, kA4, 64, 0.25f);  // 2.0 s reaches the loop end: back to 1 s, elapsed 0
    EXPECT_NEAR(s.output[5], 2.0f, 1e-6f);
    EXPECT_FLOAT_EQ(s.time, 1.0f);
    h.tick(m, s, kA4, 64, 0.5f);
    EXPECT_NEAR(s.output[5], 2.5f, 1e-5f);
    h.tick(m, s, kA4, 64, 0.75f);  // would be 2.25 s: loops again
    EXPECT_FLOAT_EQ(s.time, 1.0f);

    s.released = true;
    h.tick(m, s, kA4, 64, 1.5f);  // 2.5 s after release: between breakpoints 2 and 3
    EXPECT_NEAR(s.output[5], 3.5f, 1e-5f);
    h.tick(m, s, kA4, 64, 1.0f);  // 3.5 s: the last breakpoint holds
    EXPECT_NEAR(s.output[5], 4.0f, 1e-6f);
}

TEST(SpectrumEvaluation, TimeBeforeFirstBreakpointJumpsToItWithoutLoopAndHoldsItWithLoopOrRelease) {
    SpectrumHarness h;
    Modulator m(64);
    ASSERT_TRUE(m.setBreakpoint(0, 0.5f, 1.0f));
    ASSERT_TRUE(m.setBreakpointValues(0, curveOf(64, [](int) { return 3.0; })));
    ModulatorState s;
    h.tick(m, s, kA4, 64, 0.1f);
    EXPECT_FLOAT_EQ(s.time, 0.5f);
    EXPECT_FLOAT_EQ(s.output[0], 3.0f);

    m.loopEnd = 0;  // a loop set: the time stays, the first breakpoint holds
    ModulatorState looped;
    h.tick(m, looped, kA4, 64, 0.1f);
    EXPECT_FLOAT_EQ(looped.time, 0.1f);
    EXPECT_FLOAT_EQ(looped.output[0], 3.0f);

    ModulatorState released;
    released.released = true;
    h.tick(m, released, kA4, 64, 0.1f);
    EXPECT_FLOAT_EQ(released.output[0], 3.0f);
}

TEST(SpectrumEvaluation, KeyPositionIsTheNoteNumberOver127AndMapsThroughTheKeyCurve) {
    EXPECT_NEAR(keyPosition(440.0f), 69.0f / 127.0f, 1e-6f);
    EXPECT_NEAR(keyPosition(13.75f), 9.0f / 127.0f, 1e-6f);
    EXPECT_NEAR(keyPosition(880.0f), 81.0f / 127.0f, 1e-6f);
    EXPECT_EQ(keyPosition(0.0f), 0.0f);  // no note: finite
    EXPECT_EQ(keyPosition(-5.0f), 0.0f);
    EXPECT_NEAR(evaluateCurve(rampKeyMapping(), keyPosition(440.0f)), 69.0f / 127.0f, 1e-6f);

    BreakpointCurve peak;  // 0 → 1 over the lower half, 1 → 0.25 over the upper half
    peak.segmentCount = 2;
    peak.startValue = 0.0f;
    peak.lengths[0] = peak.lengths[1] = 0.5f;
    peak.endValues[0] = 1.0f;
    peak.endValues[1] = 0.25f;
    peak.shapes[0] = peak.shapes[1] = 0.5f;
    EXPECT_FLOAT_EQ(evaluateCurve(peak, 0.25f), 0.5f);
    EXPECT_FLOAT_EQ(evaluateCurve(peak, 0.75f), 0.625f);
    EXPECT_FLOAT_EQ(evaluateCurve(peak, 1.5f), 0.25f);  // past the end: last end value
    EXPECT_FLOAT_EQ(evaluateCurve(BreakpointCurve{}, 0.5f), 0.0f);

    // Other shapes scale the rise by 4c² (c ≤ 0.5) or (4 − 2c)c − 1.
    peak.shapes[0] = 0.25f;
    EXPECT_FLOAT_EQ(evaluateCurve(peak, 0.5f - 1e-7f), 0.25f * (0.5f - 1e-7f) / 0.5f);
    peak.shapes[0] = 0.75f;
    EXPECT_FLOAT_EQ(evaluateCurve(peak, 0.25f), 0.875f * 0.5f);
}

TEST(SpectrumEvaluation, ModulatorWithoutBreakpointsIsAnEmptySpectrum) {
    SpectrumHarness h;
    Modulator m(512);
    ASSERT_TRUE(m.setBreakpointValues(0, curveOf(512, [](int) { return 1.0; })));
    m.offset.base = 0.5f;
    ModulatorState s;
    h.tick(m, s, kA4, 512, 0.01f);
    ASSERT_EQ(s.output[100], 1.5f);
    m.removeAllBreakpoints();
    h.tick(m, s, kA4, 512, 0.01f);
    for (int k = 0; k < 512; ++k) ASSERT_EQ(s.output[k], 0.0f) << k;
}

TEST(SpectrumEvaluation, ChildrenMultiplyOrAddInOrderAndDisabledOnesAreSkipped) {
    SpectrumHarness h;
    Modulator m(64);
    ASSERT_TRUE(m.setBreakpointValues(0, curveOf(64, [](int) { return 2.0; })));
    Modulator& scale = m.addChild("scale", kCombineMultiply, true);
    ASSERT_TRUE(scale.setBreakpointValues(0, curveOf(64, [](int k) { return k; })));
    Modulator& lift = m.addChild("lift", kCombineAdd, true);
    ASSERT_TRUE(lift.setBreakpointValues(0, curveOf(64, [](int) { return 10.0; })));
    lift.gain.base = 0.5f;  // the child's own modifiers apply before combining
    Modulator& off = m.addChild("off", kCombineAdd, false);
    ASSERT_TRUE(off.setBreakpointValues(0, curveOf(64, [](int) { return 100.0; })));

    ModulatorState s;
    prepareModulatorState(s, m);
    ASSERT_EQ(s.children.size(), 3u);
    h.tick(m, s, kA4, 64, 0.01f);
    for (int k = 0; k < 64; ++k) EXPECT_FLOAT_EQ(s.output[k], 2.0f * k + 5.0f) << k;

    // A child added after the states were built is not mirrored: all children are ignored (no fault)
    // until the states are prepared again.
    m.addChild("late", kCombineAdd, true);
    resetModulatorState(s, m);
    h.tick(m, s, kA4, 64, 0.01f);
    EXPECT_FLOAT_EQ(s.output[7], 2.0f);
    prepareModulatorState(s, m);
    resetModulatorState(s, m);
    h.tick(m, s, kA4, 64, 0.01f);
    EXPECT_FLOAT_EQ(s.output[7], 2.0f * 7 + 5.0f);  // "late" adds its zero breakpoint
}

TEST(SpectrumEvaluation, ShiftMovesTheSpectrumAlongPartialsWithinThePartialCount) {
    SpectrumHarness h;
    Modulator m(64);
    ASSERT_TRUE(m.setBreakpointValues(0, curveOf(512, [](int k) { return k < 64 ? k + 1 : 1000; })));
    m.gain.base = 2.0f;  // gain applies after the shift
    ModulatorState s;

    m.shift.base = 2.0f;  // up by two: the first value repeats below
    h.tick(m, s, kA4, 64, 0.01f);
    EXPECT_FLOAT_EQ(s.output[0], 2.0f);
    EXPECT_FLOAT_EQ(s.output[1], 2.0f);
    for (int k = 2; k < 64; ++k) EXPECT_FLOAT_EQ(s.output[k], 2.0f * (k - 1)) << k;

    // Down by 1.5: the top reads the 64th value as border (the hidden partials past 64 play no part).
    m.shift.base = -1.5f;
    h.tick(m, s, kA4, 64, 0.01f);
    EXPECT_FLOAT_EQ(s.output[0], 2.0f * 2.5f);
    EXPECT_FLOAT_EQ(s.output[62], 2.0f * 64.0f);
    EXPECT_FLOAT_EQ(s.output[63], 2.0f * 64.0f);
    for (int k = 64; k < 512; ++k) ASSERT_EQ(s.output[k], 0.0f) << k;

    m.shiftRepeatBorder = false;
    h.tick(m, s, kA4, 64, 0.01f);
    EXPECT_FLOAT_EQ(s.output[62], 2.0f * 32.0f);
    EXPECT_FLOAT_EQ(s.output[63], 0.0f);

    m.shift.base = -0.0f;  // negative zero is no shift
    h.tick(m, s, kA4, 64, 0.01f);
    EXPECT_FLOAT_EQ(s.output[63], 2.0f * 64.0f);
}

}  // namespace
}  // namespace quenvale::test
