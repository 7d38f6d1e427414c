// The SSE2 build of the four-lane value type against its portable build, on the awkward values.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "common/simd/float4.h"

namespace quenvale::simd {
namespace {

#if defined(QUENVALE_HAS_SSE2)
// Identical bits, or both NaN: which NaN an operation returns depends on operand order, which a
// compiler may swap in commutative scalar code, and carries no meaning here.
bool sameBits(float a, float b) {
    return std::memcmp(&a, &b, sizeof a) == 0 || (a != a && b != b);
}

template <class F4>
F4 make(const float (&v)[4]) {
    return F4(v[0], v[1], v[2], v[3]);
}

// Every case is four lanes; together they cover zeros of both signs, halves, whole numbers at and past
// 2^23, the int32 limits, infinities and NaN.
constexpr float kInf = std::numeric_limits<float>::infinity();
const float kCases[][4] = {
    {0.0f, -0.0f, 0.5f, -0.5f},
    {1.0f, -1.0f, 2.75f, -2.75f},
    {8388607.5f, 8388608.0f, -8388609.0f, 16777217.0f},
    {2147483520.0f, 2147483648.0f, -2147483648.0f, -2147483904.0f},
    {kInf, -kInf, std::nanf(""), 1e-40f},
    {127.99999f, -0.0000001f, 3e9f, -3e9f},
};

TEST(OscSimd, Sse2BuildMatchesPortableBuildBitForBit) {
    for (const auto& a : kCases) {
        for (const auto& b : kCases) {
            const scalar::Float4 sa = make<scalar::Float4>(a), sb = make<scalar::Float4>(b);
            const sse2::Float4 va = make<sse2::Float4>(a), vb = make<sse2::Float4>(b);
            const scalar::Float4 sr[] = {min(sa, sb),
                                         max(sa, sb),
                                         scalar::trunc(sa),
                                         sa + sb,
                                         sa * sb,
                                         select(sa < sb, sa, sb),
                                         toFloat(truncToInt(sa))};
            const sse2::Float4 vr[] = {min(va, vb),
                                       max(va, vb),
                                       sse2::trunc(va),
                                       va + vb,
                                       va * vb,
                                       select(va < vb, va, vb),
                                       toFloat(truncToInt(va))};
            for (int k = 0; k < 7; ++k)
                for (int j = 0; j < 4; ++j)
                    ASSERT_TRUE(sameBits(sr[k].lane(j), vr[k].lane(j)))
                        << "operation " << k << " lane " << j << ": " << a[j] << ", " << b[j];
            EXPECT_EQ((sa < sb).bits(), (va < vb).bits());
            EXPECT_EQ((sa != sb).bits(), (va != vb).bits());
            for (int j = 0; j < 4; ++j) EXPECT_EQ(truncToInt(sa).lane(j), truncToInt(va).lane(j));
            EXPECT_TRUE(sameBits(scalar::sumLanesDouble(sa), sse2::sumLanesDouble(va)));
        }
    }
}

TEST(OscSimd, TruncationFollowsTheVectorUnitRules) {
    const scalar::Int4 i = truncToInt(scalar::Float4(-2.9f, 3e9f, std::nanf(""), -2147483648.0f));
    EXPECT_EQ(i.lane(0), -2);
    EXPECT_EQ(i.lane(1), INT32_MIN);  // out of range
    EXPECT_EQ(i.lane(2), INT32_MIN);  // NaN
    EXPECT_EQ(i.lane(3), INT32_MIN);  // exactly representable
    const scalar::Float4 t = scalar::trunc(scalar::Float4(-0.25f, 1.75f, 9e9f, -kInf));
    EXPECT_TRUE(std::signbit(t.lane(0)) && t.lane(0) == 0.0f);
    EXPECT_EQ(t.lane(1), 1.0f);
    EXPECT_EQ(t.lane(2), 9e9f);
    EXPECT_EQ(t.lane(3), -kInf);
}

TEST(OscSimd, LaneSumIsTakenInDoubleInLaneOrder) {
    // In single precision (1e8 + 1) + (-1e8) + 1 would lose the first 1.
    const sse2::Float4 v(1e8f, 1.0f, -1e8f, 1.0f);
    EXPECT_EQ(sse2::sumLanesDouble(v), 2.0f);
}

TEST(OscSimd, PairLookupReadsInterleavedValueAndSlope) {
    alignas(16) float table[16];
    for (int i = 0; i < 16; ++i) table[i] = static_cast<float>(i);
    sse2::Float4 value, slope;
    sse2::Int4 index{_mm_setr_epi32(7, 0, 3, 5)};
    lookupPairs(table, index, value, slope);
    EXPECT_EQ(value.lane(0), 14.0f);
    EXPECT_EQ(slope.lane(0), 15.0f);
    EXPECT_EQ(value.lane(1), 0.0f);
    EXPECT_EQ(value.lane(2), 6.0f);
    EXPECT_EQ(slope.lane(3), 11.0f);
}
#endif

}  // namespace
}  // namespace quenvale::simd
