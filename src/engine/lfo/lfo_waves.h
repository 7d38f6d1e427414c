// The LFO waveform tables: one 128-entry interpolated table per type "Sine" … "Tri".
#pragma once

#include <cstdint>

#include "engine/interpolated_table.h"

namespace quenvale {

enum LfoType : int32_t {
    kLfoOff = 0,
    kLfoSine = 1,
    kLfoSaw = 2,
    kLfoInvSaw = 3,
    kLfoPulse = 4,
    kLfoTri = 5,
};
inline constexpr int32_t kLfoTypeCount = 6;

// [any] The table of a type 1 … 5 (the caller filters "Off" and invalid types). The tables are
// built once per process on first use and never change; the engine touches them at construction
// so that the audio thread never builds them.
const TableEntry* lfoWaveTable(int32_t type) noexcept;

}  // namespace quenvale
