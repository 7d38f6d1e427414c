// What a voice's generator sounds like, by measurement: pitch, level, pan, detune, the 20 kHz stop, the
// control ramps, phase continuity across ticks, and the pulse-width comb and compressor after the sum.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "engine/osc/control_ramp.h"
#include "engine/osc/pwm_line.h"
#include "engine/osc/render_partials.h"
#include "osc_test_support.h"

namespace quenvale {
namespace {

using osctest::amplitudeAt;
using osctest::TestVoice;
using osctest::zeroCrossingFrequency;

constexpr double kRate = 44100.0;

TEST(OscSound, NoteSixtyNineWithOnePartialIsA440AtTheExpectedLevel) {
    struct Case {
        float out, gain, env, amplitude;
    };
    for (const Case& c : {Case{1.0f, 1.0f, 1.0f, 1.0f}, Case{0.5f, 0.5f, 0.5f, 0.125f}}) {
        SCOPED_TRACE(c.amplitude);
        TestVoice v(64);
        v.channel->gen.out.base = c.out;
        v.channel->gain.base = c.gain;
        v.env1 = c.env;
        v.curves.amp = [](int k) { return k == 0 ? 1.0f : 0.0f; };
        v.start(440.0f);  // note 69
        std::vector<float> l, r;
        v.render(l, r, 44100);
        EXPECT_NEAR(zeroCrossingFrequency(l, 0, l.size(), kRate), 440.0, 0.01);
        EXPECT_NEAR(zeroCrossingFrequency(r, 0, r.size(), kRate), 440.0, 0.01);
        EXPECT_NEAR(amplitudeAt(l, 0, 44100, 440.0, kRate), c.amplitude, 1e-3 * c.amplitude);
    }
}

// Pan law: the near side stays full, the far side falls linearly; pan beyond ±1 is clamped.
TEST(OscSound, PanMovesAPartialBetweenTheSides) {
    TestVoice v(64);
    v.curves.amp = [](int k) { return k < 3 ? 0.5f : 0.0f; };
    v.curves.pan = [](int k) { return k == 0 ? 1.0f : k == 1 ? -0.5f : -3.0f; };
    v.start(441.0f);
    std::vector<float> l, r;
    v.render(l, r, 4410);
    const double expected[3][2] = {{0.0, 0.5}, {0.5, 0.25}, {0.5, 0.0}};  // 441, 882, 1323 Hz
    for (int k = 0; k < 3; ++k) {
        SCOPED_TRACE(k);
        EXPECT_NEAR(amplitudeAt(l, 0, 4400, 441.0 * (k + 1), kRate), expected[k][0], 5e-4);
        EXPECT_NEAR(amplitudeAt(r, 0, 4400, 441.0 * (k + 1), kRate), expected[k][1], 5e-4);
    }
}

// f0 = 1000 Hz, 512 partials all at amplitude 0.05: partials 1 … 20 sound; block 5 (ratio 21, 21 kHz) is
// where the loop stops, so 21 and 22 kHz (below Nyquist, measurable) are silent and the blocks from 5
// on never move.
TEST(OscSound, PartialsFromTwentyKilohertzOnAreNotRendered) {
    TestVoice v(512);
    v.curves.amp = [](int) { return 0.05f; };
    v.start(1000.0f);
    v.curves.amp = [](int) { return 0.06f; };  // make every block want to move
    v.tick();
    std::vector<float> l, r;
    v.render(l, r, 4410);
    for (int h = 1; h <= 20; ++h) EXPECT_GT(amplitudeAt(l, 100, 4300, 1000.0 * h, kRate), 0.04) << h;
    // Rendered, they would measure 0.05; what remains is leakage of the ramping partials (below −50 dB).
    EXPECT_LT(amplitudeAt(l, 100, 4300, 21000.0, kRate), 5e-4);
    EXPECT_LT(amplitudeAt(l, 100, 4300, 22000.0, kRate), 5e-4);
    EXPECT_GT(v.vg->bank.blocks[4].ampLeft[0], 0.05f) << "block 4 (partials 17 … 20) moves";
    EXPECT_EQ(v.vg->bank.blocks[5].ampLeft[0], 0.05f) << "block 5 is neither rendered nor moved";
}

TEST(OscSound, RampRuleJumpsAtZeroAndArrivesAfterSixtyFourSamples) {
    ControlRamp ramp{0.25f, 0.0f};
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

// A partial target change is approached by 64 × dt of the distance per tick: 64 · 64 / 44100 ≈ 9.3 %.
TEST(OscSound, TargetChangeIsApproachedExponentially) {
    TestVoice v(64);
    v.start(110.0f);
    v.curves.amp = [](int) { return 1.0f; };
    std::vector<float> l, r;
    double previous = 0.0;
    for (int tick = 0; tick < 2; ++tick) {  // each tick covers the same fraction of what is left
        v.tick();
        v.render(l, r, 63);  // a 64-sample render would tick again at its end
        renderGeneratorRun(*v.vg, *v.channel, 1, l.data(), r.data());
        const double now = v.vg->bank.blocks[0].ampLeft[0];
        EXPECT_NEAR((now - previous) / (1.0 - previous), 0.0929, 0.0005) << tick;
        previous = now;
    }
}

// Detune moves a partial by detune × f0. The base phase is cut back to its fraction at every tick;
// partials with such non-integer ratios must not jump: each step stays within the sine's slope bound.
TEST(OscSound, DetunedPartialHasItsFrequencyAndStaysContinuousAcrossTicks) {
    TestVoice v(64);
    v.curves.amp = [](int k) { return k == 2 ? 1.0f : 0.0f; };
    v.curves.detune = [](int k) { return k == 2 ? 0.37f : 0.0f; };  // ratio 3.37
    v.start(1234.5f);
    std::vector<float> l, r;
    v.render(l, r, 64 * 40);
    const double f = 3.37 * 1234.5;
    double worst = 0.0;
    for (size_t i = 64; i < l.size(); ++i) worst = std::max(worst, std::fabs(static_cast<double>(l[i]) - l[i - 1]));
    EXPECT_LT(worst, 2.0 * M_PI * f / kRate * 1.01) << "no discontinuity at the ticks";
    EXPECT_NEAR(zeroCrossingFrequency(l, 0, l.size(), kRate), f, 0.5);
}

// A saw-like spectrum (0.5/h, 20 harmonics) at 441 Hz through the comb at half width: "Sub" gives
// x(t) − x(t − T/2), doubling the odd harmonics and removing the even ones; "Add" the other way round.
TEST(OscVoiceStage, PwmAtHalfWidthRemovesEveryOtherHarmonic) {
    for (const int32_t mode : {kPwmSub, kPwmAdd}) {
        SCOPED_TRACE(mode);
        TestVoice v(64);
        v.channel->gen.pwmMode = mode;
        v.channel->gen.pwmWidth.base = 0.5f;
        v.curves.amp = [](int k) { return k < 20 ? 0.5f / static_cast<float>(k + 1) : 0.0f; };
        v.start(441.0f);
        std::vector<float> l, r;
        v.render(l, r, 8800);
        const int kept = mode == kPwmSub ? 1 : 2;
        for (int h = 1; h <= 10; ++h) {
            const double a = amplitudeAt(l, 4400, 4400, 441.0 * h, kRate) * h;
            if (h % 2 == kept % 2)
                EXPECT_NEAR(a, 1.0, 0.01) << h;
            else
                EXPECT_LT(20.0 * std::log10(a), -60.0) << h;
        }
    }
}

// Below its threshold the compressor only tracks the level (the output is that of no compressor);
// above it, it reduces the level.
TEST(OscVoiceStage, CompressorActsOnlyAboveItsThreshold) {
    std::vector<float> out[3], right;
    float level[3];
    const float thresholds[3] = {0.9f, 0.9f, 0.05f};
    for (int i = 0; i < 3; ++i) {
        TestVoice v(64);
        v.channel->compressor = {i != 1, thresholds[i], 0.5f, 0.0f, 0.0f, 0.995f, 0.9999f};
        v.curves.amp = [](int k) { return k == 0 ? 0.5f : 0.0f; };
        v.start(441.0f);
        v.render(out[i], right, 22050);
        level[i] = v.vg->compressorLevel;
    }
    EXPECT_EQ(out[0], out[1]) << "below the threshold";
    EXPECT_GT(level[0], 0.05f);
    EXPECT_LT(amplitudeAt(out[2], 18000, 4000, 441.0, kRate), 0.4);
}

// An f0 of 0 or below makes the pulse-width delay infinite or negative; the output and the lines stay
// finite, and the delay ramp recovers when f0 becomes valid again.
TEST(OscVoiceStage, ZeroOrNegativeFundamentalGivesFiniteOutput) {
    for (const float offset : {0.0f, -150.0f}) {
        SCOPED_TRACE(offset);
        TestVoice v(64);
        GeneratorBlock& gen = v.channel->gen;
        gen.ratio.base = 0.0f;
        gen.offset.base = offset;
        gen.pwmMode = kPwmAdd;
        gen.pwmWidth.base = gen.pwmFeedback.base = 0.5f;
        v.channel->compressor = {true, 0.5f, 0.5f, 0.0f, 0.0f, 0.9f, 0.99f};
        v.curves.amp = [](int k) { return k < 8 ? 0.3f : 0.0f; };
        v.curves.phase = [](int k) { return 0.1f * static_cast<float>(k); };
        v.start(440.0f);
        std::vector<float> l, r, l2, r2;
        v.render(l, r, 64 * 20);
        gen.ratio.base = 1.0f;
        gen.offset.base = 0.0f;
        v.render(l2, r2, 64 * 20);
        for (const std::vector<float>* x : {&l, &r, &l2, &r2})
            for (float s : *x) ASSERT_TRUE(std::isfinite(s));
        EXPECT_NEAR(v.vg->pwmDelayRamp.value, 0.5f / 440.0f, 1e-6f) << "the delay follows f0 again";
        EXPECT_GT(osctest::rms(l2, 640, 640), 0.01) << "and the voice sounds";
    }
}

}  // namespace
}  // namespace quenvale
