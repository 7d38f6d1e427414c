// Conversions every caller uses: the host's normalised 0..1 view, value names and display text.
#pragma once

#include <cstdint>

#include "params/parameter_descriptor.h"
#include "params/parameter_value.h"

namespace quenvale {

inline constexpr int32_t kDisplayTextSize = 64;  // holds "%1.3f" of any float

// Storage for one display text; the owner (the engine) keeps it and each request overwrites it.
struct DisplayTextBuffer {
    char text[kDisplayTextSize] = {};
};

// [any] The host's view of a value: (v − min) / (max − min) in double precision, rounded to float.
// Not clamped. An index outside 0 … 382 gives 0.
float normalizedFromValue(int32_t index, const ParameterValue& value) noexcept;

// [any] The value a host's x stands for, not clamped: float parameters min + (max − min) · x in
// double precision (saturated at the float range); enumerated ones min + trunc(float(max − min) · x
// + 0.5), saturated at the int32 range (NaN gives min). An index outside 0 … 382 gives kind None.
ParameterValue valueFromNormalized(int32_t index, float x) noexcept;

// [any] The name of enumerated value v (v ≤ 0 names the first), or null once the list has ended
// before v is reached. A float descriptor has no names.
const char* valueName(const ParameterDescriptor& descriptor, int32_t v) noexcept;

// [any] Float parameters "%1.3f"; enumerated ones their value's name, empty past the list's end.
// Written into buffer, whose text is returned. An index outside 0 … 382 gives an empty text.
const char* displayText(int32_t index, const ParameterValue& value, DisplayTextBuffer& buffer) noexcept;

}  // namespace quenvale
