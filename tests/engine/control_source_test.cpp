// The control-rate sources measured tick by tick: breakpoint envelopes (timing, loops, release, bad
// curves), LFOs (rates, phase, shapes, phase reduction) and step sequencers (shapes, lengths, Off).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/env/default_envelope.h"
#include "engine/env/envelope.h"
#include "engine/lfo/lfo_tick.h"
#include "engine/lfo/lfo_waves.h"
#include "engine/seq/step_seq.h"
#include "engine/seq/step_seq_ranges.h"
#include "engine_test_support.h"
#include "scoped_rates.h"

namespace quenvale {
namespace {

using test::ScopedRates;

struct EnvRun {
    std::vector<float> values;
    std::vector<int32_t> segments;  // runs of equal indices collapsed: 0,0,1,1,2 -> 0,1,2
    int32_t finishedAt = -1;        // tick on which tickEnvelope reported the end
};

EnvRun tickN(const BreakpointCurve& curve, EnvelopeState& s, int32_t ticks, float out = 1.0f) {
    EnvRun r;
    for (int32_t i = 0; i < ticks; ++i) {
        if (tickEnvelope(curve, s, out)) r.finishedAt = r.finishedAt == -1 ? i : -2;  // -2: twice
        r.values.push_back(s.value);
        if (r.segments.empty() || r.segments.back() != s.segment) r.segments.push_back(s.segment);
    }
    return r;
}

// Segments alternate between end values 1 and 0.25, all straight.
BreakpointCurve straightCurve(int32_t n, float length, int32_t loopStart, int32_t loopEnd) {
    BreakpointCurve c;
    c.segmentCount = n;
    c.loopStart = loopStart;
    c.loopEnd = loopEnd;
    for (int32_t i = 0; i < n; ++i) {
        c.lengths[i] = length;
        c.endValues[i] = (i % 2 == 0) ? 1.0f : 0.25f;
        c.shapes[i] = 0.5f;
    }
    return c;
}

TEST(Envelope, DefaultCurveAttacksInSixTicksHoldsAndReleasesIn689) {
    ScopedRates scoped(44100.0f);
    const BreakpointCurve curve = defaultEnvelopeCurve();
    EnvelopeState s;
    resetEnvelope(s);
    EnvRun attack = tickN(curve, s, 6);
    EXPECT_LT(attack.values[0], 0.5f / 6.0f);  // shape 0.3 starts slowly
    EXPECT_LT(attack.values[4], 1.0f);
    EXPECT_NEAR(attack.values[5], 1.0f, 1e-5f);
    EnvRun held = tickN(curve, s, 2000, 0.5f);
    EXPECT_EQ(*std::min_element(held.values.begin(), held.values.end()), 1.0f);
    EXPECT_EQ(s.output, 0.5f);
    EXPECT_EQ(held.finishedAt, -1);
    releaseEnvelope(s);
    EnvRun release = tickN(curve, s, 694);
    EXPECT_EQ(release.finishedAt, 689);  // 689 ticks of release, then the end
    EXPECT_NEAR(release.values[688], 0.0f, 1e-4f);
    EXPECT_LT(release.values[689 / 4], 0.5f);  // shape 0.7 falls fast first
    EXPECT_EQ(s.output, 0.0f);
}

TEST(Envelope, NoteOffDuringAttackReleasesFromThePartialValue) {
    ScopedRates scoped(44100.0f);
    BreakpointCurve c = straightCurve(2, 0.1f, 0, 0);  // 68-tick straight attack and release
    c.endValues[1] = 0.0f;
    EnvelopeState s;
    resetEnvelope(s);
    tickN(c, s, 10);
    const float partial = s.value;
    ASSERT_NEAR(partial, 10.0f / 68.0f, 1e-5f);
    releaseEnvelope(s);
    EnvRun r = tickN(c, s, 70);
    EXPECT_EQ(r.segments, (std::vector<int32_t>{1}));
    EXPECT_NEAR(r.values[0], partial - partial / 68.0f, 1e-6f);
    EXPECT_NEAR(r.values[67], 0.0f, 1e-6f);
    EXPECT_EQ(r.finishedAt, 68);
}

TEST(Envelope, LoopPlaysUntilReleaseAndWithoutLoopTheCurvePlaysThrough) {
    ScopedRates scoped(44100.0f);
    const BreakpointCurve c = straightCurve(4, 0.005f, 1, 2);  // 3 ticks per segment
    EnvelopeState s;
    resetEnvelope(s);
    EXPECT_EQ(tickN(c, s, 3 * 9).segments, (std::vector<int32_t>{0, 1, 2, 1, 2, 1, 2, 1, 2}));
    releaseEnvelope(s);
    EnvRun rel = tickN(c, s, 10);
    EXPECT_EQ(rel.segments, (std::vector<int32_t>{3}));
    EXPECT_EQ(rel.finishedAt, 3);
    resetEnvelope(s);  // without a loop it plays through while held
    EXPECT_EQ(tickN(straightCurve(2, 0.005f, -1, -1), s, 10).finishedAt, 6);
}

TEST(Envelope, DegenerateCurvesStayFinite) {
    ScopedRates scoped(44100.0f);
    EnvelopeState s;
    resetEnvelope(s);
    EXPECT_EQ(tickN(BreakpointCurve{}, s, 3).finishedAt, 0) << "no segments: finished once, at once";
    // Zero, negative and NaN lengths run as one tick; no shape produces NaN.
    for (float shape : {0.0f, 0.5f, 1.0f, NAN})
        for (float length : {0.0f, -1.0f, NAN}) {
            BreakpointCurve c = straightCurve(3, length, 1, 1);
            c.shapes[0] = c.shapes[1] = c.shapes[2] = shape;
            resetEnvelope(s);
            EXPECT_NEAR(tickN(c, s, 3).values[0], 1.0f, 1e-5f) << shape << " " << length;
        }
}

struct Lanes {
    int32_t type[4] = {kLfoSine, kLfoSine, kLfoSine, kLfoSine};
    int32_t sync[4] = {};
    float ratio[4] = {}, offset[4] = {}, phase[4] = {};
    float out[4] = {1.0f, 1.0f, 1.0f, 1.0f};
};

// Lane 0's rate in Hz over 20 s of ticks of a voice group (or the channel group, which has no key).
double measuredRate(const Lanes& l, float keyFrequency, bool channelGroup = false) {
    LfoGroup g;
    resetLfoGroup(g);
    std::vector<float> out;
    for (int32_t i = 0; i < static_cast<int32_t>(rates.controlRate * 20.0f); ++i) {
        if (channelGroup)
            tickChannelLfoGroup(g, l.type, l.sync, l.offset, l.out);
        else
            tickVoiceLfoGroup(g, l.type, l.sync, l.ratio, l.offset, l.phase, l.out, keyFrequency);
        out.push_back(g.output[0]);
    }
    return test::zeroCrossingFrequency(out, 0, out.size(), rates.controlRate);
}

TEST(Lfo, FreeKeyTrackingAndTempoSyncedRates) {
    ScopedRates scoped(44100.0f, 120.0f);
    Lanes l;
    l.offset[0] = 5.0f;
    EXPECT_NEAR(measuredRate(l, 440.0f), 5.0, 5e-3);
    EXPECT_NEAR(measuredRate(l, 55.0f), 5.0, 5e-3) << "the key does not matter without a ratio";
    EXPECT_NEAR(measuredRate(l, 0.0f, true), 5.0, 5e-3);
    l.offset[0] = 0.0f;
    l.ratio[0] = 0.25f;
    EXPECT_NEAR(measuredRate(l, 440.0f), 110.0, 0.05);
    l.sync[0] = 7;       // " 1/4": one cycle per beat
    l.offset[0] = 9.0f;  // ignored while synced
    EXPECT_NEAR(measuredRate(l, 440.0f), 2.0, 2e-3);
}

TEST(Lfo, PhaseOffsetOutLevelAndOff) {
    ScopedRates scoped(44100.0f);
    Lanes l;
    std::fill_n(l.offset, 4, 1.0f);
    l.type[0] = l.type[1] = kLfoPulse;
    l.phase[0] = 0.5f;
    l.out[1] = 0.25f;
    l.type[2] = kLfoOff;
    l.type[3] = 17;  // unknown types are silent too
    LfoGroup g;
    resetLfoGroup(g);
    tickVoiceLfoGroup(g, l.type, l.sync, l.ratio, l.offset, l.phase, l.out, 440.0f);
    // "Pulse" half a cycle on starts low; Out scales; "Off" and unknown types give 0.
    EXPECT_EQ(std::vector<float>(g.output, g.output + 4), (std::vector<float>{-1.0f, 0.25f, 0.0f, 0.0f}));
    EXPECT_EQ(g.lfoPhase[0], g.lfoPhase[1]);  // the offset is not stored in the phase
}

TEST(Lfo, PhaseReductionAlwaysLandsInTheTable) {
    EXPECT_EQ(reduceLfoPhase(-3.0f), 125.0f);
    EXPECT_EQ(reduceLfoPhase(-1e-9f), 0.0f);  // −1e-9 + 128 rounds to 128
    ScopedRates scoped(44100.0f);
    for (float wild : {NAN, INFINITY, -INFINITY, 3e38f, -1e9f, 1e-40f, -200.0f}) {
        const float r = reduceLfoPhase(wild);
        EXPECT_TRUE(r >= 0.0f && r < 128.0f) << wild;
        Lanes l;
        for (int j = 0; j < 4; ++j) l.type[j] = 1 + j, l.ratio[j] = l.phase[j] = wild;
        LfoGroup g;
        resetLfoGroup(g);
        for (int32_t i = 0; i < 50; ++i) {
            tickVoiceLfoGroup(g, l.type, l.sync, l.ratio, l.offset, l.phase, l.out, 20000.0f);
            for (int j = 0; j < 4; ++j)
                ASSERT_TRUE(g.lfoPhase[j] >= 0.0f && g.lfoPhase[j] < 128.0f && std::abs(g.output[j]) <= 1.0f)
                    << wild;
        }
    }
}

// A " 1/16" block (86.13 ticks a step at 120 BPM) with the given starts, all of one shape.
StepSeqBlock makeBlock(int32_t lengthIndex, std::initializer_list<float> starts, int32_t shape) {
    StepSeqBlock b;
    b.sync = 11;
    int32_t i = 0;
    for (float s : starts) b.steps[i++] = Step{shape, s, 0.0f};
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

// "Linear" steps run straight from their start towards the next start without reaching it (the last
// table entry is 127/128); at a step change the output jumps.
TEST(StepSeq, LinearStepsRiseAndFallWithoutReachingTheNextStart) {
    ScopedRates scoped(44100.0f, 120.0f);
    StepSeqState s;
    resetStepSeq(s);
    Trace t = run(makeBlock(1, {-1.0f, 1.0f}, 1), s, 86 * 8);
    const float top = -1.0f + 2.0f * (127.0f / 128.0f);
    for (size_t i = 1; i < t.output.size(); ++i) {
        const float sign = t.step[i] == 0 ? 1.0f : -1.0f;  // up in step 0, down in step 1
        ASSERT_LE(sign * t.output[i], top) << i;
        if (t.step[i] == t.step[i - 1])
            ASSERT_GT(sign * (t.output[i] - t.output[i - 1]), 0.0f) << i;
        else
            ASSERT_NEAR(sign * t.output[i], -1.0f, 0.03f) << i;
    }
    EXPECT_GT(*std::max_element(t.output.begin(), t.output.end()), 0.97f);
}

TEST(StepSeq, ConstantAndOutOfRangeShapesHoldTheirValueTimesOut) {
    ScopedRates scoped(44100.0f, 120.0f);
    StepSeqState s;
    resetStepSeq(s);
    Trace t = run(makeBlock(2, {0.25f, -0.5f, 0.75f}, 0), s, 400, 0.5f);
    const float expected[3] = {0.125f, -0.25f, 0.375f};
    for (size_t i = 0; i < t.output.size(); ++i) ASSERT_EQ(t.output[i], expected[t.step[i]]) << i;
    EXPECT_EQ(t.step.back(), 1);  // 400 ticks = 4.6 steps: 0 1 2 0 1
    resetStepSeq(s);  // an unknown shape reads the "Constant" table
    for (float v : run(makeBlock(1, {0.2f, 1.0f}, 99), s, 80).output) ASSERT_EQ(v, 0.2f);
}

TEST(StepSeq, OffFreezesAndAShorterLengthRestarts) {
    ScopedRates scoped(44100.0f, 120.0f);
    StepSeqBlock b = makeBlock(3, {0.1f, 0.2f, 0.3f, 0.4f}, 0);
    StepSeqState s;
    resetStepSeq(s);
    run(b, s, 100);
    const StepSeqState before = s;
    b.sync = 0;
    for (float v : run(b, s, 200).output) ASSERT_EQ(v, 0.0f);
    EXPECT_TRUE(s.step == before.step && s.position == before.position);
    b.sync = 11;
    run(b, s, 1);
    EXPECT_EQ(s.output, before.output) << "carries on from where it stood";
    while (s.step != 3) run(b, s, 1);
    setStepSeqLength(b, 1);  // two steps: a step past the new count restarts at step 0
    run(b, s, 1);
    EXPECT_EQ(s.step, 0);
    EXPECT_EQ(s.output, 0.1f);
}

}  // namespace
}  // namespace quenvale
