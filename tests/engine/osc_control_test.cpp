// Control-rate behaviour of the oscillator: the ramp rule, partial targets, pan law, exponential
// approach, phase continuity across the base-phase reduction, and the spectrum's clock.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "engine/osc/control_ramp.h"
#include "engine/osc/render_partials.h"
#include "engine/osc/sine_table.h"
#include "osc_test_support.h"

namespace quenvale {
namespace {

using osctest::RateGuard;
using osctest::TestVoice;

TEST(OscControl, RampRuleJumpsAtZeroAndArrivesAfterSixtyFourSamples) {
    ControlRamp ramp;
    ramp.value = 0.25f;
    setRampTarget(ramp, 0.75f, 0.0f);
    EXPECT_EQ(ramp.value, 0.75f);
    EXPECT_EQ(ramp.step, 0.0f);

    setRampTarget(ramp, -0.5f, 0.015625f);
    EXPECT_EQ(ramp.value, 0.75f) << "a ramping target leaves the value alone";
    for (int i = 0; i < 63; ++i) advanceRamp(ramp);
    EXPECT_GT(ramp.value, -0.5f + 0.01f);
    advanceRamp(ramp);
    EXPECT_NEAR(ramp.value, -0.5f, 1e-6f);

    setRampTarget(ramp, 3.0f, std::nanf(""));
    EXPECT_EQ(ramp.value, 3.0f) << "a NaN fraction counts as 0";
}

TEST(OscControl, NoteStartSetsGeneratorRampsAtOnceAndTicksRampThem) {
    TestVoice v(64);
    v.channel->gen.out.base = 0.6f;
    v.channel->gain.base = 0.5f;
    v.env1 = 0.8f;
    v.start(440.0f);
    EXPECT_EQ(v.vg->outRamp.value, 0.6f);
    EXPECT_EQ(v.vg->outRamp.step, 0.0f);
    EXPECT_EQ(v.vg->baseFrequencyRamp.value, 440.0f);
    EXPECT_FLOAT_EQ(v.vg->gainRamp.value, 0.4f);
    EXPECT_TRUE(v.vg->bankActive);

    v.channel->gen.out.base = 0.2f;
    v.tick();
    std::vector<float> l, r;
    v.render(l, r, 63);
    EXPECT_GT(v.vg->outRamp.value, 0.2f + 1e-3f);
    v.render(l, r, 1);
    EXPECT_NEAR(v.vg->outRamp.value, 0.2f, 1e-6f);
}

TEST(OscControl, SixtyFourPartialsTakeHarmonicRatiosAndFullAmplitudeAtCentre) {
    TestVoice v(64);
    v.curves.amp = [](int) { return 0.3f; };
    v.start(220.0f);
    const PartialBank& bank = v.vg->bank;
    EXPECT_EQ(bank.blockCount, 16);
    for (int b = 0; b < 16; ++b)
        for (int j = 0; j < 4; ++j) {
            EXPECT_EQ(bank.blocks[b].ratio[j], static_cast<float>(4 * b + j + 1));
            EXPECT_EQ(bank.blocks[b].ampLeft[j], 0.3f);
            EXPECT_EQ(bank.blocks[b].ampRight[j], 0.3f);
        }
    // The immediate targets cover all 128 blocks, active or not.
    EXPECT_EQ(bank.blocks[127].ratio[3], 512.0f);
    EXPECT_EQ(bank.blocks[127].ampLeft[3], 0.3f);
}

TEST(OscControl, PanLawKeepsTheNearSideFull) {
    TestVoice v(64);
    v.curves.amp = [](int) { return 0.8f; };
    v.curves.pan = [](int k) { return k == 0 ? 1.0f : k == 1 ? -0.5f : k == 2 ? 0.25f : -3.0f; };
    v.start(220.0f);
    const PartialBlock& b = v.vg->bank.blocks[0];
    EXPECT_EQ(b.ampLeft[0], 0.0f);
    EXPECT_EQ(b.ampRight[0], 0.8f);
    EXPECT_EQ(b.ampLeft[1], 0.8f);
    EXPECT_EQ(b.ampRight[1], 0.4f);
    EXPECT_EQ(b.ampLeft[2], 0.6f);
    EXPECT_EQ(b.ampRight[2], 0.8f);
    EXPECT_EQ(b.ampLeft[3], 0.8f) << "pan beyond −1 is clamped";
    EXPECT_EQ(b.ampRight[3], 0.0f);
}

// A partial target change is approached by 64 × dt of the distance per tick: 64 · 64 / rate.
TEST(OscControl, TargetChangeIsApproachedExponentiallyAtEveryRate) {
    for (const float rate : {44100.0f, 96000.0f}) {
        RateGuard guard(rate);
        TestVoice v(64);
        v.curves.amp = [](int) { return 0.0f; };
        v.start(110.0f);
        v.curves.amp = [](int) { return 1.0f; };
        v.tick();
        std::vector<float> l, r;
        v.render(l, r, 63);  // a 64-sample render would tick again at its end
        renderGeneratorRun(*v.vg, *v.channel, 1, l.data(), r.data());
        const double covered = v.vg->bank.blocks[0].ampLeft[0];
        EXPECT_NEAR(covered, 64.0 * 64.0 / rate, 1e-4) << rate;
        if (rate == 44100.0f) {
            EXPECT_NEAR(covered, 0.093, 0.0005);
        }
        // The next tick covers the same fraction of what is left.
        v.tick();
        v.render(l, r, 63);
        renderGeneratorRun(*v.vg, *v.channel, 1, l.data(), r.data());
        const double second = v.vg->bank.blocks[0].ampLeft[0];
        EXPECT_NEAR((second - covered) / (1.0 - covered), 64.0 * 64.0 / rate, 1e-4);
    }
}

// The base phase is cut back to its fraction at every tick; partials with non-integer ratios must not
// jump. Compares one partial's output across a tick with a sine of the same frequency.
TEST(OscControl, BasePhaseReductionKeepsNonIntegerPartialsContinuous) {
    TestVoice v(64);
    v.curves.amp = [](int k) { return k == 2 ? 1.0f : 0.0f; };
    v.curves.detune = [](int k) { return k == 2 ? 0.37f : 0.0f; };  // ratio 3.37
    v.start(1234.5f);
    std::vector<float> l, r;
    v.render(l, r, 64 * 40);
    double worst = 0.0;
    const double f = 3.37 * 1234.5;
    for (size_t i = 64; i < l.size(); ++i) {
        // Sample i lies at phase (i + 1) · f / rate; the derivative bounds the step between samples.
        const double step = std::fabs(static_cast<double>(l[i]) - l[i - 1]);
        worst = std::max(worst, step);
    }
    EXPECT_LT(worst, 2.0 * M_PI * f / 44100.0 * 1.01) << "no discontinuity at the ticks";
    EXPECT_NEAR(osctest::zeroCrossingFrequency(l, 0, l.size(), 44100.0), f, 0.5);
}

TEST(OscControl, RefreshRecomputesStepsWithoutAdvancingSpectrumTime) {
    TestVoice v(64);
    v.start(440.0f);
    const float afterStart = v.vg->spectrum.states[kSpectrumAmp].time;
    EXPECT_FLOAT_EQ(afterStart, 0.015625f);
    v.tick();
    const float afterTick = v.vg->spectrum.states[kSpectrumAmp].time;
    EXPECT_NEAR(afterTick - afterStart, rates.controlTime, 1e-9);
    v.channel->gen.out.base = 0.5f;
    for (int i = 0; i < 10; ++i)
        refreshGeneratorControl(*v.vg, *v.channel, v.outputs, v.keyFrequency, v.env1, 0.015625f);
    EXPECT_EQ(v.vg->spectrum.states[kSpectrumAmp].time, afterTick);
    EXPECT_FLOAT_EQ(v.vg->outRamp.step, (0.5f - 1.0f) / 64.0f);
}

TEST(OscControl, SineTableHoldsSineAndForwardDifferences) {
    float table[kSineTableSize][2];
    fillSineTable(table);
    for (int i = 0; i < kSineTableSize; ++i) {
        EXPECT_NEAR(table[i][0], std::sin(2.0 * M_PI * i / 128.0), 1e-6);
        EXPECT_EQ(table[i][1], table[(i + 1) % 128][0] - table[i][0]);
    }
    EXPECT_EQ(table[32][0], 1.0f);
}

}  // namespace
}  // namespace quenvale
