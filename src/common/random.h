// The editor's process-wide random generator: a 32-bit Mersenne Twister (MT19937).
#pragma once

#include <cstdint>

namespace quenvale {

// [ui] Seeds the generator: first state word s | 1, every further word the previous one times 69069.
// A generator used before any seeding seeds itself with 4357.
void seedRandom(uint32_t seed) noexcept;

// [ui] The next tempered 32-bit output.
uint32_t randomNext() noexcept;

// [ui] lo + (hi - lo) * ((y & 0x3FFFFFFF) * 2^-30) for the next output y, computed in double.
float randomFloat(float lo, float hi) noexcept;

}  // namespace quenvale
