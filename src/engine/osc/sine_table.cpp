// Construction of the interpolated sine table.
#include "engine/osc/sine_table.h"

#include <cmath>

namespace quenvale {

void fillSineTable(float (&table)[kSineTableSize][2]) noexcept {
    for (int i = 0; i < kSineTableSize; ++i) {
        const float argument = static_cast<float>(i * 0.0078125 * 2.0 * 3.1415927410125732);
        table[i][0] = static_cast<float>(std::sin(static_cast<double>(argument)));
    }
    for (int i = 0; i < kSineTableSize; ++i) table[i][1] = table[(i + 1) & kSineTableMask][0] - table[i][0];
}

}  // namespace quenvale
