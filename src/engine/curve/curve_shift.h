// Fractional shift of a partial curve along the partial axis.
#pragma once

#include "engine/curve/partial_curve.h"

namespace quenvale {

// [any] destination[k] = source sampled at position k − amount with linear interpolation
// (positive amounts move content towards higher partials), computed in double and stored as float.
// Positions outside the curve read the border value: 0, or with repeatBorder the first value when
// amount is positive or +0 and the last value otherwise. A NaN amount reads as 0; amounts beyond
// the curve's length read the border everywhere. Source and destination must be distinct curves;
// curves of different sizes leave the destination untouched. Allocation-free (audio thread safe).
void curveShift(const PartialCurve& source, PartialCurve& destination, float amount,
                bool repeatBorder) noexcept;

}  // namespace quenvale
