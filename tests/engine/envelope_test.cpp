// Breakpoint envelopes measured tick by tick: timing, curvature, hold, loop, release and bad curves.
#include "engine/env/envelope.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "engine/env/default_envelope.h"
#include "scoped_rates.h"

namespace quenvale {
namespace {

using test::ScopedRates;

struct EnvRun {
    std::vector<float> values;
    std::vector<int32_t> segments;
    int32_t finishedAt = -1;  // tick index (0-based) on which tickEnvelope reported the end
};

EnvRun tickN(const BreakpointCurve& curve, EnvelopeState& s, int32_t ticks, float out = 1.0f) {
    EnvRun r;
    for (int32_t i = 0; i < ticks; ++i) {
        if (tickEnvelope(curve, s, out)) {
            EXPECT_EQ(r.finishedAt, -1) << "finished twice";
            r.finishedAt = i;
        }
        r.values.push_back(s.value);
        r.segments.push_back(s.segment);
    }
    return r;
}

// Runs of equal segment indices collapsed: 0,0,1,1,2 -> 0,1,2.
std::vector<int32_t> segmentOrder(const std::vector<int32_t>& segments) {
    std::vector<int32_t> order;
    for (int32_t s : segments)
        if (order.empty() || order.back() != s) order.push_back(s);
    return order;
}

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

TEST(Envelope, DefaultCurveAttackHoldReleaseAtTwoRates) {
    struct Case {
        float sampleRate;
        int32_t attackTicks, releaseTicks;
    };
    for (const Case& c : {Case{44100.0f, 6, 689}, Case{48000.0f, 7, 750}}) {
        SCOPED_TRACE(c.sampleRate);
        ScopedRates scoped(c.sampleRate);
        const BreakpointCurve curve = defaultEnvelopeCurve();
        EnvelopeState s;
        resetEnvelope(s);

        EnvRun attack = tickN(curve, s, c.attackTicks);
        for (int32_t i = 1; i < c.attackTicks; ++i) EXPECT_GT(attack.values[i], attack.values[i - 1]);
        // Shape 0.3 starts slowly: the first step is well below a straight line's.
        EXPECT_LT(attack.values[0], 0.5f / c.attackTicks);
        EXPECT_NEAR(attack.values.back(), 1.0f, 1e-5f);
        EXPECT_FALSE(s.holding);

        EnvRun held = tickN(curve, s, 2000, 0.5f);
        EXPECT_TRUE(s.holding);
        for (float v : held.values) ASSERT_EQ(v, 1.0f);
        EXPECT_EQ(s.output, 0.5f);
        EXPECT_EQ(held.finishedAt, -1);

        releaseEnvelope(s);
        EnvRun release = tickN(curve, s, c.releaseTicks + 5);
        EXPECT_EQ(release.finishedAt, c.releaseTicks);  // releaseTicks ticks of release, then the end
        for (int32_t i = 1; i < c.releaseTicks; ++i) ASSERT_LT(release.values[i], release.values[i - 1]);
        EXPECT_NEAR(release.values[c.releaseTicks - 1], 0.0f, 1e-4f);
        // Shape 0.7 falls fast first: half way down well before half the release.
        EXPECT_LT(release.values[c.releaseTicks / 4], 0.5f);
        EXPECT_TRUE(s.finished);
        EXPECT_EQ(s.value, 0.0f);
        EXPECT_EQ(s.output, 0.0f);
    }
}

TEST(Envelope, StraightSegmentMovesByEqualSteps) {
    ScopedRates scoped(44100.0f);
    BreakpointCurve c = straightCurve(1, 0.1f, -1, -1);  // 68 ticks
    EnvelopeState s;
    resetEnvelope(s);
    EnvRun r = tickN(c, s, 68);
    const float step = 1.0f / 68.0f;
    EXPECT_NEAR(r.values[0], step, 1e-7f);
    for (int32_t i = 1; i < 68; ++i) ASSERT_NEAR(r.values[i] - r.values[i - 1], step, 1e-6f) << i;
    EXPECT_NEAR(r.values.back(), 1.0f, 1e-5f);
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
    EXPECT_EQ(r.segments[0], 1);
    EXPECT_NEAR(r.values[0], partial - partial / 68.0f, 1e-6f);
    EXPECT_NEAR(r.values[67], 0.0f, 1e-6f);
    EXPECT_EQ(r.finishedAt, 68);
}

TEST(Envelope, LoopPlaysBetweenLoopStartAndEndUntilRelease) {
    ScopedRates scoped(44100.0f);
    const BreakpointCurve c = straightCurve(4, 0.005f, 1, 2);  // 3 ticks per segment
    EnvelopeState s;
    resetEnvelope(s);
    EnvRun held = tickN(c, s, 3 * 9);
    EXPECT_EQ(segmentOrder(held.segments), (std::vector<int32_t>{0, 1, 2, 1, 2, 1, 2, 1, 2}));
    EXPECT_EQ(held.finishedAt, -1);
    releaseEnvelope(s);
    EnvRun rel = tickN(c, s, 10);
    EXPECT_EQ(segmentOrder(rel.segments), (std::vector<int32_t>{3}));
    EXPECT_EQ(rel.finishedAt, 3);
}

TEST(Envelope, WithoutLoopPlaysThroughAndReleaseRestartsSegmentZero) {
    ScopedRates scoped(44100.0f);
    const BreakpointCurve c = straightCurve(2, 0.005f, -1, -1);
    EnvelopeState s;
    resetEnvelope(s);
    EnvRun through = tickN(c, s, 10);  // finishes while held
    EXPECT_EQ(through.finishedAt, 6);

    resetEnvelope(s);
    tickN(c, s, 4);  // inside segment 1, on its way from 1.0 to 0.25
    ASSERT_EQ(s.segment, 1);
    const float from = s.value;
    releaseEnvelope(s);
    EnvRun rel = tickN(c, s, 10);
    EXPECT_EQ(segmentOrder(rel.segments), (std::vector<int32_t>{0, 1}));
    EXPECT_NEAR(rel.values[0], from + (1.0f - from) / 3.0f, 1e-6f);  // segment 0 again, from here
    EXPECT_EQ(rel.finishedAt, 6);
}

TEST(Envelope, DegenerateCurvesStayFinite) {
    ScopedRates scoped(44100.0f);
    BreakpointCurve none;
    EnvelopeState s;
    resetEnvelope(s);
    EXPECT_TRUE(tickEnvelope(none, s, 1.0f));  // no segments: finished at the first tick
    EXPECT_EQ(s.output, 0.0f);
    EXPECT_FALSE(tickEnvelope(none, s, 1.0f));  // and reported only once

    // Zero, negative and NaN lengths run as one tick; NaN shapes and wild loop indices and counts
    // neither index outside the curve nor produce NaN.
    for (float shape : {0.0f, 0.3f, 0.5f, 1.0f, NAN}) {
        for (float length : {0.0f, -1.0f, NAN, 1e30f}) {
            BreakpointCurve c = straightCurve(3, length, 1, 1);
            c.shapes[0] = c.shapes[1] = c.shapes[2] = shape;
            resetEnvelope(s);
            EnvRun r = tickN(c, s, 3);
            for (float v : r.values) ASSERT_TRUE(std::isfinite(v)) << shape << " " << length;
            if (!(length >= 1.0f)) {
                EXPECT_NEAR(r.values[0], 1.0f, 1e-5f) << shape << " " << length;
                EXPECT_TRUE(s.holding);
            }
        }
    }
    for (int32_t loopStart : {-100, -1, 5, 99}) {
        BreakpointCurve c = straightCurve(3, 0.005f, loopStart, 0);
        c.segmentCount = 1000;
        resetEnvelope(s);
        EnvRun r = tickN(c, s, 400);
        for (float v : r.values) ASSERT_TRUE(std::isfinite(v));
        for (int32_t seg : r.segments) ASSERT_LT(seg, kMaxCurveSegments);
    }
}

TEST(Envelope, SteepCurveFromLargeValueIsLimited) {
    ScopedRates scoped(44100.0f);
    BreakpointCurve c = straightCurve(1, 0.05f, -1, -1);
    c.shapes[0] = 0.001f;  // r ≈ 2.5e11, limited to 1000 / y0
    EnvelopeState s;
    resetEnvelope(s);
    s.value = 10.0f;
    s.segment = -1;
    EnvRun r = tickN(c, s, 34);
    for (float v : r.values) ASSERT_TRUE(std::isfinite(v));
    EXPECT_NEAR(r.values.back(), 1.0f, 1e-3f);
}

}  // namespace
}  // namespace quenvale
