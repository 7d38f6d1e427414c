// The slope rule of breakpoint spectra.
#include "engine/spectrum/spectrum_breakpoint.h"

namespace quenvale {

void updateSlopes(SpectrumBreakpoint& breakpoint, const SpectrumBreakpoint* next) noexcept {
    float* slopes = breakpoint.slopes.data();
    const int32_t size = breakpoint.slopes.size();
    if (next == nullptr || !(next->distance > 0.0f)) {
        breakpoint.slopes.clear();
        return;
    }
    const float factor = 1.0f / next->distance;
    const float* from = breakpoint.values.data();
    const float* to = next->values.data();
    const float fromLevel = breakpoint.level;
    const float toLevel = next->level;
    for (int32_t k = 0; k < size; ++k) slopes[k] = (to[k] * toLevel - from[k] * fromLevel) * factor;
}

}  // namespace quenvale
