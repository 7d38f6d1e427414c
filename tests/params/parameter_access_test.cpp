// Host- and editor-level access on a Channel: normalised values, display texts, macro labels.
#include "params/parameter_access.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "engine/channel.h"
#include "params/parameter_catalogue.h"
#include "params_test_support.h"

namespace quenvale {
namespace {

using test::ReportCapture;

TEST(ParameterAccess, TheHostReadsBackWhatItWrote) {
    Channel channel;
    ReportCapture capture;
    for (float x : {0.0f, 0.1f, 0.25f, 0.5f, 0.73f, 0.999f, 1.0f}) {
        for (int32_t i = 0; i < parameterCount(); ++i) {
            SCOPED_TRACE(descriptor(i).name);
            ASSERT_TRUE(setParameterNormalized(channel, i, x));
            const float back = getParameterNormalized(channel, i);
            if (descriptor(i).isEnumerated()) {
                EXPECT_EQ(back, normalizedFromValue(i, valueFromNormalized(i, x)));
                EXPECT_NEAR(back, x, 0.5f / static_cast<float>(descriptor(i).maxValue.numberAsInt()) + 1e-6f);
            } else if (x == 0.0f || x == 1.0f) {
                EXPECT_EQ(back, x);
            } else {
                EXPECT_NEAR(back, x, 1e-6f);
            }
        }
    }
    EXPECT_TRUE(capture.lines.empty());
}

TEST(ParameterAccess, NonFiniteHostValuesAreRefused) {
    Channel channel;
    test::applyDefaults(channel);
    const std::vector<ParameterValue> before = test::snapshot(channel);
    for (float x :
         {std::nanf(""), std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity()}) {
        for (int32_t index : {8, 80}) {
            ReportCapture capture;
            EXPECT_FALSE(setParameterNormalized(channel, index, x));
            ASSERT_EQ(capture.lines.size(), 1u);
            EXPECT_EQ(capture.lines[0], "setParameterNormalized() called with invalid value (eParam: " +
                                            std::to_string(index) + ")\n");
            EXPECT_EQ(capture.beeps, 1);
        }
    }
    const std::vector<ParameterValue> after = test::snapshot(channel);
    for (int32_t i = 0; i < parameterCount(); ++i) EXPECT_TRUE(test::sameValue(before[i], after[i])) << i;
}

TEST(ParameterAccess, IndicesWithoutDescriptorReachTheRoutingReport) {
    Channel channel;
    ReportCapture capture;
    EXPECT_FALSE(setParameterNormalized(channel, 383, 0.5f));
    EXPECT_FALSE(setParameterNormalized(channel, -7, std::nanf("")));
    EXPECT_EQ(getParameterNormalized(channel, 383), 0.0f);
    DisplayTextBuffer buffer;
    EXPECT_STREQ(parameterDisplayText(channel, 1000, buffer), "");
    const std::vector<std::string> expected = {
        "setParameter() called with unknown parameter (eParam: 383)\n",
        "setParameter() called with unknown parameter (eParam: -7)\n",
        "getParameter() called with unknown parameter (eParam: 383)\n",
        "getParameter() called with unknown parameter (eParam: 1000)\n",
    };
    EXPECT_EQ(capture.lines, expected);
    EXPECT_EQ(capture.beeps, 4);
}

TEST(ParameterAccess, FarOutOfRangeHostValuesSaturateEnumeratedParameters) {
    Channel channel;
    ASSERT_TRUE(setParameterNormalized(channel, 107, 1e30f));  // Lfo1 Type
    EXPECT_EQ(getParameterValue(channel, 107).numberAsInt(), std::numeric_limits<int32_t>::max());
    ASSERT_TRUE(setParameterNormalized(channel, 9, -1e30f));  // Gen1 Ratio ModSrc1: binds to nothing
    EXPECT_EQ(channel.gen.ratio.slots[0].source, std::numeric_limits<int32_t>::min());
    EXPECT_EQ(channel.gen.ratio.slots[0].channelValue, nullptr);
}

TEST(ParameterAccess, DisplayTextsOfTheLiveChannel) {
    Channel channel;
    test::applyDefaults(channel);
    DisplayTextBuffer buffer;
    auto text = [&](int32_t index) { return std::string(parameterDisplayText(channel, index, buffer)); };
    EXPECT_EQ(text(0), "1.000");     // MasterGain
    EXPECT_EQ(text(114), "5.000");   // Lfo1 Offset
    EXPECT_EQ(text(80), " 4");       // StepSeq1 Length
    EXPECT_EQ(text(9), "NA");        // Gen1 Ratio ModSrc1
    EXPECT_EQ(text(48), "300.000");  // Compressor Release
    setParameterValue(channel, 9, makeIntValue(20));
    EXPECT_EQ(text(9), "");
    setParameterValue(channel, 9, makeIntValue(1));
    EXPECT_EQ(text(9), "E1");
    setParameterValue(channel, 331, makeIntValue(2));  // ChFx1 Type
    EXPECT_EQ(text(331), "Comb");
    EXPECT_EQ(getParameterValue(channel, 331).numberAsInt(), 2);
}

TEST(ParameterAccess, MacroLabelsComeFromTheProgram) {
    MacroNames names = {"Macro1", "Macro2", "Macro3", "Macro4", "Macro5", "Macro6"};
    EXPECT_STREQ(parameterLabel(2, names), "Macro1");
    EXPECT_STREQ(parameterLabel(7, names), "Macro6");
    EXPECT_STREQ(parameterLabel(0, names), "Master");
    EXPECT_STREQ(parameterLabel(47, names), "Att");
    EXPECT_STREQ(parameterLabel(9, names), "MS1");
    EXPECT_STREQ(parameterLabel(383, names), "");

    setParameterLabel(3, "Brightness", names);
    EXPECT_STREQ(parameterLabel(3, names), "Brightness");
    setParameterLabel(4, "A name of more than sixteen", names);
    EXPECT_STREQ(names[2], "A name of more t");
    setParameterLabel(8, "Nope", names);  // not a macro: nothing changes
    setParameterLabel(1, "Nope", names);
    setParameterLabel(5, nullptr, names);
    const MacroNames expected = {"Macro1", "Brightness", "A name of more t", "Macro4", "Macro5", "Macro6"};
    for (int32_t m = 0; m < kMacroCount; ++m) EXPECT_STREQ(names[m], expected[m]);
}

}  // namespace
}  // namespace quenvale
