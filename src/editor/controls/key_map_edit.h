// The key-mapping editor: the modulator's key-mapping curve (a gain over the key, note 0 … 127 left
// to right, 0 … 2 bottom to top) as points joined by straight segments. Drag a point to move it (the
// first stays on the left edge), double-click between points to add one, right-click a point to
// remove it (one segment always stays). Shapes stay straight (0.5).
#pragma once

#include <functional>

#include "editor/controls/control.h"
#include "engine/curve/breakpoint_curve.h"

namespace quenvale::editor {

class KeyMapEdit : public Control {
public:
    static constexpr float kMaxValue = 2.0f;
    static constexpr int kHitSlop = 6;

    explicit KeyMapEdit(ui::Rect bounds);

    void setCurve(const BreakpointCurve& curve);
    const BreakpointCurve& curve() const noexcept { return curve_; }
    // Runs after every change with the new curve and whether its segment count changed.
    void setOnChange(std::function<void(const BreakpointCurve&, bool structural)> fn) {
        onChange_ = std::move(fn);
    }

    // Point i (0 = the start, i = the end of segment i − 1): its key position 0 … 1 and value.
    int pointCount() const noexcept { return curve_.segmentCount + 1; }
    float pointKey(int i) const noexcept;
    float pointValue(int i) const noexcept;
    ui::Point pointPosition(int i) const noexcept;  // local
    int pointAt(ui::Point local) const noexcept;

    // Edits on the shown curve (the gestures use them; tests too). False when refused.
    bool movePoint(int i, float key, float value);
    bool insertPoint(float key, float value);
    bool removePoint(int i);

    bool mouseDown(const ui::MouseEvent& e) override;
    void mouseDrag(const ui::MouseEvent& e) override;
    void mouseUp(const ui::MouseEvent& e) override;
    void paint(cairo_t* cr) override;
    const char* kind() const override { return "keymap"; }

private:
    float keyAt(int x) const noexcept;
    float valueAt(int y) const noexcept;
    void report(bool structural);

    BreakpointCurve curve_{};
    int dragging_ = -1;
    std::function<void(const BreakpointCurve&, bool)> onChange_;
};

}  // namespace quenvale::editor
