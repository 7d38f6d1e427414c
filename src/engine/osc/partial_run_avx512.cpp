// AVX-512 partial run kernel: four blocks (16 partials) per register, the sine table held in registers.
//
// Each group of four blocks is carried through the whole run in registers. The contributions of four
// consecutive samples are transposed so that one register holds one block at four samples, and are then
// added to the per-sample lane sums block after block: every lane sum sees exactly the additions of the
// per-sample loop, in the same order, so the result is identical bit for bit.
//
// Only intrinsics and this file's own internal functions are used here: inline functions shared with
// baseline files must not be compiled with AVX-512 enabled.
#include "engine/osc/partial_run_kernels.h"

#if QUENVALE_WIDE_SIMD
// GCC 12's AVX-512 intrinsics pass _mm512_undefined_*() as the unused merge source, which its own
// uninitialised-value analysis reports once the intrinsics are inlined.
#pragma GCC diagnostic ignored "-Wuninitialized"
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <immintrin.h>

#include <cstdint>

namespace quenvale::partial_kernels {
namespace {

// The sine table split into values and slopes, 16 entries per register.
struct SineRegisters {
    __m512 value[8];
    __m512 slope[8];
};

inline void loadSineRegisters(const PartialBank& bank, SineRegisters& r) noexcept {
    const float* t = &bank.sineTable[0][0];
    const __m512i even = _mm512_setr_epi32(0, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24, 26, 28, 30);
    const __m512i odd = _mm512_add_epi32(even, _mm512_set1_epi32(1));
    for (int k = 0; k < 8; ++k) {
        const __m512 a = _mm512_loadu_ps(t + 32 * k);
        const __m512 b = _mm512_loadu_ps(t + 32 * k + 16);
        r.value[k] = _mm512_permutex2var_ps(a, even, b);
        r.slope[k] = _mm512_permutex2var_ps(a, odd, b);
    }
}

// Entry (index AND 127) of a 128-entry table: four two-register permutes (bits 0…4), then bits 5 and 6
// choose among them.
inline __m512 lookup(const __m512* t, __m512i index, __mmask16 bit5, __mmask16 bit6) noexcept {
    const __m512 a = _mm512_permutex2var_ps(t[0], index, t[1]);
    const __m512 b = _mm512_permutex2var_ps(t[2], index, t[3]);
    const __m512 c = _mm512_permutex2var_ps(t[4], index, t[5]);
    const __m512 d = _mm512_permutex2var_ps(t[6], index, t[7]);
    const __m512 low = _mm512_mask_blend_ps(bit5, a, b);
    const __m512 high = _mm512_mask_blend_ps(bit5, c, d);
    return _mm512_mask_blend_ps(bit6, low, high);
}

using Field = float (PartialBlock::*)[4];

// One field of four consecutive blocks.
inline __m512 loadField(const PartialBlock* b, Field f) noexcept {
    __m512 z = _mm512_castps128_ps512(_mm_load_ps(b[0].*f));
    z = _mm512_insertf32x4(z, _mm_load_ps(b[1].*f), 1);
    z = _mm512_insertf32x4(z, _mm_load_ps(b[2].*f), 2);
    return _mm512_insertf32x4(z, _mm_load_ps(b[3].*f), 3);
}

inline void storeField(PartialBlock* b, Field f, __m512 z, int valid) noexcept {
    _mm_store_ps(b[0].*f, _mm512_castps512_ps128(z));
    if (valid > 1) _mm_store_ps(b[1].*f, _mm512_extractf32x4_ps(z, 1));
    if (valid > 2) _mm_store_ps(b[2].*f, _mm512_extractf32x4_ps(z, 2));
    if (valid > 3) _mm_store_ps(b[3].*f, _mm512_extractf32x4_ps(z, 3));
}

struct Group {
    __m512 ampLeft, ampRight, partialPhase, ratio, phaseOffset;
    __m512 ampLeftStep, ampRightStep, partialPhaseStep, ratioStep;

    explicit Group(const PartialBlock* b) noexcept
        : ampLeft(loadField(b, &PartialBlock::ampLeft)),
          ampRight(loadField(b, &PartialBlock::ampRight)),
          partialPhase(loadField(b, &PartialBlock::partialPhase)),
          ratio(loadField(b, &PartialBlock::ratio)),
          phaseOffset(loadField(b, &PartialBlock::phaseOffset)),
          ampLeftStep(loadField(b, &PartialBlock::ampLeftStep)),
          ampRightStep(loadField(b, &PartialBlock::ampRightStep)),
          partialPhaseStep(loadField(b, &PartialBlock::partialPhaseStep)),
          ratioStep(loadField(b, &PartialBlock::ratioStep)) {}

    void storeMoving(PartialBlock* b, int valid) const noexcept {
        storeField(b, &PartialBlock::ampLeft, ampLeft, valid);
        storeField(b, &PartialBlock::ampRight, ampRight, valid);
        storeField(b, &PartialBlock::partialPhase, partialPhase, valid);
        storeField(b, &PartialBlock::ratio, ratio, valid);
    }

    // Contributions of one sample (amplitude × interpolated sine), optionally moving the group on.
    template <bool kMove>
    inline void sample(const SineRegisters& sine, __m512 p, __m512 scale, __m512& left, __m512& right) noexcept {
        const __m512 x =
            _mm512_mul_ps(_mm512_add_ps(_mm512_add_ps(_mm512_mul_ps(ratio, p), partialPhase), phaseOffset), scale);
        const __m512i i = _mm512_cvttps_epi32(x);
        const __m512 frac = _mm512_sub_ps(x, _mm512_cvtepi32_ps(i));
        const __mmask16 bit5 = _mm512_test_epi32_mask(i, _mm512_set1_epi32(32));
        const __mmask16 bit6 = _mm512_test_epi32_mask(i, _mm512_set1_epi32(64));
        const __m512 value = lookup(sine.value, i, bit5, bit6);
        const __m512 slope = lookup(sine.slope, i, bit5, bit6);
        const __m512 s = _mm512_add_ps(value, _mm512_mul_ps(frac, slope));
        left = _mm512_mul_ps(ampLeft, s);
        right = _mm512_mul_ps(ampRight, s);
        if constexpr (kMove) {
            partialPhase = _mm512_add_ps(partialPhase, partialPhaseStep);
            ampLeft = _mm512_add_ps(ampLeft, ampLeftStep);
            ampRight = _mm512_add_ps(ampRight, ampRightStep);
            ratio = _mm512_add_ps(ratio, ratioStep);
        }
    }
};

// c[k] holds the four blocks at sample k; adds block q's four samples to the sums, q = 0 … valid − 1.
inline void accumulate(const __m512* c, float* sums, int valid) noexcept {
    const __m512 a = _mm512_shuffle_f32x4(c[0], c[1], 0x44);  // c0.0 c0.1 c1.0 c1.1
    const __m512 b = _mm512_shuffle_f32x4(c[0], c[1], 0xEE);  // c0.2 c0.3 c1.2 c1.3
    const __m512 d = _mm512_shuffle_f32x4(c[2], c[3], 0x44);  // c2.0 c2.1 c3.0 c3.1
    const __m512 e = _mm512_shuffle_f32x4(c[2], c[3], 0xEE);  // c2.2 c2.3 c3.2 c3.3
    __m512 s = _mm512_load_ps(sums);
    s = _mm512_add_ps(s, _mm512_shuffle_f32x4(a, d, 0x88));  // block 0 at samples 0 … 3
    if (valid > 1) s = _mm512_add_ps(s, _mm512_shuffle_f32x4(a, d, 0xDD));
    if (valid > 2) s = _mm512_add_ps(s, _mm512_shuffle_f32x4(b, e, 0x88));
    if (valid > 3) s = _mm512_add_ps(s, _mm512_shuffle_f32x4(b, e, 0xDD));
    _mm512_store_ps(sums, s);
}

template <bool kMove>
void renderGroups(PartialBank& bank, const float* p, int n, int count, float* sumsLeft, float* sumsRight) noexcept {
    SineRegisters sine;
    loadSineRegisters(bank, sine);
    const __m512 scale = _mm512_castps128_ps512(_mm_load_ps(bank.tableScale));
    const __m512 scale16 = _mm512_shuffle_f32x4(scale, scale, 0);
    for (int g = 0; g < count; g += 4) {
        const int valid = count - g < 4 ? count - g : 4;
        Group s(&bank.blocks[g]);
        int t = 0;
        for (; t + 4 <= n; t += 4) {
            __m512 left[4], right[4];
            for (int k = 0; k < 4; ++k)
                s.template sample<kMove>(sine, _mm512_set1_ps(p[t + k]), scale16, left[k], right[k]);
            accumulate(left, sumsLeft + 4 * t, valid);
            accumulate(right, sumsRight + 4 * t, valid);
        }
        if (t < n) {
            __m512 left[4], right[4];
            for (int k = 0; k < 4; ++k) {
                if (t + k < n) {
                    s.template sample<kMove>(sine, _mm512_set1_ps(p[t + k]), scale16, left[k], right[k]);
                } else {
                    left[k] = right[k] = _mm512_setzero_ps();
                }
            }
            accumulate(left, sumsLeft + 4 * t, valid);
            accumulate(right, sumsRight + 4 * t, valid);
        }
        if constexpr (kMove) s.storeMoving(&bank.blocks[g], valid);
    }
}

}  // namespace

int countFullBlocksAvx512(const PartialBank& bank, const float* baseFrequency, int n, int count) noexcept {
    const __m512 stop = _mm512_set1_ps(kPartialStopFrequency);
    const __m512i lanes = _mm512_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
    for (int g = 0; g < count; g += 16) {
        const __mmask16 valid =
            count - g >= 16 ? static_cast<__mmask16>(0xFFFF) : static_cast<__mmask16>((1u << (count - g)) - 1u);
        const __m512i index =
            _mm512_mullo_epi32(_mm512_add_epi32(lanes, _mm512_set1_epi32(g)), _mm512_set1_epi32(kPartialBlockFloats));
        const __m512 zero = _mm512_setzero_ps();
        const PartialBlock& first = bank.blocks[0];
        __m512 ratio = _mm512_mask_i32gather_ps(zero, valid, index, &first.ratio[0], 4);
        const __m512 ratioStep = _mm512_mask_i32gather_ps(zero, valid, index, &first.ratioStep[0], 4);
        __m512 phase = _mm512_mask_i32gather_ps(zero, valid, index, &first.partialPhase[0], 4);
        const __m512 phaseStep = _mm512_mask_i32gather_ps(zero, valid, index, &first.partialPhaseStep[0], 4);
        __mmask16 pass = valid;
        for (int t = 0; t < n; ++t) {
            const __m512 f = _mm512_add_ps(_mm512_mul_ps(ratio, _mm512_set1_ps(baseFrequency[t])), phase);
            pass = _mm512_mask_cmp_ps_mask(pass, f, stop, _CMP_LT_OQ);
            ratio = _mm512_add_ps(ratio, ratioStep);
            phase = _mm512_add_ps(phase, phaseStep);
        }
        const unsigned failed = static_cast<unsigned>(valid) & ~static_cast<unsigned>(pass);
        if (failed != 0) return g + __builtin_ctz(failed);
    }
    return count;
}

void renderFullBlocksAvx512(PartialBank& bank, const float* p, int n, int count, float* sumsLeft,
                            float* sumsRight) noexcept {
    renderGroups<true>(bank, p, n, count, sumsLeft, sumsRight);
}

void renderBareBlocksAvx512(const PartialBank& bank, const float* p, int n, int count, float* sumsLeft,
                            float* sumsRight) noexcept {
    // Frozen blocks: nothing is written back, so the cast only satisfies the shared group code.
    renderGroups<false>(const_cast<PartialBank&>(bank), p, n, count, sumsLeft, sumsRight);
}

}  // namespace quenvale::partial_kernels

#endif
