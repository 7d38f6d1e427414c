// The voice generator's audio-thread entry points allocate nothing: counted through a replaced global
// operator new that counts only while a flag is raised.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <vector>

#include "common/simd/simd_path.h"
#include "engine/osc/render_partials.h"
#include "osc_test_support.h"

namespace {

std::atomic<bool> countingAllocations{false};
std::atomic<long> allocationCount{0};

void* countedAllocate(std::size_t size, std::size_t alignment) {
    if (countingAllocations.load(std::memory_order_relaxed)) allocationCount.fetch_add(1);
    if (size == 0) size = 1;
    void* p = alignment > alignof(std::max_align_t)
                  ? std::aligned_alloc(alignment, (size + alignment - 1) / alignment * alignment)
                  : std::malloc(size);
    if (p == nullptr) throw std::bad_alloc();
    return p;
}

}  // namespace

void* operator new(std::size_t size) {
    return countedAllocate(size, 0);
}
void* operator new[](std::size_t size) {
    return countedAllocate(size, 0);
}
void* operator new(std::size_t size, std::align_val_t a) {
    return countedAllocate(size, static_cast<std::size_t>(a));
}
void* operator new[](std::size_t size, std::align_val_t a) {
    return countedAllocate(size, static_cast<std::size_t>(a));
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete(void* p, std::align_val_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::align_val_t) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t, std::align_val_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept {
    std::free(p);
}

namespace quenvale {
namespace {

struct CountAllocations {
    CountAllocations() {
        allocationCount = 0;
        countingAllocations = true;
    }
    ~CountAllocations() { countingAllocations = false; }
    long count() const { return allocationCount.load(); }
};

TEST(OscAllocation, CounterSeesAllocations) {
    CountAllocations counter;
    auto* v = new std::vector<int>(10);
    delete v;
    EXPECT_GE(counter.count(), 2);
}

TEST(OscAllocation, NoteStartTicksRefreshesAndRunsAllocateNothing) {
    osctest::TestVoice v(512);
    v.channel->gen.pwmMode = kPwmSub;
    v.channel->gen.pwmWidth.base = 0.4f;
    v.channel->compressor.on = true;
    v.curves.amp = [](int k) { return 1.0f / static_cast<float>(k + 1); };
    v.writeCurves();
    alignas(64) float left[200] = {}, right[200] = {};
    const simd::SimdPath saved = partialRunPath();
    for (int p = 0; p < simd::kSimdPathCount; ++p) {
        if (!setPartialRunPath(static_cast<simd::SimdPath>(p))) continue;
        CountAllocations counter;
        startVoiceGenerator(*v.vg, *v.channel, 55.0f, v.outputs);
        updateGeneratorControl(*v.vg, *v.channel, v.outputs, 55.0f, 1.0f, 0.0f);
        for (int tick = 0; tick < 20; ++tick) {
            renderGeneratorRun(*v.vg, *v.channel, 64, left, right);
            updateGeneratorControl(*v.vg, *v.channel, v.outputs, 55.0f, 1.0f, 0.015625f);
            refreshGeneratorControl(*v.vg, *v.channel, v.outputs, 55.0f, 1.0f, 0.015625f);
        }
        renderGeneratorRun(*v.vg, *v.channel, 200, left, right);
        renderGeneratorSample(*v.vg, *v.channel, left[0], right[0]);
        releaseVoiceGenerator(*v.vg);
        EXPECT_EQ(counter.count(), 0) << simd::simdPathName(static_cast<simd::SimdPath>(p));
    }
    setPartialRunPath(saved);
}

}  // namespace
}  // namespace quenvale
