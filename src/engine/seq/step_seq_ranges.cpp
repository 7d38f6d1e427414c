// Step counts and range maintenance of the step sequencers.
#include "engine/seq/step_seq_ranges.h"

#include "params/relaxed_field.h"

namespace quenvale {
namespace {

void recomputeRange(StepSeqBlock& block, int32_t i) noexcept {
    const int32_t c = block.stepCount;
    block.steps[i].range = block.steps[(i + 1) % c].start - block.steps[i].start;
}

}  // namespace

void setStepSeqLength(StepSeqBlock& block, int32_t lengthIndex) noexcept {
    if (lengthIndex < 0 || lengthIndex > 8) lengthIndex = 3;
    storeRelaxed(block.lengthIndex, lengthIndex);
    block.stepCount = kStepCounts[lengthIndex];
    recomputeStepRanges(block);
}

void setStepStart(StepSeqBlock& block, int32_t index, float value) noexcept {
    if (index < 0 || index >= kMaxSteps) return;
    block.steps[index].start = value;
    const int32_t c = block.stepCount;
    if (index < c) {
        recomputeRange(block, index);
        recomputeRange(block, (index - 1 + c) % c);
    }
}

void recomputeStepRanges(StepSeqBlock& block) noexcept {
    for (int32_t i = 0; i < block.stepCount; ++i) recomputeRange(block, i);
}

}  // namespace quenvale
