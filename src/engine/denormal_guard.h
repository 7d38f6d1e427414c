// Flush-to-zero and denormals-are-zero for the length of one render call.
#pragma once

#if defined(__SSE2__) || defined(_M_X64) || defined(__x86_64__)
#include <xmmintrin.h>
#define QUENVALE_HAS_MXCSR 1
#endif

namespace quenvale {

// [audio] Sets FTZ and DAZ in MXCSR and restores the caller's MXCSR on leaving the scope, so the
// host's floating-point mode is untouched. Does nothing off x86.
class ScopedDenormalGuard {
public:
#ifdef QUENVALE_HAS_MXCSR
    ScopedDenormalGuard() noexcept : saved_(_mm_getcsr()) {
        _mm_setcsr(saved_ | kFtzDaz);
    }
    ~ScopedDenormalGuard() {
        _mm_setcsr(saved_);
    }
#else
    ScopedDenormalGuard() noexcept {}
#endif
    ScopedDenormalGuard(const ScopedDenormalGuard&) = delete;
    ScopedDenormalGuard& operator=(const ScopedDenormalGuard&) = delete;

private:
#ifdef QUENVALE_HAS_MXCSR
    static constexpr unsigned kFtzDaz = 0x8040u;  // bit 15 flush-to-zero, bit 6 denormals-are-zero
    unsigned saved_;
#endif
};

}  // namespace quenvale
