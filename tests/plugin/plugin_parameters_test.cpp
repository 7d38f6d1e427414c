// What a host sees of the parameters and the sound through the built plug-in's ABI.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "host/test_host.h"
#include "params/parameter_catalogue.h"
#include "params/parameter_conversion.h"

namespace quenvale {
namespace {

std::string dispatchText(host::PluginHost& host, VstInt32 opcode, VstInt32 index) {
    char buffer[256] = {};
    host.dispatch(opcode, index, 0, buffer);
    return buffer;
}

TEST(PluginParameters, HostSeesEveryNameAndDefaultDisplayText) {
    host::PluginHost host;
    ASSERT_TRUE(test::startBuiltPlugin(host)) << host.error();
    for (int i = 0; i < parameterCount(); ++i) {
        ASSERT_EQ(dispatchText(host, effGetParamName, i), descriptor(i).name) << i;
    }
    // Defaults of MasterGain, Gen1 Offset, StepSeq1 Length, Lfo1 Type, Lfo1 Offset and ChFx1 Type, on a
    // program the factory bank leaves at its defaults.
    host.dispatch(effSetProgram, 0, 100);
    std::string defaults;
    for (int i : {0, 13, 80, 107, 114, 331}) defaults += dispatchText(host, effGetParamDisplay, i) + "|";
    EXPECT_EQ(defaults, "1.000|0.000| 4|Off|5.000|None|");
    host.setParameter(9, 1.0f / 157.0f);  // "Gen1 Ratio ModSrc1" = 1
    EXPECT_EQ(dispatchText(host, effGetParamDisplay, 9), "E1");
    host.setParameter(9, 20.0f / 157.0f);  // a controller source has no name in the short list
    EXPECT_EQ(dispatchText(host, effGetParamDisplay, 9), "");
}

TEST(PluginParameters, SetThenGetReturnsTheHostsValueForEveryParameter) {
    host::PluginHost host;
    ASSERT_TRUE(test::startBuiltPlugin(host)) << host.error();
    for (const float x : {0.0f, 0.2f, 0.5f, 0.75f, 1.0f}) {
        for (int i = 0; i < parameterCount(); ++i) {
            host.setParameter(i, x);
            const float expected = normalizedFromValue(i, valueFromNormalized(i, x));
            ASSERT_EQ(host.getParameter(i), expected) << "parameter " << i << " at " << x;
            ASSERT_TRUE(descriptor(i).isEnumerated() || std::fabs(host.getParameter(i) - x) <= 1e-6f) << i;
        }
    }
}

}  // namespace
}  // namespace quenvale
