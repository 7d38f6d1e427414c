// Slot binding through the routing, and evaluation of modulated values per voice and per channel.
#include <gtest/gtest.h>

#include "engine/channel.h"
#include "params/mod_evaluation.h"
#include "params/parameter_access.h"
#include "params/parameter_index.h"
#include "params/parameter_routing.h"

namespace quenvale {
namespace {

constexpr int32_t kStepSeq1Out = 81;
constexpr int32_t kChLfo1Out = 290;

void setSlot(Channel& channel, int32_t member, int32_t slot, int32_t source, float amount) {
    setParameter(channel, member + kSlotSource1 + 2 * slot, makeIntValue(source));
    setParameter(channel, member + kSlotAmount1 + 2 * slot, makeFloatValue(amount));
}

bool isUnbound(const ModSlot& slot) {
    return slot.channelValue == nullptr && slot.voiceOutput < 0;
}

// Distinct values in every source a slot can read.
void fillSources(Channel& channel, float (&outputs)[kVoiceOutputCount]) {
    float next = 0.0f;
    for (float& x : outputs) x = next += 0.01f;
    for (float& x : channel.controllerValue) x = next += 0.01f;
    for (float& x : channel.macro) x = next += 0.01f;
    for (float& x : channel.chLfoState.output) x = -(next += 0.01f);
}

TEST(ModulationSlots, EverySourceNumberBindsToItsSourceInBothNumberings) {
    Channel channel;
    float outputs[kVoiceOutputCount];
    fillSources(channel, outputs);
    auto voiceSource = [&](int32_t s) -> float {
        if (s <= 6) return outputs[kVoiceOutputEnvelope1 + s - 1];
        if (s <= 14) return outputs[kVoiceOutputLfo1 + s - 7];
        if (s <= 18) return channel.chLfoState.output[s - 15];
        if (s == 19) return outputs[kVoiceOutputVelocity];
        if (s <= 147) return channel.controllerValue[s - 20];
        if (s <= 153) return channel.macro[s - 148];
        return outputs[kVoiceOutputStepSeq1 + s - 154];
    };
    for (int32_t s = 1; s < kVoiceSourceCount; ++s) {
        setParameter(channel, kParamGain, makeFloatValue(0.0f));
        setSlot(channel, kParamGain, 0, s, 1.0f);
        EXPECT_EQ(evaluateModParam(channel, outputs, channel.gain), voiceSource(s)) << "source " << s;
    }
    // The channel numbering is the voice numbering's channel-wide part, renumbered.
    for (int32_t s = 1; s < kChannelSourceCount; ++s) {
        setParameter(channel, kChLfo1Out, makeFloatValue(0.0f));
        setSlot(channel, kChLfo1Out, 0, s, 1.0f);
        EXPECT_EQ(evaluateChModParam(channel, channel.chLfo.out[0]), voiceSource(s <= 4 ? s + 14 : s + 15))
            << "channel source " << s;
    }
    EXPECT_EQ(valueAsFloat(getParameter(channel, kChLfo1Out)), 0.0f);  // a read gives the base
    // A macro stored through the routing is the value a macro source reads.
    setParameter(channel, kParamMacro1 + 1, makeFloatValue(0.25f));
    setSlot(channel, kChLfo1Out, 0, 134, 1.0f);  // M2
    EXPECT_EQ(evaluateChModParam(channel, channel.chLfo.out[0]), 0.25f);
}

TEST(ModulationSlots, StepSequencerOutSlotsUseTheVoiceNumbering) {
    Channel channel;
    const ModSlot& slot = channel.stepSeq[0].out.slots[0];
    // The host reaches source 138 at x = 1: controller 118 in the voice numbering.
    ASSERT_TRUE(setParameterNormalized(channel, kStepSeq1Out + kSlotSource1, 1.0f));
    ASSERT_TRUE(setParameterNormalized(channel, kStepSeq1Out + kSlotAmount1, 1.0f));
    EXPECT_EQ(slot.source, 138);
    EXPECT_EQ(slot.amount, 1.0f);
    EXPECT_EQ(slot.channelValue, &channel.controllerValue[118]);
    // Source 1 is envelope 1 of the voice, not channel LFO 1.
    setParameter(channel, kStepSeq1Out + kSlotSource1, makeIntValue(1));
    EXPECT_EQ(slot.voiceOutput, kVoiceOutputEnvelope1);
    EXPECT_EQ(slot.channelValue, nullptr);
}

TEST(ModulationSlots, ZeroAmountsAndSourcesOutsideTheirNumberingBindNothing) {
    Channel channel;
    float outputs[kVoiceOutputCount];
    fillSources(channel, outputs);
    setParameter(channel, kParamGain, makeFloatValue(1.0f));
    setSlot(channel, kParamGain, 0, 20, 0.0f);  // controller 0, amount 0
    EXPECT_TRUE(isUnbound(channel.gain.slots[0]));
    EXPECT_EQ(evaluateModParam(channel, nullptr, channel.gain), 1.0f);
    // A non-zero amount binds at once; −0.0 is not "all bits zero": it binds (and adds nothing).
    for (float amount : {0.25f, -0.0f}) {
        setParameter(channel, kParamGain + kSlotAmount1, makeFloatValue(amount));
        EXPECT_EQ(channel.gain.slots[0].channelValue, &channel.controllerValue[0]) << amount;
    }
    for (int32_t source : {-1, 158, 1000, INT32_MIN, INT32_MAX}) {
        setSlot(channel, kParamGain, 0, source, 1.0f);
        EXPECT_TRUE(isUnbound(channel.gain.slots[0])) << source;
        EXPECT_EQ(evaluateModParam(channel, outputs, channel.gain), 1.0f) << source;
    }
    for (int32_t source : {-1, 139, 157}) {
        setParameter(channel, kChLfo1Out, makeFloatValue(0.5f));
        setSlot(channel, kChLfo1Out, 0, source, 1.0f);
        EXPECT_EQ(channel.chLfo.out[0].slots[0].channelValue, nullptr) << source;
        EXPECT_EQ(evaluateChModParam(channel, channel.chLfo.out[0]), 0.5f) << source;
    }
}

TEST(ModulationSlots, StaleSlotsBindOnFirstEvaluation) {
    // Stored data sets sources and amounts directly, then marks the slots stale.
    Channel channel;
    channel.macro[2] = 0.5f;
    ModParam param;
    param.base = 1.0f;
    param.slots[0] = {.source = 150, .amount = 2.0f};  // M3
    param.slots[1] = {.source = 3, .amount = 0.0f};    // E3
    markStale(param);
    EXPECT_EQ(evaluateModParam(channel, nullptr, param), 2.0f);
    EXPECT_EQ(param.slots[0].channelValue, &channel.macro[2]);
    EXPECT_FALSE(param.slots[0].stale);
    EXPECT_FALSE(param.slots[1].stale);  // looked at, amount 0: stays unbound
    EXPECT_TRUE(isUnbound(param.slots[1]));
}

TEST(ModulationSlots, EachMultiplyAddIsDoneInDoubleAndRoundedPerSlot) {
    // Values chosen so that float arithmetic, and one double sum over both slots, give other results.
    const float c0 = 55 / 127.0f, c1 = 49 / 127.0f, base = 0.56f;
    const float a1 = 11 / 100.0f - 1.0f, a2 = 42 / 100.0f - 1.0f;
    Channel channel;
    channel.controllerValue[0] = c0;
    channel.controllerValue[1] = c1;
    setParameter(channel, kParamGain, makeFloatValue(base));
    setSlot(channel, kParamGain, 0, 20, a1);
    setSlot(channel, kParamGain, 1, 21, a2);
    const float afterSlot1 = static_cast<float>(static_cast<double>(a1) * c0 + base);
    const float expected = static_cast<float>(static_cast<double>(a2) * c1 + afterSlot1);
    volatile float product1 = a1 * c0, product2 = a2 * c1;
    ASSERT_NE(expected, product2 + (product1 + base));
    ASSERT_NE(expected,
              static_cast<float>(static_cast<double>(a1) * c0 + base + static_cast<double>(a2) * c1));
    EXPECT_EQ(evaluateModParam(channel, nullptr, channel.gain), expected);
}

}  // namespace
}  // namespace quenvale
