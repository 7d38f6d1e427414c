// Host conversions: normalised values both ways, value names and display texts.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "params/parameter_catalogue.h"
#include "params/parameter_conversion.h"

namespace quenvale {
namespace {

constexpr int32_t kGen1Offset = 13;      // float −100 … 100
constexpr int32_t kCompressorMode = 44;  // 0 … 1
constexpr int32_t kAttack = 47;          // 0.1 … 50
constexpr int32_t kLength = 80;          // StepSeq1 Length, 0 … 8
constexpr int32_t kLfo1Type = 107;       // 0 … 5, seven names
constexpr int32_t kLfo1Sync = 108;
constexpr int32_t kGen1RatioSource = 9;  // voice sources 0 … 157

TEST(ParameterValue, ReadsByKind) {
    ModParam mod;
    mod.base = 0.25f;
    mod.slots[0].source = 3;
    mod.slots[0].amount = 0.5f;
    const ParameterValue modulated = makeModulatedValue(mod);
    EXPECT_EQ(valueAsFloat(modulated), 0.25f);  // the base, not a modulated value
    EXPECT_EQ(modulated.modulated.slots[0].source, 3);
    EXPECT_EQ(modulated.number, 0u);
    ChModParam ch;
    ch.base = -2.0f;
    EXPECT_EQ(valueAsFloat(makeChModulatedValue(ch)), -2.0f);
    EXPECT_EQ(valueAsFloat(makeFloatValue(-0.5f)), -0.5f);
    EXPECT_EQ(valueAsFloat(makeIntValue(7)), 0.0f);
    EXPECT_EQ(valueAsInt(makeIntValue(-7)), -7);
    EXPECT_EQ(valueAsInt(makeFloatValue(1.0f)), 0x3F800000);  // number's bits, whatever the kind
    EXPECT_EQ(valueAsFloat(ParameterValue{}), 0.0f);
}

TEST(ParameterConversion, EveryEnumeratedValueSurvivesTheHostRoundTrip) {
    int checked = 0;
    for (int32_t i = 0; i < parameterCount(); ++i) {
        const ParameterDescriptor& d = descriptor(i);
        if (!d.isEnumerated()) continue;
        for (int32_t v = d.minValue.numberAsInt(); v <= d.maxValue.numberAsInt(); ++v) {
            const float x = normalizedFromValue(i, makeIntValue(v));
            ASSERT_GE(x, 0.0f);
            ASSERT_LE(x, 1.0f);
            const ParameterValue back = valueFromNormalized(i, x);
            ASSERT_EQ(back.kind, ParameterKind::Int) << d.name;
            ASSERT_EQ(back.numberAsInt(), v) << d.name;
            ++checked;
        }
    }
    // Members: PWM Mode 4, Compressor Mode 2, 4 step sequencers 13 + 9, 12 LFOs 6 + 13, 2 effects 3.
    // Sources: 90 entries of 0 … 157 (voice range), 44 of 0 … 138 (channel range).
    EXPECT_EQ(checked, 4 + 2 + 4 * 22 + 12 * 19 + 2 * 3 + 90 * 158 + 44 * 139);
}

TEST(ParameterConversion, FloatParametersMapLinearlyWithoutClamping) {
    EXPECT_EQ(valueFromNormalized(kGen1Offset, 0.75f).numberAsFloat(), 50.0f);
    EXPECT_EQ(valueFromNormalized(kGen1Offset, 0.75f).kind, ParameterKind::Float);
    EXPECT_EQ(normalizedFromValue(kGen1Offset, makeFloatValue(0.0f)), 0.5f);
    EXPECT_EQ(valueFromNormalized(kGen1Offset, 1.5f).numberAsFloat(), 200.0f);
    EXPECT_EQ(normalizedFromValue(kGen1Offset, makeFloatValue(-300.0f)), -1.0f);
    // Computed in double and rounded once: 0.1f + 49.9 · 1 is exactly the upper end.
    EXPECT_EQ(valueFromNormalized(kAttack, 1.0f).numberAsFloat(), 50.0f);
    EXPECT_EQ(valueFromNormalized(kAttack, 0.0f).numberAsFloat(), 0.1f);
    // Far outside, the float saturates at its range instead of overflowing the conversion.
    EXPECT_EQ(valueFromNormalized(kGen1Offset, 1e38f).numberAsFloat(), std::numeric_limits<float>::max());
    EXPECT_EQ(valueFromNormalized(kGen1Offset, -1e38f).numberAsFloat(), -std::numeric_limits<float>::max());
    // A modulated value is seen through its base.
    ModParam mod;
    mod.base = 100.0f;
    EXPECT_EQ(normalizedFromValue(kGen1Offset, makeModulatedValue(mod)), 1.0f);
}

TEST(ParameterConversion, EnumeratedValuesRoundHalfUpAndSaturate) {
    EXPECT_EQ(valueFromNormalized(kLength, 0.5f).numberAsInt(), 4);  // 8 · 0.5 + 0.5 = 4.5
    EXPECT_EQ(valueFromNormalized(kLength, 1.0f).numberAsInt(), 8);
    EXPECT_EQ(valueFromNormalized(kLength, 0.0625f).numberAsInt(), 1);  // 0.5 + 0.5
    EXPECT_EQ(valueFromNormalized(kLength, 0.06f).numberAsInt(), 0);
    EXPECT_EQ(valueFromNormalized(kCompressorMode, 0.49f).numberAsInt(), 0);
    EXPECT_EQ(valueFromNormalized(kCompressorMode, 0.5f).numberAsInt(), 1);
    // Outside 0 … 1 nothing clamps; trunc rounds toward zero.
    EXPECT_EQ(valueFromNormalized(kLength, 2.0f).numberAsInt(), 16);
    EXPECT_EQ(valueFromNormalized(kLength, -0.1f).numberAsInt(), 0);   // trunc(−0.3)
    EXPECT_EQ(valueFromNormalized(kLength, -0.2f).numberAsInt(), -1);  // trunc(−1.1)
    // Far outside, the integer saturates instead of overflowing.
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
    EXPECT_EQ(valueFromNormalized(kLength, 1e30f).numberAsInt(), kMax);
    EXPECT_EQ(valueFromNormalized(kLength, -1e30f).numberAsInt(), kMin);
    EXPECT_EQ(valueFromNormalized(kLength, std::numeric_limits<float>::infinity()).numberAsInt(), kMax);
    EXPECT_EQ(valueFromNormalized(kLength, std::nanf("")).numberAsInt(), 0);
    // No descriptor, no value.
    EXPECT_EQ(valueFromNormalized(383, 0.5f).kind, ParameterKind::None);
    EXPECT_EQ(valueFromNormalized(-1, 0.5f).kind, ParameterKind::None);
    EXPECT_EQ(normalizedFromValue(383, makeFloatValue(1.0f)), 0.0f);
}

TEST(ParameterConversion, ValueNamesWalkTheListUntilItEnds) {
    const ParameterDescriptor& type = descriptor(kLfo1Type);
    const char* const kExpected[] = {"Off", "Sine", "Saw", "InvSaw", "Pulse", "Tri", "Parabol"};
    for (int32_t v = 0; v < 7; ++v) EXPECT_STREQ(valueName(type, v), kExpected[v]);
    EXPECT_STREQ(valueName(type, 7), "");  // the list's closing empty string
    EXPECT_EQ(valueName(type, 8), nullptr);
    EXPECT_EQ(valueName(type, 1000), nullptr);
    EXPECT_STREQ(valueName(type, -3), "Off");
    EXPECT_EQ(valueName(descriptor(0), 0), nullptr);  // float parameters have no names
}

TEST(ParameterConversion, DisplayTexts) {
    DisplayTextBuffer buffer;
    auto text = [&buffer](int32_t index, const ParameterValue& v) {
        return std::string(displayText(index, v, buffer));
    };
    EXPECT_EQ(text(0, makeFloatValue(1.0f)), "1.000");
    EXPECT_EQ(text(kGen1Offset, makeFloatValue(-0.25f)), "-0.250");
    EXPECT_EQ(text(kGen1Offset, makeFloatValue(12.3456f)), "12.346");
    ModParam mod;
    mod.base = 0.5f;
    EXPECT_EQ(text(8, makeModulatedValue(mod)), "0.500");
    EXPECT_EQ(text(0, makeFloatValue(-std::numeric_limits<float>::max())).size(), 44u);  // fits the buffer
    EXPECT_EQ(text(kLfo1Sync, makeIntValue(3)), " 2/3");
    EXPECT_EQ(text(kLength, makeIntValue(8)), " 32");
    EXPECT_EQ(text(kCompressorMode, makeIntValue(1)), "Peak HardKnee");
    EXPECT_EQ(text(kLfo1Type, makeIntValue(6)), "Parabol");
    EXPECT_EQ(text(kLfo1Type, makeIntValue(9)), "");
    EXPECT_EQ(text(kGen1RatioSource, makeIntValue(1)), "E1");
    EXPECT_EQ(text(kGen1RatioSource, makeIntValue(8)), "V");
    EXPECT_EQ(text(kGen1RatioSource, makeIntValue(20)), "");
    EXPECT_EQ(text(383, makeIntValue(1)), "");
    // Each request overwrites the one buffer.
    const char* first = displayText(kLength, makeIntValue(0), buffer);
    displayText(kLength, makeIntValue(1), buffer);
    EXPECT_STREQ(first, " 2");
}

}  // namespace
}  // namespace quenvale
