// The stored data a new step sequencer starts with.
#pragma once

#include "engine/seq/step_seq_block.h"

namespace quenvale {

// [any] Sync "Off", Length 3 (four steps), every one of the 32 steps shaped "Sine" with value 0.0
// on even and 1.0 on odd steps, ranges recomputed, Out 1 with empty modulation slots.
StepSeqBlock defaultStepSeqBlock() noexcept;

}  // namespace quenvale
