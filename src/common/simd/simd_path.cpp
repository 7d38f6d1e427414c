// Processor feature detection for the run-time choice of vector paths.
#include "common/simd/simd_path.h"

#include <cstring>

#include "common/environment.h"
#include "common/simd/float4.h"

namespace quenvale::simd {
namespace {

#if QUENVALE_WIDE_SIMD
bool cpuHasAvx2() noexcept {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0;
}
const bool hasAvx2 = cpuHasAvx2();  // asked once, when the library is loaded
#endif
#if QUENVALE_AVX512_SIMD
bool cpuHasAvx512() noexcept {
    __builtin_cpu_init();
    // The AVX-512 files are compiled with F, DQ, BW and VL; the compiler may use any of them.
    return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512dq") &&
           __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vl");
}

const bool hasAvx512 = cpuHasAvx512();
#endif

SimdPath readPathLimit() noexcept {
    char text[16];
    SimdPath limit = SimdPath::kAvx512;
    if (readEnvironment("QUENVALE_SIMD", text, sizeof text)) parseSimdPath(text, limit);
    return limit;
}

const SimdPath pathLimit = readPathLimit();

}  // namespace

const char* simdPathName(SimdPath path) noexcept {
    switch (path) {
        case SimdPath::kScalar:
            return "scalar";
        case SimdPath::kSse2:
            return "sse2";
        case SimdPath::kAvx2:
            return "avx2";
        case SimdPath::kAvx512:
            return "avx512";
    }
    return "unknown";
}

bool simdPathSupported(SimdPath path) noexcept {
    switch (path) {
        case SimdPath::kScalar:
            return true;
#if defined(QUENVALE_HAS_SSE2)
        case SimdPath::kSse2:
            return true;
#endif
#if QUENVALE_WIDE_SIMD
        case SimdPath::kAvx2:
            return hasAvx2;
#endif
#if QUENVALE_AVX512_SIMD
        case SimdPath::kAvx512:
            return hasAvx512;
#endif
        default:
            return false;
    }
}

bool parseSimdPath(const char* name, SimdPath& path) noexcept {
    for (int p = 0; p < kSimdPathCount; ++p) {
        if (std::strcmp(name, simdPathName(static_cast<SimdPath>(p))) == 0) {
            path = static_cast<SimdPath>(p);
            return true;
        }
    }
    return false;
}

SimdPath simdPathLimit() noexcept {
    return pathLimit;
}

SimdPath bestSimdPath() noexcept {
    for (int p = static_cast<int>(pathLimit); p > 0; --p)
        if (simdPathSupported(static_cast<SimdPath>(p))) return static_cast<SimdPath>(p);
    return SimdPath::kScalar;
}

}  // namespace quenvale::simd
