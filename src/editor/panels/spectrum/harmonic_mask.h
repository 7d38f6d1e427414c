// The harmonic selection mask: which partials drawing, clearing and scratchpad transfers may touch.
#pragma once

#include <cstdint>
#include <vector>

namespace quenvale::editor {

// Patterns 0 … 8: buttons "1" … "8" and "P".
inline constexpr int32_t kPatternAll = 0;
inline constexpr int32_t kPatternPowersOfTwo = 8;
inline constexpr int32_t kPatternCount = 9;

// [any] One flag per partial (P of them; partial k is harmonic h = k + 1):
// - pattern 0: every partial (invert ignored);
// - patterns 1 … 7: h divisible by pattern + 1 matches; pattern 8: h a power of two matches;
// - without invert the matching partials are selected, with invert all the others;
// - the fundamental is always selected.
// A pattern outside 0 … 8 selects every partial.
std::vector<bool> harmonicMask(int32_t pattern, bool invert, int32_t partialCount);

}  // namespace quenvale::editor
