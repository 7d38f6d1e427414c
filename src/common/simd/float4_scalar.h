// Portable build of the four-lane float value type: the reference the vector builds must match bit for bit.
#pragma once

#include <cmath>
#include <cstdint>

namespace quenvale::simd::scalar {

// Truncation toward zero with the x86 conversion's out-of-range rule: values outside the int32 range
// and NaN give INT32_MIN (instead of the undefined behaviour of a plain cast).
inline int32_t truncToInt32(float x) noexcept {
    return (x >= -2147483648.0f && x < 2147483648.0f) ? static_cast<int32_t>(x) : INT32_MIN;
}

struct Mask4 {
    bool m[4];

    int bits() const noexcept { return (m[0] ? 1 : 0) | (m[1] ? 2 : 0) | (m[2] ? 4 : 0) | (m[3] ? 8 : 0); }
    bool any() const noexcept { return bits() != 0; }
    bool all() const noexcept { return bits() == 15; }
    friend Mask4 operator&(Mask4 a, Mask4 b) noexcept {
        return {{a.m[0] && b.m[0], a.m[1] && b.m[1], a.m[2] && b.m[2], a.m[3] && b.m[3]}};
    }
    friend Mask4 operator|(Mask4 a, Mask4 b) noexcept {
        return {{a.m[0] || b.m[0], a.m[1] || b.m[1], a.m[2] || b.m[2], a.m[3] || b.m[3]}};
    }
    friend Mask4 operator!(Mask4 a) noexcept { return {{!a.m[0], !a.m[1], !a.m[2], !a.m[3]}}; }
};

struct Int4 {
    int32_t v[4];

    static Int4 broadcast(int32_t x) noexcept { return {{x, x, x, x}}; }
    int32_t lane(int i) const noexcept { return v[i]; }
    friend Int4 operator&(Int4 a, Int4 b) noexcept {
        return {{a.v[0] & b.v[0], a.v[1] & b.v[1], a.v[2] & b.v[2], a.v[3] & b.v[3]}};
    }
    friend Int4 operator+(Int4 a, Int4 b) noexcept {
        // Wrapping addition, as the vector unit does.
        Int4 r;
        for (int i = 0; i < 4; ++i)
            r.v[i] = static_cast<int32_t>(static_cast<uint32_t>(a.v[i]) + static_cast<uint32_t>(b.v[i]));
        return r;
    }
};

struct Float4 {
    float v[4];

    Float4() noexcept = default;
    Float4(float x) noexcept : v{x, x, x, x} {}  // broadcast NOLINT(google-explicit-constructor)
    Float4(float a, float b, float c, float d) noexcept : v{a, b, c, d} {}

    static Float4 load(const float* p) noexcept { return {p[0], p[1], p[2], p[3]}; }
    static Float4 loadUnaligned(const float* p) noexcept { return load(p); }
    void store(float* p) const noexcept {
        for (int i = 0; i < 4; ++i) p[i] = v[i];
    }
    void storeUnaligned(float* p) const noexcept { store(p); }
    float lane(int i) const noexcept { return v[i]; }

    Float4& operator+=(Float4 b) noexcept { return *this = *this + b; }
    Float4& operator-=(Float4 b) noexcept { return *this = *this - b; }
    Float4& operator*=(Float4 b) noexcept { return *this = *this * b; }

#define QUENVALE_SCALAR_OP(op)                                                           \
    friend Float4 operator op(Float4 a, Float4 b) noexcept {                             \
        return {a.v[0] op b.v[0], a.v[1] op b.v[1], a.v[2] op b.v[2], a.v[3] op b.v[3]}; \
    }
    QUENVALE_SCALAR_OP(+)
    QUENVALE_SCALAR_OP(-)
    QUENVALE_SCALAR_OP(*)
    QUENVALE_SCALAR_OP(/)
#undef QUENVALE_SCALAR_OP

#define QUENVALE_SCALAR_CMP(op)                                                            \
    friend Mask4 operator op(Float4 a, Float4 b) noexcept {                                \
        return {{a.v[0] op b.v[0], a.v[1] op b.v[1], a.v[2] op b.v[2], a.v[3] op b.v[3]}}; \
    }
    QUENVALE_SCALAR_CMP(<)
    QUENVALE_SCALAR_CMP(<=)
    QUENVALE_SCALAR_CMP(>)
    QUENVALE_SCALAR_CMP(>=)
    QUENVALE_SCALAR_CMP(==)
    QUENVALE_SCALAR_CMP(!=)
#undef QUENVALE_SCALAR_CMP
};

// a < b ? a : b lane by lane: the second operand wins on equality and NaN, like the vector minimum.
inline Float4 min(Float4 a, Float4 b) noexcept {
    Float4 r;
    for (int i = 0; i < 4; ++i) r.v[i] = a.v[i] < b.v[i] ? a.v[i] : b.v[i];
    return r;
}
// a > b ? a : b lane by lane, with the same rule.
inline Float4 max(Float4 a, Float4 b) noexcept {
    Float4 r;
    for (int i = 0; i < 4; ++i) r.v[i] = a.v[i] > b.v[i] ? a.v[i] : b.v[i];
    return r;
}
// m ? a : b lane by lane.
inline Float4 select(Mask4 m, Float4 a, Float4 b) noexcept {
    Float4 r;
    for (int i = 0; i < 4; ++i) r.v[i] = m.m[i] ? a.v[i] : b.v[i];
    return r;
}
inline Int4 truncToInt(Float4 a) noexcept {
    return {{truncToInt32(a.v[0]), truncToInt32(a.v[1]), truncToInt32(a.v[2]), truncToInt32(a.v[3])}};
}
inline Float4 toFloat(Int4 a) noexcept {
    return {static_cast<float>(a.v[0]), static_cast<float>(a.v[1]), static_cast<float>(a.v[2]),
            static_cast<float>(a.v[3])};
}
// Truncation toward zero keeping the sign (also of zero); NaN, infinities and values of magnitude
// 2^23 or more (already whole) pass unchanged.
inline Float4 trunc(Float4 a) noexcept {
    Float4 r;
    for (int i = 0; i < 4; ++i) {
        const float x = a.v[i];
        r.v[i] =
            std::fabs(x) < 8388608.0f ? std::copysign(static_cast<float>(static_cast<int32_t>(x)), x) : x;
    }
    return r;
}
// ((lane0 + lane1) + lane2) + lane3 in double precision, rounded to float once.
inline float sumLanesDouble(Float4 a) noexcept {
    double s = static_cast<double>(a.v[0]) + a.v[1];
    s += a.v[2];
    s += a.v[3];
    return static_cast<float>(s);
}
// Reads (value, slope) pairs of an interleaved table: value[i] = pairs[2 index_i], slope the next float.
inline void lookupPairs(const float* pairs, Int4 index, Float4& value, Float4& slope) noexcept {
    for (int i = 0; i < 4; ++i) {
        value.v[i] = pairs[2 * index.v[i]];
        slope.v[i] = pairs[2 * index.v[i] + 1];
    }
}

}  // namespace quenvale::simd::scalar
