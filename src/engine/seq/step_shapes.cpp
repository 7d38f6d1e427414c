// The nine step shape tables, built once per process.
#include "engine/seq/step_shapes.h"

#include <cmath>

namespace quenvale {
namespace {

struct StepShapes {
    TableEntry table[kStepShapeCount][kTableLength];
};

double shapeValue(int32_t shape, double x) noexcept {
    const double y = 1.0 - x;
    switch (shape) {
        case 1:
            return x;
        case 2:
            return 1.0 - (std::cos(3.141592653589793 * x) * 0.5 + 0.5);
        case 3:
            return x * x;
        case 4:
            return (x * x) * (x * x);
        case 5:
            return ((x * x) * (x * x)) * ((x * x) * (x * x));
        case 6:
            return 1.0 - y * y;
        case 7:
            return 1.0 - (y * y) * (y * y);
        case 8:
            return 1.0 - ((y * y) * (y * y)) * ((y * y) * (y * y));
        default:
            return 0.0;
    }
}

StepShapes buildShapes() noexcept {
    StepShapes s;
    for (int32_t shape = 0; shape < kStepShapeCount; ++shape) {
        TableEntry* t = s.table[shape];
        for (int32_t i = 0; i < kTableLength; ++i) {
            t[i].value = static_cast<float>(shapeValue(shape, static_cast<double>(i) * 0.0078125));
        }
        for (int32_t i = 0; i + 1 < kTableLength; ++i) t[i].slope = t[i + 1].value - t[i].value;
        t[kTableLength - 1].slope = 0.0f;
    }
    return s;
}

}  // namespace

const TableEntry* stepShapeTable(int32_t shape) noexcept {
    static const StepShapes shapes = buildShapes();
    if (shape < 0 || shape >= kStepShapeCount) shape = 0;
    return shapes.table[shape];
}

}  // namespace quenvale
