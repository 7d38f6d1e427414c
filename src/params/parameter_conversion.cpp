// Normalised values, value names and display texts of the catalogue's parameters.
#include "params/parameter_conversion.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

#include "params/float_narrowing.h"
#include "params/parameter_catalogue.h"

namespace quenvale {
namespace {

bool validIndex(int32_t index) noexcept {
    return index >= 0 && index < parameterCount();
}

// trunc(t) as int32 without the undefined conversion of an out-of-range double.
int32_t saturatingTrunc(double t) noexcept {
    if (std::isnan(t)) return 0;
    constexpr double kMin = std::numeric_limits<int32_t>::min();
    constexpr double kMax = std::numeric_limits<int32_t>::max();
    if (t <= kMin) return std::numeric_limits<int32_t>::min();
    if (t >= kMax) return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(t);
}

}  // namespace

float normalizedFromValue(int32_t index, const ParameterValue& value) noexcept {
    if (!validIndex(index)) return 0.0f;
    const ParameterDescriptor& d = descriptor(index);
    if (d.isEnumerated()) {
        const double lo = d.minValue.numberAsInt();
        const double hi = d.maxValue.numberAsInt();
        return static_cast<float>((valueAsInt(value) - lo) / (hi - lo));
    }
    const double lo = d.minValue.numberAsFloat();
    const double hi = d.maxValue.numberAsFloat();
    return static_cast<float>((valueAsFloat(value) - lo) / (hi - lo));
}

ParameterValue valueFromNormalized(int32_t index, float x) noexcept {
    if (!validIndex(index)) return ParameterValue{};
    const ParameterDescriptor& d = descriptor(index);
    if (d.isEnumerated()) {
        const int32_t lo = d.minValue.numberAsInt();
        const int32_t hi = d.maxValue.numberAsInt();
        const float span = static_cast<float>(hi - lo);
        const double t = std::trunc(static_cast<double>(span) * x + 0.5);
        // NaN maps to min; the sum is exact in double for every int32 pair, then saturated.
        return makeIntValue(saturatingTrunc(std::isnan(t) ? lo : lo + t));
    }
    const double lo = d.minValue.numberAsFloat();
    const double hi = d.maxValue.numberAsFloat();
    return makeFloatValue(saturatingFloat(lo + (hi - lo) * x));
}

const char* valueName(const ParameterDescriptor& descriptor, int32_t v) noexcept {
    const char* name = descriptor.valueNames;
    if (name == nullptr) return nullptr;
    for (int32_t i = 0; i < v; ++i) {
        if (*name == '\0') return nullptr;
        name += std::strlen(name) + 1;
    }
    return name;
}

const char* displayText(int32_t index, const ParameterValue& value, DisplayTextBuffer& buffer) noexcept {
    char* text = buffer.text;
    text[0] = '\0';
    if (!validIndex(index)) return text;
    const ParameterDescriptor& d = descriptor(index);
    if (!d.isEnumerated()) {
        std::snprintf(text, kDisplayTextSize, "%1.3f", static_cast<double>(valueAsFloat(value)));
    } else if (d.valueNames == nullptr) {
        std::snprintf(text, kDisplayTextSize, "%d", valueAsInt(value));
    } else if (const char* name = valueName(d, valueAsInt(value))) {
        std::snprintf(text, kDisplayTextSize, "%s", name);
    }
    return text;
}

}  // namespace quenvale
