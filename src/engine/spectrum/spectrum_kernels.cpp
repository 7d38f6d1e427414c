// Baseline build of the spectrum passes (four lanes) and the run-time choice of path.
#include "engine/spectrum/spectrum_kernels.h"

#include <atomic>

#include "engine/spectrum/spectrum_kernels_impl.h"

namespace quenvale {
namespace {

std::atomic<int> selectedPath{-1};

const SpectrumKernels& kernelsFor(simd::SimdPath path) noexcept {
    switch (path) {
#if QUENVALE_AVX512_SIMD
        case simd::SimdPath::kAvx512:
            return spectrum_kernels::avx512();
#endif
#if QUENVALE_WIDE_SIMD
        case simd::SimdPath::kAvx2:
            return spectrum_kernels::avx2();
#endif
        default:
            return spectrum_kernels::baseline();
    }
}

}  // namespace

const SpectrumKernels& spectrum_kernels::baseline() noexcept {
    static constexpr SpectrumKernels kernels = makeKernels<4, 0>();
    return kernels;
}

const SpectrumKernels& spectrumKernels() noexcept {
    return kernelsFor(spectrumKernelPath());
}

bool setSpectrumKernelPath(simd::SimdPath path) noexcept {
    if (!simd::simdPathSupported(path)) return false;
    selectedPath.store(static_cast<int>(path), std::memory_order_relaxed);
    return true;
}

simd::SimdPath spectrumKernelPath() noexcept {
    int path = selectedPath.load(std::memory_order_relaxed);
    if (path < 0) {
        path = static_cast<int>(simd::bestSimdPath());
        selectedPath.store(path, std::memory_order_relaxed);
    }
    return static_cast<simd::SimdPath>(path);
}

}  // namespace quenvale
