// The engine's random numbers: a generator of our own with the arithmetic of the 32-bit Windows C
// runtime's rand(), so sounds draw the same sequence on every platform and no other code in the host
// process (srand, rand) can change them.
#pragma once

#include <cstdint>

namespace quenvale {

inline constexpr int kRuntimeRandomMax = 32767;

// [any] The next value in 0 … 32767: x = x × 214013 + 2531011 (mod 2^32), result (x >> 16) & 0x7fff.
// One state per process, starting at x = 1 (the sequence an unseeded runtime gives). Lock-free; draws
// from several threads at once each get a distinct step of the sequence.
int runtimeRandom() noexcept;

// [any] Sets the state x. Meant for tests and tools that need the sequence of a fresh process.
void seedRuntimeRandom(uint32_t seed) noexcept;

}  // namespace quenvale
