// Running a breakpoint envelope once per control tick: segments, curvature, loop, hold and release.
#pragma once

#include <cstdint>

#include "engine/curve/breakpoint_curve.h"
#include "engine/env/envelope_state.h"

namespace quenvale {

// Longest segment in control ticks (about 18 days at 44.1 kHz); longer lengths are cut to it so
// that the tick count stays a valid 32-bit integer.
inline constexpr int32_t kMaxSegmentTicks = 1 << 30;

// [audio] Note start: mul = 1, add = 0, value = output = 0, segment = −1, ticksLeft = 0, all flags
// clear, time = 0; outLevel keeps its value.
void resetEnvelope(EnvelopeState& state) noexcept;

// [audio] Note-off: the next tick leaves the current segment for the first segment after the loop
// end, starting from the current value.
void releaseEnvelope(EnvelopeState& state) noexcept;

// [audio] Chooses and starts the next segment (loop, hold and release rules). Returns true when the
// envelope has just run past its last segment and is now finished (value 0). A segment shorter than
// one control tick runs as one tick. Segment and loop indices outside the curve never index it.
bool startSegment(const BreakpointCurve& curve, EnvelopeState& state) noexcept;

// [audio] One control tick with this tick's evaluated Out level. Returns true exactly on the tick
// the envelope finishes; the caller then clears the envelope's sounding bit in the voice.
bool tickEnvelope(const BreakpointCurve& curve, EnvelopeState& state, float outLevel) noexcept;

}  // namespace quenvale
