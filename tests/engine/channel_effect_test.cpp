// Channel effect slots and master gain measured on impulses and noise: delay times, comb sums,
// cross-fade, ramps, type changes and out-of-range times.
#include <gtest/gtest.h>

#include <algorithm>
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

    Stage() { std::for_each(fx, fx + kChannelEffectCount, resetChannelEffect); }
    // Slot 1 gets a type and jumps to its targets (Param1 … Param4, Dry/Wet).
    void setSlot(int slot, int32_t type, std::initializer_list<float> targets) {
        setEffectType(fx[slot], type);
        updateEffectControl(fx[slot], targets.begin(), 0.0f);
    }
    void process(const std::vector<float>& inL, const std::vector<float>& inR, std::vector<float>& outL,
                 std::vector<float>& outR) {
        outL.resize(inL.size());
        outR.resize(inL.size());
        for (size_t i = 0; i < inL.size(); ++i) {
            float l = inL[i], r = inR[i];
            processChannelSample(fx, masterGain, l, r);
            outL[i] = l, outR[i] = r;
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
    ScopedRates scoped(44100.0f);
    Stage s;
    s.setSlot(0, kEffectDelay, {0.1f, 0.0f, 0.05f, 0.0f, 1.0f});
    std::vector<float> outL, outR;
    s.process(impulse(10000), impulse(10000, 1), outL, outR);
    for (size_t i = 0; i < outL.size(); ++i)
        ASSERT_TRUE(std::abs(outL[i] - (i == 4410)) < 1e-6f && std::abs(outR[i] - (i == 2206)) < 1e-6f) << i;
}

TEST(ChannelEffect, CombAddsADelayedCopy) {
    ScopedRates scoped(44100.0f);
    Stage s;
    s.setSlot(0, kEffectComb, {441.0f, 0.0f, 0.3f, 0.9f, 1.0f});  // 50 samples
    const std::vector<float> x = noise(3000, 7);
    std::vector<float> outL, outR;
    s.process(x, x, outL, outR);
    for (size_t t = 0; t < x.size(); ++t) ASSERT_NEAR(outL[t], x[t] + (t >= 50 ? x[t - 50] : 0.0f), 2e-5f) << t;
    EXPECT_EQ(outL, outR);
}

TEST(ChannelEffect, TypeChangeClearsTails) {
    ScopedRates scoped(44100.0f);
    Stage s;
    s.setSlot(0, kEffectDelay, {0.01f, 0.9f, 0.01f, 0.9f, 1.0f});
    std::vector<float> outL, outR, silence(5000, 0.0f);
    s.process(impulse(1000), impulse(1000), outL, outR);
    setEffectType(s.fx[0], kEffectComb);
    setEffectType(s.fx[0], kEffectDelay);
    s.process(silence, silence, outL, outR);
    for (size_t i = 0; i < outL.size(); ++i) ASSERT_LT(std::abs(outL[i]), 1e-6f) << i;
}

// "None" and unknown types pass the sum unchanged, MasterGain scales after both slots.
TEST(ChannelEffect, NoneAndUnknownTypesPassTheSumAndMasterGainScalesIt) {
    ScopedRates scoped(44100.0f);
    Stage s;
    const float targets[5] = {0.3f, 0.9f, 0.1f, 0.2f, 1.0f};
    updateEffectControl(s.fx[0], targets, 0.5f);  // ramps with steps that must not move
    updateEffectControl(s.fx[1], targets, 0.0f);
    s.fx[1].type = 7;
    const std::vector<float> x = noise(500, 3), y = noise(500, 4);
    std::vector<float> outL, outR, silence(200, 0.0f);
    s.process(x, y, outL, outR);
    EXPECT_EQ(outL, x);
    EXPECT_EQ(outR, y);
    s.masterGain = 2.0f;
    s.process(x, y, outL, outR);
    for (size_t i = 0; i < x.size(); ++i) ASSERT_EQ(outL[i], 2.0f * x[i]);
    s.setSlot(1, kEffectDelay, {0.001f, 0.9f, 0.001f, 0.9f, 0.5f});
    s.process(x, x, outL, outR);  // the delay now holds a tail
    s.masterGain = 0.0f;
    s.process(silence, silence, outL, outR);
    EXPECT_EQ(outL, silence);
}

TEST(ChannelEffect, OutOfRangeTimesStayInTheLineAndFinite) {
    ScopedRates scoped(44100.0f);
    const std::vector<float> x = noise(70000, 11);  // more than one trip round the line
    for (float p1 : {0.0f, -0.0f, -441.0f, 1e-30f, INFINITY, -INFINITY, NAN}) {
        Stage s;
        s.setSlot(0, kEffectComb, {p1, 0.5f, 0.0f, 0.0f, 1.0f});
        s.setSlot(1, kEffectDelay, {-p1, 0.5f, p1, 0.5f, 1.0f});
        std::vector<float> outL, outR;
        s.process(x, x, outL, outR);
        for (size_t i = 0; i < x.size(); ++i)
            ASSERT_TRUE(std::isfinite(outR[i]) && std::abs(outL[i]) < 20.0f) << p1 << " " << i;
    }
}

}  // namespace
}  // namespace quenvale
