// Control-port values and parameter values: ports carry a parameter in its own range and units
// (enumerated ones as whole numbers), not the host-normalised 0..1 of VST 2.
#pragma once

#include <cstdint>

#include "params/parameter_value.h"

namespace quenvale::lv2 {

// [any] The value port value x stands for: clamped to the parameter's range, enumerated ones
// rounded to the nearest whole number. Kind None for a non-finite x or an index outside 0 … 382.
ParameterValue parameterFromPort(int32_t index, float x) noexcept;

// [any] The port value of a stored value of parameter index: the float or base value, or the
// enumerated number. 0 for an index outside 0 … 382.
float portFromParameter(int32_t index, const ParameterValue& value) noexcept;

}  // namespace quenvale::lv2
