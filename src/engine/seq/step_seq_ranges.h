// The step sequencer's stored-data rules: the step count a Length selects and the derived ranges.
#pragma once

#include <cstdint>

#include "engine/seq/step_seq_block.h"

namespace quenvale {

// Step counts for Length values 0 … 8.
inline constexpr int32_t kStepCounts[9] = {1, 2, 3, 4, 8, 12, 16, 24, 32};

// [any] Takes a new Length value (an index outside 0 … 8 reads as 3) and recomputes the ranges of all
// steps below the new count.
void setStepSeqLength(StepSeqBlock& block, int32_t lengthIndex) noexcept;
// [any] Stores the start of step i (i < 32); when i is below the count, recomputes range(i) and
// range((i − 1) mod count).
void setStepStart(StepSeqBlock& block, int32_t index, float value) noexcept;
// [any] range(i) = start((i + 1) mod count) − start(i) for every i below the count.
void recomputeStepRanges(StepSeqBlock& block) noexcept;

}  // namespace quenvale
