// The additive oscillator of one voice: up to 512 sine partials in blocks of four around one base phase.
#pragma once

#include <cstdint>

#include "common/capacity.h"
#include "engine/osc/partial_block.h"
#include "engine/osc/sine_table.h"

namespace quenvale {

// All four-float fields hold the same value in every lane unless noted. Every partial derives its phase
// from basePhase: partial phase = ratio × (basePhase + phaseParam) + partialPhase + phaseOffset.
struct alignas(64) PartialBank {
    // [ui] Fills the sine table; tableScale 128; everything else 0 (blockCount 0).
    PartialBank() noexcept;

    alignas(16) float baseFrequency[4];  // f0 in Hz
    alignas(16) float basePhase[4];      // cycles; reduced to its fractional part once per tick
    alignas(16) float phaseParam[4];     // current "Gen1 Phase" value, cycles
    alignas(16) float baseIncrement[4];  // f0 × sampleTime
    alignas(16) float tableScale[4];     // 128
    float outLeft;                       // last rendered stereo sample of the bank
    float outRight;
    int32_t blockCount;                              // active blocks: partial count / 4 (16, 32, 64 or 128)
    alignas(64) float sineTable[kSineTableSize][2];  // (value, slope) pairs; a per-voice copy
    alignas(64) PartialBlock blocks[kMaxPartialGroups];
};

// A partial whose block's first partial lies at or above this frequency (Hz) ends the partial loop.
inline constexpr float kPartialStopFrequency = 20000.0f;

}  // namespace quenvale
