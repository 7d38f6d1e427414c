// The vector paths the hot loops can take, and which of them this processor runs.
#pragma once

#include <cstdint>

// AVX2 and AVX-512 paths are built only for 64-bit x86 targets other than Windows: the 32-bit Windows
// build (and its compiler's unaligned spills of wide registers) stays on SSE2.
#if defined(QUENVALE_X86) && (defined(__x86_64__) || defined(_M_X64)) && !defined(_WIN32)
#define QUENVALE_WIDE_SIMD 1
#else
#define QUENVALE_WIDE_SIMD 0
#endif

namespace quenvale::simd {

enum class SimdPath : int32_t {
    kScalar = 0,  // portable lane-by-lane reference
    kSse2 = 1,    // 4 lanes
    kAvx2 = 2,    // 8 lanes
    kAvx512 = 3,  // 16 lanes
};
inline constexpr int kSimdPathCount = 4;

// [any] "scalar", "sse2", "avx2", "avx512".
const char* simdPathName(SimdPath path) noexcept;
// [any] True when the path is built in and this processor (and operating system) can run it.
bool simdPathSupported(SimdPath path) noexcept;
// [any] The widest supported path.
SimdPath bestSimdPath() noexcept;

}  // namespace quenvale::simd
