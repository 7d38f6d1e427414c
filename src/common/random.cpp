// MT19937 with the multiplicative seeding the editor's random tools rely on.
#include "common/random.h"

namespace quenvale {

namespace {

constexpr int kN = 624;
constexpr int kM = 397;
constexpr uint32_t kMatrixA = 0x9908b0dfu;
constexpr uint32_t kUpperMask = 0x80000000u;
constexpr uint32_t kLowerMask = 0x7fffffffu;
constexpr uint32_t kDefaultSeed = 4357u;

uint32_t gState[kN];
int gNext = kN + 1;  // kN + 1: never seeded

void twist() noexcept {
    for (int i = 0; i < kN; ++i) {
        const uint32_t y = (gState[i] & kUpperMask) | (gState[(i + 1) % kN] & kLowerMask);
        gState[i] = gState[(i + kM) % kN] ^ (y >> 1) ^ ((y & 1u) != 0 ? kMatrixA : 0u);
    }
    gNext = 0;
}

}  // namespace

void seedRandom(uint32_t seed) noexcept {
    uint32_t x = seed | 1u;
    gState[0] = x;
    for (int i = 1; i < kN; ++i) {
        x *= 69069u;
        gState[i] = x;
    }
    gNext = kN;
}

uint32_t randomNext() noexcept {
    if (gNext > kN) seedRandom(kDefaultSeed);
    if (gNext >= kN) twist();
    uint32_t y = gState[gNext++];
    y ^= y >> 11;
    y ^= (y << 7) & 0x9d2c5680u;
    y ^= (y << 15) & 0xefc60000u;
    y ^= y >> 18;
    return y;
}

float randomFloat(float lo, float hi) noexcept {
    const double unit = static_cast<double>(randomNext() & 0x3FFFFFFFu) * (1.0 / 1073741824.0);
    return static_cast<float>(static_cast<double>(lo) +
                              (static_cast<double>(hi) - static_cast<double>(lo)) * unit);
}

}  // namespace quenvale
