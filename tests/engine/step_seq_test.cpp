// Step sequencers measured tick by tick: step timing, shapes, lengths, freezing and bad shapes.
#include "engine/seq/step_seq.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/seq/default_step_seq.h"
#include "engine/seq/step_seq_ranges.h"
#include "engine/seq/step_shapes.h"
#include "scoped_rates.h"

namespace quenvale {
namespace {

using test::ScopedRates;

StepSeqBlock makeBlock(int32_t sync, int32_t lengthIndex, std::initializer_list<float> starts,
                       int32_t shape) {
    StepSeqBlock b;
    b.sync = sync;
    int32_t i = 0;
    for (float s : starts) {
        b.steps[i].shape = shape;
        b.steps[i].start = s;
        ++i;
    }
    setStepSeqLength(b, lengthIndex);
    return b;
}

struct Trace {
    std::vector<float> output;
    std::vector<int32_t> step;
};

Trace run(const StepSeqBlock& b, StepSeqState& s, int32_t ticks, float out = 1.0f) {
    Trace t;
    for (int32_t i = 0; i < ticks; ++i) {
        tickStepSeq(b, s, out);
        t.output.push_back(s.output);
        t.step.push_back(s.step);
    }
    return t;
}

TEST(StepSeq, SixteenthStepsLastAnEighthOfASecondAtTwoRates) {
    for (float sampleRate : {44100.0f, 48000.0f}) {
        ScopedRates scoped(sampleRate, 120.0f);
        const StepSeqBlock b = makeBlock(11, 8, {}, 1);  // " 1/16", 32 steps
        StepSeqState s;
        resetStepSeq(s);
        Trace t = run(b, s, static_cast<int32_t>(rates.controlRate * 20.0f));
        std::vector<int32_t> changes;
        for (size_t i = 1; i < t.step.size(); ++i)
            if (t.step[i] != t.step[i - 1]) changes.push_back(static_cast<int32_t>(i));
        ASSERT_GE(changes.size(), 20u);
        const double expected = 0.125 * rates.controlRate;  // 86.13 ticks at 44.1 kHz, 93.75 at 48
        for (size_t i = 1; i < changes.size(); ++i) {
            const int32_t len = changes[i] - changes[i - 1];
            EXPECT_TRUE(len == static_cast<int32_t>(expected) || len == static_cast<int32_t>(expected) + 1)
                << len;
        }
        const double mean = static_cast<double>(changes.back() - changes.front()) / (changes.size() - 1);
        EXPECT_NEAR(mean, expected, 0.01) << sampleRate;
    }
}

TEST(StepSeq, LinearStepsRiseAndFallWithoutReachingTheNextStart) {
    ScopedRates scoped(44100.0f, 120.0f);
    const StepSeqBlock b = makeBlock(11, 1, {-1.0f, 1.0f}, 1);
    StepSeqState s;
    resetStepSeq(s);
    Trace t = run(b, s, 86 * 8);
    const float top = -1.0f + 2.0f * (127.0f / 128.0f);  // 0.984375
    float hi = -2.0f, lo = 2.0f;                         // highest of step 0, lowest of step 1
    for (size_t i = 0; i < t.output.size(); ++i) {
        if (t.step[i] == 0) hi = std::max(hi, t.output[i]);
        if (t.step[i] == 1) lo = std::min(lo, t.output[i]);
        if (i > 0 && t.step[i] == t.step[i - 1]) {
            // Straight within a step: up in step 0, down in step 1.
            if (t.step[i] == 0) {
                ASSERT_GT(t.output[i], t.output[i - 1]);
            } else {
                ASSERT_LT(t.output[i], t.output[i - 1]);
            }
        } else if (i > 0) {
            // At the step change the output jumps to the next start's side.
            ASSERT_NEAR(std::abs(t.output[i]), 1.0f, 0.03f);
        }
    }
    EXPECT_LE(hi, top);
    EXPECT_GT(hi, 0.97f);
    EXPECT_GE(lo, -top);
    EXPECT_LT(lo, -0.97f);
}

TEST(StepSeq, ConstantStepsHoldTheirValueTimesOut) {
    ScopedRates scoped(44100.0f, 120.0f);
    const StepSeqBlock b = makeBlock(11, 2, {0.25f, -0.5f, 0.75f}, 0);
    StepSeqState s;
    resetStepSeq(s);
    Trace t = run(b, s, 400, 0.5f);
    const float expected[3] = {0.125f, -0.25f, 0.375f};
    for (size_t i = 0; i < t.output.size(); ++i) ASSERT_EQ(t.output[i], expected[t.step[i]]) << i;
    EXPECT_EQ(t.step.back(), 1);  // 400 ticks = 4.6 steps: 0 1 2 0 1
}

TEST(StepSeq, OneStepRepeatsAndUnknownShapesReadAsConstant) {
    ScopedRates scoped(44100.0f, 120.0f);
    StepSeqBlock b = makeBlock(11, 0, {0.6f, -1.0f}, 99);  // Length " 1": range 0
    StepSeqState s;
    resetStepSeq(s);
    Trace t = run(b, s, 300);
    for (size_t i = 0; i < t.output.size(); ++i) ASSERT_EQ(t.output[i], 0.6f);

    // With a real range an unknown shape still reads the "Constant" table.
    b = makeBlock(11, 1, {0.2f, 1.0f}, -5);
    resetStepSeq(s);
    t = run(b, s, 80);
    for (float v : t.output) ASSERT_EQ(v, 0.2f);
    EXPECT_EQ(stepShapeTable(99), stepShapeTable(0));
}

TEST(StepSeq, OffFreezesAndOutputsZero) {
    ScopedRates scoped(44100.0f, 120.0f);
    StepSeqBlock b = makeBlock(11, 3, {0.1f, 0.2f, 0.3f, 0.4f}, 1);
    StepSeqState s;
    resetStepSeq(s);
    run(b, s, 100);
    const int32_t step = s.step;
    const float position = s.position;
    const float before = s.output;
    b.sync = 0;
    Trace off = run(b, s, 200);
    for (float v : off.output) ASSERT_EQ(v, 0.0f);
    EXPECT_EQ(s.step, step);
    EXPECT_EQ(s.position, position);
    b.sync = 11;
    run(b, s, 1);
    EXPECT_NEAR(s.output, before, 0.01f);  // carries on from where it stood
}

TEST(StepSeq, ShorterLengthRestartsAStepPastTheNewCount) {
    ScopedRates scoped(44100.0f, 120.0f);
    StepSeqBlock b = makeBlock(11, 3, {0.1f, 0.2f, 0.3f, 0.4f}, 0);
    StepSeqState s;
    resetStepSeq(s);
    while (s.step != 3) run(b, s, 1);
    setStepSeqLength(b, 1);  // two steps
    run(b, s, 1);
    EXPECT_EQ(s.step, 0);
    EXPECT_EQ(s.output, 0.1f);
}

TEST(StepSeq, ExtremeTemposStayInTheTable) {
    for (float tempo : {0.0f, -120.0f, 1e6f, 1e30f, std::nanf("")}) {
        ScopedRates scoped(8000.0f, tempo);
        const StepSeqBlock b = makeBlock(12, 8, {0.5f, -0.5f, 1.0f}, 2);
        StepSeqState s;
        resetStepSeq(s);
        Trace t = run(b, s, 50);
        for (size_t i = 0; i < t.output.size(); ++i) {
            ASSERT_TRUE(std::isfinite(t.output[i])) << tempo;
            ASSERT_TRUE(s.position >= 0.0f && s.position < 128.0f) << tempo;
            ASSERT_TRUE(t.step[i] >= 0 && t.step[i] < 32) << tempo;
        }
    }
}

TEST(StepSeq, DefaultBlockAndShapeTables) {
    const StepSeqBlock b = defaultStepSeqBlock();
    EXPECT_EQ(b.sync, 0);
    EXPECT_EQ(b.lengthIndex, 3);
    EXPECT_EQ(b.stepCount, 4);
    for (int32_t k = 0; k < kMaxSteps; ++k) {
        EXPECT_EQ(b.steps[k].shape, 2);
        EXPECT_EQ(b.steps[k].start, k % 2 == 0 ? 0.0f : 1.0f);
    }
    for (int32_t k = 0; k < 4; ++k) EXPECT_EQ(b.steps[k].range, k % 2 == 0 ? 1.0f : -1.0f);
    EXPECT_EQ(b.out.base, 1.0f);

    const TableEntry* linear = stepShapeTable(1);
    EXPECT_EQ(linear[127].value, 127.0f / 128.0f);
    EXPECT_EQ(linear[127].slope, 0.0f);  // no wrap back to 0
    EXPECT_NEAR(stepShapeTable(2)[64].value, 0.5f, 1e-7f);
    EXPECT_EQ(stepShapeTable(5)[64].value, 1.0f / 256.0f);
    EXPECT_EQ(stepShapeTable(8)[64].value, 1.0f - 1.0f / 256.0f);
    EXPECT_STREQ(kStepShapeNames[0], "Constant");
    EXPECT_STREQ(kStepShapeNames[6], "Inv Pow 2");
}

}  // namespace
}  // namespace quenvale
