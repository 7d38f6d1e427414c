// The vector paths the hot loops can take, and which of them this processor runs.
#pragma once

#include <cstdint>

// The AVX2 path is built for every x86 target; the AVX-512 path for 64-bit ones only, since its kernels
// keep the sine table in sixteen of the 32 registers that only 64-bit code has (32-bit code has eight).
#if defined(QUENVALE_X86)
#define QUENVALE_WIDE_SIMD 1
#else
#define QUENVALE_WIDE_SIMD 0
#endif
#if defined(QUENVALE_X86) && (defined(__x86_64__) || defined(_M_X64))
#define QUENVALE_AVX512_SIMD 1
#else
#define QUENVALE_AVX512_SIMD 0
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
// [any] The widest supported path, or the widest supported one not wider than the limit set by the
// environment variable QUENVALE_SIMD ("scalar", "sse2", "avx2" or "avx512"; read once when the library
// is loaded, anything else is ignored). The limit lets a host or test run a built plug-in on each path;
// it changes the speed only, never the sound: every path is bit-identical to the scalar one.
SimdPath bestSimdPath() noexcept;
// [any] The limit QUENVALE_SIMD set, or kAvx512 (no limit) when it is unset or not a path name.
SimdPath simdPathLimit() noexcept;
// [any] The path named name ("scalar", "sse2", "avx2", "avx512"); false for any other text.
bool parseSimdPath(const char* name, SimdPath& path) noexcept;

}  // namespace quenvale::simd
