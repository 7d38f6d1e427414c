// The entry point and the AEffect record, checked through the built plug-in as a host loads it.
#include <gtest/gtest.h>

#include <algorithm>

#include "host/test_host.h"

namespace quenvale {
namespace {

TEST(PluginEntry, RecordHoldsTheSynthesizersDeclaration) {
    host::PluginHost host;
    ASSERT_TRUE(test::startBuiltPlugin(host)) << host.error();
    const AEffect& e = *host.effect();
    EXPECT_EQ(e.magic, 0x56737450);  // "VstP"
    EXPECT_EQ(e.numPrograms, 128);
    EXPECT_EQ(e.numParams, 383);
    EXPECT_EQ(e.numInputs, 0);
    EXPECT_EQ(e.numOutputs, 2);
    EXPECT_EQ(e.flags, 309);
    EXPECT_EQ(e.flags & (effFlagsHasClip | effFlagsCanMono), 0);
    EXPECT_EQ(e.uniqueID, 0x516E766C);  // "Qnvl", first character most significant
    EXPECT_EQ(e.version, 1);
    EXPECT_EQ(e.ioRatio, 1.0f);
    EXPECT_EQ(e.resvd1, 0);
    EXPECT_EQ(e.resvd2, 0);
    EXPECT_EQ(e.initialDelay, 0);
    EXPECT_EQ(e.realQualities, 0);
    EXPECT_EQ(e.offQualities, 0);
    EXPECT_EQ(e.user, nullptr);
    EXPECT_NE(e.object, nullptr);
    EXPECT_TRUE(std::all_of(std::begin(e.future), std::end(e.future), [](char c) { return c == 0; }));
    EXPECT_NE(e.process, nullptr);
    EXPECT_NE(e.processReplacing, nullptr);
    EXPECT_NE(e.setParameter, nullptr);
    EXPECT_NE(e.getParameter, nullptr);
}

TEST(PluginEntry, NoHostMeansNoInstance) {
    host::PluginHost host;
    host.setHostVersion(0);
    EXPECT_FALSE(test::startBuiltPlugin(host));
    EXPECT_EQ(host.effect(), nullptr);
    EXPECT_EQ(test::builtPluginEntry()(nullptr), nullptr);
}

TEST(PluginEntry, InstancesAreIndependentAndCloseDestroysThem) {
    const int before = TorvaneInterface::liveInstanceCount();
    {
        host::PluginHost a, b;
        ASSERT_TRUE(test::startInProcessPlugin(a));
        ASSERT_TRUE(test::startInProcessPlugin(b));
        EXPECT_EQ(TorvaneInterface::liveInstanceCount(), before + 2);
        EXPECT_NE(a.effect(), b.effect());
        a.setParameter(0, 0.25f);
        b.setParameter(0, 0.75f);
        EXPECT_EQ(a.getParameter(0), 0.25f);
        EXPECT_EQ(b.getParameter(0), 0.75f);
        EXPECT_EQ(a.dispatch(effClose), 1);
        EXPECT_EQ(a.effect(), nullptr);
        EXPECT_EQ(TorvaneInterface::liveInstanceCount(), before + 1);
    }
    EXPECT_EQ(TorvaneInterface::liveInstanceCount(), before);
}

TEST(PluginEntry, CloseAnswersOneThroughTheBuiltPlugin) {
    host::PluginHost host;
    ASSERT_TRUE(test::startBuiltPlugin(host));
    EXPECT_EQ(host.dispatch(effClose), 1);
    EXPECT_EQ(host.effect(), nullptr);
}

TEST(PluginAudio, BothProcessCallsRenderOverTheOutputs) {
    host::PluginHost host;
    ASSERT_TRUE(test::startBuiltPlugin(host));
    AEffect* e = host.effect();
    host.dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
    host.dispatch(effMainsChanged, 0, 1);
    for (const bool replacing : {true, false}) {
        std::vector<float> left(64, 1.0f), right(64, 1.0f);
        float* outputs[2] = {left.data(), right.data()};
        if (replacing) {
            e->processReplacing(e, nullptr, outputs, 64);
        } else {
            e->process(e, nullptr, outputs, 64);
        }
        // Silence from an idle engine, written over whatever was there.
        EXPECT_EQ(*std::max_element(left.begin(), left.end()), 0.0f) << replacing;
        EXPECT_EQ(*std::max_element(right.begin(), right.end()), 0.0f) << replacing;
    }
    // A block of 0 frames touches nothing.
    float untouched = 5.0f;
    float* outputs[2] = {&untouched, &untouched};
    e->processReplacing(e, nullptr, outputs, 0);
    EXPECT_EQ(untouched, 5.0f);
}

}  // namespace
}  // namespace quenvale
