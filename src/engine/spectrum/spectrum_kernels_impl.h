// The spectrum passes written once over GCC vector types; each including file builds them for its own ISA.
//
// Include only from spectrum_kernels*.cpp, each with its own ISA flags: everything here has internal
// linkage, so no inline function compiled for a wider ISA can be picked up by baseline code. Vector
// element operations are IEEE single or double operations lane by lane, exactly as the scalar ones.
#pragma once

#include <cstdint>
#include <cstring>
#include <utility>

#if defined(__AVX2__) || defined(__AVX512F__)
// GCC 12's AVX-512 intrinsics pass _mm512_undefined_*() as the unused merge source, which its own
// uninitialised-value analysis reports once the intrinsics are inlined.
#pragma GCC diagnostic ignored "-Wuninitialized"
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <immintrin.h>
#endif

#include "common/capacity.h"
#include "engine/spectrum/spectrum_kernels.h"

#define QUENVALE_KERNEL inline __attribute__((always_inline))

namespace quenvale::spectrum_kernels {
namespace {

constexpr float kPositionLimit = 4611686018427387904.0f;  // 2^62: whole periods beyond carry no fraction
constexpr float kInt32Limit = 2147483648.0f;              // 2^31

template <int L>
struct Lanes {
    typedef float F __attribute__((vector_size(L * 4)));
    typedef int32_t I __attribute__((vector_size(L * 4)));
    typedef double D __attribute__((vector_size(L * 8)));
    typedef int64_t I64 __attribute__((vector_size(L * 8)));
};

template <class V>
QUENVALE_KERNEL V load(const float* p) noexcept {
    V v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

template <class V>
QUENVALE_KERNEL void store(float* p, V v) noexcept {
    std::memcpy(p, &v, sizeof v);
}

template <int L>
QUENVALE_KERNEL typename Lanes<L>::I iota() noexcept {
    typename Lanes<L>::I v;
    for (int j = 0; j < L; ++j) v[j] = j;
    return v;
}

// Runs step<W>(k) over [0, count) with W = L lanes while they fit, then groups of four.
template <int L, class Step>
QUENVALE_KERNEL void forGroups(int32_t count, Step&& step) noexcept {
    int32_t k = 0;
    if constexpr (L > 4)
        for (; k + L <= count; k += L) step.template operator()<L>(k);
    for (; k < count; k += 4) step.template operator()<4>(k);
}

template <int L, int Child, bool Gain>
void front(const FrontPass& a) noexcept {
    forGroups<L>(a.count, [&]<int W>(int32_t k) {
        using F = typename Lanes<W>::F;
        F w = load<F>(a.values + k) * a.level + load<F>(a.slopes + k) * a.elapsed;
        if constexpr (Child == kFrontMultiply) w = w * load<F>(a.child + k);
        if constexpr (Child == kFrontAdd) w = w + load<F>(a.child + k);
        w = w + a.offset;
        if constexpr (Gain) w = w * a.gainKey;
        store(a.out + k, w);
    });
}

template <int L, int Move, int Filter, bool Mix>
void back(const BackPass& a) noexcept {
    const float keep = 1.0f - a.amount;
    const float dryShare = 1.0f - a.wet;
    forGroups<L>(a.count, [&]<int W>(int32_t k) {
        using F = typename Lanes<W>::F;
        F w = load<F>(a.work + k);
        if constexpr (Move == kBackAdditive) w = load<F>(a.movement + k) * a.amount + w;
        if constexpr (Move == kBackScaling) w = load<F>(a.movement + k) * w * a.amount + keep * w;
        if constexpr (Filter != kBackNoFilter) {
            const F dry = w;
            w = (load<F>(a.resonanceShape + k) * a.resonance + 1.0f) * w;
            if constexpr (Filter == kBackShaped) w = load<F>(a.filterShape + k) * w;
            if constexpr (Mix) w = dry * dryShare + a.wet * w;
        }
        w = w * a.gainKey;
        store(a.work + k, w);
    });
}

// value and slope of the table entries e (lanes).
template <int W>
QUENVALE_KERNEL void gatherEntries(const DynamicTableEntry* table, typename Lanes<W>::I e,
                                   typename Lanes<W>::F& value, typename Lanes<W>::F& slope) noexcept {
    const float* base = &table[0].value;
    // One 64-bit gather per entry (value and slope together), then the pairs are split into lanes:
    // half the gathered elements of two 32-bit gathers, which costs less on every processor measured.
#if defined(__AVX512F__)
    if constexpr (W == 16) {
        const __m512i i = reinterpret_cast<__m512i>(e);
        const __m512 lo = _mm512_castsi512_ps(_mm512_i32gather_epi64(_mm512_castsi512_si256(i), base, 8));
        const __m512 hi = _mm512_castsi512_ps(_mm512_i32gather_epi64(_mm512_extracti64x4_epi64(i, 1), base, 8));
        const __m512i even = _mm512_setr_epi32(0, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24, 26, 28, 30);
        const __m512i odd = _mm512_add_epi32(even, _mm512_set1_epi32(1));
        value = reinterpret_cast<typename Lanes<W>::F>(_mm512_permutex2var_ps(lo, even, hi));
        slope = reinterpret_cast<typename Lanes<W>::F>(_mm512_permutex2var_ps(lo, odd, hi));
        return;
    }
#endif
#if defined(__AVX2__)
    if constexpr (W == 8) {
        const __m256i i = reinterpret_cast<__m256i>(e);
        const long long* pairs = reinterpret_cast<const long long*>(base);
        const __m256 lo = _mm256_castsi256_ps(_mm256_i32gather_epi64(pairs, _mm256_castsi256_si128(i), 8));
        const __m256 hi = _mm256_castsi256_ps(_mm256_i32gather_epi64(pairs, _mm256_extracti128_si256(i, 1), 8));
        // Within each 128-bit half: values (0x88) and slopes (0xDD) of lo's two and hi's two entries.
        const __m256 v = _mm256_shuffle_ps(lo, hi, 0x88);
        const __m256 sl = _mm256_shuffle_ps(lo, hi, 0xDD);
        value = reinterpret_cast<typename Lanes<W>::F>(
            _mm256_castpd_ps(_mm256_permute4x64_pd(_mm256_castps_pd(v), 0xD8)));
        slope = reinterpret_cast<typename Lanes<W>::F>(
            _mm256_castpd_ps(_mm256_permute4x64_pd(_mm256_castps_pd(sl), 0xD8)));
        return;
    }
#endif
    for (int j = 0; j < W; ++j) {
        value[j] = base[2 * e[j]];
        slope[j] = base[2 * e[j] + 1];
    }
}

// True when every lane of the mask is set.
template <int W>
QUENVALE_KERNEL bool allSet(typename Lanes<W>::I mask) noexcept {
    uint64_t words[W / 2];
    std::memcpy(words, &mask, sizeof words);
    uint64_t all = ~uint64_t{0};
    for (int j = 0; j < W / 2; ++j) all &= words[j];
    return all == ~uint64_t{0};
}

template <int L>
void movement(const MovementPass& a) noexcept {
    const float n = static_cast<float>(a.tableSize);
    const int32_t mask = a.tableSize - 1;
    forGroups<L>(a.count, [&]<int W>(int32_t k) {
        using F = typename Lanes<W>::F;
        using I = typename Lanes<W>::I;
        const F h = __builtin_convertvector(iota<W>() + (k + 1), F);
        F y = (a.perHarmonic * h + a.phase + load<F>(a.randomPhase + k) * a.randomness +
               (h * a.scale + a.rest) * a.time * a.f) *
              n;
        y = y > -kPositionLimit ? y : -kPositionLimit;  // also for a position that is not a number
        y = y < kPositionLimit ? y : kPositionLimit;
        const I inRange = (y > -kInt32Limit) & (y < kInt32Limit);
        if (allSet<W>(inRange)) {
            // Within 32 bits the truncation, its low bits and its float value equal the 64-bit ones.
            const I t = __builtin_convertvector(y, I);
            F value, slope;
            gatherEntries<W>(a.table, t & mask, value, slope);
            store(a.out + k, value + (y - __builtin_convertvector(t, F)) * slope);
        } else {
            for (int j = 0; j < W; ++j) {
                const int64_t t = static_cast<int64_t>(y[j]);
                const DynamicTableEntry& e = a.table[t & mask];
                a.out[k + j] = e.value + (y[j] - static_cast<float>(t)) * e.slope;
            }
        }
    });
}

// Scalar double-precision resampling (the 4-lane build: SSE2 has only two double lanes).
void shiftInteriorScalar(const float* in, float* out, int32_t begin, int32_t end, int32_t offset, double g,
                         double f) noexcept {
    for (int32_t k = begin; k < end; ++k) {
        const double a = in[k + offset];
        const double b = in[k + offset + 1];
        out[k] = static_cast<float>(a * g + b * f);
    }
}

void octaveInterpolatedFrom(const float* in, float* out, int32_t p, float r, double border,
                            int32_t from) noexcept {
    const float limit = static_cast<float>(p) + 1.0f;
    auto at = [&](int32_t i) noexcept { return (i >= 0 && i < p) ? static_cast<double>(in[i]) : border; };
    for (int32_t k = from; k < p; ++k) {
        const float x = static_cast<float>(static_cast<double>(k + 1) * r - 1.0);
        if (!(x < limit)) {
            out[k] = static_cast<float>(border);
            continue;
        }
        const int32_t i = static_cast<int32_t>(x);
        const double fr = static_cast<double>(x) - i;
        out[k] = static_cast<float>(at(i) * (1.0 - fr) + at(i + 1) * fr);
    }
}

[[maybe_unused]] void octaveInterpolatedScalar(const float* in, float* out, int32_t p, float r, double border) noexcept {
    octaveInterpolatedFrom(in, out, p, r, border, 0);
}

// D double lanes per step (a whole register).
template <int D>
void shiftInteriorVector(const float* in, float* out, int32_t begin, int32_t end, int32_t offset, double g,
                         double f) noexcept {
    using F = typename Lanes<D>::F;
    using Dv = typename Lanes<D>::D;
    int32_t k = begin;
    for (; k + D <= end; k += D) {
        const Dv a = __builtin_convertvector(load<F>(in + k + offset), Dv);
        const Dv b = __builtin_convertvector(load<F>(in + k + offset + 1), Dv);
        store(out + k, __builtin_convertvector(a * g + b * f, F));
    }
    shiftInteriorScalar(in, out, k, end, offset, g, f);
}

// The entries i and i + 1 of the bordered source for every lane (ext[i + 1] and ext[i + 2]: ext holds
// the border, the p source values, then the border twice), widened to double.
template <int D>
QUENVALE_KERNEL void readPairs(const float* ext, typename Lanes<D>::I i, typename Lanes<D>::D& a,
                               typename Lanes<D>::D& b) noexcept {
    using Dv [[maybe_unused]] = typename Lanes<D>::D;
    [[maybe_unused]] const long long* base = reinterpret_cast<const long long*>(ext + 1);  // 8-byte reads at any float
#if defined(__AVX512F__)
    if constexpr (D == 8) {
        const __m512 pairs = _mm512_castsi512_ps(_mm512_i32gather_epi64(reinterpret_cast<__m256i>(i), base, 4));
        const __m512i even = _mm512_setr_epi32(0, 2, 4, 6, 8, 10, 12, 14, 0, 0, 0, 0, 0, 0, 0, 0);
        const __m512i odd = _mm512_setr_epi32(1, 3, 5, 7, 9, 11, 13, 15, 0, 0, 0, 0, 0, 0, 0, 0);
        a = reinterpret_cast<Dv>(_mm512_cvtps_pd(_mm512_castps512_ps256(_mm512_permutexvar_ps(even, pairs))));
        b = reinterpret_cast<Dv>(_mm512_cvtps_pd(_mm512_castps512_ps256(_mm512_permutexvar_ps(odd, pairs))));
        return;
    }
#endif
#if defined(__AVX2__)
    if constexpr (D == 4) {
        const __m256 pairs = _mm256_castsi256_ps(_mm256_i32gather_epi64(base, reinterpret_cast<__m128i>(i), 4));
        const __m256i even = _mm256_setr_epi32(0, 2, 4, 6, 0, 0, 0, 0);
        const __m256i odd = _mm256_setr_epi32(1, 3, 5, 7, 0, 0, 0, 0);
        a = reinterpret_cast<Dv>(_mm256_cvtps_pd(_mm256_castps256_ps128(_mm256_permutevar8x32_ps(pairs, even))));
        b = reinterpret_cast<Dv>(_mm256_cvtps_pd(_mm256_castps256_ps128(_mm256_permutevar8x32_ps(pairs, odd))));
        return;
    }
#endif
    for (int j = 0; j < D; ++j) {
        a[j] = ext[i[j] + 1];
        b[j] = ext[i[j] + 2];
    }
}

template <int D>
void octaveInterpolatedVector(const float* in, float* out, int32_t p, float r, double border) noexcept {
    using F = typename Lanes<D>::F;
    using I = typename Lanes<D>::I;
    using Dv = typename Lanes<D>::D;
    if (p > kMaxPartials) {  // no room for the bordered copy
        octaveInterpolatedFrom(in, out, p, r, border, 0);
        return;
    }
    // x lies in [−1, p + 1) where it is read, so trunc(x) lies in [−1, p]: entries −1 … p + 1.
    const float borderValue = static_cast<float>(border);
    alignas(64) float ext[kMaxPartials + 4];
    ext[0] = borderValue;
    std::memcpy(ext + 1, in, static_cast<size_t>(p) * sizeof(float));
    ext[p + 1] = borderValue;
    ext[p + 2] = borderValue;
    const float limit = static_cast<float>(p) + 1.0f;
    const double rd = r;
    int32_t k = 0;
    for (; k + D <= p; k += D) {
        const Dv h = __builtin_convertvector(iota<D>() + (k + 1), Dv);
        const F x = __builtin_convertvector(h * rd - 1.0, F);
        const I ok = x < limit;
        const F xs = ok ? x : 0.0f;  // keeps the conversion defined; those lanes read the border
        const I i = __builtin_convertvector(xs, I);
        const Dv fr = __builtin_convertvector(xs, Dv) - __builtin_convertvector(i, Dv);
        Dv a, b;
        readPairs<D>(ext, i, a, b);
        const F result = __builtin_convertvector(a * (1.0 - fr) + b * fr, F);
        store(out + k, ok ? result : borderValue);
    }
    octaveInterpolatedFrom(in, out, p, r, border, k);  // the values left (p is a multiple of four)
}

// The kernel table for L float lanes; D double lanes for the resampling (0: scalar).
template <int L, int D>
constexpr SpectrumKernels makeKernels() noexcept {
    SpectrumKernels t{};
    t.front[kFrontNoChild][0] = front<L, kFrontNoChild, false>;
    t.front[kFrontNoChild][1] = front<L, kFrontNoChild, true>;
    t.front[kFrontMultiply][0] = front<L, kFrontMultiply, false>;
    t.front[kFrontMultiply][1] = front<L, kFrontMultiply, true>;
    t.front[kFrontAdd][0] = front<L, kFrontAdd, false>;
    t.front[kFrontAdd][1] = front<L, kFrontAdd, true>;
    [&]<int... M>(std::integer_sequence<int, M...>) {
        ((t.back[M / 6][(M / 2) % 3][M % 2] = back<L, M / 6, (M / 2) % 3, (M % 2) != 0>), ...);
    }(std::make_integer_sequence<int, 18>{});
    t.movement = movement<L>;
    if constexpr (D > 0) {
        t.shiftInterior = shiftInteriorVector<D>;
        t.octaveInterpolated = octaveInterpolatedVector<D>;
    } else {
        t.shiftInterior = shiftInteriorScalar;
        t.octaveInterpolated = octaveInterpolatedScalar;
    }
    return t;
}

}  // namespace
}  // namespace quenvale::spectrum_kernels
