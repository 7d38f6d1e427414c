// Value ↔ screen mappings of the partial graph.
#include "editor/controls/partial_display.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace quenvale::editor {

double partialValueToScreen(float v, int h, uint32_t flags) noexcept {
    double t;
    if ((flags & kDisplayLog) != 0) {
        if (v == 0.0f || std::isnan(v)) {
            t = 1.0;
        } else {
            t = std::min(1.0, -20.0 * std::log10(std::fabs(static_cast<double>(v))) / kLogDisplayRange);
            if (v < 0.0f) t = 2.0 - t;
        }
    } else {
        t = 1.0 - static_cast<double>(v);
    }
    if ((flags & kDisplayBipolar) != 0) t *= 0.5;
    const double y = h * t;
    if (std::isnan(y)) return h;
    return std::clamp(y, 0.0, static_cast<double>(h));
}

float partialScreenToValue(double y, int h, uint32_t flags) noexcept {
    double t = h > 0 ? std::clamp(y / h, 0.0, 1.0) : 0.0;
    if ((flags & kDisplayBipolar) != 0) t *= 2.0;
    if ((flags & kDisplayLog) == 0) return static_cast<float>(1.0 - t);
    const bool negative = t > 1.0;
    if (negative) t = 2.0 - t;
    const double v = std::pow(10.0, t * -kLogDisplayRange * 0.05);
    return static_cast<float>(negative ? -v : v);
}

std::string partialStatusText(int32_t partial, float v) {
    char text[64];
    if (v == 0.0f)
        std::snprintf(text, sizeof text, "Partial %d: -oo dB", partial + 1);
    else
        std::snprintf(text, sizeof text, "Partial %d: %1.1f dB", partial + 1,
                      20.0 * std::log10(std::fabs(static_cast<double>(v))));
    return text;
}

}  // namespace quenvale::editor
