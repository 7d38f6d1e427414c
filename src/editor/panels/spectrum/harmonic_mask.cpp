// Harmonic selection masks by pattern.
#include "editor/panels/spectrum/harmonic_mask.h"

#include <cstddef>

namespace quenvale::editor {

std::vector<bool> harmonicMask(int32_t pattern, bool invert, int32_t partialCount) {
    std::vector<bool> mask(partialCount > 0 ? static_cast<size_t>(partialCount) : 0, true);
    if (pattern <= kPatternAll || pattern >= kPatternCount) return mask;
    for (int32_t k = 0; k < partialCount; ++k) {
        const int32_t h = k + 1;
        const bool matches = pattern == kPatternPowersOfTwo ? (h & (h - 1)) == 0 : h % (pattern + 1) == 0;
        mask[k] = h == 1 || matches != invert;
    }
    return mask;
}

}  // namespace quenvale::editor
