// The partial loop: per-sample reference and run renderer with its run-time path choice.
//
// A run is rendered in three parts. First the leading blocks whose first partial stays below the stop
// frequency at every sample of the run are counted (an exact lane-0 simulation); these are rendered by
// the path's kernel, each block carried through the whole run. The remaining blocks, which stop at some
// or all samples, take the exact per-sample loop with its stop test; usually this ends at once.
#include "engine/osc/render_partials.h"

#include <atomic>
#include <cstring>

#include "common/simd/float4.h"
#include "engine/osc/partial_kernels_generic.h"
#include "engine/osc/partial_run_kernels.h"

namespace quenvale {
namespace {

using simd::SimdPath;
namespace pk = partial_kernels;

std::atomic<int> selectedPath{-1};

SimdPath resolvePath(SimdPath path) noexcept {
    return simd::simdPathSupported(path) ? path : simd::bestSimdPath();
}

#if QUENVALE_WIDE_SIMD
// A wide kernel's call.
int runWide(SimdPath path, pk::KernelCall call) noexcept {
#if QUENVALE_AVX512_SIMD
    if (path == SimdPath::kAvx512) {
        pk::runKernelAvx512(&call);
        return call.result;
    }
#endif
    (void)path;
    pk::runKernelAvx2(&call);
    return call.result;
}
#endif

int countFullBlocks(SimdPath path, const PartialBank& bank, const float* bf, int n, int count) noexcept {
    switch (path) {
#if QUENVALE_WIDE_SIMD
        case SimdPath::kAvx512:
        case SimdPath::kAvx2:
            return runWide(path, {pk::KernelCall::kCountFullBlocks, const_cast<PartialBank*>(&bank), bf, n,
                                  count, nullptr, nullptr, 0});
#endif
#if defined(QUENVALE_HAS_SSE2)
        case SimdPath::kSse2:
            return pk::countFullBlocks<simd::sse2::Float4>(bank, bf, n, count);
#endif
        default:
            return pk::countFullBlocks<simd::scalar::Float4>(bank, bf, n, count);
    }
}

void renderFullBlocks(SimdPath path, PartialBank& bank, const float* p, int n, int count, float* sumsLeft,
                      float* sumsRight) noexcept {
    switch (path) {
#if QUENVALE_WIDE_SIMD
        case SimdPath::kAvx512:
        case SimdPath::kAvx2:
            runWide(path, {pk::KernelCall::kRenderFullBlocks, &bank, p, n, count, sumsLeft, sumsRight, 0});
            return;
#endif
#if defined(QUENVALE_HAS_SSE2)
        case SimdPath::kSse2:
            return pk::renderFullBlocks<simd::sse2::Float4>(bank, p, n, count, sumsLeft, sumsRight);
#endif
        default:
            return pk::renderFullBlocks<simd::scalar::Float4>(bank, p, n, count, sumsLeft, sumsRight);
    }
}

// Per-lane, per-sample partial sums of one run, zeroed, with the room the wide kernels need around them.
struct RunSums {
    static_assert(pk::kMaxRunSamplesForKernels == kMaxRunSamples);
    static constexpr int kSize = pk::kSumsPadBefore + 4 * kMaxRunSamples + pk::kSumsPadAfter;
    alignas(64) float leftBuffer[kSize];
    alignas(64) float rightBuffer[kSize];
    RunSums() noexcept {
        std::memset(leftBuffer, 0, sizeof(leftBuffer));
        std::memset(rightBuffer, 0, sizeof(rightBuffer));
    }
    float* left() noexcept { return leftBuffer + pk::kSumsPadBefore; }
    float* right() noexcept { return rightBuffer + pk::kSumsPadBefore; }

    // ((lane0 + lane1) + lane2) + lane3 of every sample, in double, stored as float.
    void collect(int n, float* outLeft, float* outRight) noexcept {
        for (int t = 0; t < n; ++t) {
            outLeft[t] = simd::scalar::sumLanesDouble(simd::scalar::Float4::load(left() + 4 * t));
            outRight[t] = simd::scalar::sumLanesDouble(simd::scalar::Float4::load(right() + 4 * t));
        }
    }
};

// One run of at most kMaxRunSamples samples.
void renderRun(PartialBank& bank, const float* baseFrequency, const float* baseIncrement,
               const float* phaseParam, int n, float* outLeft, float* outRight, SimdPath path) noexcept {
    alignas(64) float p[kMaxRunSamples];
    RunSums sums;
    float* sumsLeft = sums.left();
    float* sumsRight = sums.right();

    // The base phase is the same in every lane; it moves exactly as the per-sample loop moves it.
    float basePhase = bank.basePhase[0];
    for (int t = 0; t < n; ++t) {
        basePhase = basePhase + baseIncrement[t];
        p[t] = basePhase + phaseParam[t];
    }
    const int full = countFullBlocks(path, bank, baseFrequency, n, bank.blockCount);
    if (full > 0) renderFullBlocks(path, bank, p, n, full, sumsLeft, sumsRight);
    if (full < bank.blockCount) {
        if (path == SimdPath::kScalar) {
            pk::renderBlocksPerSample<simd::scalar::Float4>(bank, full, p, baseFrequency, n, sumsLeft,
                                                            sumsRight);
        } else {
            pk::renderBlocksPerSample<simd::Float4>(bank, full, p, baseFrequency, n, sumsLeft, sumsRight);
        }
    }

    sums.collect(n, outLeft, outRight);
    for (int j = 0; j < 4; ++j) {
        bank.basePhase[j] = basePhase;
        bank.baseFrequency[j] = baseFrequency[n - 1];
        bank.baseIncrement[j] = baseIncrement[n - 1];
        bank.phaseParam[j] = phaseParam[n - 1];
    }
    bank.outLeft = outLeft[n - 1];
    bank.outRight = outRight[n - 1];
}

}  // namespace

void renderPartials(PartialBank& bank) noexcept {
    pk::renderPartialsSample<simd::scalar::Float4>(bank);
}

void renderPartialsRun(PartialBank& bank, const float* baseFrequency, const float* baseIncrement,
                       const float* phaseParam, int n, float* outLeft, float* outRight,
                       simd::SimdPath path) noexcept {
    path = resolvePath(path);
    for (int start = 0; start < n; start += kMaxRunSamples) {
        const int length = n - start < kMaxRunSamples ? n - start : kMaxRunSamples;
        renderRun(bank, baseFrequency + start, baseIncrement + start, phaseParam + start, length,
                  outLeft + start, outRight + start, path);
    }
}

void renderPartialsRun(PartialBank& bank, const float* baseFrequency, const float* baseIncrement,
                       const float* phaseParam, int n, float* outLeft, float* outRight) noexcept {
    renderPartialsRun(bank, baseFrequency, baseIncrement, phaseParam, n, outLeft, outRight, partialRunPath());
}

bool setPartialRunPath(simd::SimdPath path) noexcept {
    if (!simd::simdPathSupported(path)) return false;
    selectedPath.store(static_cast<int>(path), std::memory_order_relaxed);
    return true;
}

simd::SimdPath partialRunPath() noexcept {
    int path = selectedPath.load(std::memory_order_relaxed);
    if (path < 0) {
        path = static_cast<int>(simd::bestSimdPath());
        selectedPath.store(path, std::memory_order_relaxed);
    }
    return static_cast<SimdPath>(path);
}

void renderBarePartialRun(const PartialBank& bank, const float* p, int n, int count, float* outLeft,
                          float* outRight, simd::SimdPath path) noexcept {
    if (n > kMaxRunSamples) n = kMaxRunSamples;
    RunSums sums;
    switch (resolvePath(path)) {
#if QUENVALE_WIDE_SIMD
        case SimdPath::kAvx512:
        case SimdPath::kAvx2:
            // Frozen blocks: the kernel writes nothing back, so the cast only fits the shared call record.
            runWide(resolvePath(path), {pk::KernelCall::kRenderBareBlocks, const_cast<PartialBank*>(&bank), p,
                                        n, count, sums.left(), sums.right(), 0});
            break;
#endif
#if defined(QUENVALE_HAS_SSE2)
        case SimdPath::kSse2:
            pk::renderBareBlocks<simd::sse2::Float4>(bank, p, n, count, sums.left(), sums.right());
            break;
#endif
        default:
            pk::renderBareBlocks<simd::scalar::Float4>(bank, p, n, count, sums.left(), sums.right());
            break;
    }
    sums.collect(n, outLeft, outRight);
}

}  // namespace quenvale
