// The entry point, the AEffect record and instance lifetime, checked through the built plug-in as a host
// loads it; the bounded name copy from host buffers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "host/test_host.h"
#include "plugin/host_strings.h"

namespace quenvale {
namespace {

TEST(PluginEntry, RecordHoldsTheSynthesizersDeclarationAndCloseEndsIt) {
    host::PluginHost host;
    ASSERT_TRUE(test::startBuiltPlugin(host)) << host.error();
    const AEffect& e = *host.effect();
    EXPECT_EQ(e.magic, 0x56737450);     // "VstP"
    EXPECT_EQ(e.uniqueID, 0x516E766C);  // "Qnvl", first character most significant
    EXPECT_EQ(std::vector<int>({e.numPrograms, e.numParams, e.numInputs, e.numOutputs, e.flags, e.version}),
              std::vector<int>({128, 383, 0, 2, 309, 1}));
    EXPECT_EQ(e.ioRatio, 1.0f);
    EXPECT_EQ(e.resvd1 | e.resvd2 | e.initialDelay | e.realQualities | e.offQualities, 0);
    EXPECT_TRUE(std::all_of(std::begin(e.future), std::end(e.future), [](char c) { return c == 0; }));
    EXPECT_TRUE(e.object && e.process && e.processReplacing && e.setParameter && e.getParameter && !e.user);
    EXPECT_EQ(host.dispatch(effClose), 1);
    EXPECT_EQ(host.effect(), nullptr);
    // No host, no instance.
    host::PluginHost none;
    none.setHostVersion(0);
    EXPECT_FALSE(test::startBuiltPlugin(none));
    EXPECT_EQ(test::builtPluginEntry()(nullptr), nullptr);
}

TEST(PluginEntry, InstancesAreIndependentAndCloseDestroysThem) {
    const int before = TorvaneInterface::liveInstanceCount();
    {
        host::PluginHost a, b;
        ASSERT_TRUE(test::startInProcessPlugin(a) && test::startInProcessPlugin(b));
        EXPECT_EQ(TorvaneInterface::liveInstanceCount(), before + 2);
        a.setParameter(0, 0.25f);
        b.setParameter(0, 0.75f);
        EXPECT_EQ(a.getParameter(0), 0.25f);
        EXPECT_EQ(a.dispatch(effClose), 1);
        EXPECT_EQ(TorvaneInterface::liveInstanceCount(), before + 1);
    }
    EXPECT_EQ(TorvaneInterface::liveInstanceCount(), before);
}

TEST(PluginAudio, BothProcessCallsWriteSilenceOverTheOutputsOfAnIdleEngine) {
    host::PluginHost host;
    ASSERT_TRUE(test::startBuiltPlugin(host));
    AEffect* e = host.effect();
    host.dispatch(effMainsChanged, 0, 1);
    for (auto process : {e->processReplacing, e->process}) {
        std::vector<float> left(64, 1.0f), right(64, 1.0f);
        float* outputs[2] = {left.data(), right.data()};
        process(e, nullptr, outputs, 64);
        EXPECT_EQ(std::count(left.begin(), left.end(), 0.0f) + std::count(right.begin(), right.end(), 0.0f),
                  128);
    }
}

TEST(HostStrings, NamesFromTheHostReadNoFurtherThanTheProgramField) {
    char field[kNameFieldSize];
    const char unterminated[16] = {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H',
                                   'I', 'J', 'K', 'L', 'M', 'N', 'O', 'P'};
    copyNameFromHost(field, unterminated);
    EXPECT_STREQ(field, "ABCDEFGHIJKLMNOP");
    copyNameFromHost(field, nullptr);
    EXPECT_STREQ(field, "");
}

}  // namespace
}  // namespace quenvale
