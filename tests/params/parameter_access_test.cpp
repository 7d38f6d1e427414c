// Host- and editor-level access on a Channel: refused host values, unknown indices, macro labels.
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

TEST(ParameterAccess, NonFiniteHostValuesAreRefusedAndStoreNothing) {
    Channel channel;
    test::applyDefaults(channel);
    const std::vector<ParameterValue> before = test::snapshot(channel);
    for (float x :
         {std::nanf(""), std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity()}) {
        for (int32_t index : {8, 80}) {
            ReportCapture capture;
            EXPECT_FALSE(setParameterNormalized(channel, index, x));
            EXPECT_EQ(capture.lines,
                      std::vector<std::string>{"setParameterNormalized() called with invalid value "
                                               "(eParam: " +
                                               std::to_string(index) + ")\n"});
            EXPECT_EQ(capture.beeps, 1);
        }
    }
    test::expectSameState(before, test::snapshot(channel));
}

TEST(ParameterAccess, IndicesWithoutDescriptorReachTheRoutingReport) {
    Channel channel;
    ReportCapture capture;
    EXPECT_FALSE(setParameterNormalized(channel, 383, 0.5f));
    EXPECT_EQ(getParameterNormalized(channel, 383), 0.0f);
    const std::vector<std::string> expected = {
        "setParameter() called with unknown parameter (eParam: 383)\n",
        "getParameter() called with unknown parameter (eParam: 383)\n",
    };
    EXPECT_EQ(capture.lines, expected);
    EXPECT_EQ(capture.beeps, 2);
}

TEST(ParameterAccess, MacroLabelsComeFromTheProgram) {
    MacroNames names = {"Macro1", "Macro2", "Macro3", "Macro4", "Macro5", "Macro6"};
    EXPECT_STREQ(parameterLabel(7, names), "Macro6");
    EXPECT_STREQ(parameterLabel(383, names), "");
    setParameterLabel(3, "Brightness", names);
    setParameterLabel(4, "A name of more than sixteen", names);
    setParameterLabel(8, "Nope", names);  // not a macro: nothing changes
    setParameterLabel(1, "Nope", names);
    setParameterLabel(5, nullptr, names);
    EXPECT_STREQ(parameterLabel(3, names), "Brightness");
    const MacroNames expected = {"Macro1", "Brightness", "A name of more t", "Macro4", "Macro5", "Macro6"};
    for (int32_t m = 0; m < kMacroCount; ++m) EXPECT_STREQ(names[m], expected[m]);
}

}  // namespace
}  // namespace quenvale
