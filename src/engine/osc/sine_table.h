// The 128-entry interpolated sine table that every partial reads.
#pragma once

namespace quenvale {

inline constexpr int kSineTableSize = 128;
inline constexpr int kSineTableMask = kSineTableSize - 1;

// [any] Fills table[i] = (value, slope): value = sin(2π i / 128) with the argument rounded to float and
// the sine rounded to float; slope = value[(i + 1) mod 128] − value[i] in single precision. A reader
// interpolates value[e] + frac × slope[e].
void fillSineTable(float (&table)[kSineTableSize][2]) noexcept;

}  // namespace quenvale
