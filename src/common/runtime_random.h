// The engine's random numbers: the C runtime's rand() narrowed to 0 … 32767 on every platform.
#pragma once

#include <cstdlib>

namespace quenvale {

inline constexpr int kRuntimeRandomMax = 32767;

// [ui] rand() in 0 … 32767, never seeded. Runtimes whose rand() spans more (glibc: 2^31 − 1) keep the
// low 15 bits, so scaling by 1 / 32767 gives 0 … 1 everywhere.
inline int runtimeRandom() noexcept {
    return std::rand() & kRuntimeRandomMax;
}

}  // namespace quenvale
