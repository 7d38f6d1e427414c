// One breakpoint spectrum of a modulator: a time distance, a level and one value per partial.
#pragma once

#include "common/capacity.h"
#include "engine/curve/partial_curve.h"

namespace quenvale {

// Values and slopes always hold the full 512 partials, whatever the generator's partial count, so a
// change of the count never reallocates; partials at or past the count are stored (0 unless the count
// was larger before) but not evaluated.
struct SpectrumBreakpoint {
    SpectrumBreakpoint() : values(kMaxPartials), slopes(kMaxPartials) {}
    SpectrumBreakpoint(float distanceSeconds, float levelFactor)
        : distance(distanceSeconds), level(levelFactor), values(kMaxPartials), slopes(kMaxPartials) {}

    float distance = 0.0f;  // seconds after the previous breakpoint (the first: after note start)
    float level = 1.0f;     // factor on the values
    PartialCurve values;
    PartialCurve slopes;  // change per second towards the next breakpoint
};

// [ui] Slope rule: slopes[k] = (next.values[k] × next.level − values[k] × level) × (1 / next.distance).
// The last breakpoint (next == nullptr) holds: its slopes are 0. A next breakpoint at distance 0 (or
// less) is a jump, which is never ramped towards: slopes 0 there too, instead of infinities.
void updateSlopes(SpectrumBreakpoint& breakpoint, const SpectrumBreakpoint* next) noexcept;

}  // namespace quenvale
