// Binding modulation slots to their sources and evaluating modulated values.
#pragma once

#include "params/mod_param.h"

namespace quenvale {

struct Channel;

// [any] Computes the slot's binding from its source and amount (voice numbering, 0 … 157). A slot whose
// amount is exactly zero, or whose source lies outside the numbering, binds to nothing.
void bindSlot(const Channel& channel, ModSlot& slot) noexcept;
// [any] The same for the channel numbering (0 … 138).
void bindChSlot(const Channel& channel, ChModSlot& slot) noexcept;

// [audio] base + amount1 × source1 + amount2 × source2, each multiply-add in double precision rounded
// to float. voiceOutputs holds the evaluated voice's outputs, indexed by VoiceOutput. Stale slots are
// bound on first use.
float evaluateModParam(const Channel& channel, const float* voiceOutputs, ModParam& param) noexcept;
float evaluateChModParam(const Channel& channel, ChModParam& param) noexcept;

// [any] Marks both slots unbound and stale (after stored data set their sources and amounts).
void markStale(ModParam& param) noexcept;
void markStale(ChModParam& param) noexcept;

}  // namespace quenvale
