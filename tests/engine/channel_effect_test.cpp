// Channel effect slots and master gain measured on impulses and noise: delay times, comb sums,
// cross-fade, ramps, type changes and out-of-range times.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "engine/fx/channel_stage.h"
#include "engine/fx/effect_control.h"
#include "engine/fx/effect_type.h"
#include "scoped_rates.h"

namespace quenvale {
namespace {

using test::ScopedRates;

struct Stage {
    ChannelEffect fx[kChannelEffectCount];
    float masterGain = 1.0f;

    Stage() {
        for (ChannelEffect& e : fx) resetChannelEffect(e);
    }
    // Slot 1 gets a type and jumps to its targets (Param1 … Param4, Dry/Wet).
    void setSlot(int slot, int32_t type, std::initializer_list<float> targets) {
        std::vector<float> t(targets);
        setEffectType(fx[slot], type);
        updateEffectControl(fx[slot], t.data(), 0.0f);
    }
    void process(const std::vector<float>& inL, const std::vector<float>& inR, std::vector<float>& outL,
                 std::vector<float>& outR) {
        outL.resize(inL.size());
        outR.resize(inL.size());
        for (size_t i = 0; i < inL.size(); ++i) {
            float l = inL[i], r = inR[i];
            processChannelSample(fx, masterGain, l, r);
            outL[i] = l;
            outR[i] = r;
        }
    }
};

std::vector<float> impulse(size_t n, size_t at = 0) {
    std::vector<float> v(n, 0.0f);
    v[at] = 1.0f;
    return v;
}

std::vector<float> noise(size_t n, uint32_t seed) {
    std::mt19937 gen(seed);
    std::uniform_real_distribution<float> d(-1.0f, 1.0f);
    std::vector<float> v(n);
    for (float& x : v) x = d(gen);
    return v;
}

TEST(ChannelEffect, DelayMovesAnImpulseAndDropsTheDryAtFullWet) {
    for (float sampleRate : {44100.0f, 48000.0f}) {
        ScopedRates scoped(sampleRate);
        Stage s;
        s.setSlot(0, kEffectDelay, {0.1f, 0.0f, 0.05f, 0.0f, 1.0f});
        std::vector<float> outL, outR;
        s.process(impulse(10000), impulse(10000, 1), outL, outR);
        const size_t left = static_cast<size_t>(std::lround(0.1 * sampleRate));
        const size_t right = static_cast<size_t>(std::lround(0.05 * sampleRate)) + 1;
        for (size_t i = 0; i < outL.size(); ++i) {
            ASSERT_NEAR(outL[i], i == left ? 1.0f : 0.0f, 1e-6f) << sampleRate << " L " << i;
            ASSERT_NEAR(outR[i], i == right ? 1.0f : 0.0f, 1e-6f) << sampleRate << " R " << i;
        }
    }
}

TEST(ChannelEffect, DelayCrossFadesAndFeedbackDecays) {
    ScopedRates scoped(44100.0f);
    Stage s;
    s.setSlot(0, kEffectDelay, {0.01f, 0.9f, 0.01f, 0.9f, 0.25f});  // 441 samples
    std::vector<float> outL, outR;
    s.process(impulse(46000), impulse(46000), outL, outR);
    EXPECT_NEAR(outL[0], 0.75f, 1e-6f);
    // Echoes every 441 samples, each 0.9 of the one before, ringing on for the whole second
    // (the voices have ended; only the tail sounds). The 1e-8 denormal guard adds a DC of 9e-8.
    for (int k = 1; k <= 100; ++k) {
        const double echo = 0.25 * std::pow(0.9, k - 1);
        ASSERT_NEAR(outL[441 * k], echo, 2e-7 + 1e-5 * echo) << k;
        ASSERT_NEAR(outL[441 * k + 200], 0.0, 2e-7) << k;
    }
}

TEST(ChannelEffect, CombAddsADelayedCopy) {
    struct Case {
        float sampleRate, frequency;
    };
    for (const Case& c : {Case{44100.0f, 441.0f}, Case{48000.0f, 480.0f}}) {
        ScopedRates scoped(c.sampleRate);
        Stage s;
        s.setSlot(0, kEffectComb, {c.frequency, 0.0f, 0.3f, 0.9f, 1.0f});  // 50 samples
        const std::vector<float> x = noise(3000, 7);
        std::vector<float> outL, outR;
        s.process(x, x, outL, outR);
        for (size_t t = 0; t < x.size(); ++t) {
            const float expected = x[t] + (t >= 50 ? x[t - 50] : 0.0f);
            ASSERT_NEAR(outL[t], expected, 2e-5f) << c.sampleRate << " " << t;
            ASSERT_EQ(outL[t], outR[t]);
        }
    }
}

TEST(ChannelEffect, TypeChangeClearsTails) {
    ScopedRates scoped(44100.0f);
    Stage s;
    s.setSlot(0, kEffectDelay, {0.01f, 0.9f, 0.01f, 0.9f, 1.0f});
    std::vector<float> outL, outR;
    s.process(impulse(1000), impulse(1000), outL, outR);
    setEffectType(s.fx[0], kEffectComb);
    setEffectType(s.fx[0], kEffectDelay);
    std::vector<float> silence(5000, 0.0f);
    s.process(silence, silence, outL, outR);
    for (size_t i = 0; i < outL.size(); ++i) ASSERT_LT(std::abs(outL[i]), 1e-6f) << i;
}

TEST(ChannelEffect, NoneAndUnknownTypesPassTheSumUnchanged) {
    ScopedRates scoped(44100.0f);
    Stage s;
    const float targets[5] = {0.3f, 0.9f, 0.1f, 0.2f, 1.0f};
    updateEffectControl(s.fx[0], targets, 0.5f);  // ramps with steps that must not move
    updateEffectControl(s.fx[1], targets, 0.0f);
    s.fx[1].type = 7;
    const std::vector<float> x = noise(500, 3), y = noise(500, 4);
    std::vector<float> outL, outR;
    s.process(x, y, outL, outR);
    EXPECT_EQ(outL, x);
    EXPECT_EQ(outR, y);
    EXPECT_EQ(s.fx[0].paramRamp[0].value, 0.0f);
    EXPECT_EQ(s.fx[0].params[0], 0.0f);
}

TEST(ChannelEffect, MasterGainScalesAfterBothSlots) {
    ScopedRates scoped(44100.0f);
    Stage s;
    s.masterGain = 2.0f;
    const std::vector<float> x = noise(200, 5);
    std::vector<float> outL, outR;
    s.process(x, x, outL, outR);
    for (size_t i = 0; i < x.size(); ++i) ASSERT_EQ(outL[i], 2.0f * x[i]);

    s.setSlot(1, kEffectDelay, {0.001f, 0.9f, 0.001f, 0.9f, 0.5f});
    s.process(x, x, outL, outR);  // the delay now holds a tail
    s.masterGain = 0.0f;
    std::vector<float> silence(200, 0.0f);
    s.process(silence, silence, outL, outR);
    for (float v : outL) ASSERT_EQ(v, 0.0f);
}

TEST(ChannelEffect, RampsJumpAtZeroAndArriveAfterSixtyFourSamples) {
    ScopedRates scoped(44100.0f);
    Stage s;
    s.setSlot(0, kEffectDelay, {0.2f, 0.0f, 0.2f, 0.0f, 0.0f});
    std::vector<float> silence(1, 0.0f), outL, outR;
    s.process(silence, silence, outL, outR);
    EXPECT_EQ(s.fx[0].params[0], 0.2f);
    EXPECT_EQ(s.fx[0].lines[0].time, 0.2f);
    EXPECT_EQ(s.fx[0].wet, 0.0f);

    const float targets[5] = {0.6f, 0.5f, 0.1f, 0.0f, 1.0f};
    updateEffectControl(s.fx[0], targets, 1.0f / 64.0f);
    silence.assign(32, 0.0f);
    s.process(silence, silence, outL, outR);
    EXPECT_NEAR(s.fx[0].params[0], 0.4f, 1e-6f);
    EXPECT_NEAR(s.fx[0].wet, 0.5f, 1e-6f);
    s.process(silence, silence, outL, outR);
    for (int i = 0; i < 4; ++i) EXPECT_NEAR(s.fx[0].params[i], targets[i], 1e-6f) << i;
    EXPECT_NEAR(s.fx[0].wet, 1.0f, 1e-6f);
    EXPECT_EQ(s.fx[0].lines[1].time, s.fx[0].params[2]);

    updateEffectControl(s.fx[0], targets, std::nanf(""));  // NaN fraction jumps like 0
    EXPECT_EQ(s.fx[0].paramRamp[0].value, 0.6f);
    EXPECT_EQ(s.fx[0].paramRamp[0].step, 0.0f);
}

TEST(ChannelEffect, CombTimeFollowsARampingFrequencyExactly) {
    ScopedRates scoped(44100.0f);
    Stage s;
    s.setSlot(0, kEffectComb, {100.0f, 0.5f, 0.0f, 0.0f, 1.0f});
    float l = 0.0f, r = 0.0f;
    processChannelEffect(s.fx[0], l, r);  // the first sample takes the jumped params
    EXPECT_EQ(s.fx[0].lines[0].time, 0.5f / 100.0f);
    const float targets[5] = {1000.0f, 0.5f, 0.0f, 0.0f, 1.0f};
    updateEffectControl(s.fx[0], targets, 1.0f / 64.0f);
    for (int i = 0; i < 80; ++i) {
        processChannelEffect(s.fx[0], l, r);
        ASSERT_EQ(s.fx[0].lines[0].time, 0.5f / s.fx[0].params[0]) << i;
        ASSERT_EQ(s.fx[0].lines[1].time, s.fx[0].lines[0].time);
    }
}

TEST(ChannelEffect, OutOfRangeTimesStayInTheLineAndFinite) {
    const float inf = INFINITY;
    for (float sampleRate : {44100.0f, 192000.0f}) {
        ScopedRates scoped(sampleRate);
        const std::vector<float> x = noise(70000, 11);
        for (float p1 : {0.0f, -0.0f, -441.0f, 1e-30f, inf, -inf, std::nanf("")}) {
            Stage s;
            s.setSlot(0, kEffectComb, {p1, 0.5f, 0.0f, 0.0f, 1.0f});
            s.setSlot(1, kEffectDelay, {-p1, 0.5f, p1, 0.5f, 1.0f});
            std::vector<float> outL, outR;
            s.process(x, x, outL, outR);
            for (size_t i = 0; i < x.size(); ++i) {
                ASSERT_TRUE(std::isfinite(outL[i]) && std::isfinite(outR[i])) << p1 << " " << i;
                ASSERT_LT(std::abs(outL[i]), 20.0f) << p1 << " " << i;
            }
            for (const ChannelEffect& e : s.fx)
                for (const DelayLine& line : e.lines) ASSERT_EQ(line.writeIndex & ~(kDelayLineLength - 1), 0);
        }
    }
}

}  // namespace
}  // namespace quenvale
