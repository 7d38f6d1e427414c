// Routing of the per-voice families: generator, envelopes, step sequencers and voice LFOs.
#include "common/capacity.h"
#include "engine/channel.h"
#include "params/relaxed_field.h"
#include "engine/seq/step_seq_ranges.h"
#include "params/member_ref.h"
#include "params/parameter_routing.h"
#include "params/routing_report.h"

namespace quenvale {
namespace {

// Member offsets m count from the group's first index. A modulated member occupies five entries.

// 0 Ratio, 5 Offset, 10 Out, 15 Phase, 20 PWM Mode, 21 PWM Width, 26 PWM Feedback.
template <class Gen>
MemberRefFor<Gen> genMember(Gen& gen, int32_t m) noexcept {
    using Ref = MemberRefFor<Gen>;
    if (m == 20) return Ref::ofInt(gen.pwmMode);
    switch (m < 20 ? m / kSlotEntryCount : (m - 1) / kSlotEntryCount) {
        case 0:
            return Ref::ofMod(gen.ratio, m % kSlotEntryCount);
        case 1:
            return Ref::ofMod(gen.offset, m % kSlotEntryCount);
        case 2:
            return Ref::ofMod(gen.out, m % kSlotEntryCount);
        case 3:
            return Ref::ofMod(gen.phase, m % kSlotEntryCount);
        case 4:
            return Ref::ofMod(gen.pwmWidth, (m - 1) % kSlotEntryCount);
        default:
            return Ref::ofMod(gen.pwmFeedback, (m - 1) % kSlotEntryCount);
    }
}

// 0 Type, 1 Sync, 2 Ratio, 7 Offset, 12 Phase, 17 Out, for one lane of a block of four.
template <class Block>
MemberRefFor<Block> lfoMember(Block& block, int32_t lane, int32_t m) noexcept {
    using Ref = MemberRefFor<Block>;
    if (m == 0) return Ref::ofInt(block.type[lane]);
    if (m == 1) return Ref::ofInt(block.sync[lane]);
    const int32_t entry = (m - 2) % kSlotEntryCount;
    switch ((m - 2) / kSlotEntryCount) {
        case 0:
            return Ref::ofMod(block.ratio[lane], entry);
        case 1:
            return Ref::ofMod(block.offset[lane], entry);
        case 2:
            return Ref::ofMod(block.phase[lane], entry);
        default:
            return Ref::ofMod(block.out[lane], entry);
    }
}

// 0 Sync, 1 Length (handled by the callers), 2 Out.
template <class Block>
MemberRefFor<Block> stepSeqMember(Block& block, int32_t m) noexcept {
    using Ref = MemberRefFor<Block>;
    if (m == 0) return Ref::ofInt(block.sync);
    return Ref::ofMod(block.out, m - 2);
}

constexpr int32_t kStepSeqLength = 1;

}  // namespace

bool setParameterGen(Channel& channel, int32_t instance, int32_t member,
                     const ParameterValue& value) noexcept {
    if (instance != 0) {
        reportRoutingFailure("setParameterGen() called with invalid generator (%d)\n", instance);
        return false;
    }
    if (!kGenGroup.hasMember(member)) {
        reportRoutingFailure("setParameterGen() called with unknown parameter (nOsc: %d, eParamGen1: %d)\n",
                             instance, member);
        return false;
    }
    storeMember(channel, genMember(channel.gen, member - kGenGroup.first), value);
    return true;
}

ParameterValue getParameterGen(const Channel& channel, int32_t instance, int32_t member) noexcept {
    if (instance != 0) {
        reportRoutingFailure("getParameterGen() called with invalid generator (%d)\n", instance);
        return {};
    }
    if (!kGenGroup.hasMember(member)) {
        reportRoutingFailure("getParameterGen() called with unknown parameter (nGen: %d, eParamGen1: %d)\n",
                             instance, member);
        return {};
    }
    return readMember(genMember(channel.gen, member - kGenGroup.first));
}

bool setParameterEnv(Channel& channel, int32_t instance, int32_t member,
                     const ParameterValue& value) noexcept {
    if (instance < 0 || instance >= kEnvelopeCount) {
        reportRoutingFailure("setParameterEnv() called with invalid env (%d)\n", instance);
        return false;
    }
    if (!kEnvGroup.hasMember(member)) {
        reportRoutingFailure("setParameterEnv() called with unknown parameter (nEnv: %d, eParamEnv1: %d)\n",
                             instance, member);
        return false;
    }
    storeMember(channel, MemberRef::ofMod(channel.env[instance].out, member - kEnvGroup.first), value);
    return true;
}

ParameterValue getParameterEnv(const Channel& channel, int32_t instance, int32_t member) noexcept {
    if (instance < 0 || instance >= kEnvelopeCount) {
        reportRoutingFailure("getParameterEnv() called with invalid env (%d)\n", instance);
        return {};
    }
    if (!kEnvGroup.hasMember(member)) {
        reportRoutingFailure("getParameterEnv() called with unknown parameter (nEnv: %d, eParamEnv1: %d)\n",
                             instance, member);
        return {};
    }
    return readMember(ConstMemberRef::ofMod(channel.env[instance].out, member - kEnvGroup.first));
}

bool setParameterStepSeq(Channel& channel, int32_t instance, int32_t member,
                         const ParameterValue& value) noexcept {
    if (instance < 0 || instance >= kStepSeqCount) {
        reportRoutingFailure("setParameterStepSeq() called with invalid StepSeq (%d)\n", instance);
        return false;
    }
    if (!kStepSeqGroup.hasMember(member)) {
        reportRoutingFailure(
            "setParameterStepSeq() called with unknown parameter (nStepSeq: %d, eParamStepSeq1: %d)\n",
            instance, member);
        return false;
    }
    StepSeqBlock& block = channel.stepSeq[instance];
    const int32_t m = member - kStepSeqGroup.first;
    if (m == kStepSeqLength) {
        setStepSeqLength(block, valueAsInt(value));
    } else {
        storeMember(channel, stepSeqMember(block, m), value);
    }
    return true;
}

ParameterValue getParameterStepSeq(const Channel& channel, int32_t instance, int32_t member) noexcept {
    if (instance < 0 || instance >= kStepSeqCount) {
        reportRoutingFailure("getParameterStepSeq() called with invalid StepSeq (%d)\n", instance);
        return {};
    }
    if (!kStepSeqGroup.hasMember(member)) {
        reportRoutingFailure(
            "getParameterStepSeq() called with unknown parameter (nStepSeq: %d, eParamStepSeq1: %d)\n",
            instance, member);
        return {};
    }
    const StepSeqBlock& block = channel.stepSeq[instance];
    const int32_t m = member - kStepSeqGroup.first;
    if (m == kStepSeqLength) return makeIntValue(loadRelaxed(block.lengthIndex));
    return readMember(stepSeqMember(block, m));
}

bool setParameterLfo(Channel& channel, int32_t instance, int32_t member,
                     const ParameterValue& value) noexcept {
    if (instance < 0 || instance >= kVoiceLfoCount) {
        reportRoutingFailure("setParameterLfo() called with invalid lfo (%d)\n", instance);
        return false;
    }
    if (!kLfoGroup.hasMember(member)) {
        reportRoutingFailure("setParameterLfo() called with unknown parameter (nLfo: %d, eParamLfo1: %d)\n",
                             instance, member);
        return false;
    }
    VoiceLfoBlock& block = channel.lfo[instance / kLfoGroupSize];
    storeMember(channel, lfoMember(block, instance % kLfoGroupSize, member - kLfoGroup.first), value);
    return true;
}

ParameterValue getParameterLfo(const Channel& channel, int32_t instance, int32_t member) noexcept {
    if (instance < 0 || instance >= kVoiceLfoCount) {
        reportRoutingFailure("getParameterLfo() called with invalid lfo (%d)\n", instance);
        return {};
    }
    if (!kLfoGroup.hasMember(member)) {
        reportRoutingFailure("getParameterLfo() called with unknown parameter (nLfo: %d, eParamLfo1: %d)\n",
                             instance, member);
        return {};
    }
    const VoiceLfoBlock& block = channel.lfo[instance / kLfoGroupSize];
    return readMember(lfoMember(block, instance % kLfoGroupSize, member - kLfoGroup.first));
}

}  // namespace quenvale
