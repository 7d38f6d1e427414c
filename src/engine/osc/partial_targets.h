// Control-rate half of the partial bank: turns the four spectrum curves into partial targets and steps.
#pragma once

#include "engine/osc/partial_bank.h"

namespace quenvale {

// [audio] Once per control tick (and after parameter changes). amp, detune, phase and pan each hold
// 512 values (16-byte aligned), one per partial: the outputs of the "Amp", "Detune", "Phase" and "Pan"
// spectrum modulators.
//  - basePhase is reduced to its fractional part (truncation toward zero).
//  - Pan law: left gain = clamp(1 − pan, 0, 1), right gain = clamp(1 + pan, 0, 1).
//  - Target ratio of partial k = (k + 1) + detune[k].
//  - dt = 0 (or NaN): all 128 blocks take their targets at once, phase offsets 0, steps 0.
//  - Otherwise, for the blockCount active blocks, each phase offset absorbs the base-phase reduction
//    (so every partial keeps its phase, also for non-integer ratios) and each step becomes
//    (target − value) × dt: an exponential approach covering 64 × dt of the distance per tick.
void computePartialTargets(PartialBank& bank, const float* amp, const float* detune, const float* phase,
                           const float* pan, float dt) noexcept;

}  // namespace quenvale
