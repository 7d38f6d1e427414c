// The spectrum editor through the plug-in ABI on a real X server: from the empty default program, a
// click of synthetic input (XTest) draws the fundamental and the third partial of the "Amp" view,
// then a note played through the plug-in is measured: harmonic 3 sounds at the drawn level.
// GoogleTest before Xlib: Xlib's macros (None, Bool) would break its templates.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <numbers>
#include <thread>
#include <vector>

#include "window_host.h"

// clang-format off
#include <X11/extensions/XTest.h>
// clang-format on

namespace quenvale::window_test {
namespace {

using namespace std::chrono_literals;

double amplitudeAt(const std::vector<float>& x, size_t first, size_t count, double f, double rate) {
    double re = 0.0, im = 0.0;
    for (size_t i = 0; i < count; ++i) {
        const double w = 2.0 * std::numbers::pi * f * static_cast<double>(i) / rate;
        re += x[first + i] * std::cos(w);
        im -= x[first + i] * std::sin(w);
    }
    return 2.0 * std::hypot(re, im) / static_cast<double>(count);
}

class SpectrumWindow : public ::testing::Test {
protected:
    void SetUp() override {
        display_ = XOpenDisplay(nullptr);
        if (display_ == nullptr)
            GTEST_SKIP() << "no X server reachable: the window tests need Xvfb or a desktop";
        int event = 0, error = 0, major = 0, minor = 0;
        if (!XTestQueryExtension(display_, &event, &error, &major, &minor))
            GTEST_SKIP() << "the X server has no XTest extension";
        host_ = std::make_unique<WindowHost>(display_);
        ASSERT_TRUE(host_->ready()) << host_->error();
    }
    void TearDown() override {
        if (host_) host_->dispatch(effEditClose);
        host_.reset();
        if (display_ != nullptr) XCloseDisplay(display_);
    }
    void clickAt(Window w, int x, int y) {
        int rx = 0, ry = 0;
        Window child = 0;
        XTranslateCoordinates(display_, w, DefaultRootWindow(display_), x, y, &rx, &ry, &child);
        XTestFakeMotionEvent(display_, -1, rx, ry, 0);
        XTestFakeButtonEvent(display_, 1, True, 0);
        XFlush(display_);
        std::this_thread::sleep_for(30ms);
        XTestFakeButtonEvent(display_, 1, False, 0);
        XFlush(display_);
        std::this_thread::sleep_for(60ms);  // past the double-click time of the next press's place
    }
    // Renders 0.6 s after a note of 220 Hz and returns the levels of harmonics 1 … n.
    std::vector<double> noteLevels(int n) {
        host_->noteOn(57);
        std::vector<float> left(26624), right(26624);
        for (size_t i = 0; i < left.size(); i += 512) host_->render(&left[i], &right[i], 512);
        std::vector<double> levels;
        for (int h = 1; h <= n; ++h) levels.push_back(amplitudeAt(left, 13230, 13230, 220.0 * h, 44100.0));
        return levels;
    }

    Display* display_ = nullptr;
    std::unique_ptr<WindowHost> host_;
};

TEST_F(SpectrumWindow, ClickingTheThirdPartialIsHeardAtTheDrawnHeight) {
    // A program the factory bank leaves empty: the defaults, an empty spectrum.
    host_->dispatch(effSetProgram, 0, 100);
    ASSERT_EQ(host_->dispatch(effEditOpen, 0, 0, host_->parentHandle()), 1);
    const std::vector<Window> children = host_->children();
    ASSERT_EQ(children.size(), 1u);
    const Rect graph = findControl(0, "Spectrum", "partialedit");
    ASSERT_GT(graph.w, 0) << "no spectrum graph in the control map";
    const std::vector<double> silent = noteLevels(1);
    EXPECT_LT(silent[0], 1e-6) << "an empty program is silent";

    // The default program has 128 partials, each column w / 128 wide.
    const int partials = 128;
    auto columnCentre = [&](int k) {
        return graph.x + (k * graph.w / partials + (k + 1) * graph.w / partials) / 2;
    };
    clickAt(children[0], columnCentre(0), graph.y);                // the top: 1.0
    clickAt(children[0], columnCentre(2), graph.y + graph.h / 4);  // a quarter down: 0.75
    const double drawn = 1.0 - static_cast<double>(graph.h / 4) / graph.h;

    std::vector<double> levels;
    for (int attempt = 0; attempt < 50; ++attempt) {  // the clicks reach the editor's thread soon
        levels = noteLevels(4);
        if (levels[0] > 1e-3 && levels[2] > 1e-3) break;
        std::this_thread::sleep_for(20ms);
    }
    ASSERT_GT(levels[0], 1e-3);
    EXPECT_NEAR(levels[2] / levels[0], drawn, 0.01);
    EXPECT_LT(levels[1], 0.01 * levels[0]);
    EXPECT_LT(levels[3], 0.01 * levels[0]);
}

}  // namespace
}  // namespace quenvale::window_test
