// Debug output: the trace line and its buffer's bound, printf lines, pointer bits and message boxes.
#include "common/debug_output.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "common/beep.h"
#include "common/debug_queue.h"
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

// Runs f on a new thread and waits for it.
template <class F>
void onNewThread(F f) {
    std::thread t(f);
    t.join();
}

TEST(DebugOutput, AudioThreadLinesAndBeepsWaitForAFlushOnAnotherThreadInOrder) {
    onNewThread([] { flushDebugOutput(); });  // start empty
    const int beeps = beepCount();
    onNewThread([] {
        markAudioThread();
        debugPrintf("first %d\n", 1);
        platformBeep();
        writeDebugOutput("second\n");
        flushDebugOutput();  // on the audio thread: nothing is written
    });
    EXPECT_EQ(beepCount(), beeps + 1);  // counted at once
    std::vector<std::string> seen;
    setDebugSink([](const char* text, void* into) { static_cast<std::vector<std::string>*>(into)->push_back(text); },
                 &seen);
    EXPECT_TRUE(seen.empty());
    onNewThread([] { flushDebugOutput(); });  // the next call on another thread writes them
    EXPECT_EQ(seen, (std::vector<std::string>{"first 1\n", "second\n"}));
    onNewThread([] { flushDebugOutput(); });
    EXPECT_EQ(seen.size(), 2u);  // written once
    setDebugSink(nullptr, nullptr);
}

TEST(DebugOutput, AFullQueueDropsAndCountsWithoutBlockingThenSaysSoInOneLine) {
    std::vector<std::string> seen;
    onNewThread([] { flushDebugOutput(); });  // start empty
    setDebugSink([](const char* text, void* into) { static_cast<std::vector<std::string>*>(into)->push_back(text); },
                 &seen);
    const std::string longLine(2000, 'x');
    onNewThread([&] {
        markAudioThread();
        writeDebugOutput((longLine + "\n").c_str());  // cut to the cell, line feed kept
        for (int i = 1; i < kDebugQueueCells + 10; ++i) debugPrintf("line %d\n", i);
        platformBeep();  // dropped too: the queue is full
    });
    onNewThread([] { flushDebugOutput(); });
    setDebugSink(nullptr, nullptr);
    ASSERT_EQ(seen.size(), static_cast<size_t>(kDebugQueueCells + 1));
    EXPECT_EQ(seen[0], std::string(kDebugQueueLineSize - 2, 'x') + "\n");
    for (int i = 1; i < kDebugQueueCells; ++i) EXPECT_EQ(seen[static_cast<size_t>(i)], "line " + std::to_string(i) + "\n");
    EXPECT_EQ(seen.back(), "Quenvale: 11 debug lines or beeps from the audio thread were dropped\n");
}

// Two threads tracing at once (the host's and the editor's): every line arrives whole, in the debug
// output and on standard output.
TEST(DebugOutput, TwoThreadsTracingAtOnceNeverMixTheirLines) {
    struct Collected {
        std::mutex mutex;
        std::vector<std::string> texts;
    } collected;
    setDebugSink(
        [](const char* text, void* context) {
            auto* c = static_cast<Collected*>(context);
            std::this_thread::sleep_for(std::chrono::microseconds(20));  // a slow channel widens any race
            std::lock_guard<std::mutex> lock(c->mutex);
            c->texts.emplace_back(text);
        },
        &collected);
    constexpr int kLines = 300;
    auto trace = [](char letter) {
        const std::string body(200, letter);
        for (int i = 0; i < kLines; ++i) DebugTrace("%s %c%d", body.c_str(), letter, i);
    };
    ::testing::internal::CaptureStdout();
    std::thread host(trace, 'h'), editor(trace, 'e');
    host.join();
    editor.join();
    const std::string out = ::testing::internal::GetCapturedStdout();
    setDebugSink(nullptr, nullptr);

    // Each line exactly once: a shared buffer would hand one thread's text to both writes.
    std::vector<std::string> expected;
    for (const char letter : {'e', 'h'})
        for (int i = 0; i < kLines; ++i) expected.push_back(std::string(200, letter) + " " + letter + std::to_string(i));
    std::sort(expected.begin(), expected.end());
    std::vector<std::string> traced;
    for (const std::string& text : collected.texts) {
        ASSERT_EQ(text.back(), '\n');
        traced.push_back(text.substr(0, text.size() - 1));
    }
    std::sort(traced.begin(), traced.end());
    EXPECT_TRUE(traced == expected);
    std::vector<std::string> printed;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) printed.push_back(line);
    std::sort(printed.begin(), printed.end());
    EXPECT_TRUE(printed == expected);
}

}  // namespace
}  // namespace quenvale
