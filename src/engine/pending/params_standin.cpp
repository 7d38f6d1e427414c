// TEMPORARY stand-in for the parameter catalogue and routing until the params branch lands on main;
// delete this file when merging it. Only what the engine's own tests touch is routed.
#include <cstdio>

#include "engine/channel.h"
#include "params/parameter_catalogue.h"
#include "params/parameter_conversion.h"
#include "params/parameter_index.h"
#include "params/parameter_routing.h"

namespace quenvale {
namespace {

struct StandinCatalogue {
    ParameterDescriptor table[kParameterCount];
    StandinCatalogue() {
        for (int32_t i = 0; i < kParameterCount; ++i)
            table[i] = makeFloatDescriptor("Standin", "", 0.0f, 1.0f, 0.0f, false);
        table[kParamMasterGain] = makeFloatDescriptor("MasterGain", "", 0.0f, 2.0f, 1.0f, false);
        table[kParamGlide] = makeFloatDescriptor("Glide", "", 0.0f, 1.0f, 0.0f, false);
        table[kParamGain] = makeFloatDescriptor("Gain", "", 0.0f, 1.0f, 1.0f, false);
    }
};

const StandinCatalogue& catalogue() {
    static const StandinCatalogue c;
    return c;
}

}  // namespace

const ParameterDescriptor& descriptor(int32_t index) noexcept { return catalogue().table[index]; }

int32_t parameterIndex(const char*) noexcept { return -1; }

bool setParameter(Channel& channel, int32_t index, const ParameterValue& value) noexcept {
    const float f = valueAsFloat(value);
    if (index == kParamMasterGain) channel.masterGain = f;
    else if (index == kParamGlide) channel.glide = f;
    else if (index >= kParamMacro1 && index < kParamMacro1 + kMacroCount) channel.macro[index - kParamMacro1] = f;
    else if (index == kParamGain) channel.gain.base = f;
    else if (kLfoGroup.contains(index)) {
        const int32_t n = kLfoGroup.instanceOf(index), m = kLfoGroup.memberOf(index);
        VoiceLfoBlock& b = channel.lfo[n / 4];
        if (m == 109) b.ratio[n % 4].base = f;
        if (m == 114) b.offset[n % 4].base = f;
    } else if (index < 0 || index >= kParameterCount) return false;
    return true;
}

ParameterValue getParameter(const Channel& channel, int32_t index) noexcept {
    if (index == kParamMasterGain) return makeFloatValue(channel.masterGain);
    if (index == kParamGlide) return makeFloatValue(channel.glide);
    if (index == kParamGain) return makeModulatedValue(channel.gain);
    if (index < 0 || index >= kParameterCount) return ParameterValue{};
    return makeFloatValue(0.0f);
}

float normalizedFromValue(int32_t index, const ParameterValue& value) noexcept {
    if (index < 0 || index >= kParameterCount) return 0.0f;
    const ParameterDescriptor& d = descriptor(index);
    const float lo = valueAsFloat(d.minValue), hi = valueAsFloat(d.maxValue);
    return static_cast<float>((static_cast<double>(valueAsFloat(value)) - lo) / (static_cast<double>(hi) - lo));
}

ParameterValue valueFromNormalized(int32_t index, float x) noexcept {
    if (index < 0 || index >= kParameterCount) return ParameterValue{};
    const ParameterDescriptor& d = descriptor(index);
    const double lo = valueAsFloat(d.minValue), hi = valueAsFloat(d.maxValue);
    return makeFloatValue(static_cast<float>(lo + (hi - lo) * x));
}

const char* valueName(const ParameterDescriptor&, int32_t) noexcept { return nullptr; }

const char* displayText(int32_t index, const ParameterValue& value, DisplayTextBuffer& buffer) noexcept {
    buffer.text[0] = '\0';
    if (index >= 0 && index < kParameterCount)
        std::snprintf(buffer.text, sizeof buffer.text, "%1.3f", static_cast<double>(valueAsFloat(value)));
    return buffer.text;
}

}  // namespace quenvale
