// Key mapping of a spectrum modulator: a segment curve over the note number (0 … 127 as 0 … 1).
#pragma once

#include "engine/curve/breakpoint_curve.h"

namespace quenvale {

// [any] One segment of length 1.0 from 1.0 to 1.0, shape 0.5: a constant factor of 1.
BreakpointCurve defaultKeyMapping() noexcept;

// [any] The note number of f0 divided by 127 (440 Hz → 69/127, 13.75 Hz → 9/127). A non-positive or
// not-a-number f0 has no note; it maps to 0 so that the key mapping yields a finite factor.
float keyPosition(float f0) noexcept;

// [any] Value of the curve at x: the first segment whose cumulative end exceeds x is interpolated;
// past the last segment its end value holds (0 without segments). Shape 0.5 is a straight line;
// another shape c (clamped to 0.001 … 0.999) scales the rise by 4c² (c ≤ 0.5) or (4 − 2c)c − 1, so
// such a segment does not reach its end value before its end.
float evaluateCurve(const BreakpointCurve& curve, float x) noexcept;

}  // namespace quenvale
