// Linear-interpolation stretch.
#include "resynth/resample.h"

namespace quenvale {

std::vector<double> stretchLinear(const std::vector<double>& in, size_t outFrames, double step) {
    std::vector<double> out(outFrames, 0.0);
    if (in.empty()) return out;
    const size_t last = in.size() - 1;
    for (size_t i = 0; i < outFrames; ++i) {
        const double pos = static_cast<double>(i) * step;
        size_t k = static_cast<size_t>(pos);
        if (k > last) k = last;  // rounding can only push the final position to the end, never beyond
        const double t = pos - static_cast<double>(k);
        const size_t next = k + 1 > last ? k : k + 1;
        out[i] = in[k] * (1.0 - t) + in[next] * t;
    }
    return out;
}

}  // namespace quenvale
