// Four-lane partial kernels written once over the value type, instantiated for the portable build (the
// reference) and for SSE2. Include only from baseline translation units.
#pragma once

#include <cstdint>

#include "engine/osc/partial_bank.h"

namespace quenvale::partial_kernels {

// A block's nine fields in registers.
template <class F4>
struct BlockState {
    F4 ampLeft, ampRight, partialPhase, ratio, phaseOffset;
    F4 ampLeftStep, ampRightStep, partialPhaseStep, ratioStep;

    explicit BlockState(const PartialBlock& b) noexcept
        : ampLeft(F4::load(b.ampLeft)),
          ampRight(F4::load(b.ampRight)),
          partialPhase(F4::load(b.partialPhase)),
          ratio(F4::load(b.ratio)),
          phaseOffset(F4::load(b.phaseOffset)),
          ampLeftStep(F4::load(b.ampLeftStep)),
          ampRightStep(F4::load(b.ampRightStep)),
          partialPhaseStep(F4::load(b.partialPhaseStep)),
          ratioStep(F4::load(b.ratioStep)) {}

    // Writes back the four fields that rendering moves.
    void storeMoving(PartialBlock& b) const noexcept {
        ampLeft.store(b.ampLeft);
        ampRight.store(b.ampRight);
        partialPhase.store(b.partialPhase);
        ratio.store(b.ratio);
    }

    // The block's four sine values at phase p (basePhase + phaseParam): the interpolated table read at
    // x = (ratio × p + partialPhase + phaseOffset) × tableScale. Kept inline: as a call, the portable
    // build passes its four-float values through memory in pieces that the next wide load must wait for.
    [[gnu::always_inline]] F4 sine(F4 p, F4 scale, const float* table) const noexcept {
        const F4 x = ((ratio * p + partialPhase) + phaseOffset) * scale;
        const auto i = truncToInt(x);
        const F4 frac = x - toFloat(i);
        const auto e = i & decltype(i)::broadcast(kSineTableMask);
        F4 value, slope;
        lookupPairs(table, e, value, slope);
        return value + frac * slope;
    }

    void advance() noexcept {
        partialPhase += partialPhaseStep;
        ampLeft += ampLeftStep;
        ampRight += ampRightStep;
        ratio += ratioStep;
    }
};

// The stop test on lane 0: true while the block's first partial lies below the stop frequency.
inline bool blockSounds(const PartialBlock& b, float baseFrequency) noexcept {
    return b.ratio[0] * baseFrequency + b.partialPhase[0] < kPartialStopFrequency;
}

// One sample of the whole bank, the plain way: the defining reference of the partial loop.
template <class F4>
void renderPartialsSample(PartialBank& bank) noexcept {
    const F4 base = F4::load(bank.basePhase) + F4::load(bank.baseIncrement);
    base.store(bank.basePhase);
    const F4 p = base + F4::load(bank.phaseParam);
    const F4 scale = F4::load(bank.tableScale);
    const float baseFrequency = bank.baseFrequency[0];
    const float* table = &bank.sineTable[0][0];
    F4 sumLeft(0.0f), sumRight(0.0f);
    for (int b = 0; b < bank.blockCount; ++b) {
        PartialBlock& blk = bank.blocks[b];
        if (!blockSounds(blk, baseFrequency)) break;
        BlockState<F4> s(blk);
        const F4 sine = s.sine(p, scale, table);
        sumLeft += s.ampLeft * sine;
        sumRight += s.ampRight * sine;
        s.advance();
        s.storeMoving(blk);
    }
    bank.outLeft = sumLanesDouble(sumLeft);
    bank.outRight = sumLanesDouble(sumRight);
}

// Number of leading blocks of [0, count) whose lane-0 stop test passes at every sample of the run,
// following each block's ratio and phase exactly as rendering moves them.
template <class F4>
int countFullBlocks(const PartialBank& bank, const float* baseFrequency, int n, int count) noexcept {
    const F4 stop(kPartialStopFrequency);
    for (int g = 0; g < count; g += 4) {
        float r[4], rs[4], ph[4], phs[4];
        for (int j = 0; j < 4; ++j) {
            const PartialBlock& blk = bank.blocks[g + j < count ? g + j : g];
            r[j] = blk.ratio[0];
            rs[j] = blk.ratioStep[0];
            ph[j] = blk.partialPhase[0];
            phs[j] = blk.partialPhaseStep[0];
        }
        F4 ratio = F4::loadUnaligned(r), ratioStep = F4::loadUnaligned(rs);
        F4 phase = F4::loadUnaligned(ph), phaseStep = F4::loadUnaligned(phs);
        int pass = 15;
        for (int t = 0; t < n; ++t) {
            pass &= (ratio * F4(baseFrequency[t]) + phase < stop).bits();
            ratio += ratioStep;
            phase += phaseStep;
        }
        const int valid = count - g >= 4 ? 15 : (1 << (count - g)) - 1;
        const int failed = valid & ~pass;
        if (failed != 0) {
            int j = 0;
            while (!(failed & (1 << j))) ++j;
            return g + j;
        }
    }
    return count;
}

// Renders blocks [0, count) through the whole run, each block carried in registers, adding its
// contribution to the per-sample lane sums (sums[4 t + lane]) in block order.
template <class F4>
void renderFullBlocks(PartialBank& bank, const float* p, int n, int count, float* sumsLeft,
                      float* sumsRight) noexcept {
    const F4 scale = F4::load(bank.tableScale);
    const float* table = &bank.sineTable[0][0];
    for (int b = 0; b < count; ++b) {
        BlockState<F4> s(bank.blocks[b]);
        for (int t = 0; t < n; ++t) {
            const F4 sine = s.sine(F4(p[t]), scale, table);
            (F4::load(sumsLeft + 4 * t) + s.ampLeft * sine).store(sumsLeft + 4 * t);
            (F4::load(sumsRight + 4 * t) + s.ampRight * sine).store(sumsRight + 4 * t);
            s.advance();
        }
        s.storeMoving(bank.blocks[b]);
    }
}

// The exact per-sample loop for blocks from `first` on, with the stop test at every block and sample:
// used for the blocks that stop partway through a run (and that do not sound at all).
template <class F4>
void renderBlocksPerSample(PartialBank& bank, int first, const float* p, const float* baseFrequency, int n,
                           float* sumsLeft, float* sumsRight) noexcept {
    const F4 scale = F4::load(bank.tableScale);
    const float* table = &bank.sineTable[0][0];
    for (int t = 0; t < n; ++t) {
        F4 sumLeft = F4::load(sumsLeft + 4 * t), sumRight = F4::load(sumsRight + 4 * t);
        const F4 pt(p[t]);
        for (int b = first; b < bank.blockCount; ++b) {
            PartialBlock& blk = bank.blocks[b];
            if (!blockSounds(blk, baseFrequency[t])) break;
            BlockState<F4> s(blk);
            const F4 sine = s.sine(pt, scale, table);
            sumLeft += s.ampLeft * sine;
            sumRight += s.ampRight * sine;
            s.advance();
            s.storeMoving(blk);
        }
        sumLeft.store(sumsLeft + 4 * t);
        sumRight.store(sumsRight + 4 * t);
    }
}

// The arithmetic of the run kernel alone (no ramps, no stop test), for throughput comparisons.
template <class F4>
void renderBareBlocks(const PartialBank& bank, const float* p, int n, int count, float* sumsLeft,
                      float* sumsRight) noexcept {
    const F4 scale = F4::load(bank.tableScale);
    const float* table = &bank.sineTable[0][0];
    for (int b = 0; b < count; ++b) {
        const BlockState<F4> s(bank.blocks[b]);
        for (int t = 0; t < n; ++t) {
            const F4 sine = s.sine(F4(p[t]), scale, table);
            (F4::load(sumsLeft + 4 * t) + s.ampLeft * sine).store(sumsLeft + 4 * t);
            (F4::load(sumsRight + 4 * t) + s.ampRight * sine).store(sumsRight + 4 * t);
        }
    }
}

}  // namespace quenvale::partial_kernels
