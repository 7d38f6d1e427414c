// AVX2 partial run kernel: two blocks (8 partials) per register, table reads by gather.
//
// Each pair of blocks is carried through the whole run in registers; the contributions of two
// consecutive samples are transposed so that one register holds one block at two samples and are added
// to the per-sample lane sums block after block, in the order of the per-sample loop (identical bits).
//
// Only intrinsics and this file's own internal functions are used here: inline functions shared with
// baseline files must not be compiled with AVX2 enabled.
#include "engine/osc/partial_run_kernels.h"

#if QUENVALE_WIDE_SIMD
// GCC 12's gather intrinsics pass _mm256_undefined_*() as the unused merge source, which its own
// uninitialised-value analysis reports once the intrinsics are inlined.
#pragma GCC diagnostic ignored "-Wuninitialized"
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <immintrin.h>

#include <cstdint>

#define QUENVALE_INLINE inline __attribute__((always_inline))

namespace quenvale::partial_kernels {
namespace {

using Field = float (PartialBlock::*)[4];

inline __m256 loadField(const PartialBlock* b, Field f) noexcept {
    return _mm256_insertf128_ps(_mm256_castps128_ps256(_mm_load_ps(b[0].*f)), _mm_load_ps(b[1].*f), 1);
}

inline void storeField(PartialBlock* b, Field f, __m256 z, int valid) noexcept {
    _mm_store_ps(b[0].*f, _mm256_castps256_ps128(z));
    if (valid > 1) _mm_store_ps(b[1].*f, _mm256_extractf128_ps(z, 1));
}

struct Pair {
    __m256 ampLeft, ampRight, partialPhase, ratio, phaseOffset;
    __m256 ampLeftStep, ampRightStep, partialPhaseStep, ratioStep;

    explicit Pair(const PartialBlock* b) noexcept
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

    template <bool kMove>
    inline void sample(const float* table, __m256 p, __m256 scale, __m256& left, __m256& right) noexcept {
        const __m256 x = _mm256_mul_ps(
            _mm256_add_ps(_mm256_add_ps(_mm256_mul_ps(ratio, p), partialPhase), phaseOffset), scale);
        const __m256i i = _mm256_cvttps_epi32(x);
        const __m256 frac = _mm256_sub_ps(x, _mm256_cvtepi32_ps(i));
        // (value, slope) pairs as 64-bit elements, lanes 0, 1, 4, 5 and 2, 3, 6, 7, so that one in-lane
        // shuffle of the two results gives the values and another the slopes in lane order.
        const __m256i e = _mm256_permutevar8x32_epi32(_mm256_and_si256(i, _mm256_set1_epi32(127)),
                                                      _mm256_setr_epi32(0, 1, 4, 5, 2, 3, 6, 7));
        const __m256 a = _mm256_castpd_ps(
            _mm256_i32gather_pd(reinterpret_cast<const double*>(table), _mm256_castsi256_si128(e), 8));
        const __m256 b = _mm256_castpd_ps(
            _mm256_i32gather_pd(reinterpret_cast<const double*>(table), _mm256_extracti128_si256(e, 1), 8));
        const __m256 value = _mm256_shuffle_ps(a, b, 0x88);
        const __m256 slope = _mm256_shuffle_ps(a, b, 0xDD);
        const __m256 s = _mm256_add_ps(value, _mm256_mul_ps(frac, slope));
        left = _mm256_mul_ps(ampLeft, s);
        right = _mm256_mul_ps(ampRight, s);
        if constexpr (kMove) {
            partialPhase = _mm256_add_ps(partialPhase, partialPhaseStep);
            ampLeft = _mm256_add_ps(ampLeft, ampLeftStep);
            ampRight = _mm256_add_ps(ampRight, ampRightStep);
            ratio = _mm256_add_ps(ratio, ratioStep);
        }
    }
};

// c0, c1: both blocks at samples 0 and 1; adds block 0's two samples, then block 1's, to the sums.
inline void accumulate(__m256 c0, __m256 c1, float* sums, int valid) noexcept {
    __m256 s = _mm256_load_ps(sums);
    s = _mm256_add_ps(s, _mm256_permute2f128_ps(c0, c1, 0x20));
    if (valid > 1) s = _mm256_add_ps(s, _mm256_permute2f128_ps(c0, c1, 0x31));
    _mm256_store_ps(sums, s);
}

// Inlined into runKernelAvx2, like every function here.
template <bool kMove>
QUENVALE_INLINE void renderPairs(PartialBank& bank, const float* p, int n, int count, float* sumsLeft,
                                 float* sumsRight) noexcept {
    const float* table = &bank.sineTable[0][0];
    const __m256 scale = _mm256_broadcast_ps(reinterpret_cast<const __m128*>(bank.tableScale));
    for (int g = 0; g < count; g += 2) {
        const int valid = count - g < 2 ? count - g : 2;
        Pair s(&bank.blocks[g]);
        int t = 0;
        for (; t + 2 <= n; t += 2) {
            __m256 l0, r0, l1, r1;
            s.template sample<kMove>(table, _mm256_set1_ps(p[t]), scale, l0, r0);
            s.template sample<kMove>(table, _mm256_set1_ps(p[t + 1]), scale, l1, r1);
            accumulate(l0, l1, sumsLeft + 4 * t, valid);
            accumulate(r0, r1, sumsRight + 4 * t, valid);
        }
        if (t < n) {
            __m256 l0, r0;
            s.template sample<kMove>(table, _mm256_set1_ps(p[t]), scale, l0, r0);
            accumulate(l0, _mm256_setzero_ps(), sumsLeft + 4 * t, valid);
            accumulate(r0, _mm256_setzero_ps(), sumsRight + 4 * t, valid);
        }
        if constexpr (kMove) s.storeMoving(&bank.blocks[g], valid);
    }
}

QUENVALE_INLINE int countFullBlocks(const PartialBank& bank, const float* baseFrequency, int n,
                                    int count) noexcept {
    const __m256 stop = _mm256_set1_ps(kPartialStopFrequency);
    const __m256i lanes = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    const PartialBlock& first = bank.blocks[0];
    for (int g = 0; g < count; g += 8) {
        const int validBits = count - g >= 8 ? 0xFF : (1 << (count - g)) - 1;
        // Lanes past count read block g again (always inside the bank) and are ignored.
        const __m256i block = _mm256_add_epi32(lanes, _mm256_set1_epi32(g));
        const __m256i inside = _mm256_cmpgt_epi32(_mm256_set1_epi32(count), block);
        const __m256i index =
            _mm256_mullo_epi32(_mm256_and_si256(block, inside), _mm256_set1_epi32(kPartialBlockFloats));
        __m256 ratio = _mm256_i32gather_ps(&first.ratio[0], index, 4);
        const __m256 ratioStep = _mm256_i32gather_ps(&first.ratioStep[0], index, 4);
        __m256 phase = _mm256_i32gather_ps(&first.partialPhase[0], index, 4);
        const __m256 phaseStep = _mm256_i32gather_ps(&first.partialPhaseStep[0], index, 4);
        __m256 pass = _mm256_castsi256_ps(_mm256_set1_epi32(-1));
        for (int t = 0; t < n; ++t) {
            const __m256 f = _mm256_add_ps(_mm256_mul_ps(ratio, _mm256_set1_ps(baseFrequency[t])), phase);
            pass = _mm256_and_ps(pass, _mm256_cmp_ps(f, stop, _CMP_LT_OQ));
            ratio = _mm256_add_ps(ratio, ratioStep);
            phase = _mm256_add_ps(phase, phaseStep);
        }
        const int failed = validBits & ~_mm256_movemask_ps(pass);
        if (failed != 0) return g + __builtin_ctz(static_cast<unsigned>(failed));
    }
    return count;
}

QUENVALE_INLINE void renderFullBlocks(PartialBank& bank, const float* p, int n, int count, float* sumsLeft,
                                      float* sumsRight) noexcept {
    renderPairs<true>(bank, p, n, count, sumsLeft, sumsRight);
}

QUENVALE_INLINE void renderBareBlocks(const PartialBank& bank, const float* p, int n, int count,
                                      float* sumsLeft, float* sumsRight) noexcept {
    renderPairs<false>(const_cast<PartialBank&>(bank), p, n, count, sumsLeft, sumsRight);
}

}  // namespace

void runKernelAvx2(void* call) noexcept {
    KernelCall& c = *static_cast<KernelCall*>(call);
    switch (c.kind) {
        case KernelCall::kCountFullBlocks:
            c.result = countFullBlocks(*c.bank, c.p, c.n, c.count);
            break;
        case KernelCall::kRenderFullBlocks:
            renderFullBlocks(*c.bank, c.p, c.n, c.count, c.sumsLeft, c.sumsRight);
            break;
        case KernelCall::kRenderBareBlocks:
            renderBareBlocks(*c.bank, c.p, c.n, c.count, c.sumsLeft, c.sumsRight);
            break;
    }
}

}  // namespace quenvale::partial_kernels

#endif
