// The widget framework and the binding without a display: routing, capture, double-clicks, overlays,
// the dirty set across threads, page switching and painting.
#include <gtest/gtest.h>

#include <thread>

#include "editor/controls/button.h"
#include "editor/ui/overlay.h"
#include "editor_test_support.h"
#include "params/parameter_index.h"

namespace quenvale::editor {
namespace {

using testing::HeadlessEditor;

// A control that records what it was sent.
class Probe : public Control {
public:
    explicit Probe(ui::Rect r) : Control(r) {}
    bool mouseDown(const ui::MouseEvent& e) override {
        downs.push_back(e);
        return true;
    }
    void mouseDrag(const ui::MouseEvent& e) override { drags.push_back(e.pos); }
    void mouseUp(const ui::MouseEvent&) override { ++ups; }
    void paint(cairo_t*) override {}
    std::vector<ui::MouseEvent> downs;
    std::vector<ui::Point> drags;
    int ups = 0;
};

TEST(EditorFoundation, CaptureKeepsTheDragAndDoubleClicksAreCountedPerButtonAndPlace) {
    HeadlessEditor ed;
    auto& probe = ed.root().add<Probe>(ui::Rect{700, 560, 40, 20});
    ed.root().pointerPress({710, 570}, ui::MouseButton::Left, 0, 1000);
    ed.root().pointerMove({-50, 900}, 0);  // far outside the control and the window
    ed.root().pointerRelease({-50, 900}, ui::MouseButton::Left, 0);
    ASSERT_EQ(probe.drags.size(), 1u);
    EXPECT_EQ(probe.drags[0], (ui::Point{-750, 340}));  // local coordinates, beyond the edges
    EXPECT_EQ(probe.ups, 1);

    struct Press {
        ui::Point at;
        ui::MouseButton button;
        uint64_t time;
        int clickCount;
    };
    const Press presses[] = {
        {{710, 570}, ui::MouseButton::Left, 5000, 1},  {{711, 571}, ui::MouseButton::Left, 5300, 2},
        {{711, 571}, ui::MouseButton::Left, 5400, 1},  // a third press starts over
        {{711, 571}, ui::MouseButton::Right, 5500, 1}, // another button
        {{711, 571}, ui::MouseButton::Right, 6000, 1}, // too late
        {{720, 571}, ui::MouseButton::Right, 6100, 1}, // too far
    };
    probe.downs.clear();
    for (const Press& p : presses) {
        ed.root().pointerPress(p.at, p.button, 0, p.time);
        ed.root().pointerRelease(p.at, p.button, 0);
    }
    ASSERT_EQ(probe.downs.size(), std::size(presses));
    for (size_t i = 0; i < std::size(presses); ++i) EXPECT_EQ(probe.downs[i].clickCount, presses[i].clickCount) << i;
}

TEST(EditorFoundation, AnOverlayTakesEveryPressAndIsDestroyedAfterClosingItself) {
    HeadlessEditor ed;
    auto& probe = ed.root().add<Probe>(ui::Rect{700, 560, 40, 20});
    int outside = 0;
    struct Box : ui::Overlay {
        explicit Box(int& outside) : Overlay({100, 100, 200, 100}), outside_(outside) {}
        void outsidePress(const ui::MouseEvent&) override {
            ++outside_;
            close();
        }
        int& outside_;
    };
    ed.root().openOverlay(std::make_unique<Box>(outside));
    ed.clickAt({710, 570});
    EXPECT_TRUE(probe.downs.empty());
    EXPECT_EQ(outside, 1);
    EXPECT_EQ(ed.root().overlayCount(), 0u);
    ed.clickAt({710, 570});
    EXPECT_EQ(probe.downs.size(), 1u);
}

TEST(EditorFoundation, PageButtonsShowExactlyOnePage) {
    HeadlessEditor ed;
    for (int page : {2, 1, 0, 2}) {
        ed.click(ed.main().pageButton(page));
        EXPECT_EQ(ed.main().currentPage(), page);
        for (int i = 0; i < GuiMain::kPageCount; ++i) {
            EXPECT_EQ(ed.main().page(i).visible(), i == page);
            EXPECT_EQ(ed.main().pageButton(i).checked(), i == page);
        }
    }
}

TEST(EditorFoundation, DirtySetCollectsMarksFromManyThreadsWithoutLosingOne) {
    DirtySet set;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&set, t] {
            for (int i = t; i < kParameterCount; i += 4) set.mark(i);
        });
    for (auto& th : threads) th.join();
    set.mark(-1);
    set.mark(kParameterCount);
    std::vector<int32_t> seen;
    set.drain([&](int32_t i) { seen.push_back(i); });
    ASSERT_EQ(seen.size(), static_cast<size_t>(kParameterCount));
    for (int i = 0; i < kParameterCount; ++i) EXPECT_EQ(seen[i], i);
    seen.clear();
    set.drain([&](int32_t i) { seen.push_back(i); });
    EXPECT_TRUE(seen.empty());
}

TEST(EditorFoundation, EditsReportToTheHostWithoutEchoAndOutsideChangesAreMarked) {
    HeadlessEditor ed;
    ed.model().beginEdit(kParamMacro1);
    ed.model().setNumber(kParamMacro1, 0.25f);
    ed.model().endEdit(kParamMacro1);
    EXPECT_FLOAT_EQ(ed.model().number(kParamMacro1), 0.25f);
    EXPECT_EQ(ed.host.reports, std::vector<int32_t>{kParamMacro1});
    EXPECT_EQ(ed.host.edits, (std::vector<int32_t>{kParamMacro1 + 1, -(kParamMacro1 + 1)}));
    EXPECT_FALSE(ed.model().dirty().contains(kParamMacro1));  // no echo of the editor's own edit

    ed.engine.setParameterNormalized(0, kParamMasterGain, 0.5f);  // the host automates
    EXPECT_TRUE(ed.model().dirty().contains(kParamMasterGain));
    ed.tick();
    EXPECT_FALSE(ed.model().dirty().contains(kParamMasterGain));
    EXPECT_TRUE(ed.main().changed());
}

TEST(EditorFoundation, TheWholeWindowPaintsWithoutADisplay) {
    HeadlessEditor ed;
    cairo_surface_t* image = ed.paint();
    ASSERT_EQ(cairo_surface_status(image), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(cairo_image_surface_get_width(image), 772);
    EXPECT_EQ(cairo_image_surface_get_height(image), 598);
    // Not one flat colour: frames, buttons and text were drawn.
    const unsigned char* data = cairo_image_surface_get_data(image);
    const int stride = cairo_image_surface_get_stride(image);
    const uint32_t first = *reinterpret_cast<const uint32_t*>(data);
    int different = 0;
    for (int y = 0; y < 598; ++y)
        for (int x = 0; x < 772; ++x) different += *reinterpret_cast<const uint32_t*>(data + y * stride + 4 * x) != first;
    EXPECT_GT(different, 10000);
    cairo_surface_destroy(image);
}

}  // namespace
}  // namespace quenvale::editor
