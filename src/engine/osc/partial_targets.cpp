// Partial targets and per-sample steps, four partials at a time.
#include "engine/osc/partial_targets.h"

#include "common/simd/float4.h"

namespace quenvale {

using simd::Float4;

void computePartialTargets(PartialBank& bank, const float* amp, const float* detune, const float* phase,
                           const float* pan, float dt) noexcept {
    const Float4 oldBase = Float4::load(bank.basePhase);
    const Float4 base = oldBase - trunc(oldBase);
    base.store(bank.basePhase);
    const Float4 phaseParam = Float4::load(bank.phaseParam);

    const Float4 zero(0.0f), one(1.0f), minusOne(-1.0f);
    const Float4 harmonics(1.0f, 2.0f, 3.0f, 4.0f);
    const bool immediate = dt == 0.0f || dt != dt;
    const int blocks = immediate ? kMaxPartialGroups : bank.blockCount;
    const Float4 step(dt);
    const Float4 oldPhase = oldBase + phaseParam;
    const Float4 newPhase = base + phaseParam;

    for (int b = 0; b < blocks; ++b) {
        PartialBlock& blk = bank.blocks[b];
        const Float4 a = Float4::load(amp + 4 * b);
        const Float4 p = Float4::load(pan + 4 * b);
        const Float4 leftGain = zero - min(zero, max(minusOne, p - one));
        const Float4 rightGain = max(zero, min(one, p + one));
        const Float4 targetLeft = leftGain * a;
        const Float4 targetRight = rightGain * a;
        const Float4 targetPhase = Float4::load(phase + 4 * b);
        const Float4 targetRatio =
            (harmonics + Float4(static_cast<float>(4 * b))) + Float4::load(detune + 4 * b);
        if (immediate) {
            targetLeft.store(blk.ampLeft);
            targetRight.store(blk.ampRight);
            targetPhase.store(blk.partialPhase);
            targetRatio.store(blk.ratio);
            zero.store(blk.phaseOffset);
            zero.store(blk.ampLeftStep);
            zero.store(blk.ampRightStep);
            zero.store(blk.partialPhaseStep);
            zero.store(blk.ratioStep);
            continue;
        }
        const Float4 ratio = Float4::load(blk.ratio);
        Float4 offset = ratio * oldPhase - newPhase * ratio + Float4::load(blk.phaseOffset);
        offset = offset - trunc(offset);
        offset.store(blk.phaseOffset);
        ((targetLeft - Float4::load(blk.ampLeft)) * step).store(blk.ampLeftStep);
        ((targetRight - Float4::load(blk.ampRight)) * step).store(blk.ampRightStep);
        ((targetPhase - Float4::load(blk.partialPhase)) * step).store(blk.partialPhaseStep);
        ((targetRatio - ratio) * step).store(blk.ratioStep);
    }
}

}  // namespace quenvale
