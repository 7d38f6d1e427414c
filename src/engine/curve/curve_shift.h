// Resampling a partial curve along the partial axis: by a number of partials or by octaves.
#pragma once

#include <cstdint>

#include "engine/curve/partial_curve.h"

namespace quenvale {

// [any] destination[k] = source sampled at position k − amount (linear interpolation), so a positive
// amount moves content towards higher partials. Positions outside the curve read the border value:
// 0, or with repeatBorder the first value (amount ≥ +0) or the last one (amount < 0 or −0).
// Source and destination are distinct curves of equal size; if the sizes differ the smaller is used.
void curveShift(const PartialCurve& source, PartialCurve& destination, float amount,
                bool repeatBorder) noexcept;

// [any] Scales harmonic numbers by 2^octaves: mode 0 interpolated, 1 repeated, 2 nearest (larger value
// wins, unreached partials 0). Any other mode leaves the destination untouched. Same size rule.
void curveOctaveShift(const PartialCurve& source, PartialCurve& destination, float octaves, bool repeatBorder,
                      int32_t mode) noexcept;

}  // namespace quenvale
