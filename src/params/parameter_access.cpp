// Host- and editor-level parameter access on a Channel.
#include "params/parameter_access.h"

#include <cmath>
#include <cstring>

#include "params/parameter_catalogue.h"
#include "params/parameter_index.h"
#include "params/parameter_routing.h"
#include "params/routing_report.h"

namespace quenvale {
namespace {

bool validIndex(int32_t index) noexcept {
    return index >= 0 && index < parameterCount();
}
bool isMacro(int32_t index) noexcept {
    return index >= kParamMacro1 && index < kParamMacro1 + kMacroCount;
}

}  // namespace

bool setParameterNormalized(Channel& channel, int32_t index, float x) noexcept {
    // Without a descriptor there is nothing to convert; the routing reports the index.
    if (!validIndex(index)) return setParameter(channel, index, ParameterValue{});
    if (!std::isfinite(x)) {
        reportRoutingFailure("setParameterNormalized() called with invalid value (eParam: %d)\n", index);
        return false;
    }
    return setParameter(channel, index, valueFromNormalized(index, x));
}

float getParameterNormalized(const Channel& channel, int32_t index) noexcept {
    return normalizedFromValue(index, getParameter(channel, index));
}

bool setParameterValue(Channel& channel, int32_t index, const ParameterValue& value) noexcept {
    return setParameter(channel, index, value);
}

ParameterValue getParameterValue(const Channel& channel, int32_t index) noexcept {
    return getParameter(channel, index);
}

const char* parameterDisplayText(const Channel& channel, int32_t index, DisplayTextBuffer& buffer) noexcept {
    return displayText(index, getParameter(channel, index), buffer);
}

const char* parameterLabel(int32_t index, const MacroNames& macroNames) noexcept {
    if (isMacro(index)) return macroNames[index - kParamMacro1];
    return validIndex(index) ? descriptor(index).label : "";
}

void setParameterLabel(int32_t index, const char* text, MacroNames& macroNames) noexcept {
    if (!isMacro(index) || text == nullptr) return;
    char* name = macroNames[index - kParamMacro1];
    int32_t length = 0;
    while (length < kNameFieldSize - 1 && text[length] != '\0') ++length;
    std::memmove(name, text, static_cast<size_t>(length));
    name[length] = '\0';
}

}  // namespace quenvale
