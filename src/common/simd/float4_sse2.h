// SSE2 build of the four-lane float value type: the baseline vector unit of every supported x86 target.
#pragma once

#include <cstdint>

#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#define QUENVALE_HAS_SSE2 1
#include <emmintrin.h>

namespace quenvale::simd::sse2 {

struct Mask4 {
    __m128 m;

    int bits() const noexcept { return _mm_movemask_ps(m); }
    bool any() const noexcept { return bits() != 0; }
    bool all() const noexcept { return bits() == 15; }
    friend Mask4 operator&(Mask4 a, Mask4 b) noexcept { return {_mm_and_ps(a.m, b.m)}; }
    friend Mask4 operator|(Mask4 a, Mask4 b) noexcept { return {_mm_or_ps(a.m, b.m)}; }
    friend Mask4 operator!(Mask4 a) noexcept {
        return {_mm_xor_ps(a.m, _mm_castsi128_ps(_mm_set1_epi32(-1)))};
    }
};

struct Int4 {
    __m128i v;

    static Int4 broadcast(int32_t x) noexcept { return {_mm_set1_epi32(x)}; }
    int32_t lane(int i) const noexcept {
        alignas(16) int32_t t[4];
        _mm_store_si128(reinterpret_cast<__m128i*>(t), v);
        return t[i];
    }
    friend Int4 operator&(Int4 a, Int4 b) noexcept { return {_mm_and_si128(a.v, b.v)}; }
    friend Int4 operator+(Int4 a, Int4 b) noexcept { return {_mm_add_epi32(a.v, b.v)}; }
};

struct Float4 {
    __m128 v;

    Float4() noexcept = default;
    Float4(__m128 x) noexcept : v(x) {}              // NOLINT(google-explicit-constructor)
    Float4(float x) noexcept : v(_mm_set1_ps(x)) {}  // broadcast NOLINT(google-explicit-constructor)
    Float4(float a, float b, float c, float d) noexcept : v(_mm_setr_ps(a, b, c, d)) {}

    static Float4 load(const float* p) noexcept { return _mm_load_ps(p); }
    static Float4 loadUnaligned(const float* p) noexcept { return _mm_loadu_ps(p); }
    void store(float* p) const noexcept { _mm_store_ps(p, v); }
    void storeUnaligned(float* p) const noexcept { _mm_storeu_ps(p, v); }
    float lane(int i) const noexcept {
        alignas(16) float t[4];
        _mm_store_ps(t, v);
        return t[i];
    }

    Float4& operator+=(Float4 b) noexcept { return *this = *this + b; }
    Float4& operator-=(Float4 b) noexcept { return *this = *this - b; }
    Float4& operator*=(Float4 b) noexcept { return *this = *this * b; }

    friend Float4 operator+(Float4 a, Float4 b) noexcept { return _mm_add_ps(a.v, b.v); }
    friend Float4 operator-(Float4 a, Float4 b) noexcept { return _mm_sub_ps(a.v, b.v); }
    friend Float4 operator*(Float4 a, Float4 b) noexcept { return _mm_mul_ps(a.v, b.v); }
    friend Float4 operator/(Float4 a, Float4 b) noexcept { return _mm_div_ps(a.v, b.v); }
    friend Mask4 operator<(Float4 a, Float4 b) noexcept { return {_mm_cmplt_ps(a.v, b.v)}; }
    friend Mask4 operator<=(Float4 a, Float4 b) noexcept { return {_mm_cmple_ps(a.v, b.v)}; }
    friend Mask4 operator>(Float4 a, Float4 b) noexcept { return {_mm_cmpgt_ps(a.v, b.v)}; }
    friend Mask4 operator>=(Float4 a, Float4 b) noexcept { return {_mm_cmpge_ps(a.v, b.v)}; }
    friend Mask4 operator==(Float4 a, Float4 b) noexcept { return {_mm_cmpeq_ps(a.v, b.v)}; }
    friend Mask4 operator!=(Float4 a, Float4 b) noexcept { return {_mm_cmpneq_ps(a.v, b.v)}; }
};

// a < b ? a : b lane by lane (the second operand wins on equality and NaN).
inline Float4 min(Float4 a, Float4 b) noexcept {
    return _mm_min_ps(a.v, b.v);
}
// a > b ? a : b lane by lane (the second operand wins on equality and NaN).
inline Float4 max(Float4 a, Float4 b) noexcept {
    return _mm_max_ps(a.v, b.v);
}
// m ? a : b lane by lane.
inline Float4 select(Mask4 m, Float4 a, Float4 b) noexcept {
    return _mm_or_ps(_mm_and_ps(m.m, a.v), _mm_andnot_ps(m.m, b.v));
}
// Truncation toward zero; out-of-range values and NaN give INT32_MIN.
inline Int4 truncToInt(Float4 a) noexcept {
    return {_mm_cvttps_epi32(a.v)};
}
inline Float4 toFloat(Int4 a) noexcept {
    return _mm_cvtepi32_ps(a.v);
}
// Truncation toward zero keeping the sign (also of zero); NaN, infinities and values of magnitude
// 2^23 or more (already whole) pass unchanged.
inline Float4 trunc(Float4 a) noexcept {
    const __m128 sign = _mm_castsi128_ps(_mm_set1_epi32(INT32_MIN));
    const __m128 magnitude = _mm_andnot_ps(sign, a.v);
    const __m128 small = _mm_cmplt_ps(magnitude, _mm_set1_ps(8388608.0f));
    const __m128 whole = _mm_or_ps(_mm_cvtepi32_ps(_mm_cvttps_epi32(a.v)), _mm_and_ps(sign, a.v));
    return select(Mask4{small}, whole, a);
}
// ((lane0 + lane1) + lane2) + lane3 in double precision, rounded to float once.
inline float sumLanesDouble(Float4 a) noexcept {
    const __m128d low = _mm_cvtps_pd(a.v);                       // lanes 0, 1
    const __m128d high = _mm_cvtps_pd(_mm_movehl_ps(a.v, a.v));  // lanes 2, 3
    __m128d s = _mm_add_sd(low, _mm_unpackhi_pd(low, low));
    s = _mm_add_sd(s, high);
    s = _mm_add_sd(s, _mm_unpackhi_pd(high, high));
    return static_cast<float>(_mm_cvtsd_f64(s));
}
// Reads (value, slope) pairs of an interleaved table: value[i] = pairs[2 index_i], slope the next float.
inline void lookupPairs(const float* pairs, Int4 index, Float4& value, Float4& slope) noexcept {
    const int32_t i0 = _mm_cvtsi128_si32(index.v);
    const int32_t i1 = _mm_cvtsi128_si32(_mm_shuffle_epi32(index.v, 1));
    const int32_t i2 = _mm_cvtsi128_si32(_mm_shuffle_epi32(index.v, 2));
    const int32_t i3 = _mm_cvtsi128_si32(_mm_shuffle_epi32(index.v, 3));
    const __m128 q0 = _mm_castsi128_ps(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(pairs + 2 * i0)));
    const __m128 q1 = _mm_castsi128_ps(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(pairs + 2 * i1)));
    const __m128 q2 = _mm_castsi128_ps(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(pairs + 2 * i2)));
    const __m128 q3 = _mm_castsi128_ps(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(pairs + 2 * i3)));
    const __m128 a = _mm_unpacklo_ps(q0, q1);  // v0 v1 s0 s1
    const __m128 b = _mm_unpacklo_ps(q2, q3);  // v2 v3 s2 s3
    value = _mm_movelh_ps(a, b);
    slope = _mm_movehl_ps(b, a);
}

}  // namespace quenvale::simd::sse2

#endif
