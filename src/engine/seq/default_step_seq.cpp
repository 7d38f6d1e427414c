// The stored data a new step sequencer starts with.
#include "engine/seq/default_step_seq.h"

#include "engine/seq/step_seq_ranges.h"

namespace quenvale {

StepSeqBlock defaultStepSeqBlock() noexcept {
    StepSeqBlock block;
    block.sync = 0;
    for (int32_t k = 0; k < kMaxSteps; ++k) {
        block.steps[k].shape = 2;
        block.steps[k].start = (k % 2 == 0) ? 0.0f : 1.0f;
    }
    block.out.base = 1.0f;
    setStepSeqLength(block, 3);
    return block;
}

}  // namespace quenvale
