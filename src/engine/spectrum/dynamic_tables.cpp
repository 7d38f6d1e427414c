// Building the sine and random movement tables once per process.
#include "engine/spectrum/dynamic_tables.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "common/runtime_random.h"
#include "engine/spectrum/low_pass_kernel.h"

namespace quenvale {
namespace {

template <int32_t N>
void fillSlopes(DynamicTableEntry (&table)[N]) noexcept {
    for (int32_t i = 0; i < N; ++i) table[i].slope = table[(i + 1) % N].value - table[i].value;
}

struct DynamicTables {
    DynamicTableEntry sine[kSineDynamicTableSize];
    DynamicTableEntry random[kRandomDynamicTableSize];

    DynamicTables() noexcept {
        for (int32_t i = 0; i < kSineDynamicTableSize; ++i)
            sine[i].value = static_cast<float>(std::sin(2.0 * std::numbers::pi * i / kSineDynamicTableSize));
        fillSlopes(sine);
        buildRandom();
    }

    void buildRandom() noexcept {
        constexpr int32_t n = kRandomDynamicTableSize;
        float noise[n];
        for (float& v : noise) v = static_cast<float>(runtimeRandom()) / 32767.0f * 2.0f - 1.0f;
        double kernel[n];
        designLowPassKernel(n, static_cast<double>(kRandomDynamicCutoff), kernel);
        for (int32_t i = 0; i < n; ++i) {
            float sum = 0.0f;  // the correlation is accumulated in single precision
            for (int32_t m = 0; m < n; ++m)
                sum = static_cast<float>(sum + static_cast<double>(noise[(i + m) % n]) * kernel[m]);
            random[i].value = sum;
        }
        float lo = random[0].value;
        float hi = random[0].value;
        for (const DynamicTableEntry& e : random) {
            lo = std::min(lo, e.value);
            hi = std::max(hi, e.value);
        }
        // Rescaled in double so that the extremes land exactly on −1 and +1 after rounding.
        const double middle = (static_cast<double>(hi) + lo) * 0.5;
        const double scale = hi > lo ? 2.0 / (static_cast<double>(hi) - lo) : 0.0;
        for (DynamicTableEntry& e : random) e.value = static_cast<float>((e.value - middle) * scale);
        fillSlopes(random);
    }
};

const DynamicTables& tables() noexcept {
    static const DynamicTables instance;
    return instance;
}

}  // namespace

const DynamicTableEntry* sineDynamicTable() noexcept {
    return tables().sine;
}

const DynamicTableEntry* randomDynamicTable() noexcept {
    return tables().random;
}

}  // namespace quenvale
