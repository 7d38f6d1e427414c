// Debug output: sink capture, the trace buffer's bound and line feed, beeps and message boxes.
#include "common/debug_output.h"

#include <gtest/gtest.h>

#include <string>

#include "common/beep.h"
#include "common/message_box.h"
#include "host/test_host.h"

namespace quenvale {
namespace {

TEST(DebugOutput, TraceGoesToTheSinkAndToStandardOutput) {
    test::DebugCapture capture;
    ::testing::internal::CaptureStdout();
    DebugTrace("%s (%d)", "open", 14);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "open (14)\n");
    ASSERT_EQ(capture.texts().size(), 1u);
    EXPECT_EQ(capture.texts()[0], "open (14)\n");
}

TEST(DebugOutput, TraceLongerThanItsBufferIsCutAndStillEndsTheLine) {
    test::DebugCapture capture;
    const std::string longText(3000, 'a');
    ::testing::internal::CaptureStdout();
    DebugTrace("%s", longText.c_str());
    const std::string out = ::testing::internal::GetCapturedStdout();
    ASSERT_EQ(capture.texts().size(), 1u);
    const std::string& line = capture.texts()[0];
    EXPECT_EQ(line.size(), 1023u);  // 1022 characters, the line feed, the terminator in 1024 bytes
    EXPECT_EQ(line.back(), '\n');
    // Standard output gets the whole text from the format again.
    EXPECT_EQ(out, longText + "\n");
}

TEST(DebugOutput, PrintfLinesAreWrittenAsFormatted) {
    test::DebugCapture capture;
    debugPrintf("getParameter() called with unknown parameter (eParam: %d)\n", 383);
    ASSERT_EQ(capture.texts().size(), 1u);
    EXPECT_EQ(capture.texts()[0], "getParameter() called with unknown parameter (eParam: 383)\n");
}

TEST(DebugOutput, PointersAreTracedByTheirLowBits) {
    EXPECT_EQ(traceAddress(nullptr), 0u);
    EXPECT_EQ(traceAddress(reinterpret_cast<void*>(static_cast<uintptr_t>(0x89ABCDEFu))), 0x89ABCDEFu);
    if constexpr (sizeof(void*) == 8) {
        const uintptr_t wide = static_cast<uintptr_t>(0x12345678ull << 32) | 0x9ABCDEF0u;
        EXPECT_EQ(traceAddress(reinterpret_cast<void*>(wide)), 0x9ABCDEF0u);
    }
}

TEST(DebugOutput, BeepsAreCounted) {
    const int before = beepCount();
    platformBeep();
    platformBeep();
    EXPECT_EQ(beepCount(), before + 2);
}

TEST(DebugOutput, MessageBoxesWithoutAWindowBecomeDebugLines) {
    test::DebugCapture capture;
    showMessageBox("Chunk could not be loaded !", "Quenvale", kIconWarning);
    ASSERT_EQ(capture.texts().size(), 1u);
    EXPECT_EQ(capture.texts()[0], "Quenvale: Chunk could not be loaded !\n");
}

}  // namespace
}  // namespace quenvale
