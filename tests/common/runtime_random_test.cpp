// The engine's generator: the 32-bit Windows runtime's rand() sequence, untouched by the C runtime's
// own generator, and no step lost when two threads draw at once.
#include "common/runtime_random.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <thread>
#include <vector>

namespace quenvale {
namespace {

// The sequence by its definition: x = x × 214013 + 2531011 mod 2^32, output (x >> 16) & 0x7fff.
std::vector<int> referenceSequence(uint32_t x, int count) {
    std::vector<int> values;
    for (int i = 0; i < count; ++i) {
        x = x * 214013u + 2531011u;
        values.push_back(static_cast<int>((x >> 16) & 0x7fffu));
    }
    return values;
}

TEST(RuntimeRandom, GivesTheUnseededWindowsSequenceWhateverTheCRuntimeDoes) {
    seedRuntimeRandom(1);
    std::srand(12345);  // a host or another plug-in playing with the C runtime's generator
    std::vector<int> drawn;
    for (int i = 0; i < 10; ++i) {
        drawn.push_back(runtimeRandom());
        (void)std::rand();
    }
    // The first values an unseeded 32-bit Windows rand() returns.
    EXPECT_EQ(drawn, (std::vector<int>{41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464}));
    std::vector<int> more;
    for (int i = 0; i < 100000; ++i) more.push_back(runtimeRandom());
    std::vector<int> expected = referenceSequence(1, 100010);
    EXPECT_TRUE(std::equal(more.begin(), more.end(), expected.begin() + 10));
    EXPECT_EQ(*std::max_element(more.begin(), more.end()), kRuntimeRandomMax);
    EXPECT_EQ(*std::min_element(more.begin(), more.end()), 0);
}

TEST(RuntimeRandom, ThreadsDrawingAtOnceShareOneSequenceWithoutLosingSteps) {
    constexpr int kPerThread = 50000;
    seedRuntimeRandom(777);
    std::vector<int> first, second;
    auto draw = [](std::vector<int>& into) {
        into.reserve(kPerThread);
        for (int i = 0; i < kPerThread; ++i) into.push_back(runtimeRandom());
    };
    std::thread a(draw, std::ref(first)), b(draw, std::ref(second));
    a.join();
    b.join();
    std::vector<int> all = first;
    all.insert(all.end(), second.begin(), second.end());
    std::vector<int> expected = referenceSequence(777, 2 * kPerThread);
    std::sort(all.begin(), all.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(all, expected);
    EXPECT_EQ(runtimeRandom(), referenceSequence(777, 2 * kPerThread + 1).back());
}

}  // namespace
}  // namespace quenvale
