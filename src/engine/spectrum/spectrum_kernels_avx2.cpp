// AVX2 (eight float lanes, four double lanes) build of the spectrum passes.
#include "engine/spectrum/spectrum_kernels.h"

#if QUENVALE_WIDE_SIMD
#include "engine/spectrum/spectrum_kernels_impl.h"

namespace quenvale {

const SpectrumKernels& spectrum_kernels::avx2() noexcept {
    static constexpr SpectrumKernels kernels = makeKernels<8, 4>();
    return kernels;
}

}  // namespace quenvale
#endif
