// Process-wide tables of the spectrum modulators: filter templates, movement tables, low-pass kernel.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "engine/spectrum/dynamic_tables.h"
#include "engine/spectrum/filter_templates.h"
#include "engine/spectrum/low_pass_kernel.h"

namespace quenvale::test {
namespace {

enum Template {
    kLp6,
    kLp12,
    kLp24,
    kLpInf,
    kHp6,
    kHp12,
    kHp24,
    kHpInf,
    kBp3,
    kBp6,
    kBp12,
    kBp24,
    kN3,
    kN6,
    kN12,
    kN24
};

float at(int t, int k) {
    return filterTemplate(t)[k];
}

TEST(SpectrumTables, LowPassTemplatesPassBelowHarmonic16AndFallAboveWithForcedZeroAtTheTop) {
    for (int t : {kLp6, kLp12, kLp24, kLpInf}) {
        ASSERT_EQ(filterTemplate(t).size(), 512);
        for (int k = 0; k < 16; ++k) EXPECT_EQ(at(t, k), 1.0f) << t << " " << k;
        EXPECT_EQ(at(t, 511), 0.0f) << t;
    }
    EXPECT_FLOAT_EQ(at(kLp6, 16), 16.0f / 17.0f);
    EXPECT_FLOAT_EQ(at(kLp12, 31), 0.25f);
    EXPECT_FLOAT_EQ(at(kLp24, 63), 1.0f / 256.0f);
    EXPECT_FLOAT_EQ(at(kLp6, 510), 16.0f / 511.0f);
    EXPECT_EQ(at(kLpInf, 16), 0.0f);
}

TEST(SpectrumTables, HighPassTemplatesRiseToHarmonic128WithForcedZeroAtTheFundamental) {
    for (int t : {kHp6, kHp12, kHp24, kHpInf}) {
        EXPECT_EQ(at(t, 0), 0.0f) << t;
        for (int k = 129; k < 512; ++k) ASSERT_EQ(at(t, k), 1.0f) << t << " " << k;
    }
    EXPECT_FLOAT_EQ(at(kHp6, 1), 2.0f / 128.0f);
    EXPECT_FLOAT_EQ(at(kHp6, 127), 1.0f);
    EXPECT_FLOAT_EQ(at(kHp6, 128), 129.0f / 128.0f);  // just past the corner, before the flat part
    EXPECT_FLOAT_EQ(at(kHp12, 63), 0.25f);
    EXPECT_FLOAT_EQ(at(kHp24, 63), 1.0f / 16.0f);
    EXPECT_EQ(at(kHpInf, 128), 0.0f);
}

TEST(SpectrumTables, BandAndNotchTemplatesCentreOnHarmonic32WithForcedZerosAtBothEnds) {
    for (int t : {kBp3, kBp6, kBp12, kBp24}) {
        EXPECT_EQ(at(t, 0), 0.0f) << t;
        EXPECT_EQ(at(t, 511), 0.0f) << t;
        EXPECT_FLOAT_EQ(at(t, 31), 1.0f) << t;
    }
    for (int t : {kN3, kN6, kN12, kN24}) {
        EXPECT_EQ(at(t, 0), 1.0f) << t;
        EXPECT_EQ(at(t, 511), 1.0f) << t;
        EXPECT_EQ(at(t, 31), 0.0f) << t;
    }
    EXPECT_FLOAT_EQ(at(kBp3, 63), std::sqrt(0.5f));
    EXPECT_FLOAT_EQ(at(kBp6, 15), 0.5f);
    EXPECT_FLOAT_EQ(at(kBp12, 127), 1.0f / 16.0f);
    EXPECT_FLOAT_EQ(at(kBp24, 7), 1.0f / 256.0f);
    EXPECT_FLOAT_EQ(at(kN3, 15), std::sqrt(0.5f));
    EXPECT_FLOAT_EQ(at(kN6, 63), 0.5f);
    EXPECT_FLOAT_EQ(at(kN12, 7), 0.5625f);
    EXPECT_FLOAT_EQ(at(kN24, 63), 1.0f / 16.0f);
}

TEST(SpectrumTables, LowPassKernelIsTheBlackmanWindowedSinc) {
    constexpr double pi = std::numbers::pi;
    for (int n : {7, 8}) {  // odd: a centre tap; even: none
        const double fc = 0.1;
        std::vector<double> h(n);
        designLowPassKernel(n, fc, h.data());
        for (int i = 0; i < n; ++i) {
            const double d = i - (n - 1) / 2.0;
            const double ideal = d == 0 ? 2 * fc : std::sin(2 * pi * fc * d) / (pi * d);
            const double w =
                0.42 - 0.5 * std::cos(2 * pi * i / (n - 1)) + 0.08 * std::cos(4 * pi * i / (n - 1));
            EXPECT_NEAR(h[i], ideal * w, 1e-15) << n << " " << i;
        }
    }
    // The table's kernel passes DC with unit gain and blocks a tone well above its cut-off.
    std::vector<double> h(1024);
    designLowPassKernel(1024, 0.05, h.data());
    double dc = 0.0, stop = 0.0;
    for (int i = 0; i < 1024; ++i) {
        dc += h[i];
        stop += h[i] * std::cos(2 * pi * 0.1 * i);
    }
    EXPECT_NEAR(dc, 1.0, 1e-3);
    EXPECT_LT(std::fabs(stop), 1e-3);
}

TEST(SpectrumTables, RandomTableSpansExactlyMinusOneToOneAndIsSmooth) {
    const DynamicTableEntry* t = randomDynamicTable();
    float lo = t[0].value, hi = t[0].value, steepest = 0.0f;
    for (int i = 0; i < kRandomDynamicTableSize; ++i) {
        lo = std::min(lo, t[i].value);
        hi = std::max(hi, t[i].value);
        ASSERT_EQ(t[i].slope, t[(i + 1) % kRandomDynamicTableSize].value - t[i].value) << i;
        steepest = std::max(steepest, std::fabs(t[i].slope));
    }
    EXPECT_EQ(lo, -1.0f);
    EXPECT_EQ(hi, 1.0f);
    // Band-limited to 0.05 cycles per entry, a ±1 signal cannot change faster than 2π · 0.05 per entry.
    EXPECT_LT(steepest, 2.0 * std::numbers::pi * 0.05 * 1.05);
}

TEST(SpectrumTables, SineTableHoldsOneCycleWithWrappingSlopes) {
    const DynamicTableEntry* t = sineDynamicTable();
    EXPECT_EQ(t[0].value, 0.0f);
    EXPECT_EQ(t[32].value, 1.0f);
    EXPECT_EQ(t[96].value, -1.0f);
    EXPECT_FLOAT_EQ(t[16].value, std::sqrt(0.5f));
    EXPECT_EQ(t[127].slope, t[0].value - t[127].value);
    EXPECT_EQ(t[40].slope, t[41].value - t[40].value);
}

}  // namespace
}  // namespace quenvale::test
