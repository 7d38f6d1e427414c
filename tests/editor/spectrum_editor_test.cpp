// The spectrum editor in a whole headless editor: drawing, patterns, views, the scratchpad, the
// modifier panel and breakpoints, checked on the engine's data and, for drawing and the scratchpad, by
// measuring the sound a note makes afterwards.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <thread>

#include "editor/controls/button.h"
#include "editor/controls/check_box.h"
#include "editor/controls/key_map_edit.h"
#include "editor/controls/list_box.h"
#include "editor/controls/partial_display.h"
#include "editor/controls/text_field.h"
#include "editor/overlays/message_box.h"
#include "editor/overlays/popup_menu.h"
#include "editor/panels/gui_gen.h"
#include "editor/panels/spectrum/gui_spectrum.h"
#include "editor/panels/spectrum/gui_spectrum_mod.h"
#include "editor/panels/spectrum/mod_edit_dialog.h"
#include "editor/panels/spectrum/spectrum_edits.h"
#include "editor_test_support.h"
#include "engine/engine_test_support.h"

namespace quenvale::editor {
namespace {

using testing::HeadlessEditor;

struct SpectrumEditor : HeadlessEditor {
    SpectrumEditor() { engine.setSampleRate(44100.0f); }
    GuiSpectrum& spectrum() { return static_cast<GuiGen&>(main().page(0)).spectrum(); }
    Generator& generator() { return liveGenerator(engine); }
    Modulator& amp() { return generator().modulator(kSpectrumAmp); }

    // The window point over partial k of a graph at local height y.
    static ui::Point over(const PartialEdit& g, int32_t k, int y) {
        const ui::Rect r = g.windowRect();
        return {r.x + (g.columnLeft(k) + g.columnLeft(k + 1)) / 2, r.y + y};
    }
    template <typename T>
    T* overlay() {
        return dynamic_cast<T*>(root().topOverlay());
    }
    // Renders a note of 220 Hz for 0.6 s and returns the levels of harmonics 1 … n, measured over
    // 0.3 s after the attack.
    std::vector<double> harmonicLevels(int n) {
        test::noteOn(engine, 57);
        const std::vector<float> out = test::renderSamples(engine, 26460);
        std::vector<double> levels;
        for (int h = 1; h <= n; ++h)
            levels.push_back(test::amplitudeAt(out, 13230, 13230, 220.0 * h, 44100.0));
        return levels;
    }
};

TEST(SpectrumEditor, DrawingThirdPartialIsHeardAtTheDrawnLevel) {
    SpectrumEditor ed;
    PartialEdit& g = ed.spectrum().graph();
    ASSERT_TRUE(g.showing());
    const int h = g.bounds().h;
    // Fundamental at the top (1.0), the third partial at a quarter of the height (0.75).
    ed.clickAt(SpectrumEditor::over(g, 0, 0));
    ed.clickAt(SpectrumEditor::over(g, 2, h / 4));
    const float drawn = partialScreenToValue(h / 4, h, 0);
    EXPECT_FLOAT_EQ(ed.amp().breakpoints[0].values[0], 1.0f);
    EXPECT_FLOAT_EQ(ed.amp().breakpoints[0].values[2], drawn);
    EXPECT_EQ(ed.spectrum().statusText(), partialStatusText(2, drawn));
    EXPECT_TRUE(ed.main().changed());

    const std::vector<double> levels = ed.harmonicLevels(4);
    ASSERT_GT(levels[0], 1e-3);
    EXPECT_NEAR(levels[2] / levels[0], drawn, 0.01);
    EXPECT_LT(levels[1], 0.01 * levels[0]);
    EXPECT_LT(levels[3], 0.01 * levels[0]);
}

TEST(SpectrumEditor, LeftDragDrawsAcrossAndRightDragClearsOnlySelectedPartials) {
    SpectrumEditor ed;
    GuiSpectrum& s = ed.spectrum();
    PartialEdit& g = s.graph();
    ed.drag(SpectrumEditor::over(g, 0, 0), SpectrumEditor::over(g, 3, 0));
    EXPECT_FLOAT_EQ(ed.amp().breakpoints[0].values[3], 1.0f);  // the partial under the release point

    ed.click(s.patternButton(1));  // "2": partials 1, 2, 4, 6, …
    ASSERT_EQ(s.pattern(), 1);
    ed.amp().breakpoints[0].values[2] = 0.5f;
    ed.tick();
    ed.clickAt(SpectrumEditor::over(g, 2, g.bounds().h / 2),
               ui::MouseButton::Right);  // partial 3: unselected
    EXPECT_FLOAT_EQ(ed.amp().breakpoints[0].values[2], 0.5f);
    ed.clickAt(SpectrumEditor::over(g, 2, 0));  // drawing respects the mask too
    EXPECT_FLOAT_EQ(ed.amp().breakpoints[0].values[2], 0.5f);
    ed.clickAt(SpectrumEditor::over(g, 3, g.bounds().h / 2), ui::MouseButton::Right);  // partial 4: selected
    EXPECT_FLOAT_EQ(ed.amp().breakpoints[0].values[3], 0.0f);
    EXPECT_EQ(s.statusText(), "Partial 4: -oo dB");

    // Invert: the odd partials (and the fundamental) become the selected ones.
    ed.click(s.invertButton());
    EXPECT_TRUE(s.inverted());
    EXPECT_TRUE(s.mask()[2]);
    EXPECT_FALSE(s.mask()[3]);
    ed.click(s.patternButton(0));  // "1": all, and the invert button is disabled
    EXPECT_FALSE(s.invertButton().enabled());
}

TEST(SpectrumEditor, ViewsEditTheirOwnModulatorAndDisplayFlagsReachBothGraphs) {
    SpectrumEditor ed;
    GuiSpectrum& s = ed.spectrum();
    ed.click(s.viewButton(1));  // "Pan"
    EXPECT_EQ(s.view(), 1);
    ed.click(s.flagButton(0));  // "B"
    EXPECT_EQ(s.displayFlags(), kDisplayBipolar);
    EXPECT_EQ(s.scratchpad().graph().flags(), kDisplayBipolar);
    PartialEdit& g = s.graph();
    const int bottom = g.bounds().h - 1;  // near −1, the bottom of a bipolar display
    ed.clickAt(SpectrumEditor::over(g, 0, bottom));
    EXPECT_FLOAT_EQ(ed.generator().modulator(kSpectrumPan).breakpoints[0].values[0],
                    partialScreenToValue(bottom, g.bounds().h, kDisplayBipolar));
    EXPECT_LT(ed.generator().modulator(kSpectrumPan).breakpoints[0].values[0], -0.98f);
    EXPECT_FLOAT_EQ(ed.amp().breakpoints[0].values[0], 0.0f);
}

TEST(SpectrumEditor, ScratchpadSawSentIntoTheSpectrumSoundsASaw) {
    SpectrumEditor ed;
    GuiSpectrum& s = ed.spectrum();
    ed.click(s.scratchpadButton());
    ASSERT_TRUE(s.scratchpad().showing());
    ed.click(s.scratchpad().macroButton());
    auto* menu = ed.overlay<PopupMenu>();
    ASSERT_NE(menu, nullptr);
    const ui::Rect saw = menu->itemRect({6, 1});  // "Oscillators" → "Saw"
    ASSERT_FALSE(saw.empty());
    ed.clickAt({saw.x + saw.w / 2, saw.y + saw.h / 2});
    EXPECT_EQ(ed.root().overlayCount(), 0u);
    EXPECT_FLOAT_EQ(s.scratchpad().state().curve()[3], 0.25f);
    EXPECT_FALSE(s.scratchpad().undoButton().enabled());

    ed.click(s.scratchpad().sendButton());  // "/\"
    EXPECT_TRUE(s.scratchpad().undoButton().enabled());
    EXPECT_TRUE(ed.main().changed());
    for (int k = 0; k < 8; ++k) EXPECT_FLOAT_EQ(ed.amp().breakpoints[0].values[k], 1.0f / (k + 1));

    const std::vector<double> levels = ed.harmonicLevels(8);
    ASSERT_GT(levels[0], 1e-3);
    for (int k = 2; k <= 8; ++k) EXPECT_NEAR(levels[k - 1] / levels[0], 1.0 / k, 0.01) << "harmonic " << k;

    // Undo puts the silent spectrum back and disables itself.
    ed.click(s.scratchpad().undoButton());
    EXPECT_FLOAT_EQ(ed.amp().breakpoints[0].values[1], 0.0f);
    EXPECT_FALSE(s.scratchpad().undoButton().enabled());
}

TEST(SpectrumEditor, ScratchpadTransformsPreviewOnTheSpectrumAndFollowThePartialCount) {
    SpectrumEditor ed;
    GuiSpectrum& s = ed.spectrum();
    GuiSpectrumScratchpad& pad = s.scratchpad();
    s.showScratchpad(true);
    pad.runGenerator(kGenSetToOne);
    pad.chooseTransform(kTransformScale);
    pad.setValue(0.5f);
    EXPECT_FLOAT_EQ(s.graph().preview()[5], 0.5f);  // the second curve of the spectrum's graph
    ed.click(pad.applyButton());
    EXPECT_FLOAT_EQ(pad.state().curve()[5], 0.5f);

    pad.chooseTransform(kTransformCount);  // past the list
    auto* box = ed.overlay<MessageBox>();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), "Not implemented !");
    box->answer(MessageResult::Ok);

    // Swap "X" with the spectrum, then a new partial count recreates the scratchpad at zero.
    ed.click(pad.swapButton());
    EXPECT_FLOAT_EQ(ed.amp().breakpoints[0].values[5], 0.5f);
    EXPECT_FLOAT_EQ(pad.state().curve()[5], 0.0f);
    pad.runGenerator(kGenSetToOne);
    ed.main().setPartialCount(0);  // 64 partials
    ed.tick();
    EXPECT_EQ(pad.state().curve().size(), 64);
    EXPECT_FLOAT_EQ(pad.state().curve()[5], 0.0f);
    EXPECT_EQ(s.graph().curve().size(), 64);
    EXPECT_FALSE(pad.undoButton().enabled());
}

TEST(SpectrumEditor, ModifierPanelAddsEntersReordersAndRemovesChildren) {
    SpectrumEditor ed;
    GuiSpectrum& s = ed.spectrum();
    GuiSpectrumMod& mod = s.modifiers();
    ASSERT_TRUE(mod.showing());
    auto add = [&](const std::string& name) {
        ed.click(mod.addButton());
        auto* dialog = ed.overlay<ModEditDialog>();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->fields().mode, kCombineAdd);
        EXPECT_TRUE(dialog->fields().enabled);
        dialog->nameField().setText(name);
        ed.click(dialog->okButton());
    };
    add("Layer A");
    ASSERT_EQ(ed.amp().childCount(), 1);
    EXPECT_EQ(s.target().path, std::vector<int32_t>{0});  // the new child is the edited one
    EXPECT_EQ(ed.amp().children[0].mode, kCombineAdd);
    ed.click(mod.parentButton());  // ".."
    EXPECT_TRUE(s.target().path.empty());
    add("Layer B");
    ed.click(mod.parentButton());
    ASSERT_EQ(mod.list().rows().size(), 2u);

    // Select the second entry: "/\" enabled, "\/" not; move it up.
    mod.selectLink(1);
    EXPECT_TRUE(mod.upButton().enabled());
    EXPECT_FALSE(mod.downButton().enabled());
    ed.click(mod.upButton());
    EXPECT_EQ(ed.amp().children[0].child->name, "Layer B");

    // Edit: mode "Modulate", disabled.
    mod.selectLink(0);
    ed.click(mod.editButton());
    auto* dialog = ed.overlay<ModEditDialog>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->nameField().text(), "Layer B");
    dialog->setMode(kCombineMultiply);
    ed.click(dialog->enabledBox());
    ed.click(dialog->okButton());
    EXPECT_EQ(ed.amp().children[0].mode, kCombineMultiply);
    EXPECT_FALSE(ed.amp().children[0].enabled);

    // "Rem." asks; No keeps, Yes removes.
    ed.click(mod.removeButton());
    auto* box = ed.overlay<MessageBox>();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), GuiSpectrumMod::kRemoveQuestion);
    box->answer(MessageResult::No);
    EXPECT_EQ(ed.amp().childCount(), 2);
    ed.click(mod.removeButton());
    ed.overlay<MessageBox>()->answer(MessageResult::Yes);
    ASSERT_EQ(ed.amp().childCount(), 1);
    EXPECT_EQ(ed.amp().children[0].child->name, "Layer A");

    // Double-clicking an entry enters it; a flag and a value reach the child.
    mod.openLink(0);
    EXPECT_EQ(s.target().path, std::vector<int32_t>{0});
    ed.click(mod.additiveBox());
    EXPECT_TRUE(ed.amp().children[0].child->additive);
    EXPECT_FALSE(ed.amp().additive);
}

TEST(SpectrumEditor, BreakpointsInsertSelectAndRemoveAfterSelection) {
    SpectrumEditor ed;
    GuiSpectrum& s = ed.spectrum();
    BreakpointStrip& strip = s.strip();
    const ui::Rect r = strip.windowRect();
    // Double-clicks on empty places of the strip insert breakpoints there.
    for (float t : {0.5f, 0.25f}) {
        const ui::Point p{r.x + strip.timeToX(t), r.y + r.h / 2};
        ed.root().pointerPress(p, ui::MouseButton::Left, 0, ed.nextTime());
        ed.root().pointerRelease(p, ui::MouseButton::Left, 0);
        ed.root().pointerPress(p, ui::MouseButton::Left, 0, ed.sameTime());
        ed.root().pointerRelease(p, ui::MouseButton::Left, 0);
    }
    ASSERT_EQ(ed.amp().breakpointCount(), 3);
    const std::vector<float> times = breakpointTimes(ed.amp());
    EXPECT_NEAR(times[1], 0.25f, 0.01f);
    EXPECT_NEAR(times[2], 0.5f, 0.01f);  // kept its time when one went in before it
    EXPECT_EQ(s.target().breakpoint, 1);

    // Drawing edits the selected breakpoint only.
    ed.clickAt(SpectrumEditor::over(s.graph(), 0, 0));
    EXPECT_FLOAT_EQ(ed.amp().breakpoints[1].values[0], 1.0f);
    EXPECT_FLOAT_EQ(ed.amp().breakpoints[2].values[0], 0.0f);

    ed.click(s.removeAfterButton());
    auto* box = ed.overlay<MessageBox>();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), GuiSpectrum::kRemoveAfterQuestion);
    box->answer(MessageResult::Yes);
    EXPECT_EQ(ed.amp().breakpointCount(), 2);

    // A right click on a marker removes it, never the last one.
    const ui::Point first{r.x + strip.timeToX(0.0f), r.y + r.h / 2};
    ed.clickAt(first, ui::MouseButton::Right);
    EXPECT_EQ(ed.amp().breakpointCount(), 1);
    ed.clickAt(first, ui::MouseButton::Right);
    EXPECT_EQ(ed.amp().breakpointCount(), 1);
}

TEST(SpectrumEditor, KeyMappingPointsMoveInsertAndRemove) {
    SpectrumEditor ed;
    GuiSpectrumMod& mod = ed.spectrum().modifiers();
    ed.click(mod.keyMapButton());
    KeyMapEdit& keys = mod.keyMap();
    ASSERT_TRUE(keys.showing());
    ASSERT_EQ(keys.pointCount(), 2);  // the default: 1.0 over the whole keyboard
    const ui::Rect r = keys.windowRect();
    auto at = [&](ui::Point local) { return ui::Point{r.x + local.x, r.y + local.y}; };

    // The end point dragged to the bottom: the top keys fall silent.
    ed.drag(at(keys.pointPosition(1)), at({r.w - 6, r.h - 1}));
    const BreakpointCurve& stored = ed.amp().keyMapping;
    EXPECT_EQ(stored.segmentCount, 1);
    EXPECT_FLOAT_EQ(stored.endValues[0], 0.0f);
    EXPECT_FLOAT_EQ(stored.lengths[0], 1.0f);
    EXPECT_TRUE(ed.main().changed());

    // A double-click between the points adds one there; a right click on it takes it away again.
    const ui::Point middle = at({r.w / 2, 20});
    ed.root().pointerPress(middle, ui::MouseButton::Left, 0, ed.nextTime());
    ed.root().pointerRelease(middle, ui::MouseButton::Left, 0);
    ed.root().pointerPress(middle, ui::MouseButton::Left, 0, ed.sameTime());
    ed.root().pointerRelease(middle, ui::MouseButton::Left, 0);
    ASSERT_EQ(stored.segmentCount, 2);
    EXPECT_NEAR(stored.lengths[0] + stored.lengths[1], 1.0f, 1e-6f);
    EXPECT_NEAR(stored.lengths[0], 0.5f, 0.02f);
    ed.clickAt(at(keys.pointPosition(1)), ui::MouseButton::Right);
    EXPECT_EQ(stored.segmentCount, 1);
    EXPECT_NEAR(stored.lengths[0], 1.0f, 1e-6f);
    // The start point and the last segment stay.
    EXPECT_FALSE(keys.removePoint(0));
    EXPECT_FALSE(keys.removePoint(1));
}

// Paints the "Voice" page with a saw in the spectrum and the scratchpad showing its smoothed preview
// (the README's picture: build/spectrum-editor.png, copied to docs/), and checks the bars are there.
TEST(SpectrumEditor, PaintsTheGraphsWithTheirBars) {
    SpectrumEditor ed;
    GuiSpectrum& s = ed.spectrum();
    s.showScratchpad(true);
    GuiSpectrumScratchpad& pad = s.scratchpad();
    pad.runGenerator(kGenSaw);
    pad.toSpectrum();
    pad.runGenerator(kGenSquare);
    pad.chooseTransform(kTransformSmooth);
    pad.setValue(-1.5f);
    ed.click(s.patternButton(1));
    ed.clickAt(SpectrumEditor::over(s.graph(), 5, s.graph().bounds().h / 3));
    ed.tick();
    cairo_surface_t* image = ed.paint(QUENVALE_BINARY_DIR "/spectrum-editor.png");
    ASSERT_EQ(cairo_image_surface_get_format(image), CAIRO_FORMAT_ARGB32);
    const unsigned char* data = cairo_image_surface_get_data(image);
    const int stride = cairo_image_surface_get_stride(image);
    auto pixel = [&](ui::Point p) {
        uint32_t v;
        std::memcpy(&v, data + p.y * stride + p.x * 4, 4);
        return v & 0xFFFFFF;
    };
    // The fundamental's bar reaches the top of both graphs; above a silent partial lies the field.
    EXPECT_EQ(pixel(SpectrumEditor::over(s.graph(), 0, 2)), 0x4FA3E0u);
    EXPECT_EQ(pixel(SpectrumEditor::over(pad.graph(), 0, 2)), 0x4FA3E0u);
    EXPECT_EQ(pixel(SpectrumEditor::over(s.graph(), 40, 2)), 0x1C1F23u);
    cairo_surface_destroy(image);

    // The modifier panel with a layer in its list (build/spectrum-modifiers.png): every control
    // inside the frame.
    s.showScratchpad(false);
    addChildModulator(ed.engine, s.target(), "Re-Synth", kCombineAdd, true);
    ed.tick();
    cairo_surface_destroy(ed.paint(QUENVALE_BINARY_DIR "/spectrum-modifiers.png"));
    const ui::Rect frame = s.windowRect();
    ui::forEachWidget(s.modifiers(), [&](ui::Widget& w) {
        const ui::Rect r = w.windowRect();
        EXPECT_TRUE(r.x >= frame.x && r.right() <= frame.right() && r.bottom() <= frame.bottom())
            << w.label();
    });
}

}  // namespace
}  // namespace quenvale::editor
