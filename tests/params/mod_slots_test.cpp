// Slot binding through the routing, and evaluation of modulated values per voice and per channel.
#include <gtest/gtest.h>

#include "engine/channel.h"
#include "params/mod_evaluation.h"
#include "params/parameter_access.h"
#include "params/parameter_index.h"
#include "params/parameter_routing.h"
#include "params_test_support.h"

namespace quenvale {
namespace {

constexpr int32_t kGen1Ratio = 8;
constexpr int32_t kChFx1Param1 = 332;
constexpr int32_t kStepSeq1Out = 81;
constexpr int32_t kChLfo1Out = 290;

// Sets slot 1 (offset +1 source, +2 amount) of a modulated member.
void setSlot1(Channel& channel, int32_t member, int32_t source, float amount) {
    setParameter(channel, member + kSlotSource1, makeIntValue(source));
    setParameter(channel, member + kSlotAmount1, makeFloatValue(amount));
}

bool isUnbound(const ModSlot& slot) {
    return slot.channelValue == nullptr && slot.voiceOutput < 0;
}

TEST(ModulationSlots, VoiceSourcesReadEachVoicesOwnOutput) {
    Channel channel;
    setParameter(channel, kGen1Ratio, makeFloatValue(1.0f));
    setSlot1(channel, kGen1Ratio, 1, 0.5f);  // E1
    float voiceA[kVoiceOutputCount] = {}, voiceB[kVoiceOutputCount] = {};
    voiceA[kVoiceOutputEnvelope1] = 0.6f;
    voiceB[kVoiceOutputEnvelope1] = 0.2f;
    EXPECT_EQ(evaluateModParam(channel, voiceA, channel.gen.ratio), 1.3f);
    EXPECT_EQ(evaluateModParam(channel, voiceB, channel.gen.ratio), 1.1f);
    // The base is what a read returns, not the modulated value.
    EXPECT_EQ(valueAsFloat(getParameter(channel, kGen1Ratio)), 1.0f);
}

TEST(ModulationSlots, EveryVoiceSourceNumberBindsToItsSource) {
    Channel channel;
    float outputs[kVoiceOutputCount];
    for (int32_t k = 0; k < kVoiceOutputCount; ++k) outputs[k] = 0.01f * static_cast<float>(k + 1);
    for (int32_t c = 0; c < kControllerCount; ++c)
        channel.controllerValue[c] = 0.001f * static_cast<float>(c + 1);
    for (int32_t m = 0; m < kMacroCount; ++m) channel.macro[m] = 0.5f + 0.01f * static_cast<float>(m);
    for (int32_t l = 0; l < kChannelLfoCount; ++l)
        channel.chLfoState.output[l] = -0.1f * static_cast<float>(l + 1);

    auto expected = [&](int32_t s) -> float {
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
        setSlot1(channel, kParamGain, s, 1.0f);
        EXPECT_EQ(evaluateModParam(channel, outputs, channel.gain), expected(s)) << "source " << s;
    }
}

TEST(ModulationSlots, EveryChannelSourceNumberBindsToItsSource) {
    Channel channel;
    for (int32_t c = 0; c < kControllerCount; ++c)
        channel.controllerValue[c] = 0.001f * static_cast<float>(c + 1);
    for (int32_t m = 0; m < kMacroCount; ++m) channel.macro[m] = 0.5f + 0.01f * static_cast<float>(m);
    for (int32_t l = 0; l < kChannelLfoCount; ++l)
        channel.chLfoState.output[l] = -0.1f * static_cast<float>(l + 1);
    auto expected = [&](int32_t s) -> float {
        if (s <= 4) return channel.chLfoState.output[s - 1];
        if (s <= 132) return channel.controllerValue[s - 5];
        return channel.macro[s - 133];
    };
    for (int32_t s = 1; s < kChannelSourceCount; ++s) {
        setParameter(channel, kChLfo1Out, makeFloatValue(0.0f));
        setSlot1(channel, kChLfo1Out, s, 1.0f);
        EXPECT_EQ(evaluateChModParam(channel, channel.chLfo.out[0]), expected(s)) << "source " << s;
    }
}

TEST(ModulationSlots, ChannelSlotsFollowControllersAndMacros) {
    Channel channel;
    setParameter(channel, kChFx1Param1, makeFloatValue(0.5f));
    setSlot1(channel, kChFx1Param1, 12, -0.5f);  // controller 7
    channel.controllerValue[7] = 1.0f;
    EXPECT_EQ(evaluateChModParam(channel, channel.fx[0].param[0]), 0.0f);
    // A macro stored through the routing is the value a macro source reads.
    setParameter(channel, kChFx1Param1 + kSlotSource2, makeIntValue(134));  // M2
    setParameter(channel, kChFx1Param1 + kSlotAmount2, makeFloatValue(1.0f));
    setParameter(channel, kParamMacro1 + 1, makeFloatValue(0.25f));
    EXPECT_EQ(evaluateChModParam(channel, channel.fx[0].param[0]), 0.25f);
}

TEST(ModulationSlots, ZeroAmountNeverBindsAndANonZeroAmountBindsAtOnce) {
    Channel channel;
    channel.controllerValue[0] = 1.0f;
    setParameter(channel, kParamGain, makeFloatValue(1.0f));
    setSlot1(channel, kParamGain, 20, 0.0f);  // controller 0, amount 0
    EXPECT_TRUE(isUnbound(channel.gain.slots[0]));
    EXPECT_EQ(evaluateModParam(channel, nullptr, channel.gain), 1.0f);
    setParameter(channel, kParamGain + kSlotAmount1, makeFloatValue(0.25f));
    EXPECT_EQ(channel.gain.slots[0].channelValue, &channel.controllerValue[0]);
    EXPECT_EQ(evaluateModParam(channel, nullptr, channel.gain), 1.25f);
    // −0.0 is not "all bits zero": it binds (and adds nothing).
    setParameter(channel, kParamGain + kSlotAmount1, makeFloatValue(-0.0f));
    EXPECT_EQ(channel.gain.slots[0].channelValue, &channel.controllerValue[0]);
    setParameter(channel, kParamGain + kSlotAmount1, makeFloatValue(0.0f));
    EXPECT_TRUE(isUnbound(channel.gain.slots[0]));
}

TEST(ModulationSlots, StepSequencerOutSlotsUseTheVoiceNumbering) {
    Channel channel;
    // The host reaches source 138 at x = 1: controller 118 in the voice numbering.
    ASSERT_TRUE(setParameterNormalized(channel, kStepSeq1Out + kSlotSource1, 1.0f));
    ASSERT_TRUE(setParameterNormalized(channel, kStepSeq1Out + kSlotAmount1, 1.0f));
    EXPECT_EQ(channel.stepSeq[0].out.slots[0].source, 138);
    EXPECT_EQ(channel.stepSeq[0].out.slots[0].amount, 1.0f);
    EXPECT_EQ(channel.stepSeq[0].out.slots[0].channelValue, &channel.controllerValue[118]);
    // Source 1 is envelope 1 of the voice, not channel LFO 1.
    setParameter(channel, kStepSeq1Out + kSlotSource1, makeIntValue(1));
    EXPECT_EQ(channel.stepSeq[0].out.slots[0].voiceOutput, kVoiceOutputEnvelope1);
    EXPECT_EQ(channel.stepSeq[0].out.slots[0].channelValue, nullptr);
}

TEST(ModulationSlots, SourcesOutsideTheirNumberingContributeNothing) {
    Channel channel;
    for (float& c : channel.controllerValue) c = 1.0f;
    float outputs[kVoiceOutputCount];
    for (float& o : outputs) o = 1.0f;
    for (int32_t source : {-1, 158, 1000, INT32_MIN, INT32_MAX}) {
        setParameter(channel, kParamGain, makeFloatValue(0.5f));
        setSlot1(channel, kParamGain, source, 1.0f);
        EXPECT_TRUE(isUnbound(channel.gain.slots[0])) << source;
        EXPECT_EQ(evaluateModParam(channel, outputs, channel.gain), 0.5f) << source;
    }
    for (int32_t source : {-1, 139, 157}) {
        setParameter(channel, kChLfo1Out, makeFloatValue(0.5f));
        setSlot1(channel, kChLfo1Out, source, 1.0f);
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
    param.slots[0].source = 150;  // M3
    param.slots[0].amount = 2.0f;
    param.slots[1].source = 3;  // E3
    param.slots[1].amount = 0.0f;
    markStale(param);
    EXPECT_EQ(evaluateModParam(channel, nullptr, param), 2.0f);
    EXPECT_EQ(param.slots[0].channelValue, &channel.macro[2]);
    EXPECT_FALSE(param.slots[0].stale);
    EXPECT_FALSE(param.slots[1].stale);  // looked at, amount 0: stays unbound
    EXPECT_TRUE(isUnbound(param.slots[1]));

    ChModParam ch;
    ch.base = 0.0f;
    ch.slots[1].source = 2;  // G2
    ch.slots[1].amount = -1.0f;
    channel.chLfoState.output[1] = 0.75f;
    markStale(ch);
    EXPECT_EQ(evaluateChModParam(channel, ch), -0.75f);
    EXPECT_EQ(ch.slots[1].channelValue, &channel.chLfoState.output[1]);
}

TEST(ModulationSlots, EachMultiplyAddIsDoneInDoubleAndRoundedPerSlot) {
    // Values chosen so that float arithmetic, and one double sum over both slots, give other results.
    const float c0 = 55 / 127.0f, c1 = 49 / 127.0f, base = 0.56f;
    const float a1 = 11 / 100.0f - 1.0f, a2 = 42 / 100.0f - 1.0f;
    Channel channel;
    channel.controllerValue[0] = c0;
    channel.controllerValue[1] = c1;
    setParameter(channel, kParamGain, makeFloatValue(base));
    setSlot1(channel, kParamGain, 20, a1);
    setParameter(channel, kParamGain + kSlotSource2, makeIntValue(21));
    setParameter(channel, kParamGain + kSlotAmount2, makeFloatValue(a2));
    const float afterSlot1 = static_cast<float>(static_cast<double>(a1) * c0 + base);
    const float expected = static_cast<float>(static_cast<double>(a2) * c1 + afterSlot1);
    volatile float product1 = a1 * c0, product2 = a2 * c1;
    const float inFloat = product2 + (product1 + base);
    const float oneDoubleSum =
        static_cast<float>(static_cast<double>(a1) * c0 + base + static_cast<double>(a2) * c1);
    ASSERT_NE(expected, inFloat);
    ASSERT_NE(expected, oneDoubleSum);
    EXPECT_EQ(evaluateModParam(channel, nullptr, channel.gain), expected);
}

}  // namespace
}  // namespace quenvale
