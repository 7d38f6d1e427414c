// The static description of one parameter: name, editor label, range, default, value names.
#pragma once

#include <cstdint>

#include "params/parameter_value.h"

namespace quenvale {

// Either a float parameter (range and default of kind Float, no value names) or an enumerated one
// (kind Int, range starting at 0, valueNames given, never bipolar).
struct ParameterDescriptor {
    const char* name = "";   // unique in the catalogue; the host's parameter name
    const char* label = "";  // short label beside the editor's control
    // Enumerated only: consecutive NUL-terminated names ending with an empty string; null otherwise.
    const char* valueNames = nullptr;
    ParameterValue minValue;
    ParameterValue maxValue;
    ParameterValue defaultValue;
    bool bipolar = false;  // editor hint: the value bar grows from the middle of the range

    constexpr bool isEnumerated() const noexcept { return minValue.kind == ParameterKind::Int; }
};

constexpr ParameterDescriptor makeFloatDescriptor(const char* name, const char* label, float minValue,
                                                  float maxValue, float defaultValue, bool bipolar) noexcept {
    ParameterDescriptor d;
    d.name = name;
    d.label = label;
    d.minValue = makeFloatValue(minValue);
    d.maxValue = makeFloatValue(maxValue);
    d.defaultValue = makeFloatValue(defaultValue);
    d.bipolar = bipolar;
    return d;
}

constexpr ParameterDescriptor makeEnumDescriptor(const char* name, const char* label, int32_t minValue,
                                                 int32_t maxValue, int32_t defaultValue,
                                                 const char* firstValueName) noexcept {
    ParameterDescriptor d;
    d.name = name;
    d.label = label;
    d.valueNames = firstValueName;
    d.minValue = makeIntValue(minValue);
    d.maxValue = makeIntValue(maxValue);
    d.defaultValue = makeIntValue(defaultValue);
    return d;
}

}  // namespace quenvale
