// The engine's process-wide linear congruential generator.
#include "common/runtime_random.h"

#include <atomic>

namespace quenvale {

namespace {

constexpr uint32_t kMultiplier = 214013u;
constexpr uint32_t kIncrement = 2531011u;

std::atomic<uint32_t> gState{1u};

}  // namespace

int runtimeRandom() noexcept {
    uint32_t current = gState.load(std::memory_order_relaxed);
    uint32_t next = current * kMultiplier + kIncrement;
    while (!gState.compare_exchange_weak(current, next, std::memory_order_relaxed))
        next = current * kMultiplier + kIncrement;
    return static_cast<int>((next >> 16) & static_cast<uint32_t>(kRuntimeRandomMax));
}

void seedRuntimeRandom(uint32_t seed) noexcept {
    gState.store(seed, std::memory_order_relaxed);
}

}  // namespace quenvale
