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
constexpr int32_t kGen1RatioSource = 9;  // voice sources 0 … 157

TEST(ParameterConversion, EveryEnumeratedValueSurvivesTheHostRoundTrip) {
    int checked = 0;
    for (int32_t i = 0; i < parameterCount(); ++i) {
        const ParameterDescriptor& d = descriptor(i);
        if (!d.isEnumerated()) continue;
        for (int32_t v = 0; v <= d.maxValue.numberAsInt(); ++v, ++checked) {
            const float x = normalizedFromValue(i, makeIntValue(v));
            ASSERT_TRUE(x >= 0.0f && x <= 1.0f) << d.name;
            const ParameterValue back = valueFromNormalized(i, x);
            ASSERT_EQ(back.kind, ParameterKind::Int) << d.name;
            ASSERT_EQ(back.numberAsInt(), v) << d.name;
        }
    }
    // Members: PWM Mode 4, Compressor Mode 2, 4 step sequencers 13 + 9, 12 LFOs 6 + 13, 2 effects 3.
    // Sources: 90 entries of 0 … 157 (voice range), 44 of 0 … 138 (channel range).
    EXPECT_EQ(checked, 4 + 2 + 4 * 22 + 12 * 19 + 2 * 3 + 90 * 158 + 44 * 139);
}

TEST(ParameterConversion, FloatsMapLinearlyAndEnumsRoundHalfUpWithoutClamping) {
    constexpr float kFloatMax = std::numeric_limits<float>::max(),
                    kInf = std::numeric_limits<float>::infinity();
    constexpr int32_t kIntMax = std::numeric_limits<int32_t>::max(),
                      kIntMin = std::numeric_limits<int32_t>::min();
    // Gen1 Offset, then Compressor Attack: computed in double and rounded once, far outside saturated.
    const float kFloatX[] = {0.75f, 1.5f, 1e38f, -1e38f, 1.0f, 0.0f};
    const float kFloat[] = {50.0f, 200.0f, kFloatMax, -kFloatMax, 50.0f, 0.1f};
    for (size_t k = 0; k < std::size(kFloatX); ++k) {
        const ParameterValue v = valueFromNormalized(k < 4 ? kGen1Offset : kAttack, kFloatX[k]);
        EXPECT_EQ(v.kind, ParameterKind::Float);
        EXPECT_EQ(v.numberAsFloat(), kFloat[k]) << "case " << k;
    }
    EXPECT_EQ(normalizedFromValue(kGen1Offset, makeFloatValue(0.0f)), 0.5f);
    EXPECT_EQ(normalizedFromValue(kGen1Offset, makeFloatValue(-300.0f)), -1.0f);
    ModParam mod;
    mod.base = 100.0f;  // a modulated value is seen through its base
    EXPECT_EQ(normalizedFromValue(kGen1Offset, makeModulatedValue(mod)), 1.0f);
    // StepSeq1 Length (0 … 8): 8x + 0.5 truncated toward zero, saturated far outside.
    const float kLengthX[] = {0.5f,  1.0f,  0.0625f, 0.06f, 2.0f,         -0.1f,
                              -0.2f, 1e30f, -1e30f,  kInf,  std::nanf("")};
    const int32_t kLengthValue[] = {4, 8, 1, 0, 16, 0, -1, kIntMax, kIntMin, kIntMax, 0};
    for (size_t k = 0; k < std::size(kLengthX); ++k)
        EXPECT_EQ(valueFromNormalized(kLength, kLengthX[k]).numberAsInt(), kLengthValue[k]) << kLengthX[k];
    EXPECT_EQ(valueFromNormalized(kCompressorMode, 0.49f).numberAsInt(), 0);
    EXPECT_EQ(valueFromNormalized(kCompressorMode, 0.5f).numberAsInt(), 1);
    // No descriptor, no value.
    EXPECT_EQ(valueFromNormalized(383, 0.5f).kind, ParameterKind::None);
    EXPECT_EQ(valueFromNormalized(-1, 0.5f).kind, ParameterKind::None);
    EXPECT_EQ(normalizedFromValue(383, makeFloatValue(1.0f)), 0.0f);
}

TEST(ParameterConversion, ValueNamesAndDisplayTexts) {
    const ParameterDescriptor& type = descriptor(kLfo1Type);
    EXPECT_STREQ(valueName(type, 6), "Parabol");
    EXPECT_STREQ(valueName(type, 7), "");  // the list's closing empty string
    EXPECT_EQ(valueName(type, 8), nullptr);
    EXPECT_EQ(valueName(type, 1000), nullptr);
    EXPECT_STREQ(valueName(type, -3), "Off");
    EXPECT_EQ(valueName(descriptor(0), 0), nullptr);  // float parameters have no names

    DisplayTextBuffer buffer;
    auto text = [&buffer](int32_t index, const ParameterValue& v) {
        return std::string(displayText(index, v, buffer));
    };
    ModParam mod;
    mod.base = 0.5f;
    EXPECT_EQ(text(0, makeFloatValue(1.0f)) + text(kGen1Offset, makeFloatValue(-0.25f)) +
                  text(kGen1Offset, makeFloatValue(12.3456f)) + text(8, makeModulatedValue(mod)),
              "1.000-0.25012.3460.500");  // "%1.3f"
    // "%1.3f" of the largest float still fits the buffer.
    EXPECT_EQ(text(0, makeFloatValue(-std::numeric_limits<float>::max())).size(), 44u);
    EXPECT_EQ(text(108, makeIntValue(3)), " 2/3");
    EXPECT_EQ(text(kLength, makeIntValue(8)), " 32");
    EXPECT_EQ(text(kCompressorMode, makeIntValue(1)), "Peak HardKnee");
    EXPECT_EQ(text(kLfo1Type, makeIntValue(9)), "");  // past the list's end
    EXPECT_EQ(text(kGen1RatioSource, makeIntValue(1)), "E1");
    EXPECT_EQ(text(kGen1RatioSource, makeIntValue(8)), "V");
    EXPECT_EQ(text(kGen1RatioSource, makeIntValue(20)), "");
    EXPECT_EQ(text(383, makeIntValue(1)), "");
}

}  // namespace
}  // namespace quenvale
