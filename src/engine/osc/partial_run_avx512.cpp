// AVX-512 partial run kernel: four blocks (16 partials) per register, the sine table held in registers.
//
// A group of four blocks is carried through the whole run in registers, skewed in time: the 128-bit
// chunk c of every register holds block 4g + 3 − c at sample s − 3 + c, so at step s the group's
// blocks 0, 1, 2, 3 are at samples s, s − 1, s − 2, s − 3. The lane sums ride along the same skew: a
// sum register takes the running sum of sample s (from the blocks before this group) into chunk 3, and
// every step moves each sum down one chunk and adds that chunk's block. Four steps later the sum of
// sample s leaves chunk 0 with this group's four blocks added in block order — exactly the additions of
// the per-sample loop, in the same order, so the result is identical bit for bit. Only chunk 0 is
// stored. A run of n samples takes n + 3 steps; in the first and last steps the chunks outside the run
// are masked, in between nothing is.
//
// Each step is software-pipelined over three loop passes (position, lookups, sums), so that a pass
// depends only on the one before; groups go in pairs, the second four steps behind the first, for two
// independent streams of work. On the AMD Zen 4 core these were measured on, a step costs about 20
// cycles against some 16 that its operations need when nothing depends on anything: the 12 additions
// and conversions share the adder pipes, the 8 permutes and 2 alignments the shuffle pipes.
//
// Measured and dropped: one group at a time (slower, too little independent work), three groups in
// flight or a four-stage pipeline (spills), the lookup as one chain of four merge-masked permutes or as
// four permutes and three blends, the fixed fields forced into memory, and byte-plane lookups
// (vpermi2b on the four bytes of every entry, four steps at a time): fewer permutes, but the unpacks
// that put the bytes back together cost as much.
//
// Only intrinsics and this file's own internal functions are used here: inline functions shared with
// baseline files must not be compiled with AVX-512 enabled.
#include "engine/osc/partial_run_kernels.h"

#if QUENVALE_AVX512_SIMD
// GCC 12's AVX-512 intrinsics pass _mm512_undefined_*() as the unused merge source, which its own
// uninitialised-value analysis reports once the intrinsics are inlined.
#pragma GCC diagnostic ignored "-Wuninitialized"
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <immintrin.h>

#include <cstdint>

#define QUENVALE_INLINE inline __attribute__((always_inline))

namespace quenvale::partial_kernels {
namespace {

constexpr int kSkew = 3;  // steps a run takes beyond its samples

// The sine table split into values and slopes, 16 entries per register.
struct SineRegisters {
    __m512 value[8];
    __m512 slope[8];
};

QUENVALE_INLINE void loadSineRegisters(const PartialBank& bank, SineRegisters& r) noexcept {
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

// Index bits 5 and 6 of every lane, as masks.
struct IndexBits {
    __mmask16 bit5, notBit5, bit6;
};

QUENVALE_INLINE IndexBits indexBits(__m512i index) noexcept {
    const __mmask16 bit5 = _mm512_test_epi32_mask(index, _mm512_set1_epi32(32));
    return {bit5, _knot_mask16(bit5), _mm512_test_epi32_mask(index, _mm512_set1_epi32(64))};
}

// Entry (index AND 127) of a 128-entry table. A two-register permute reads 32 entries (index bits 0…4).
// For each half of the table (bit 6), a merge-masked permute fills the lanes whose bit 5 is clear from
// the half's first 32 entries and leaves the index in the others, which a second permute fills from the
// next 32; one blend on bit 6 picks the half. (Four independent permutes with three blends, or a chain
// of four merge-masked permutes, measured slower: more blends, or four permute latencies in a row.)
QUENVALE_INLINE __m512 lookup(const __m512* t, __m512i index, const IndexBits& b) noexcept {
    __m512 low = _mm512_mask2_permutex2var_ps(t[0], index, b.notBit5, t[1]);
    low = _mm512_mask2_permutex2var_ps(t[2], _mm512_castps_si512(low), b.bit5, t[3]);
    __m512 high = _mm512_mask2_permutex2var_ps(t[4], index, b.notBit5, t[5]);
    high = _mm512_mask2_permutex2var_ps(t[6], _mm512_castps_si512(high), b.bit5, t[7]);
    return _mm512_mask_blend_ps(b.bit6, low, high);
}

using Field = float (PartialBlock::*)[4];

// One field of four consecutive blocks, the last block in chunk 0.
QUENVALE_INLINE __m512 loadField(const PartialBlock* b, Field f) noexcept {
    __m512 z = _mm512_castps128_ps512(_mm_load_ps(b[3].*f));
    z = _mm512_insertf32x4(z, _mm_load_ps(b[2].*f), 1);
    z = _mm512_insertf32x4(z, _mm_load_ps(b[1].*f), 2);
    return _mm512_insertf32x4(z, _mm_load_ps(b[0].*f), 3);
}

QUENVALE_INLINE void storeField(PartialBlock* b, Field f, __m512 z, int valid) noexcept {
    _mm_store_ps(b[0].*f, _mm512_extractf32x4_ps(z, 3));
    if (valid > 1) _mm_store_ps(b[1].*f, _mm512_extractf32x4_ps(z, 2));
    if (valid > 2) _mm_store_ps(b[2].*f, _mm512_extractf32x4_ps(z, 1));
    if (valid > 3) _mm_store_ps(b[3].*f, _mm512_castps512_ps128(z));
}

// Steps a group takes through a run of n samples (n + kSkew) and the steps its pipeline reads ahead; the
// steps by which the second group of a pair lags the first.
constexpr int kPipelineAhead = 2;
constexpr int kLag = 4;
constexpr int kMaxSteps = kMaxRunSamplesForKernels + kSkew + kPipelineAhead;
static_assert(kSumsPadBefore >= 4 * kSkew && kSumsPadAfter >= 4 * kSkew);

// Lanes of the chunks whose block (3 − c) is valid and whose sample s − 3 + c lies in [0, n).
QUENVALE_INLINE __mmask16 activeLanes(int s, int n, int valid) noexcept {
    unsigned mask = 0;
    for (int c = 0; c < 4; ++c) {
        const int block = 3 - c, sample = s - block;
        if (block < valid && sample >= 0 && sample < n) mask |= 0xFu << (4 * c);
    }
    return static_cast<__mmask16>(mask);
}

// The sounding chunks of every step of a run (none past its last step).
struct StepMasks {
    __mmask16 masks[kMaxSteps];
    StepMasks(int n, int valid) noexcept {
        for (int s = 0; s < kMaxSteps; ++s) masks[s] = activeLanes(s, n, valid);
    }
    __mmask16 at(int s) const noexcept { return masks[s]; }
};

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
};

// The table position of one step: truncated index and fraction.
struct Position {
    __m512i index;
    __m512 frac;
};

// A group runs through three stages, a step apart, so that every stage of a loop pass depends only on the
// pass before: (a) table position from ratio and phase, which then move; (b) table lookups and
// interpolation; (c) amplitudes, sums, and the amplitudes' move. Each chunk moves only in the steps where
// it sounds; kEdge false (the middle of a run) means all chunks sound and no mask is applied.
template <bool kMove, bool kEdge = true>
QUENVALE_INLINE Position stagePosition(Group& g, __m512 p, __m512 scale, __mmask16 active) noexcept {
    const __m512 x = _mm512_mul_ps(
        _mm512_add_ps(_mm512_add_ps(_mm512_mul_ps(g.ratio, p), g.partialPhase), g.phaseOffset), scale);
    const __m512i i = _mm512_cvttps_epi32(x);
    if constexpr (kMove && kEdge) {
        g.partialPhase = _mm512_mask_add_ps(g.partialPhase, active, g.partialPhase, g.partialPhaseStep);
        g.ratio = _mm512_mask_add_ps(g.ratio, active, g.ratio, g.ratioStep);
    } else if constexpr (kMove) {
        g.partialPhase = _mm512_add_ps(g.partialPhase, g.partialPhaseStep);
        g.ratio = _mm512_add_ps(g.ratio, g.ratioStep);
    }
    return {i, _mm512_sub_ps(x, _mm512_cvtepi32_ps(i))};
}

QUENVALE_INLINE __m512 stageSine(const SineRegisters& sine, const Position& pos) noexcept {
    const IndexBits bits = indexBits(pos.index);
    const __m512 value = lookup(sine.value, pos.index, bits);
    const __m512 slope = lookup(sine.slope, pos.index, bits);
    return _mm512_add_ps(value, _mm512_mul_ps(pos.frac, slope));
}

// The running sums of sample s from memory (chunk 0), moved into chunk 3.
QUENVALE_INLINE __m512 incoming(const float* sums, int s) noexcept {
    return _mm512_castps128_ps512(_mm_load_ps(sums + 4 * s));
}

// Every sum moves down one chunk, chunk 3 taking the running sum of its sample from the blocks before
// this group, and each chunk adds its block's contribution; then the amplitudes move. Chunk 0 then holds
// the finished sum of sample s − 3, which is stored (in the first steps, into the room before the sums).
// Masked-off chunks add +0, which changes no running sum: those start at +0 and never become −0.
template <bool kMove, bool kEdge>
QUENVALE_INLINE void stageSum(Group& g, __m512 sv, __mmask16 active, int s, float* sumsLeft, float* sumsRight,
                              __m512& sumLeft, __m512& sumRight) noexcept {
    const __m512 left = kEdge ? _mm512_maskz_mul_ps(active, g.ampLeft, sv) : _mm512_mul_ps(g.ampLeft, sv);
    const __m512 right = kEdge ? _mm512_maskz_mul_ps(active, g.ampRight, sv) : _mm512_mul_ps(g.ampRight, sv);
    sumLeft = _mm512_add_ps(_mm512_castsi512_ps(_mm512_alignr_epi32(
                                _mm512_castps_si512(incoming(sumsLeft, s)), _mm512_castps_si512(sumLeft), 4)),
                            left);
    sumRight =
        _mm512_add_ps(_mm512_castsi512_ps(_mm512_alignr_epi32(_mm512_castps_si512(incoming(sumsRight, s)),
                                                              _mm512_castps_si512(sumRight), 4)),
                      right);
    _mm_store_ps(sumsLeft + 4 * (s - kSkew), _mm512_castps512_ps128(sumLeft));
    _mm_store_ps(sumsRight + 4 * (s - kSkew), _mm512_castps512_ps128(sumRight));
    if constexpr (kMove && kEdge) {
        g.ampLeft = _mm512_mask_add_ps(g.ampLeft, active, g.ampLeft, g.ampLeftStep);
        g.ampRight = _mm512_mask_add_ps(g.ampRight, active, g.ampRight, g.ampRightStep);
    } else if constexpr (kMove) {
        g.ampLeft = _mm512_add_ps(g.ampLeft, g.ampLeftStep);
        g.ampRight = _mm512_add_ps(g.ampRight, g.ampRightStep);
    }
}

// A group in flight: its fields, its sums and the two steps its pipeline holds.
template <bool kMove>
struct Flight {
    Group g;
    const StepMasks& masks;
    __m512 sumLeft = _mm512_setzero_ps(), sumRight = _mm512_setzero_ps();
    Position next;
    __m512 sv;

    // Fills the pipeline for step `first` (the group's step count starts there).
    Flight(const Group& group, const StepMasks& m, const SineRegisters& sine, __m512 scale,
           const float* skewed, int first) noexcept
        : g(group), masks(m) {
        const Position p0 =
            stagePosition<kMove>(g, _mm512_load_ps(skewed + 16 * first), scale, masks.at(first));
        next = stagePosition<kMove>(g, _mm512_load_ps(skewed + 16 * (first + 1)), scale, masks.at(first + 1));
        sv = stageSine(sine, p0);
    }

    // Step s: sums of step s, lookups of step s + 1, position of step s + 2. Outside the edges of the run
    // (kEdge false) every chunk of steps s and s + 2 sounds.
    template <bool kEdge>
    QUENVALE_INLINE void step(const SineRegisters& sine, __m512 scale, const float* skewed, int s,
                              float* sumsLeft, float* sumsRight) noexcept {
        const Position ahead =
            stagePosition<kMove, kEdge>(g, _mm512_load_ps(skewed + 16 * (s + 2)), scale, masks.at(s + 2));
        const __m512 svNext = stageSine(sine, next);
        stageSum<kMove, kEdge>(g, sv, masks.at(s), s, sumsLeft, sumsRight, sumLeft, sumRight);
        sv = svNext;
        next = ahead;
    }
};

// One group through the whole run: n + 3 steps, step s sounding samples s − 3 … s. `skewed` points at
// step 0's phases.
template <bool kMove>
void renderGroup(Group& group, const SineRegisters& table, __m512 scale, const float* skewed,
                 const StepMasks& masks, int n, float* sumsLeft, float* sumsRight) noexcept {
    // Local copies: the stores to the sums could otherwise alias the group and the table, which would
    // keep both in memory.
    const SineRegisters sine = table;
    Flight<kMove> a(group, masks, sine, scale, skewed, 0);
    // Steps [kSkew, n − 2) are inside the run at s and at s + 2 for a group of four blocks.
    const bool full = masks.at(kSkew) == 0xFFFF;
    const int steadyEnd = full ? n - kPipelineAhead : 0;
    int s = 0;
    for (; s < kSkew && s < steadyEnd; ++s)
        a.template step<true>(sine, scale, skewed, s, sumsLeft, sumsRight);
    for (; s < steadyEnd; ++s) a.template step<false>(sine, scale, skewed, s, sumsLeft, sumsRight);
    for (; s < n + kSkew; ++s) a.template step<true>(sine, scale, skewed, s, sumsLeft, sumsRight);
    group = a.g;
}

// Two consecutive groups in one pass, for twice the independent work per step: the second lags the
// first by four steps, so it reads each sample's sums after the first has finished them.
template <bool kMove>
void renderGroupPair(Group& first, Group& second, const SineRegisters& table, __m512 scale,
                     const float* skewed, const StepMasks& masksFirst, const StepMasks& masksSecond, int n,
                     float* sumsLeft, float* sumsRight) noexcept {
    const SineRegisters sine = table;
    Flight<kMove> a(first, masksFirst, sine, scale, skewed, 0);
    Flight<kMove> b(second, masksSecond, sine, scale, skewed, 0);
    // Pass s takes step s of the first group and step s − kLag of the second; both are inside the run
    // (see renderGroup) for s − kLag in [kSkew, n − 2).
    const int steps = n + kSkew;  // per group; at least kLag
    const int steadyEnd = n - kPipelineAhead;
    int s = 0;
    for (; s < kLag; ++s) a.template step<true>(sine, scale, skewed, s, sumsLeft, sumsRight);
    for (; s < kSkew + kLag && s < steadyEnd; ++s) {
        a.template step<true>(sine, scale, skewed, s, sumsLeft, sumsRight);
        b.template step<true>(sine, scale, skewed, s - kLag, sumsLeft, sumsRight);
    }
#pragma GCC unroll 2
    for (; s < steadyEnd; ++s) {
        a.template step<false>(sine, scale, skewed, s, sumsLeft, sumsRight);
        b.template step<false>(sine, scale, skewed, s - kLag, sumsLeft, sumsRight);
    }
    for (; s < steps; ++s) {
        a.template step<true>(sine, scale, skewed, s, sumsLeft, sumsRight);
        b.template step<true>(sine, scale, skewed, s - kLag, sumsLeft, sumsRight);
    }
    for (; s < steps + kLag; ++s) b.template step<true>(sine, scale, skewed, s - kLag, sumsLeft, sumsRight);
    first = a.g;
    second = b.g;
}

// Inlined into runKernelAvx512.
template <bool kMove>
QUENVALE_INLINE void renderGroups(PartialBank& bank, const float* p, int n, int count, float* sumsLeft,
                                  float* sumsRight) noexcept {
    SineRegisters sine;
    loadSineRegisters(bank, sine);
    const __m512 scale = _mm512_broadcast_f32x4(_mm_load_ps(bank.tableScale));
    // Skewed phases: chunk c of step s holds p[s − 3 + c] (0 outside the run).
    alignas(64) float padded[kSkew + kMaxSteps + 4] = {};
    for (int t = 0; t < n; ++t) padded[kSkew + t] = p[t];
    alignas(64) float skewedBuffer[kMaxSteps * 16];
    const __m512i spread = _mm512_setr_epi32(0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3);
    for (int s = 0; s < kMaxSteps; ++s)
        _mm512_store_ps(skewedBuffer + 16 * s,
                        _mm512_permutexvar_ps(spread, _mm512_castps128_ps512(_mm_loadu_ps(padded + s))));
    const float* skewed = skewedBuffer;

    const StepMasks full(n, 4);
    int g = 0;
    for (; g + 8 <= count; g += 8) {
        Group a(&bank.blocks[g]), b(&bank.blocks[g + 4]);
        renderGroupPair<kMove>(a, b, sine, scale, skewed, full, full, n, sumsLeft, sumsRight);
        if constexpr (kMove) {
            a.storeMoving(&bank.blocks[g], 4);
            b.storeMoving(&bank.blocks[g + 4], 4);
        }
    }
    for (; g < count; g += 4) {
        const int valid = count - g < 4 ? count - g : 4;
        const StepMasks part(n, valid);
        Group a(&bank.blocks[g]);
        renderGroup<kMove>(a, sine, scale, skewed, part, n, sumsLeft, sumsRight);
        if constexpr (kMove) a.storeMoving(&bank.blocks[g], valid);
    }
}

// Lane 0 of sixteen blocks from `first` on (lanes past `valid` read as 0).
struct LaneZero {
    __m512 ratio, ratioStep, phase, phaseStep;
    __mmask16 valid;

    LaneZero(const PartialBank& bank, int first, int count) noexcept {
        const int left = count - first;
        valid = left >= 16 ? static_cast<__mmask16>(0xFFFF)
                           : static_cast<__mmask16>(left > 0 ? (1u << left) - 1u : 0u);
        const __m512i lanes = _mm512_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
        const __m512i index = _mm512_mullo_epi32(_mm512_add_epi32(lanes, _mm512_set1_epi32(first)),
                                                 _mm512_set1_epi32(kPartialBlockFloats));
        const __m512 zero = _mm512_setzero_ps();
        const PartialBlock& b = bank.blocks[0];
        ratio = _mm512_mask_i32gather_ps(zero, valid, index, &b.ratio[0], 4);
        ratioStep = _mm512_mask_i32gather_ps(zero, valid, index, &b.ratioStep[0], 4);
        phase = _mm512_mask_i32gather_ps(zero, valid, index, &b.partialPhase[0], 4);
        phaseStep = _mm512_mask_i32gather_ps(zero, valid, index, &b.partialPhaseStep[0], 4);
    }

    // True when every valid lane surely stays below the stop for all n samples: a bound on
    // |ratio × f0 + phase| over the run, with a margin far above the rounding of n float steps. Lanes
    // near the stop (or with non-finite values) fail the bound and take the exact per-sample test.
    QUENVALE_INLINE bool surelyBelow(float maxFrequency, int n, __m512 stop) const noexcept {
        const __m512 steps = _mm512_set1_ps(static_cast<float>(n));
        const __m512 margin = _mm512_set1_ps(1.001f);
        const __m512 r = _mm512_mul_ps(
            _mm512_add_ps(_mm512_abs_ps(ratio), _mm512_mul_ps(steps, _mm512_abs_ps(ratioStep))), margin);
        const __m512 q = _mm512_mul_ps(
            _mm512_add_ps(_mm512_abs_ps(phase), _mm512_mul_ps(steps, _mm512_abs_ps(phaseStep))), margin);
        const __m512 bound = _mm512_add_ps(_mm512_mul_ps(r, _mm512_set1_ps(maxFrequency * 1.001f)), q);
        const __m512 limit = _mm512_mul_ps(stop, _mm512_set1_ps(0.999f));
        return _mm512_mask_cmp_ps_mask(valid, bound, limit, _CMP_LT_OQ) == valid;
    }

    // The stop test at one sample (ratio × f0 + phase below 20 kHz), then the sample's move.
    QUENVALE_INLINE __mmask16 test(__mmask16 pass, __m512 baseFrequency, __m512 stop) noexcept {
        pass = _mm512_mask_cmp_ps_mask(pass, _mm512_add_ps(_mm512_mul_ps(ratio, baseFrequency), phase), stop,
                                       _CMP_LT_OQ);
        ratio = _mm512_add_ps(ratio, ratioStep);
        phase = _mm512_add_ps(phase, phaseStep);
        return pass;
    }
};

QUENVALE_INLINE int countFullBlocks(const PartialBank& bank, const float* baseFrequency, int n,
                                    int count) noexcept {
    // 32 blocks per pass: two independent chains hide the latency of the moving ratio and phase.
    const __m512 stop = _mm512_set1_ps(kPartialStopFrequency);
    // The largest |f0| of the run; NaN anywhere turns the quick bound off.
    float maxFrequency = 0.0f;
    bool finite = true;
    for (int t = 0; t < n; ++t) {
        const float f = baseFrequency[t] < 0.0f ? -baseFrequency[t] : baseFrequency[t];
        finite = finite && f <= 3.0e38f;
        maxFrequency = f > maxFrequency ? f : maxFrequency;
    }
    for (int g = 0; g < count; g += 32) {
        LaneZero a(bank, g, count), b(bank, g + 16, count);
        if (finite && a.surelyBelow(maxFrequency, n, stop) && b.surelyBelow(maxFrequency, n, stop)) continue;
        __mmask16 passA = a.valid, passB = b.valid;
        for (int t = 0; t < n; ++t) {
            const __m512 f = _mm512_set1_ps(baseFrequency[t]);
            passA = a.test(passA, f, stop);
            passB = b.test(passB, f, stop);
        }
        const unsigned failed = (static_cast<unsigned>(a.valid) & ~static_cast<unsigned>(passA)) |
                                ((static_cast<unsigned>(b.valid) & ~static_cast<unsigned>(passB)) << 16);
        if (failed != 0) return g + __builtin_ctz(failed);
    }
    return count;
}

QUENVALE_INLINE void renderFullBlocks(PartialBank& bank, const float* p, int n, int count, float* sumsLeft,
                                      float* sumsRight) noexcept {
    renderGroups<true>(bank, p, n, count, sumsLeft, sumsRight);
}

QUENVALE_INLINE void renderBareBlocks(const PartialBank& bank, const float* p, int n, int count,
                                      float* sumsLeft, float* sumsRight) noexcept {
    // Frozen blocks: nothing is written back, so the cast only satisfies the shared group code.
    renderGroups<false>(const_cast<PartialBank&>(bank), p, n, count, sumsLeft, sumsRight);
}

}  // namespace

void runKernelAvx512(void* call) noexcept {
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
