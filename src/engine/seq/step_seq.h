// Control-rate update of one step sequencer of a voice.
#pragma once

#include "engine/seq/step_seq_block.h"
#include "engine/seq/step_seq_state.h"

namespace quenvale {

// [audio] Note start: step = 0, position = 0, outLevel = 1, output = 0.
void resetStepSeq(StepSeqState& state) noexcept;

// [audio] One tick with this tick's evaluated Out level. The position advances by one step per Sync
// division at the host tempo; when it passes 128 the next step begins, and a step at or past the
// step count (after a Length change) restarts at 0. Output = (shape(position) × range + start) ×
// outLevel of the current step. Sync "Off" (or a value outside the list) gives output 0 and keeps
// step and position. Shape indices outside 0 … 8 read as "Constant".
void tickStepSeq(const StepSeqBlock& block, StepSeqState& state, float outLevel) noexcept;

}  // namespace quenvale
