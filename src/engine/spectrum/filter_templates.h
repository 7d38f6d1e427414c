// The sixteen spectral filter shapes over 512 harmonics that the modulator's filter moves by octaves.
#pragma once

#include <cstdint>

#include "engine/curve/partial_curve.h"

namespace quenvale {

inline constexpr int32_t kFilterTemplateCount = 16;
inline constexpr int32_t kFilterTemplateSize = 512;

// Template index = filter mode − 2: low-pass (corner at harmonic 16) −6, −12, −24, −oo dB; high-pass
// (corner at harmonic 128) the same four; band-pass (centre harmonic 32) −3, −6, −12, −24 dB; notch the
// same four. Templates 0 … 3 are moved around octave 4, 4 … 7 around 7 and 8 … 15 around 5.
inline constexpr int32_t kBandPass12Template = 10;  // also the resonance shape

// [any] Template index (0 … 15); built with the dynamic tables' lifetime, once per process.
const PartialCurve& filterTemplate(int32_t index) noexcept;

// [any] The octave at which a template's corner or centre sits (4, 7 or 5).
int32_t filterTemplateCornerOctave(int32_t index) noexcept;

// A template moved by curveOctaveShift (interpolated, border repeated), kept until another template or
// octave amount is asked for: voices sharing a cutoff share the work.
struct ShiftedTemplate {
    PartialCurve curve{kFilterTemplateSize};
    int32_t index = -1;  // −1: nothing computed yet
    uint32_t octaveBits = 0;
};

// [audio] The template moved by `octaves` (compared bit for bit, so −0 and +0 stay distinct).
const PartialCurve& shiftedTemplate(ShiftedTemplate& cache, int32_t index, float octaves) noexcept;

}  // namespace quenvale
