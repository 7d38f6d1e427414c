// A whole editor without a display: engine, direct host, widget tree; clicks by label, painting to PNG.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "editor/editor.h"
#include "editor/model/direct_editor_host.h"
#include "editor/panels/gui_main.h"
#include "editor/ui/root_view.h"
#include "engine/synth_engine.h"

namespace quenvale::editor::testing {

class HeadlessEditor {
public:
    HeadlessEditor() : host(engine), editor(engine, host, false) { editor.setHeadlessVisible(true); }

    ui::RootView& root() { return editor.root(); }
    GuiMain& main() { return editor.main(); }
    EditorModel& model() { return editor.model(); }

    // The first showing widget whose label is text (and, when given, whose kind is kind).
    ui::Widget* find(const std::string& text, const char* kind = nullptr) {
        ui::Widget* found = nullptr;
        ui::forEachWidget(root(), [&](ui::Widget& w) {
            if (found == nullptr && w.label() == text && w.showing() &&
                (kind == nullptr || std::string(w.kind()) == kind))
                found = &w;
        });
        return found;
    }
    // A left click (press and release) at the centre of a widget, or at an offset from its top-left.
    void click(const ui::Widget& w, ui::MouseButton b = ui::MouseButton::Left) { clickAt(centre(w), b); }
    void clickAt(ui::Point p, ui::MouseButton b = ui::MouseButton::Left) {
        root().pointerMove(p, 0);
        root().pointerPress(p, b, 0, nextTime());
        root().pointerRelease(p, b, 0);
    }
    void drag(ui::Point from, ui::Point to, ui::MouseButton b = ui::MouseButton::Left) {
        root().pointerMove(from, 0);
        root().pointerPress(from, b, 0, nextTime());
        root().pointerMove(to, 0);
        root().pointerRelease(to, b, 0);
    }
    static ui::Point centre(const ui::Widget& w) {
        const ui::Rect r = w.windowRect();
        return {r.x + r.w / 2, r.y + r.h / 2};
    }
    // One timer tick.
    void tick() { root().tick(); }
    // Paints the whole window; the number of pixels that differ from the background is returned by
    // the caller's own checks. Writes a PNG when path is not empty.
    cairo_surface_t* paint(const std::string& path = {}) {
        cairo_surface_t* s = root().paintToImage();
        if (!path.empty()) cairo_surface_write_to_png(s, path.c_str());
        return s;
    }

    // Presses are spaced beyond the double-click time unless a test asks for a double-click.
    uint64_t nextTime() { return time_ += 1000; }
    uint64_t sameTime() { return time_ += 10; }

    SynthEngine engine;
    DirectEditorHost host;
    Editor editor;

private:
    uint64_t time_ = 0;
};

}  // namespace quenvale::editor::testing
