// AVX-512 (sixteen float lanes, eight double lanes) build of the spectrum passes.
#include "engine/spectrum/spectrum_kernels.h"

#if QUENVALE_AVX512_SIMD
#include "engine/spectrum/spectrum_kernels_impl.h"

namespace quenvale {

const SpectrumKernels& spectrum_kernels::avx512() noexcept {
    static constexpr SpectrumKernels kernels = makeKernels<16, 8>();
    return kernels;
}

}  // namespace quenvale
#endif
