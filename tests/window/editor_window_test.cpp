// The editor's real window on an X server (Xvfb in CI), driven through the plug-in ABI with synthetic
// input (XTest): it appears as the one child of the host's window at the reported size, a drag turns a
// knob and reaches the host as begin edit / automate / end edit, host-side changes repaint the control,
// and 50 opens and closes while audio renders leave no window and no thread behind.
// GoogleTest before Xlib: Xlib's macros (None, Bool) would break its templates.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "window_host.h"

#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

namespace quenvale::window_test {
namespace {

using namespace std::chrono_literals;

// Polls cond every 5 ms for up to timeout.
template <typename Cond>
bool waitFor(Cond cond, std::chrono::milliseconds timeout = 3000ms) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < end) {
        if (cond()) return true;
        std::this_thread::sleep_for(5ms);
    }
    return cond();
}

class EditorWindow : public ::testing::Test {
protected:
    void SetUp() override {
        display_ = XOpenDisplay(nullptr);
        if (display_ == nullptr)
            GTEST_SKIP() << "no X server reachable (DISPLAY unset or refused): the window tests need Xvfb or a desktop";
        int event = 0, error = 0, major = 0, minor = 0;
        if (!XTestQueryExtension(display_, &event, &error, &major, &minor))
            GTEST_SKIP() << "the X server has no XTest extension";
        host_ = std::make_unique<WindowHost>(display_);
        ASSERT_TRUE(host_->ready()) << host_->error();
        WindowHost::record().clear();
    }
    void TearDown() override {
        host_.reset();
        if (display_ != nullptr) XCloseDisplay(display_);
    }

    // The pixels of a rectangle of window w.
    std::vector<unsigned long> grab(Window w, const Rect& r) {
        std::vector<unsigned long> pixels;
        XImage* image = XGetImage(display_, w, r.x, r.y, r.w, r.h, AllPlanes, ZPixmap);
        if (image == nullptr) return pixels;
        for (int y = 0; y < r.h; ++y)
            for (int x = 0; x < r.w; ++x) pixels.push_back(XGetPixel(image, x, y));
        XDestroyImage(image);
        return pixels;
    }

    struct Point {
        int x, y;
    };
    Point rootPosition(Window w, int x, int y) {
        int rx = 0, ry = 0;
        Window child = 0;
        XTranslateCoordinates(display_, w, DefaultRootWindow(display_), x, y, &rx, &ry, &child);
        return {rx, ry};
    }

    Display* display_ = nullptr;
    std::unique_ptr<WindowHost> host_;
};

TEST_F(EditorWindow, OpensAsTheOnlyChildAtTheReportedSizeAndADragReachesTheHost) {
    ERect* rect = nullptr;
    ASSERT_EQ(host_->dispatch(effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    const int width = rect->right - rect->left, height = rect->bottom - rect->top;
    EXPECT_EQ(width, 772);
    EXPECT_EQ(height, 598);

    ASSERT_EQ(host_->dispatch(effEditOpen, 0, 0, host_->parentHandle()), 1);
    const std::vector<Window> children = host_->children();
    ASSERT_EQ(children.size(), 1u);
    const Window editor = children[0];
    XWindowAttributes attributes;
    ASSERT_NE(XGetWindowAttributes(display_, editor, &attributes), 0);
    EXPECT_EQ(attributes.width, width);
    EXPECT_EQ(attributes.height, height);
    EXPECT_EQ(attributes.map_state, IsViewable);

    // The "Macro1" knob, found through the control map of the "Voice" page.
    const Rect knob = findControl(0, "Macro1", "knob");
    ASSERT_GT(knob.w, 0) << "no Macro1 knob in the control map";
    const float before = host_->getParameter(2);
    const Point start = rootPosition(editor, knob.x + knob.w / 2, knob.y + knob.h / 2);
    XTestFakeMotionEvent(display_, -1, start.x, start.y, 0);
    XTestFakeButtonEvent(display_, 1, True, 0);
    XFlush(display_);
    for (int step = 1; step <= 6; ++step) {
        std::this_thread::sleep_for(15ms);
        XTestFakeMotionEvent(display_, -1, start.x, start.y - 5 * step, 0);
        XFlush(display_);
    }
    std::this_thread::sleep_for(15ms);
    XTestFakeButtonEvent(display_, 1, False, 0);
    XFlush(display_);

    // 30 pixels upwards at 0.5 % of the range each.
    EXPECT_TRUE(waitFor([&] {
        const auto calls = WindowHost::record().calls();
        return !calls.empty() && calls.back().opcode == audioMasterEndEdit;
    })) << "no end of the edit reached the host";
    EXPECT_NEAR(host_->getParameter(2), before + 0.15f, 0.011f);
    const auto calls = WindowHost::record().calls();
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(calls.front().opcode, audioMasterBeginEdit);
    EXPECT_EQ(calls.back().opcode, audioMasterEndEdit);
    int automates = 0;
    for (const auto& c : calls) {
        EXPECT_EQ(c.index, 2);
        if (c.opcode == audioMasterAutomate) ++automates;
    }
    EXPECT_GE(automates, 1);
    EXPECT_FLOAT_EQ(calls[calls.size() - 2].value, host_->getParameter(2));

    // A change from the host's side repaints the knob within a few ticks, and is not reported back.
    XTestFakeMotionEvent(display_, -1, start.x + 300, start.y + 300, 0);  // away from the knob's hover look
    XFlush(display_);
    std::this_thread::sleep_for(60ms);
    const std::vector<unsigned long> shown = grab(editor, knob);
    WindowHost::record().clear();
    host_->setParameter(2, 0.9f);
    EXPECT_TRUE(waitFor([&] { return grab(editor, knob) != shown; }, 1000ms)) << "the knob did not repaint";
    EXPECT_TRUE(WindowHost::record().calls().empty());

    ASSERT_EQ(host_->dispatch(effEditClose), 1);
    EXPECT_TRUE(host_->children().empty());
}

TEST_F(EditorWindow, FiftyOpensAndClosesWhileAudioRendersLeaveNoWindowOrThreadBehind) {
    std::atomic<bool> stop{false};
    host_->noteOn(60);
    std::thread audio([&] {
        std::vector<float> left(256), right(256);
        while (!stop.load()) {
            host_->render(left.data(), right.data(), 256);
            std::this_thread::sleep_for(1ms);
        }
    });
    const int baseline = threadCount();
    for (int i = 0; i < 50; ++i) {
        ASSERT_EQ(host_->dispatch(effEditOpen, 0, 0, host_->parentHandle()), 1) << "open " << i;
        ASSERT_EQ(host_->children().size(), 1u);
        // Half the hosts never idle the editor, the others at 60 Hz.
        if (i % 2 == 1) {
            for (int idle = 0; idle < 3; ++idle) {
                host_->dispatch(effEditIdle);
                std::this_thread::sleep_for(16ms);
            }
        }
        ASSERT_EQ(host_->dispatch(effEditClose), 1);
        ASSERT_TRUE(host_->children().empty()) << "close " << i;
        ASSERT_EQ(threadCount(), baseline) << "close " << i;
    }
    // A second open without a close moves the editor to the new parent.
    ASSERT_EQ(host_->dispatch(effEditOpen, 0, 0, host_->parentHandle()), 1);
    ASSERT_EQ(host_->dispatch(effEditOpen, 0, 0, host_->parentHandle()), 1);
    EXPECT_EQ(host_->children().size(), 1u);
    host_->dispatch(effEditClose);
    stop.store(true);
    audio.join();
    EXPECT_TRUE(host_->children().empty());
}

TEST_F(EditorWindow, AWindowTheServerRefusesGivesAFailedOpenAndNoThread) {
    const int baseline = threadCount();
    EXPECT_EQ(host_->dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(uintptr_t{0x7FFFFFF})), 0);
    EXPECT_EQ(host_->dispatch(effEditOpen, 0, 0, nullptr), 0);
    EXPECT_EQ(threadCount(), baseline);
    EXPECT_EQ(host_->dispatch(effEditClose), 1);
}

}  // namespace
}  // namespace quenvale::window_test
