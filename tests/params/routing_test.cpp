// Routing: where each index lands in the Channel, what a store does besides, what a read returns,
// and the failure report.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <string>

#include "common/beep.h"
#include "engine/channel.h"
#include "engine/rate_values.h"
#include "params/mod_sources.h"
#include "params/parameter_access.h"
#include "params/parameter_index.h"
#include "params/parameter_routing.h"
#include "params_test_support.h"

namespace quenvale {
namespace {

using test::ReportCapture;

// A value only index i stores (Length keeps a valid choice; slot sources stay unbound).
ParameterValue distinctValue(int32_t i) {
    if (std::string(descriptor(i).name).ends_with(" Length")) return makeIntValue(i % 9);
    if (descriptor(i).isEnumerated()) return makeIntValue(1000 + i);
    return makeFloatValue(0.5f + static_cast<float>(i));
}

// The kind a read must return, derived from the catalogue's names alone.
ParameterKind expectedKind(int32_t i) {
    const std::string name = descriptor(i).name;
    if (descriptor(i).isEnumerated()) return ParameterKind::Int;
    if (i + 1 >= parameterCount() || descriptor(i + 1).name != name + " ModSrc1") return ParameterKind::Float;
    return usesChannelNumbering(name.c_str()) ? ParameterKind::ChModulated : ParameterKind::Modulated;
}

TEST(ParameterRouting, EveryIndexHasItsOwnFieldAndStoresBackUnchanged) {
    Channel first;
    ReportCapture capture;
    for (int32_t i = 0; i < parameterCount(); ++i) ASSERT_TRUE(setParameter(first, i, distinctValue(i))) << i;
    const std::vector<ParameterValue> stored = test::snapshot(first);
    for (int32_t i = 0; i < parameterCount(); ++i) {
        SCOPED_TRACE(descriptor(i).name);
        // Compressor Mode is stored as an on/off flag.
        const ParameterValue v = stored[size_t(i)],
                             want = i == kParamCompressorMode ? makeIntValue(1) : distinctValue(i);
        EXPECT_EQ(v.kind, expectedKind(i));
        EXPECT_EQ(want.kind == ParameterKind::Int ? v.number : std::bit_cast<uint32_t>(valueAsFloat(v)),
                  want.number);
    }
    // What a channel reads back, applied to another channel, reads back the same.
    Channel second;
    for (int32_t i = 0; i < parameterCount(); ++i) setParameter(second, i, stored[static_cast<size_t>(i)]);
    test::expectSameState(stored, test::snapshot(second));
    EXPECT_EQ(capture.lines.size() + capture.beeps, 0u);
}

TEST(ParameterRouting, IndicesLandInTheirFieldsAndDecodeIntoInstanceAndMember) {
    Channel channel;
    const std::pair<int32_t, ParameterValue> kStores[] = {
        {28, makeIntValue(2)},       {54, makeFloatValue(0.4f)},  {106, makeFloatValue(-0.5f)},
        {153, makeFloatValue(0.1f)}, {219, makeFloatValue(0.2f)}, {262, makeIntValue(9)},
        {290, makeFloatValue(0.6f)}, {300, makeIntValue(7)},      {382, makeFloatValue(0.125f)}};
    for (const auto& [index, value] : kStores) ASSERT_TRUE(setParameter(channel, index, value));
    EXPECT_EQ(channel.gen.pwmMode, 2);                         // Gen1 PWM Mode
    EXPECT_EQ(channel.env[1].out.base, 0.4f);                  // Env2 Out
    EXPECT_EQ(channel.stepSeq[3].out.slots[1].amount, -0.5f);  // StepSeq4 Out ModAmt2
    EXPECT_EQ(channel.lfo[0].ratio[2].base, 0.1f);             // Lfo3 Ratio: block 0, lane 2
    EXPECT_EQ(channel.lfo[1].ratio[1].base, 0.2f);             // Lfo6 Ratio: block 1, lane 1
    EXPECT_EQ(channel.lfo[1].sync[3], 9);                      // Lfo8 Sync: block 1, lane 3
    EXPECT_EQ(channel.chLfo.out[0].base, 0.6f);                // ChLfo1 Out
    EXPECT_EQ(channel.chLfo.offset[1].slots[1].source, 7);     // ChLfo2 Offset ModSrc2
    EXPECT_EQ(channel.fx[1].dryWet.slots[1].amount, 0.125f);   // ChFx2 Dry/Wet ModAmt2

    EXPECT_EQ(kChLfoGroup.instanceOf(290), 0);
    EXPECT_EQ(kChLfoGroup.memberOf(290), 290);
    EXPECT_EQ(kChLfoGroup.instanceOf(300), 1);
    EXPECT_EQ(kChLfoGroup.memberOf(300), 288);
    ASSERT_TRUE(setParameterChLfo(channel, 1, 288, makeIntValue(42)));
    EXPECT_EQ(getParameter(channel, 300).numberAsInt(), 42);
    ASSERT_TRUE(setParameterLfo(channel, 2, 109, makeFloatValue(0.125f)));  // "Lfo1 Ratio" member of Lfo3
    EXPECT_EQ(valueAsFloat(getParameter(channel, 153)), 0.125f);
}

TEST(ParameterRouting, StoresOfBasesAndStoresThatTakeEffectBeyondTheirField) {
    Channel channel;
    setParameter(channel, 154, makeIntValue(7));  // Lfo3 Ratio ModSrc1 = L1
    setParameter(channel, 155, makeFloatValue(0.1f));
    const ModSlot before = channel.lfo[0].ratio[2].slots[0];
    setParameter(channel, 153, makeFloatValue(0.1f));
    EXPECT_TRUE(test::sameSlot(channel.lfo[0].ratio[2].slots[0], before));
    // A Modulated value's slots are not copied: only its base is taken.
    ModParam other;
    other.base = 1.75f;
    other.slots[0] = {.source = 19, .amount = 1.0f};
    other.slots[1] = {.source = 150, .amount = -1.0f};
    setParameter(channel, kParamGain, makeModulatedValue(other));
    EXPECT_EQ(channel.gain.base, 1.75f);
    for (const ModSlot& slot : channel.gain.slots) EXPECT_TRUE(test::sameSlot(slot, ModSlot{}));
    // Compressor Mode is an on/off flag: 7 reads back as 1.
    setParameter(channel, kParamCompressorMode, makeIntValue(7));
    EXPECT_TRUE(channel.compressor.on);
    EXPECT_EQ(getParameter(channel, kParamCompressorMode).numberAsInt(), 1);
    setParameter(channel, kParamCompressorMode, makeIntValue(0));
    EXPECT_EQ(getParameter(channel, kParamCompressorMode).numberAsInt(), 0);
    // Times become coefficients at the sample rate of the store.
    setRateValues(44100.0f);
    setParameter(channel, kParamCompressorAttack, makeFloatValue(1.0f));
    EXPECT_NEAR(channel.compressor.attackCoefficient, 0.97758f, 1e-5f);
    setParameter(channel, 101, makeIntValue(8));  // StepSeq4 Length " 32"
    EXPECT_EQ(channel.stepSeq[3].stepCount, 32);
    channel.fx[1].lines[0].buffer[5] = 0.5f;
    setParameter(channel, 357, makeIntValue(kEffectComb));  // ChFx2 Type
    EXPECT_EQ(channel.fx[1].type, kEffectComb);
    EXPECT_EQ(channel.fx[1].lines[0].buffer[5], 0.0f);  // a new type starts with clear lines
}

using Store = bool (*)(Channel&, int32_t, int32_t, const ParameterValue&) noexcept;
using Read = ParameterValue (*)(const Channel&, int32_t, int32_t) noexcept;
bool storeIndex(Channel& c, int32_t, int32_t index, const ParameterValue& v) noexcept {
    return setParameter(c, index, v);
}
ParameterValue readIndex(const Channel& c, int32_t, int32_t index) noexcept {
    return getParameter(c, index);
}

// The host's normalised store: mode 0 stores NaN, ±1 stores ±infinity, 2 stores 0.5.
bool storeNormalized(Channel& c, int32_t mode, int32_t index, const ParameterValue&) noexcept {
    const float x = mode == 0   ? std::nanf("")
                    : mode == 2 ? 0.5f
                                : float(mode) * std::numeric_limits<float>::infinity();
    return setParameterNormalized(c, index, x);
}

template <typename Call>
struct Failure {
    Call call;
    int32_t instance, member;
    const char* line;
};

// Stores and reads that must fail; each writes exactly its line.
const Failure<Store> kStoreFailures[] = {
    {storeIndex, 0, 383, "setParameter() called with unknown parameter (eParam: 383)\n"},
    {storeIndex, 0, -1, "setParameter() called with unknown parameter (eParam: -1)\n"},
    {storeNormalized, 2, 383, "setParameter() called with unknown parameter (eParam: 383)\n"},
    {storeNormalized, 0, 8, "setParameterNormalized() called with invalid value (eParam: 8)\n"},
    {storeNormalized, 1, 80, "setParameterNormalized() called with invalid value (eParam: 80)\n"},
    {storeNormalized, -1, 80, "setParameterNormalized() called with invalid value (eParam: 80)\n"},
    {setParameterGen, 1, 8, "setParameterGen() called with invalid generator (1)\n"},
    {setParameterGen, 0, 39, "setParameterGen() called with unknown parameter (nOsc: 0, eParamGen1: 39)\n"},
    {setParameterEnv, 6, 49, "setParameterEnv() called with invalid env (6)\n"},
    {setParameterEnv, 2, 54, "setParameterEnv() called with unknown parameter (nEnv: 2, eParamEnv1: 54)\n"},
    {setParameterStepSeq, 4, 79, "setParameterStepSeq() called with invalid StepSeq (4)\n"},
    {setParameterStepSeq, 0, 86,
     "setParameterStepSeq() called with unknown parameter (nStepSeq: 0, eParamStepSeq1: 86)\n"},
    {setParameterLfo, 8, 107, "setParameterLfo() called with invalid lfo (8)\n"},
    {setParameterLfo, -1, 107, "setParameterLfo() called with invalid lfo (-1)\n"},
    {setParameterLfo, 0, 129, "setParameterLfo() called with unknown parameter (nLfo: 0, eParamLfo1: 129)\n"},
    {setParameterChLfo, 4, 283, "setParameterChLfo() called with invalid lfo (4)\n"},
    {setParameterChLfo, 1, 295,
     "setParameterChLfo() called with unknown parameter (nLfo: 1, eParamChLfo1: 295)\n"},
    {setParameterChFx, 2, 331, "setParameterChFx() called with invalid ChFx (2)\n"},
    {setParameterChFx, 0, 330,
     "setParameterChFx() called with unknown parameter (nChFx: 0, eParamChFx1: 330)\n"},
};
const Failure<Read> kReadFailures[] = {
    {readIndex, 0, 383, "getParameter() called with unknown parameter (eParam: 383)\n"},
    {getParameterGen, -1, 8, "getParameterGen() called with invalid generator (-1)\n"},
    {getParameterGen, 0, 7, "getParameterGen() called with unknown parameter (nGen: 0, eParamGen1: 7)\n"},
    {getParameterEnv, 6, 49, "getParameterEnv() called with invalid env (6)\n"},
    {getParameterEnv, 0, 48, "getParameterEnv() called with unknown parameter (nEnv: 0, eParamEnv1: 48)\n"},
    {getParameterStepSeq, 4, 79, "getParameterStepSeq() called with invalid StepSeq (4)\n"},
    {getParameterStepSeq, 3, 107,
     "getParameterStepSeq() called with unknown parameter (nStepSeq: 3, eParamStepSeq1: 107)\n"},
    {getParameterLfo, 8, 107, "getParameterLfo() called with invalid lfo (8)\n"},
    {getParameterLfo, 7, 283, "getParameterLfo() called with unknown parameter (nLfo: 7, eParamLfo1: 283)\n"},
    {getParameterChLfo, -1, 283, "getParameterChLfo() called with invalid lfo (-1)\n"},
    {getParameterChLfo, 0, 295,
     "getParameterChLfo() called with unknown parameter (nLfo: 0, eParamChLfo1: 295)\n"},
    {getParameterChFx, 2, 331, "getParameterChFx() called with invalid ChFx (2)\n"},
    {getParameterChFx, 1, 357,
     "getParameterChFx() called with unknown parameter (nChFx: 1, eParamChFx1: 357)\n"},
};

TEST(ParameterRouting, FailuresReportTheirLineBeepOnceAndStoreNothing) {
    Channel channel;
    test::applyDefaults(channel);
    const std::vector<ParameterValue> before = test::snapshot(channel);
    auto expectOneLine = [](const ReportCapture& capture, const char* line) {
        EXPECT_EQ(capture.lines, std::vector<std::string>{line});
        EXPECT_EQ(capture.beeps, 1);
    };
    for (const auto& c : kStoreFailures) {
        SCOPED_TRACE(c.line);
        ReportCapture capture;
        EXPECT_FALSE(c.call(channel, c.instance, c.member, makeFloatValue(1.0f)));
        expectOneLine(capture, c.line);
    }
    for (const auto& c : kReadFailures) {
        SCOPED_TRACE(c.line);
        ReportCapture capture;
        EXPECT_TRUE(test::sameValue(c.call(channel, c.instance, c.member), ParameterValue{}));
        expectOneLine(capture, c.line);
    }
    test::expectSameState(before, test::snapshot(channel));
}

TEST(RoutingReport, DefaultSinkWritesTheDebugOutputAndBeepsAndLongLinesAreCut) {
    setRoutingReportSink(nullptr);
    const uint32_t before = routingBeepCount();
    const int platformBeepsBefore = beepCount();
    testing::internal::CaptureStderr();
    reportRoutingFailure("getParameter() called with unknown parameter (eParam: %d)\n", 383);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "getParameter() called with unknown parameter (eParam: 383)\n");
    EXPECT_EQ(routingBeepCount(), before + 1);
    EXPECT_EQ(beepCount(), platformBeepsBefore + 1);

    ReportCapture capture;
    reportRoutingFailure("%s\n", std::string(1000, 'x').c_str());
    EXPECT_EQ(capture.lines, std::vector<std::string>{std::string(kRoutingReportLineSize - 1, 'x')});
}

}  // namespace
}  // namespace quenvale
