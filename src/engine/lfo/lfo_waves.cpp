// The LFO waveform tables, built once per process.
#include "engine/lfo/lfo_waves.h"

#include <cmath>

namespace quenvale {
namespace {

struct LfoWaves {
    TableEntry table[kLfoTypeCount - 1][kTableLength];
};

// Slopes that close the cycle: the last entry interpolates towards the first.
void wrapSlopes(TableEntry* t) noexcept {
    for (int32_t i = 0; i < kTableLength; ++i) t[i].slope = t[(i + 1) % kTableLength].value - t[i].value;
}

LfoWaves buildWaves() noexcept {
    LfoWaves w;
    TableEntry* sine = w.table[kLfoSine - 1];
    TableEntry* saw = w.table[kLfoSaw - 1];
    TableEntry* invSaw = w.table[kLfoInvSaw - 1];
    TableEntry* pulse = w.table[kLfoPulse - 1];
    TableEntry* tri = w.table[kLfoTri - 1];
    for (int32_t i = 0; i < kTableLength; ++i) {
        const float x = static_cast<float>(i) * 0.0078125f;
        const float arg = static_cast<float>(static_cast<double>(x) * 2.0 * 3.1415927410125732);
        sine[i].value = static_cast<float>(std::sin(static_cast<double>(arg)));
        saw[i] = {(1.0f - x) * 2.0f - 1.0f, -0.015625f};
        invSaw[i] = {-((1.0f - x) * 2.0f - 1.0f), 0.015625f};
        pulse[i] = {x < 0.5f ? 1.0f : -1.0f, 0.0f};
        tri[i].value = x < 0.5f ? 4.0f * x - 1.0f : 1.0f - (x - 0.5f) * 4.0f;
    }
    wrapSlopes(sine);
    wrapSlopes(tri);
    return w;
}

}  // namespace

const TableEntry* lfoWaveTable(int32_t type) noexcept {
    static const LfoWaves waves = buildWaves();
    return waves.table[type - 1];
}

}  // namespace quenvale
