// Debug output: the trace line and its buffer's bound, printf lines, pointer bits and message boxes.
#include "common/debug_output.h"

#include <gtest/gtest.h>

#include <string>

#include "common/message_box.h"
#include "host/test_host.h"

namespace quenvale {
namespace {

TEST(DebugOutput, TraceGoesToTheSinkAndToStandardOutputCutToItsBuffer) {
    test::DebugCapture capture;
    const std::string longText(3000, 'a');
    ::testing::internal::CaptureStdout();
    DebugTrace("%s (%d)", "open", 14);
    DebugTrace("%s", longText.c_str());
    // Standard output gets the whole text from the format again.
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "open (14)\n" + longText + "\n");
    ASSERT_EQ(capture.texts().size(), 2u);
    EXPECT_EQ(capture.texts()[0], "open (14)\n");
    // 1022 characters, the line feed, the terminator in 1024 bytes.
    EXPECT_EQ(capture.texts()[1], std::string(1022, 'a') + "\n");
}

TEST(DebugOutput, PrintfLinesMessageBoxesAndPointerBits) {
    test::DebugCapture capture;
    debugPrintf("getParameter() called with unknown parameter (eParam: %d)\n", 383);
    showMessageBox("Chunk could not be loaded !", "Quenvale", kIconWarning);  // no window: a debug line
    EXPECT_EQ(capture.texts(),
              (std::vector<std::string>{"getParameter() called with unknown parameter (eParam: 383)\n",
                                        "Quenvale: Chunk could not be loaded !\n"}));
    EXPECT_EQ(traceAddress(nullptr), 0u);
    const uintptr_t wide = sizeof(void*) == 8 ? uintptr_t(0x12345678ull << 32 | 0x9ABCDEF0u) : 0x9ABCDEF0u;
    EXPECT_EQ(traceAddress(reinterpret_cast<void*>(wide)), 0x9ABCDEF0u);
}

}  // namespace
}  // namespace quenvale
