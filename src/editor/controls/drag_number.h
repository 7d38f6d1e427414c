// A labelled number dragged with the mouse, not bound to a parameter: the spectrum editor's values
// that live in a modulator ("Frequency", "Amount") or in the scratchpad ("Value"). The label sits on
// the left, the value text on the right. Dragging right or up raises it by 1 % of the range per pixel
// (0.1 % with Shift or the right button); a double-click puts back the default.
#pragma once

#include <functional>
#include <string>

#include "editor/controls/control.h"

namespace quenvale::editor {

class DragNumber : public Control {
public:
    static constexpr double kCoarsePerPixel = 0.01;
    static constexpr double kFinePerPixel = 0.001;

    DragNumber(ui::Rect bounds, std::string label, float minimum, float maximum, float defaultValue,
               int decimals = 2);

    // Sets the value (clamped) without calling onChange.
    void setValue(float value);
    float value() const noexcept { return value_; }
    float minimum() const noexcept { return minimum_; }
    float maximum() const noexcept { return maximum_; }
    std::string valueText() const;
    // Runs after every change by the user (each drag step, a double-click).
    void setOnChange(std::function<void(float)> fn) { onChange_ = std::move(fn); }
    // A drag ended (the caller may mark the program changed once).
    void setOnCommit(std::function<void()> fn) { onCommit_ = std::move(fn); }

    bool mouseDown(const ui::MouseEvent& e) override;
    void mouseDrag(const ui::MouseEvent& e) override;
    void mouseUp(const ui::MouseEvent& e) override;
    void paint(cairo_t* cr) override;
    const char* kind() const override { return "number"; }

private:
    void change(float value);

    float value_;
    float minimum_, maximum_, default_;
    int decimals_;
    bool dragging_ = false;
    bool fine_ = false;
    ui::Point last_{};
    std::function<void(float)> onChange_;
    std::function<void()> onCommit_;
};

}  // namespace quenvale::editor
