// Routing: where each index lands in the Channel, what a store does besides, what a read returns,
// and the failure lines.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "engine/channel.h"
#include "engine/rate_values.h"
#include "params/mod_sources.h"
#include "params/parameter_index.h"
#include "params/parameter_routing.h"
#include "params_test_support.h"

namespace quenvale {
namespace {

using test::ReportCapture;

bool hasSlots(int32_t index) {
    return index + 1 < parameterCount() &&
           std::string(descriptor(index + 1).name) == std::string(descriptor(index).name) + " ModSrc1";
}

// The kind a read must return, derived from the catalogue's names alone.
ParameterKind expectedKind(int32_t index) {
    const std::string name = descriptor(index).name;
    if (name.find("ModSrc") != std::string::npos) return ParameterKind::Int;
    if (name.find("ModAmt") != std::string::npos) return ParameterKind::Float;
    if (descriptor(index).isEnumerated()) return ParameterKind::Int;
    if (hasSlots(index))
        return usesChannelNumbering(name.c_str()) ? ParameterKind::ChModulated : ParameterKind::Modulated;
    return ParameterKind::Float;
}

// A value only index i stores (Length and Compressor Mode keep a valid choice).
ParameterValue distinctValue(int32_t i) {
    const std::string name = descriptor(i).name;
    if (name.ends_with(" Length")) return makeIntValue(i % 9);
    if (descriptor(i).isEnumerated()) return makeIntValue(1000 + i);
    return makeFloatValue(0.5f + static_cast<float>(i));
}

TEST(ParameterRouting, EveryIndexHasItsOwnFieldAndReadsBackInItsKind) {
    Channel channel;
    ReportCapture capture;
    for (int32_t i = 0; i < parameterCount(); ++i)
        ASSERT_TRUE(setParameter(channel, i, distinctValue(i))) << i;
    for (int32_t i = 0; i < parameterCount(); ++i) {
        SCOPED_TRACE(descriptor(i).name);
        const ParameterValue v = getParameter(channel, i);
        EXPECT_EQ(v.kind, expectedKind(i));
        const ParameterValue stored = distinctValue(i);
        if (i == kParamCompressorMode) {
            EXPECT_EQ(v.numberAsInt(), 1);
        } else if (stored.kind == ParameterKind::Int) {
            EXPECT_EQ(v.numberAsInt(), stored.numberAsInt());
        } else {
            EXPECT_EQ(valueAsFloat(v), stored.numberAsFloat());
        }
    }
    EXPECT_TRUE(capture.lines.empty());
}

TEST(ParameterRouting, IndicesLandInTheDocumentedFields) {
    Channel channel;
    auto f = [](float x) { return makeFloatValue(x); };
    auto n = [](int32_t x) { return makeIntValue(x); };
    setParameter(channel, 0, f(1.5f));
    setParameter(channel, 1, f(0.25f));
    setParameter(channel, 7, f(0.75f));
    setParameter(channel, 28, n(2));        // Gen1 PWM Mode
    setParameter(channel, 34, f(0.3f));     // Gen1 PWM Feedback
    setParameter(channel, 54, f(0.4f));     // Env2 Out
    setParameter(channel, 106, f(-0.5f));   // StepSeq4 Out ModAmt2
    setParameter(channel, 153, f(0.1f));    // Lfo3 Ratio: block 0, lane 2
    setParameter(channel, 219, f(0.2f));    // Lfo6 Ratio: block 1, lane 1
    setParameter(channel, 262, n(9));       // Lfo8 Sync: block 1, lane 3
    setParameter(channel, 290, f(0.6f));    // ChLfo1 Out
    setParameter(channel, 300, n(7));       // ChLfo2 Offset ModSrc2
    setParameter(channel, 363, f(0.9f));    // ChFx2 Param2
    setParameter(channel, 382, f(0.125f));  // ChFx2 Dry/Wet ModAmt2
    EXPECT_EQ(channel.masterGain, 1.5f);
    EXPECT_EQ(channel.glide, 0.25f);
    EXPECT_EQ(channel.macro[5], 0.75f);
    EXPECT_EQ(channel.gen.pwmMode, 2);
    EXPECT_EQ(channel.gen.pwmFeedback.base, 0.3f);
    EXPECT_EQ(channel.env[1].out.base, 0.4f);
    EXPECT_EQ(channel.stepSeq[3].out.slots[1].amount, -0.5f);
    EXPECT_EQ(channel.lfo[0].ratio[2].base, 0.1f);
    EXPECT_EQ(channel.lfo[1].ratio[1].base, 0.2f);
    EXPECT_EQ(channel.lfo[1].sync[3], 9);
    EXPECT_EQ(channel.chLfo.out[0].base, 0.6f);
    EXPECT_EQ(channel.chLfo.offset[1].slots[1].source, 7);
    EXPECT_EQ(channel.fx[1].param[1].base, 0.9f);
    EXPECT_EQ(channel.fx[1].dryWet.slots[1].amount, 0.125f);
}

TEST(ParameterRouting, DecodesIntoInstanceAndFirstInstanceMember) {
    EXPECT_EQ(kChLfoGroup.instanceOf(290), 0);
    EXPECT_EQ(kChLfoGroup.memberOf(290), 290);
    EXPECT_EQ(kChLfoGroup.instanceOf(300), 1);
    EXPECT_EQ(kChLfoGroup.memberOf(300), 288);
    Channel channel;
    ASSERT_TRUE(setParameterChLfo(channel, 1, 288, makeIntValue(42)));
    EXPECT_EQ(getParameter(channel, 300).numberAsInt(), 42);
    ASSERT_TRUE(setParameterLfo(channel, 2, 109, makeFloatValue(0.125f)));  // "Lfo1 Ratio" member of Lfo3
    EXPECT_EQ(valueAsFloat(getParameter(channel, 153)), 0.125f);
    EXPECT_EQ(valueAsFloat(getParameterLfo(channel, 2, 109)), 0.125f);
}

TEST(ParameterRouting, StoringABaseLeavesTheSlotsAlone) {
    Channel channel;
    setParameter(channel, 154, makeIntValue(7));  // Lfo3 Ratio ModSrc1 = L1
    setParameter(channel, 155, makeFloatValue(0.1f));
    const ModSlot before = channel.lfo[0].ratio[2].slots[0];
    setParameter(channel, 153, makeFloatValue(0.1f));
    EXPECT_EQ(channel.lfo[0].ratio[2].base, 0.1f);
    EXPECT_TRUE(test::sameSlot(channel.lfo[0].ratio[2].slots[0], before));

    // A Modulated value's slots are not copied: only its base is taken.
    ModParam other;
    other.base = 1.75f;
    other.slots[0].source = 19;
    other.slots[0].amount = 1.0f;
    other.slots[1].source = 150;
    other.slots[1].amount = -1.0f;
    setParameter(channel, kParamGain, makeModulatedValue(other));
    EXPECT_EQ(channel.gain.base, 1.75f);
    for (const ModSlot& slot : channel.gain.slots) EXPECT_TRUE(test::sameSlot(slot, ModSlot{}));
    const ParameterValue read = getParameter(channel, kParamGain);
    EXPECT_EQ(read.kind, ParameterKind::Modulated);
    EXPECT_EQ(read.modulated.base, 1.75f);
    EXPECT_EQ(read.modulated.slots[0].source, 0);

    // Any other kind stores as its float reading: an Int gives 0.
    setParameter(channel, kParamGain, makeIntValue(5));
    EXPECT_EQ(channel.gain.base, 0.0f);
}

TEST(ParameterRouting, CompressorStoresModeAsFlagAndTimesAsCoefficients) {
    Channel channel;
    setParameter(channel, kParamCompressorMode, makeIntValue(7));
    EXPECT_TRUE(channel.compressor.on);
    EXPECT_EQ(getParameter(channel, kParamCompressorMode).kind, ParameterKind::Int);
    EXPECT_EQ(getParameter(channel, kParamCompressorMode).numberAsInt(), 1);
    setParameter(channel, kParamCompressorMode, makeFloatValue(0.5f));  // any non-zero bits
    EXPECT_TRUE(channel.compressor.on);
    setParameter(channel, kParamCompressorMode, makeIntValue(0));
    EXPECT_EQ(getParameter(channel, kParamCompressorMode).numberAsInt(), 0);

    setRateValues(44100.0f);
    setParameter(channel, kParamCompressorAttack, makeFloatValue(1.0f));
    EXPECT_FLOAT_EQ(channel.compressor.attackCoefficient, static_cast<float>(std::exp(-1.0 / 44.1)));
    EXPECT_NEAR(channel.compressor.attackCoefficient, 0.97758f, 1e-5f);
    EXPECT_EQ(valueAsFloat(getParameter(channel, kParamCompressorAttack)), 1.0f);
    // The sample rate of the moment of the store counts.
    setRateValues(48000.0f);
    setParameter(channel, kParamCompressorRelease, makeFloatValue(300.0f));
    EXPECT_FLOAT_EQ(channel.compressor.releaseCoefficient,
                    static_cast<float>(std::exp(-1.0 / (48.0 * 300.0))));
    EXPECT_FLOAT_EQ(channel.compressor.attackCoefficient, static_cast<float>(std::exp(-1.0 / 44.1)));
    setRateValues(44100.0f);
}

TEST(ParameterRouting, StepSequencerLengthAndEffectTypeTakeEffect) {
    Channel channel;
    setParameter(channel, 80, makeIntValue(4));  // StepSeq1 Length " 8"
    EXPECT_EQ(channel.stepSeq[0].stepCount, 8);
    EXPECT_EQ(getParameter(channel, 80).numberAsInt(), 4);
    setParameter(channel, 101, makeIntValue(8));  // StepSeq4 Length " 32"
    EXPECT_EQ(channel.stepSeq[3].stepCount, 32);

    channel.fx[1].lines[0].buffer[5] = 0.5f;
    setParameter(channel, 357, makeIntValue(kEffectComb));  // ChFx2 Type
    EXPECT_EQ(channel.fx[1].type, kEffectComb);
    EXPECT_EQ(channel.fx[1].lines[0].buffer[5], 0.0f);  // a new type starts with clear lines
    EXPECT_EQ(getParameter(channel, 357).kind, ParameterKind::Int);
    EXPECT_EQ(getParameter(channel, 357).numberAsInt(), kEffectComb);
    EXPECT_EQ(channel.fx[0].type, kEffectNone);
}

TEST(ParameterRouting, AppliedValuesStoreBackUnchanged) {
    // Apply a "program" of non-default values, store the channel back, apply that to a second
    // channel: both read back the same bases, sources and amounts.
    Channel first;
    for (int32_t i = 0; i < parameterCount(); ++i) setParameter(first, i, distinctValue(i));
    const std::vector<ParameterValue> stored = test::snapshot(first);
    Channel second;
    for (int32_t i = 0; i < parameterCount(); ++i) setParameter(second, i, stored[i]);
    for (int32_t i = 0; i < parameterCount(); ++i) {
        const ParameterValue a = stored[i], b = getParameter(second, i);
        SCOPED_TRACE(descriptor(i).name);
        EXPECT_EQ(a.kind, b.kind);
        EXPECT_EQ(a.number, b.number);
        EXPECT_EQ(a.modulated.base, b.modulated.base);
        EXPECT_EQ(a.chModulated.base, b.chModulated.base);
        for (int k = 0; k < 2; ++k) {
            EXPECT_EQ(a.modulated.slots[k].source, b.modulated.slots[k].source);
            EXPECT_EQ(a.modulated.slots[k].amount, b.modulated.slots[k].amount);
            EXPECT_EQ(a.chModulated.slots[k].source, b.chModulated.slots[k].source);
            EXPECT_EQ(a.chModulated.slots[k].amount, b.chModulated.slots[k].amount);
        }
    }
}

struct FailureCase {
    const char* what;
    bool (*call)(Channel&);
    const char* line;
};

// Stores that must fail; each writes exactly its line.
const FailureCase kStoreFailures[] = {
    {"unknown index", [](Channel& c) { return setParameter(c, 383, makeFloatValue(1)); },
     "setParameter() called with unknown parameter (eParam: 383)\n"},
    {"negative index", [](Channel& c) { return setParameter(c, -1, makeFloatValue(1)); },
     "setParameter() called with unknown parameter (eParam: -1)\n"},
    {"generator instance", [](Channel& c) { return setParameterGen(c, 1, 8, makeFloatValue(1)); },
     "setParameterGen() called with invalid generator (1)\n"},
    {"generator member", [](Channel& c) { return setParameterGen(c, 0, 39, makeFloatValue(1)); },
     "setParameterGen() called with unknown parameter (nOsc: 0, eParamGen1: 39)\n"},
    {"envelope instance", [](Channel& c) { return setParameterEnv(c, 6, 49, makeFloatValue(1)); },
     "setParameterEnv() called with invalid env (6)\n"},
    {"envelope member", [](Channel& c) { return setParameterEnv(c, 2, 54, makeFloatValue(1)); },
     "setParameterEnv() called with unknown parameter (nEnv: 2, eParamEnv1: 54)\n"},
    {"step sequencer instance", [](Channel& c) { return setParameterStepSeq(c, 4, 79, makeIntValue(1)); },
     "setParameterStepSeq() called with invalid StepSeq (4)\n"},
    {"step sequencer member", [](Channel& c) { return setParameterStepSeq(c, 0, 86, makeIntValue(1)); },
     "setParameterStepSeq() called with unknown parameter (nStepSeq: 0, eParamStepSeq1: 86)\n"},
    {"LFO instance", [](Channel& c) { return setParameterLfo(c, 8, 107, makeIntValue(1)); },
     "setParameterLfo() called with invalid lfo (8)\n"},
    {"LFO negative instance", [](Channel& c) { return setParameterLfo(c, -1, 107, makeIntValue(1)); },
     "setParameterLfo() called with invalid lfo (-1)\n"},
    {"LFO member", [](Channel& c) { return setParameterLfo(c, 0, 129, makeIntValue(1)); },
     "setParameterLfo() called with unknown parameter (nLfo: 0, eParamLfo1: 129)\n"},
    {"channel LFO instance", [](Channel& c) { return setParameterChLfo(c, 4, 283, makeIntValue(1)); },
     "setParameterChLfo() called with invalid lfo (4)\n"},
    {"channel LFO member", [](Channel& c) { return setParameterChLfo(c, 1, 295, makeIntValue(1)); },
     "setParameterChLfo() called with unknown parameter (nLfo: 1, eParamChLfo1: 295)\n"},
    {"effect instance", [](Channel& c) { return setParameterChFx(c, 2, 331, makeIntValue(1)); },
     "setParameterChFx() called with invalid ChFx (2)\n"},
    {"effect member", [](Channel& c) { return setParameterChFx(c, 0, 330, makeIntValue(1)); },
     "setParameterChFx() called with unknown parameter (nChFx: 0, eParamChFx1: 330)\n"},
};

TEST(ParameterRouting, FailedStoresReportOneLineBeepAndStoreNothing) {
    Channel channel;
    test::applyDefaults(channel);
    const std::vector<ParameterValue> before = test::snapshot(channel);
    for (const FailureCase& c : kStoreFailures) {
        SCOPED_TRACE(c.what);
        ReportCapture capture;
        EXPECT_FALSE(c.call(channel));
        ASSERT_EQ(capture.lines.size(), 1u);
        EXPECT_EQ(capture.lines[0], c.line);
        EXPECT_EQ(capture.beeps, 1);
        EXPECT_EQ(capture.countedBeeps(), 1u);
    }
    const std::vector<ParameterValue> after = test::snapshot(channel);
    for (int32_t i = 0; i < parameterCount(); ++i) EXPECT_TRUE(test::sameValue(before[i], after[i])) << i;
}

struct ReadFailureCase {
    const char* what;
    ParameterValue (*call)(const Channel&);
    const char* line;
};

const ReadFailureCase kReadFailures[] = {
    {"unknown index", [](const Channel& c) { return getParameter(c, 383); },
     "getParameter() called with unknown parameter (eParam: 383)\n"},
    {"generator instance", [](const Channel& c) { return getParameterGen(c, -1, 8); },
     "getParameterGen() called with invalid generator (-1)\n"},
    {"generator member", [](const Channel& c) { return getParameterGen(c, 0, 7); },
     "getParameterGen() called with unknown parameter (nGen: 0, eParamGen1: 7)\n"},
    {"envelope instance", [](const Channel& c) { return getParameterEnv(c, 6, 49); },
     "getParameterEnv() called with invalid env (6)\n"},
    {"envelope member", [](const Channel& c) { return getParameterEnv(c, 0, 48); },
     "getParameterEnv() called with unknown parameter (nEnv: 0, eParamEnv1: 48)\n"},
    {"step sequencer instance", [](const Channel& c) { return getParameterStepSeq(c, 4, 79); },
     "getParameterStepSeq() called with invalid StepSeq (4)\n"},
    {"step sequencer member", [](const Channel& c) { return getParameterStepSeq(c, 3, 107); },
     "getParameterStepSeq() called with unknown parameter (nStepSeq: 3, eParamStepSeq1: 107)\n"},
    {"LFO instance", [](const Channel& c) { return getParameterLfo(c, 8, 107); },
     "getParameterLfo() called with invalid lfo (8)\n"},
    {"LFO member", [](const Channel& c) { return getParameterLfo(c, 7, 283); },
     "getParameterLfo() called with unknown parameter (nLfo: 7, eParamLfo1: 283)\n"},
    {"channel LFO instance", [](const Channel& c) { return getParameterChLfo(c, -1, 283); },
     "getParameterChLfo() called with invalid lfo (-1)\n"},
    {"channel LFO member", [](const Channel& c) { return getParameterChLfo(c, 0, 295); },
     "getParameterChLfo() called with unknown parameter (nLfo: 0, eParamChLfo1: 295)\n"},
    {"effect instance", [](const Channel& c) { return getParameterChFx(c, 2, 331); },
     "getParameterChFx() called with invalid ChFx (2)\n"},
    {"effect member", [](const Channel& c) { return getParameterChFx(c, 1, 357); },
     "getParameterChFx() called with unknown parameter (nChFx: 1, eParamChFx1: 357)\n"},
};

TEST(ParameterRouting, FailedReadsReportOneLineBeepAndGiveAnEmptyValue) {
    Channel channel;
    test::applyDefaults(channel);
    for (const ReadFailureCase& c : kReadFailures) {
        SCOPED_TRACE(c.what);
        ReportCapture capture;
        EXPECT_TRUE(test::isEmptyValue(c.call(channel)));
        ASSERT_EQ(capture.lines.size(), 1u);
        EXPECT_EQ(capture.lines[0], c.line);
        EXPECT_EQ(capture.beeps, 1);
    }
}

TEST(ParameterRouting, ValidIndicesNeverReport) {
    Channel channel;
    ReportCapture capture;
    test::applyDefaults(channel);
    (void)test::snapshot(channel);
    EXPECT_TRUE(capture.lines.empty());
    EXPECT_EQ(capture.countedBeeps(), 0u);
}

}  // namespace
}  // namespace quenvale
