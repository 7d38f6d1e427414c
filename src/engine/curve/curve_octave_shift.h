// Shift of a partial curve by octaves (harmonic number h moves to h × 2^octaves), in three modes.
#pragma once

#include <cstdint>

#include "engine/curve/partial_curve.h"

namespace quenvale {

enum OctaveShiftMode : int32_t {
    kOctaveShiftInterpolated = 0,
    kOctaveShiftRepeated = 1,
    kOctaveShiftNearest = 2,
};

// [any] Resamples source into destination so that partial k (harmonic k + 1) takes the content of
// harmonic (k + 1) × 2^−octaves, computed in double and stored as float:
// - mode 0 interpolates linearly at x = (k + 1) × r − 1 (r = 2^−octaves as float, x rounded to
//   float and truncated toward zero, so x = −0.5 extrapolates from entries 0 and 1);
// - mode 1 repeats the entry ((k + 1) × r truncated) − 1;
// - mode 2 clears the destination and moves every source entry j to ((j + 1) × 2^octaves
//   truncated) − 1, keeping the larger value where several land on one entry.
// Modes 0 and 1 read the border value outside the curve: 0, or with repeatBorder the first value
// when octaves is positive or +0 and the last value otherwise. Any other mode, or curves of
// different sizes, leave the destination untouched. A NaN octaves reads as 0. Source and
// destination must be distinct curves. Allocation-free (audio thread safe).
void curveOctaveShift(const PartialCurve& source, PartialCurve& destination, float octaves, bool repeatBorder,
                      int32_t mode) noexcept;

}  // namespace quenvale
