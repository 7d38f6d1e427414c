// Partial-curve shifts by partials and by octaves: interpolation, borders, modes and bad amounts.
#include "engine/curve/curve_shift.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

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

TEST(CurveShift, ShiftsInterpolateAndReadBordersOrZeroOutside) {
    const PartialCurve in = makeSource();
    auto at = [&](int32_t k) { return k < 0 ? in[0] : k >= kP ? in[kP - 1] : in[k]; };  // with border
    struct Case {
        float amount;
        bool border;
        std::function<float(int32_t)> expected;
    };
    const Case cases[] = {
        {0.0f, false, [&](int32_t k) { return in[k]; }},
        {NAN, true, [&](int32_t k) { return in[k]; }},  // NaN reads as no shift
        {1.5f, false, [&](int32_t k) { return (k >= 2 ? 0.5f * in[k - 2] : 0.0f) + (k >= 1 ? 0.5f * in[k - 1] : 0.0f); }},
        {-2.0f, true, [&](int32_t k) { return at(k + 2); }},
        {2.0f, true, [&](int32_t k) { return at(k - 2); }},
        {1e9f, true, [&](int32_t) { return in[0]; }},
        {-INFINITY, true, [&](int32_t) { return in[kP - 1]; }},
        {INFINITY, false, [](int32_t) { return 0.0f; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.amount << " border " << c.border);
        PartialCurve out(kP);
        curveShift(in, out, c.amount, c.border);
        for (int32_t k = 0; k < kP; ++k) ASSERT_FLOAT_EQ(out[k], c.expected(k)) << k;
    }
}

TEST(CurveOctaveShift, ModesMoveHarmonicsToTheirOctave) {
    const PartialCurve in = makeSource();
    PartialCurve out(kP);
    out[0] = 99.0f;  // the destination is cleared first
    curveOctaveShift(in, out, 1.0f, false, kOctaveShiftNearest);
    for (int32_t k = 0; k < kP; ++k) EXPECT_EQ(out[k], k % 2 == 1 ? in[(k - 1) / 2] : 0.0f) << k;
    // Down an octave sources 1 and 2 both land on entry 0; the larger one stays.
    curveOctaveShift(in, out, -1.0f, false, kOctaveShiftNearest);
    EXPECT_EQ(out[0], std::max(in[1], in[2]));

    curveOctaveShift(in, out, -1.0f, true, kOctaveShiftRepeated);
    for (int32_t k = 0; k < kP; ++k) EXPECT_EQ(out[k], 2 * k + 1 < kP ? in[2 * k + 1] : in[kP - 1]) << k;
    curveOctaveShift(in, out, -1.0f, false, kOctaveShiftRepeated);
    EXPECT_EQ(out[kP / 2], 0.0f);

    curveOctaveShift(in, out, 1.0f, false, kOctaveShiftInterpolated);
    EXPECT_FLOAT_EQ(out[0], 1.5f * in[0] - 0.5f * in[1]);  // x = −0.5 extrapolates
    EXPECT_EQ(out[1], in[0]);
    EXPECT_FLOAT_EQ(out[2], 0.5f * in[0] + 0.5f * in[1]);
    EXPECT_EQ(out[5], in[2]);
}

TEST(CurveOctaveShift, UnknownModesAndExtremeOctavesAreSafe) {
    const PartialCurve in = makeSource();
    PartialCurve out(kP);
    for (int32_t k = 0; k < kP; ++k) out[k] = -7.0f;
    for (int32_t mode : {-1, 3, 1000}) {
        curveOctaveShift(in, out, 1.0f, true, mode);
        for (int32_t k = 0; k < kP; ++k) ASSERT_EQ(out[k], -7.0f) << mode << " " << k;
    }
    for (float octaves : {-200.0f, -INFINITY, 200.0f, INFINITY, NAN})
        for (int32_t mode = 0; mode < 3; ++mode) {
            curveOctaveShift(in, out, octaves, true, mode);
            for (int32_t k = 0; k < kP; ++k) ASSERT_TRUE(std::isfinite(out[k])) << octaves << " " << mode;
        }
    curveOctaveShift(in, out, -200.0f, true, kOctaveShiftInterpolated);
    EXPECT_EQ(out[3], in[kP - 1]) << "far down every position reads past the end";
    curveOctaveShift(in, out, 200.0f, true, kOctaveShiftRepeated);
    EXPECT_EQ(out[3], in[0]) << "far up every position reads before the start";
    curveOctaveShift(in, out, NAN, false, kOctaveShiftRepeated);
    EXPECT_EQ(out[7], in[7]) << "NaN reads as no shift";
}

}  // namespace
}  // namespace quenvale
