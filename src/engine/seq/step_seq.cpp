// Control-rate update of one step sequencer of a voice.
#include "engine/seq/step_seq.h"

#include <algorithm>
#include <cmath>

#include "engine/interpolated_table.h"
#include "engine/lfo/tempo_sync.h"
#include "engine/rate_values.h"
#include "engine/seq/step_shapes.h"

namespace quenvale {

void resetStepSeq(StepSeqState& state) noexcept {
    state.step = 0;
    state.position = 0.0f;
    state.outLevel = 1.0f;
    state.output = 0.0f;
}

void tickStepSeq(const StepSeqBlock& block, StepSeqState& state, float outLevel) noexcept {
    const int32_t sync = block.sync;
    const bool running = isTempoSynced(sync);
    state.increment = static_cast<float>(static_cast<double>(rates.lfoIncrementScale) *
                                         syncedRate(rates.hostTempo, running ? sync : 0));
    state.outLevel = outLevel;
    if (!running) {
        state.output = 0.0f;
        return;
    }

    constexpr float kSpan = static_cast<float>(kTableLength);
    float position = state.position + state.increment;
    int32_t step = state.step;
    if (position >= kSpan) {
        ++step;
        position -= kSpan;
        // More than one step per tick (very fast tempo at a low sample rate): skip whole steps.
        if (position >= kSpan) {
            const float skipped = std::floor(position / kSpan);
            position -= skipped * kSpan;
            step += static_cast<int32_t>(std::min(skipped, static_cast<float>(kMaxSteps)));
        }
    }
    // A NaN, negative or infinite tempo stands the sequencer still instead of leaving the table.
    if (!(position >= 0.0f && position < kSpan)) position = 0.0f;
    const int32_t count = std::clamp(block.stepCount, 1, kMaxSteps);
    if (step >= count || step < 0) step = 0;
    state.step = step;
    state.position = position;

    const Step& s = block.steps[step];
    const double u = readTable(stepShapeTable(s.shape), position);
    state.output = static_cast<float>((u * s.range + s.start) * outLevel);
}

}  // namespace quenvale
