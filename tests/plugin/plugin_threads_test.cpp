// The plug-in object between the host's threads and the editor's: echo suppression per parameter,
// the editor rectangle per instance, texts formatted into each caller's own buffer.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>

#include "host/test_host.h"

namespace quenvale {
namespace {

// While the editor reports a change of one parameter, the host's echo of that parameter is dropped
// but its automation of any other parameter (from the audio thread, say) is not.
TEST(PluginThreads, EchoSuppressionCoversOnlyTheReportedParameter) {
    host::PluginHost host;
    ASSERT_TRUE(test::startInProcessPlugin(host)) << host.error();
    host.setParameter(12, 0.25f);
    host.setParameter(30, 0.25f);
    host.onAutomate([&host](VstInt32 index, float) {
        host.setParameter(index, 0.9f);  // the echo
        host.setParameter(30, 0.75f);    // automation of another parameter meanwhile
    });
    test::pluginObject(host).reportEditorChange(12);
    EXPECT_EQ(host.getParameter(12), 0.25f);
    EXPECT_NEAR(host.getParameter(30), 0.75f, 0.01f);
}

// Each instance hands out its own rectangle, written once: a second instance (or a second thread)
// never rewrites the record the host is reading.
TEST(PluginThreads, EditorRectangleBelongsToItsInstance) {
    host::PluginHost a, b;
    ASSERT_TRUE(test::startInProcessPlugin(a) && test::startInProcessPlugin(b));
    ERect* rectA = nullptr;
    ERect* rectB = nullptr;
    ASSERT_EQ(a.dispatch(effEditGetRect, 0, 0, &rectA), 1);
    ASSERT_EQ(b.dispatch(effEditGetRect, 0, 0, &rectB), 1);
    EXPECT_NE(rectA, rectB);
    EXPECT_EQ(rectA->right - rectA->left, 772);
    EXPECT_EQ(rectB->bottom - rectB->top, 598);
}

// Two threads asking for display texts and program names at once each get their own answer.
TEST(PluginThreads, TextAnswersDoNotShareABuffer) {
    host::PluginHost host;
    ASSERT_TRUE(test::startInProcessPlugin(host)) << host.error();
    host.setParameter(0, 0.25f);
    host.setParameter(1, 0.75f);
    char expected[2][kHostStringSize] = {};
    host.dispatch(effGetParamDisplay, 0, 0, expected[0]);
    host.dispatch(effGetParamDisplay, 1, 0, expected[1]);
    ASSERT_STRNE(expected[0], expected[1]);
    std::atomic<int> wrong{0};
    auto ask = [&](int index) {
        char text[kHostStringSize];
        char name[kHostStringSize];
        for (int i = 0; i < 20000; ++i) {
            host.dispatch(effGetParamDisplay, index, 0, text);
            host.dispatch(effGetProgramNameIndexed, index, 0, name);
            if (std::strcmp(text, expected[index]) != 0) wrong.fetch_add(1);
            if (std::strcmp(name, index == 0 ? "Program 001" : "Program 002") != 0) wrong.fetch_add(1);
        }
    };
    std::thread first(ask, 0), second(ask, 1);
    first.join();
    second.join();
    EXPECT_EQ(wrong.load(), 0);
}

}  // namespace
}  // namespace quenvale
