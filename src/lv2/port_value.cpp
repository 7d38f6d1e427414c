// Conversions between control-port values and parameter values, from the catalogue's ranges.
#include "lv2/port_value.h"

#include <algorithm>
#include <cmath>

#include "params/parameter_catalogue.h"

namespace quenvale::lv2 {

namespace {
bool validIndex(int32_t index) noexcept {
    return index >= 0 && index < parameterCount();
}
}  // namespace

ParameterValue parameterFromPort(int32_t index, float x) noexcept {
    if (!validIndex(index) || !std::isfinite(x)) return ParameterValue{};
    const ParameterDescriptor& d = descriptor(index);
    if (d.isEnumerated()) {
        const float clamped = std::clamp(x, static_cast<float>(valueAsInt(d.minValue)),
                                         static_cast<float>(valueAsInt(d.maxValue)));
        return makeIntValue(static_cast<int32_t>(std::lround(clamped)));
    }
    return makeFloatValue(std::clamp(x, valueAsFloat(d.minValue), valueAsFloat(d.maxValue)));
}

float portFromParameter(int32_t index, const ParameterValue& value) noexcept {
    if (!validIndex(index)) return 0.0f;
    if (descriptor(index).isEnumerated()) return static_cast<float>(valueAsInt(value));
    return valueAsFloat(value);
}

}  // namespace quenvale::lv2
