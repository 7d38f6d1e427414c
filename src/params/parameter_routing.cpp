// Decoding a parameter index and routing it to its group, or to the Channel's own fields.
#include "params/parameter_routing.h"

#include <cmath>

#include "engine/channel.h"
#include "params/relaxed_field.h"
#include "engine/rate_values.h"
#include "params/float_narrowing.h"
#include "params/member_ref.h"
#include "params/parameter_index.h"
#include "params/routing_report.h"

namespace quenvale {
namespace {

// One-pole smoothing coefficient of a compressor time in milliseconds, at the current sample rate.
float compressorCoefficient(float milliseconds) noexcept {
    return saturatingFloat(std::exp(-1.0 / (static_cast<double>(rates.sampleRate) * 0.001 * milliseconds)));
}

// The plain fields among indices 0 … 7 and 39 … 46 (the compressor's mode, attack and release need
// more than a plain store and are handled by the callers).
template <class C>
MemberRefFor<C> ownMember(C& channel, int32_t index) noexcept {
    using Ref = MemberRefFor<C>;
    if (index == kParamMasterGain) return Ref::ofFloat(channel.masterGain);
    if (index == kParamGlide) return Ref::ofFloat(channel.glide);
    if (index < kParamGain) return Ref::ofFloat(channel.macro[index - kParamMacro1]);
    if (index < kParamCompressorMode) return Ref::ofMod(channel.gain, index - kParamGain);
    if (index == kParamCompressorThresh) return Ref::ofFloat(channel.compressor.threshold);
    return Ref::ofFloat(channel.compressor.slope);
}

bool isOwnIndex(int32_t index) noexcept {
    return (index >= kParamMasterGain && index < kGenGroup.first) ||
           (index >= kParamGain && index <= kParamCompressorRelease);
}

void setOwnParameter(Channel& channel, int32_t index, const ParameterValue& value) noexcept {
    CompressorBlock& compressor = channel.compressor;
    switch (index) {
        case kParamCompressorMode:
            storeRelaxed(compressor.on, value.number != 0);
            break;
        case kParamCompressorAttack:
            storeRelaxed(compressor.attackMs, valueAsFloat(value));
            compressor.attackCoefficient = compressorCoefficient(valueAsFloat(value));
            break;
        case kParamCompressorRelease:
            storeRelaxed(compressor.releaseMs, valueAsFloat(value));
            compressor.releaseCoefficient = compressorCoefficient(valueAsFloat(value));
            break;
        default:
            storeMember(channel, ownMember(channel, index), value);
            break;
    }
}

ParameterValue getOwnParameter(const Channel& channel, int32_t index) noexcept {
    const CompressorBlock& compressor = channel.compressor;
    switch (index) {
        case kParamCompressorMode:
            return makeIntValue(loadRelaxed(compressor.on) ? 1 : 0);
        case kParamCompressorAttack:
            return makeFloatValue(loadRelaxed(compressor.attackMs));
        case kParamCompressorRelease:
            return makeFloatValue(loadRelaxed(compressor.releaseMs));
        default:
            return readMember(ownMember(channel, index));
    }
}

}  // namespace

bool setParameter(Channel& channel, int32_t index, const ParameterValue& value) noexcept {
    if (kGenGroup.contains(index))
        return setParameterGen(channel, kGenGroup.instanceOf(index), kGenGroup.memberOf(index), value);
    if (kEnvGroup.contains(index))
        return setParameterEnv(channel, kEnvGroup.instanceOf(index), kEnvGroup.memberOf(index), value);
    if (kLfoGroup.contains(index))
        return setParameterLfo(channel, kLfoGroup.instanceOf(index), kLfoGroup.memberOf(index), value);
    if (kChLfoGroup.contains(index))
        return setParameterChLfo(channel, kChLfoGroup.instanceOf(index), kChLfoGroup.memberOf(index), value);
    if (kChFxGroup.contains(index))
        return setParameterChFx(channel, kChFxGroup.instanceOf(index), kChFxGroup.memberOf(index), value);
    if (kStepSeqGroup.contains(index))
        return setParameterStepSeq(channel, kStepSeqGroup.instanceOf(index), kStepSeqGroup.memberOf(index),
                                   value);
    if (isOwnIndex(index)) {
        setOwnParameter(channel, index, value);
        return true;
    }
    reportRoutingFailure("setParameter() called with unknown parameter (eParam: %d)\n", index);
    return false;
}

ParameterValue getParameter(const Channel& channel, int32_t index) noexcept {
    if (kGenGroup.contains(index))
        return getParameterGen(channel, kGenGroup.instanceOf(index), kGenGroup.memberOf(index));
    if (kEnvGroup.contains(index))
        return getParameterEnv(channel, kEnvGroup.instanceOf(index), kEnvGroup.memberOf(index));
    if (kLfoGroup.contains(index))
        return getParameterLfo(channel, kLfoGroup.instanceOf(index), kLfoGroup.memberOf(index));
    if (kChLfoGroup.contains(index))
        return getParameterChLfo(channel, kChLfoGroup.instanceOf(index), kChLfoGroup.memberOf(index));
    if (kChFxGroup.contains(index))
        return getParameterChFx(channel, kChFxGroup.instanceOf(index), kChFxGroup.memberOf(index));
    if (kStepSeqGroup.contains(index))
        return getParameterStepSeq(channel, kStepSeqGroup.instanceOf(index), kStepSeqGroup.memberOf(index));
    if (isOwnIndex(index)) return getOwnParameter(channel, index);
    reportRoutingFailure("getParameter() called with unknown parameter (eParam: %d)\n", index);
    return {};
}

}  // namespace quenvale
