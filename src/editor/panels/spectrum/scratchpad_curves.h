// The scratchpad's curve generators ("Macro" menu), transforms and transfers to and from the spectrum.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/curve/partial_curve.h"

namespace quenvale::editor {

// "Macro" menu commands. Each overwrites the whole curve.
enum ScratchpadGenerator : int32_t {
    kGenClear = 1,
    kGenSetToOne,
    kGenSetToMinusOne,
    kGenRandomize,
    kGenRandomizeBipolar,
    kGenSine,
    kGenSaw,
    kGenSquare,
    kGenTriangle,
    kGenLowPass6,
    kGenLowPass12,
    kGenLowPass24,
    kGenHighPass6,
    kGenHighPass12,
    kGenHighPass24,
};

// [editor thread] Fills curve (P = its size) with the generator's values; the random ones draw from
// the editor's random generator, one draw per partial. False, and the curve unchanged, for an unknown
// command.
bool generateScratchpad(int32_t command, PartialCurve& curve);

// Transforms, in the order of the transform list.
enum ScratchpadTransform : int32_t {
    kTransformScale = 0,
    kTransformOffset,
    kTransformShift,
    kTransformOctaveInterpolated,
    kTransformOctaveRepeated,
    kTransformOctaveNearest,
    kTransformSmooth,
    kTransformAddNoise,
    kTransformMulNoise,
    kTransformCount,
};
inline constexpr const char* kTransformNames[kTransformCount] = {"Scale",
                                                                 "Offset",
                                                                 "Shift",
                                                                 "Octave-Shift - Interpolated",
                                                                 "Octave-Shift - Repeated",
                                                                 "Octave-Shift - Nearest",
                                                                 "Smooth",
                                                                 "Add Noise",
                                                                 "Mul Noise"};
// The transform value's range.
inline constexpr float kTransformValueMin = -2.0f;
inline constexpr float kTransformValueMax = 2.0f;

// [editor thread] out = transform(in) with value v (in and out distinct, of equal size). False, and
// out unchanged, for an unknown transform.
bool transformScratchpad(int32_t transform, const PartialCurve& in, PartialCurve& out, float v);

// Transfer modes: how a source curve joins a destination where the mask selects.
enum TransferMode : int32_t {
    kTransferCopy = 0,      // "C": dst = src where selected
    kTransferMultiply = 1,  // "x": dst = dst × src where selected
    kTransferAdd = 2,       // "+": dst = dst + src where selected
    kTransferSubtract = 3,  // "-": dst = dst − src where selected
    kTransferModeCount = 4,
};

// [any] Combines src into dst per partial, over the smaller of the two sizes and the mask's length
// (a partial past the mask counts as unselected). An unknown mode leaves dst unchanged.
void transferCurve(int32_t mode, const PartialCurve& src, PartialCurve& dst, const std::vector<bool>& mask);

}  // namespace quenvale::editor
