// The curve a new envelope starts with.
#pragma once

#include "engine/curve/breakpoint_curve.h"

namespace quenvale {

// [any] Two segments, loop start and end 0, start value 0: 0.01 s to 1.0 with shape 0.3, then
// 1.0 s to 0.0 with shape 0.7 — a 10 ms attack held at 1.0 until note-off, then a 1 s release.
BreakpointCurve defaultEnvelopeCurve() noexcept;

}  // namespace quenvale
