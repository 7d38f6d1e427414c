// Partial-curve shifts by partials and by octaves: interpolation, borders, modes and bad amounts.
#include "engine/curve/curve_shift.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/curve/curve_octave_shift.h"

namespace quenvale {
namespace {

constexpr int32_t kP = 64;

// Distinct, non-monotone values so that every misplaced read shows.
PartialCurve makeSource() {
    PartialCurve c(kP);
    for (int32_t k = 0; k < kP; ++k) c[k] = 1.0f + static_cast<float>((k * 37) % 23) * 0.25f;
    return c;
}

TEST(CurveShift, ZeroCopiesTheCurve) {
    const PartialCurve in = makeSource();
    for (bool border : {false, true}) {
        PartialCurve out(kP);
        curveShift(in, out, 0.0f, border);
        for (int32_t k = 0; k < kP; ++k) EXPECT_EQ(out[k], in[k]) << k;
    }
}

TEST(CurveShift, FractionalShiftUpWithoutBorderReadsZeroBelow) {
    const PartialCurve in = makeSource();
    PartialCurve out(kP);
    curveShift(in, out, 1.5f, false);
    EXPECT_EQ(out[0], 0.0f);
    EXPECT_FLOAT_EQ(out[1], 0.5f * in[0]);
    for (int32_t k = 2; k < kP; ++k) EXPECT_FLOAT_EQ(out[k], 0.5f * in[k - 2] + 0.5f * in[k - 1]) << k;
}

TEST(CurveShift, ShiftDownWithBorderRepeatsTheLastValue) {
    const PartialCurve in = makeSource();
    PartialCurve out(kP);
    curveShift(in, out, -2.0f, true);
    for (int32_t k = 0; k < kP - 2; ++k) EXPECT_EQ(out[k], in[k + 2]) << k;
    EXPECT_EQ(out[kP - 2], in[kP - 1]);
    EXPECT_EQ(out[kP - 1], in[kP - 1]);

    curveShift(in, out, 2.0f, true);  // upwards the first value repeats
    EXPECT_EQ(out[0], in[0]);
    EXPECT_EQ(out[1], in[0]);
    EXPECT_EQ(out[2], in[0]);
    EXPECT_EQ(out[5], in[3]);
}

TEST(CurveShift, AmountsBeyondTheCurveAndNaNStayDefined) {
    const PartialCurve in = makeSource();
    PartialCurve out(kP);
    curveShift(in, out, 1e9f, true);
    for (int32_t k = 0; k < kP; ++k) EXPECT_EQ(out[k], in[0]) << k;
    curveShift(in, out, -INFINITY, true);
    for (int32_t k = 0; k < kP; ++k) EXPECT_EQ(out[k], in[kP - 1]) << k;
    curveShift(in, out, INFINITY, false);
    for (int32_t k = 0; k < kP; ++k) EXPECT_EQ(out[k], 0.0f) << k;
    curveShift(in, out, NAN, true);
    for (int32_t k = 0; k < kP; ++k) EXPECT_EQ(out[k], in[k]) << k;
}

TEST(CurveOctaveShift, NearestModeMovesHarmonicsAndKeepsTheLarger) {
    const PartialCurve in = makeSource();
    PartialCurve out(kP);
    out[0] = 99.0f;  // the destination is cleared first
    curveOctaveShift(in, out, 1.0f, false, kOctaveShiftNearest);
    for (int32_t k = 0; k < kP; k += 2) EXPECT_EQ(out[k], 0.0f) << k;
    for (int32_t k = 1; k < kP; k += 2) EXPECT_EQ(out[k], in[(k - 1) / 2]) << k;

    // Down an octave sources 1 and 2 both land on entry 0; the larger one stays.
    curveOctaveShift(in, out, -1.0f, false, kOctaveShiftNearest);
    EXPECT_EQ(out[0], std::max(in[1], in[2]));
    EXPECT_EQ(out[1], std::max(in[3], in[4]));
}

TEST(CurveOctaveShift, RepeatedModeDownAnOctaveReadsOddEntriesThenBorder) {
    const PartialCurve in = makeSource();
    PartialCurve out(kP);
    curveOctaveShift(in, out, -1.0f, true, kOctaveShiftRepeated);
    for (int32_t k = 0; k < kP; ++k) {
        const float expected = (2 * k + 1 < kP) ? in[2 * k + 1] : in[kP - 1];
        EXPECT_EQ(out[k], expected) << k;
    }
    curveOctaveShift(in, out, -1.0f, false, kOctaveShiftRepeated);
    EXPECT_EQ(out[kP / 2], 0.0f);
}

TEST(CurveOctaveShift, InterpolatedModeTruncatesTowardZero) {
    const PartialCurve in = makeSource();
    PartialCurve out(kP);
    curveOctaveShift(in, out, 1.0f, false, kOctaveShiftInterpolated);
    EXPECT_FLOAT_EQ(out[0], 1.5f * in[0] - 0.5f * in[1]);  // x = −0.5 extrapolates
    EXPECT_EQ(out[1], in[0]);
    EXPECT_FLOAT_EQ(out[2], 0.5f * in[0] + 0.5f * in[1]);
    EXPECT_EQ(out[3], in[1]);
    EXPECT_EQ(out[5], in[2]);

    // Down an octave: positions past the end read the border, the last value with repeat.
    curveOctaveShift(in, out, -1.0f, true, kOctaveShiftInterpolated);
    EXPECT_EQ(out[0], in[1]);
    EXPECT_EQ(out[kP - 1], in[kP - 1]);
}

TEST(CurveOctaveShift, UnknownModeLeavesTheDestinationUntouched) {
    const PartialCurve in = makeSource();
    PartialCurve out(kP);
    for (int32_t k = 0; k < kP; ++k) out[k] = -7.0f;
    for (int32_t mode : {-1, 3, 1000}) {
        curveOctaveShift(in, out, 1.0f, true, mode);
        for (int32_t k = 0; k < kP; ++k) ASSERT_EQ(out[k], -7.0f) << mode << " " << k;
    }
}

TEST(CurveOctaveShift, ExtremeOctavesGiveBordersNotGarbage) {
    const PartialCurve in = makeSource();
    PartialCurve out(kP);
    for (float octaves : {-200.0f, -INFINITY, 200.0f, INFINITY, NAN}) {
        for (int32_t mode = 0; mode < 3; ++mode) {
            curveOctaveShift(in, out, octaves, true, mode);
            for (int32_t k = 0; k < kP; ++k) ASSERT_TRUE(std::isfinite(out[k])) << octaves << " " << mode;
        }
    }
    // Far down: every position reads beyond the end, i.e. the last value.
    curveOctaveShift(in, out, -200.0f, true, kOctaveShiftInterpolated);
    EXPECT_EQ(out[3], in[kP - 1]);
    // Far up: every position reads before the start, i.e. the first value.
    curveOctaveShift(in, out, 200.0f, true, kOctaveShiftRepeated);
    EXPECT_EQ(out[3], in[0]);
    // NaN reads as no shift.
    curveOctaveShift(in, out, NAN, false, kOctaveShiftRepeated);
    EXPECT_EQ(out[7], in[7]);
}

}  // namespace
}  // namespace quenvale
