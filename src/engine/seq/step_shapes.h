// The nine step shapes: 128-entry interpolated ramps from 0 towards 1 that do not wrap.
#pragma once

#include <cstdint>

#include "engine/interpolated_table.h"

namespace quenvale {

inline constexpr int32_t kStepShapeCount = 9;

// Menu texts of shapes 0 … 8, in table order.
inline constexpr const char* kStepShapeNames[kStepShapeCount] = {
    "Constant", "Linear", "Sine", "Pow 2", "Pow 4", "Pow 8", "Inv Pow 2", "Inv Pow 4", "Inv Pow 8",
};

// [any] The table of a shape; an index outside 0 … 8 reads as "Constant" (0). Built once per
// process on first use and never changed; the engine touches it at construction so that the audio
// thread never builds it. slope(127) = 0: a ramp ends at value(127), not at 1.
const TableEntry* stepShapeTable(int32_t shape) noexcept;

}  // namespace quenvale
