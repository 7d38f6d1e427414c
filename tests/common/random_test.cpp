// The editor's MT19937: seeding rule, the generator against the standard library's, and randomFloat's
// scaling.
#include "common/random.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <sstream>

namespace quenvale {
namespace {

// A standard-library MT19937 holding the state that seedRandom(seed) sets: words seed | 1, then each times
// 69069, with the whole state used up so that the next output twists first.
std::mt19937 referenceSeededWith(uint32_t seed) {
    std::stringstream state;
    for (uint32_t i = 0, word = seed | 1u; i < 624; ++i, word *= 69069u) state << word << ' ';
    state << 624;
    std::mt19937 reference;
    state >> reference;
    return reference;
}

TEST(Random, MatchesTheStandardGeneratorFromTheSameState) {
    for (const uint32_t seed : {0u, 1u, 10u, 4357u, 0xFFFFFFFFu}) {
        std::mt19937 reference = referenceSeededWith(seed);
        seedRandom(seed);
        for (int i = 0; i < 1500; ++i)  // past the first twist of the state and into the second
            ASSERT_EQ(randomNext(), reference()) << "seed " << seed << " output " << i;
    }
}

TEST(Random, FloatUsesThirtyBitsScaledIntoTheRange) {
    seedRandom(777);
    std::mt19937 reference = referenceSeededWith(777);
    for (int i = 0; i < 2000; ++i) {
        const double unit = static_cast<double>(reference() & 0x3FFFFFFFu) / 1073741824.0;
        ASSERT_EQ(randomFloat(-1.0f, 1.0f), static_cast<float>(-1.0 + 2.0 * unit)) << i;
    }
}

}  // namespace
}  // namespace quenvale
