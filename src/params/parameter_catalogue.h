// The catalogue: the one ordered, immutable table of all parameter descriptors.
#pragma once

#include <cstdint>

#include "common/capacity.h"
#include "params/parameter_descriptor.h"

namespace quenvale {

// [any] 383.
constexpr int32_t parameterCount() noexcept {
    return kParameterCount;
}

// [any] The descriptor of parameter index (0 … 382). No range check: callers pass valid indices.
// The table is built once while the library loads and is shared by every instance.
const ParameterDescriptor& descriptor(int32_t index) noexcept;

// [ui] The index of the parameter with this exact name, or -1. For the editor and the program
// loader; not for the audio path.
int32_t parameterIndex(const char* name) noexcept;

}  // namespace quenvale
