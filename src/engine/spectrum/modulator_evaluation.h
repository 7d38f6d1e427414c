// Per-voice evaluation of a spectrum modulator tree into one value per partial.
#pragma once

#include <cstdint>

#include "engine/spectrum/modulator.h"
#include "engine/spectrum/modulator_state.h"

namespace quenvale {

struct Channel;

// [ui] Shapes the state's child-state tree after the modulator's children (one state per link, each
// with the parent's output size, recursively). Existing states are kept where the tree still fits.
void prepareModulatorState(ModulatorState& state, const Modulator& modulator);

// [audio] Note start: released clear, time 0, gain 1, offset 0, shift 0 (cutoff, resonance and dry/wet
// take the modulator's base values), output cleared; child states are reset recursively where their
// number matches the links. Never allocates: a tree that no longer matches is left for
// prepareModulatorState, and its children are ignored by the evaluation meanwhile.
void resetModulatorState(ModulatorState& state, const Modulator& modulator) noexcept;

// [audio] The six modulated values for this voice (voiceOutputs indexed by VoiceOutput), then the
// children's when the tree matches.
void evaluateModulatorValues(Modulator& modulator, ModulatorState& state, const Channel& channel,
                             const float* voiceOutputs) noexcept;

// [audio] time += dt for the state and every child state, released or not.
void advanceModulatorTime(ModulatorState& state, float dt) noexcept;

// [audio] Computes state.output for the first partialCount partials (a multiple of four, at most the
// output's size) at fundamental f0: breakpoint interpolation with loop, children, offset, shift,
// dynamic movement, filter and gain × key-mapping factor. Values past partialCount are left at 0.
// A modulator without breakpoints yields an empty spectrum (all 0). Uses the modulator's working
// curves: one evaluation at a time.
void evaluateModulator(Modulator& modulator, ModulatorState& state, float f0, int32_t partialCount) noexcept;

}  // namespace quenvale
