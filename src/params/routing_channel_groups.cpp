// Routing of the channel-level families: channel LFOs and channel effects (channel numbering).
#include "common/capacity.h"
#include "engine/channel.h"
#include "params/relaxed_field.h"
#include "engine/fx/effect_type.h"
#include "params/member_ref.h"
#include "params/parameter_routing.h"
#include "params/routing_report.h"

namespace quenvale {
namespace {

// 0 Type, 1 Sync, 2 Offset, 7 Out, for one lane of the block.
template <class Block>
MemberRefFor<Block> chLfoMember(Block& block, int32_t lane, int32_t m) noexcept {
    using Ref = MemberRefFor<Block>;
    if (m == 0) return Ref::ofInt(block.type[lane]);
    if (m == 1) return Ref::ofInt(block.sync[lane]);
    const int32_t entry = (m - 2) % kSlotEntryCount;
    if ((m - 2) / kSlotEntryCount == 0) return Ref::ofChMod(block.offset[lane], entry);
    return Ref::ofChMod(block.out[lane], entry);
}

// 0 Type (handled by the callers), 1 Param1, 6 Param2, 11 Param3, 16 Param4, 21 Dry/Wet.
template <class Effect>
MemberRefFor<Effect> chFxMember(Effect& effect, int32_t m) noexcept {
    using Ref = MemberRefFor<Effect>;
    const int32_t which = (m - 1) / kSlotEntryCount;
    const int32_t entry = (m - 1) % kSlotEntryCount;
    if (which < 4) return Ref::ofChMod(effect.param[which], entry);
    return Ref::ofChMod(effect.dryWet, entry);
}

constexpr int32_t kChFxType = 0;

}  // namespace

bool setParameterChLfo(Channel& channel, int32_t instance, int32_t member,
                       const ParameterValue& value) noexcept {
    if (instance < 0 || instance >= kChannelLfoCount) {
        reportRoutingFailure("setParameterChLfo() called with invalid lfo (%d)\n", instance);
        return false;
    }
    if (!kChLfoGroup.hasMember(member)) {
        reportRoutingFailure(
            "setParameterChLfo() called with unknown parameter (nLfo: %d, eParamChLfo1: %d)\n", instance,
            member);
        return false;
    }
    storeMember(channel, chLfoMember(channel.chLfo, instance, member - kChLfoGroup.first), value);
    return true;
}

ParameterValue getParameterChLfo(const Channel& channel, int32_t instance, int32_t member) noexcept {
    if (instance < 0 || instance >= kChannelLfoCount) {
        reportRoutingFailure("getParameterChLfo() called with invalid lfo (%d)\n", instance);
        return {};
    }
    if (!kChLfoGroup.hasMember(member)) {
        reportRoutingFailure(
            "getParameterChLfo() called with unknown parameter (nLfo: %d, eParamChLfo1: %d)\n", instance,
            member);
        return {};
    }
    return readMember(chLfoMember(channel.chLfo, instance, member - kChLfoGroup.first));
}

bool setParameterChFx(Channel& channel, int32_t instance, int32_t member,
                      const ParameterValue& value) noexcept {
    if (instance < 0 || instance >= kChannelEffectCount) {
        reportRoutingFailure("setParameterChFx() called with invalid ChFx (%d)\n", instance);
        return false;
    }
    if (!kChFxGroup.hasMember(member)) {
        reportRoutingFailure(
            "setParameterChFx() called with unknown parameter (nChFx: %d, eParamChFx1: %d)\n", instance,
            member);
        return false;
    }
    ChannelEffect& effect = channel.fx[instance];
    const int32_t m = member - kChFxGroup.first;
    if (m == kChFxType) {
        setEffectType(effect, valueAsInt(value));
    } else {
        storeMember(channel, chFxMember(effect, m), value);
    }
    return true;
}

ParameterValue getParameterChFx(const Channel& channel, int32_t instance, int32_t member) noexcept {
    if (instance < 0 || instance >= kChannelEffectCount) {
        reportRoutingFailure("getParameterChFx() called with invalid ChFx (%d)\n", instance);
        return {};
    }
    if (!kChFxGroup.hasMember(member)) {
        reportRoutingFailure(
            "getParameterChFx() called with unknown parameter (nChFx: %d, eParamChFx1: %d)\n", instance,
            member);
        return {};
    }
    const ChannelEffect& effect = channel.fx[instance];
    const int32_t m = member - kChFxGroup.first;
    if (m == kChFxType) return makeIntValue(loadRelaxed(effect.type));
    return readMember(chFxMember(effect, m));
}

}  // namespace quenvale
