// A rotary knob (CRoundSlider) bound to one float parameter: the label above, the value text below.
// Drag up or right to raise (Shift for fine steps), the wheel steps by 1 % of the range, a double-click
// sets the catalogue's default.
#pragma once

#include <string>

#include "editor/controls/control.h"

namespace quenvale::editor {

class Knob : public Control {
public:
    // Change per pixel of drag, as a share of the range.
    static constexpr double kCoarsePerPixel = 0.005;
    static constexpr double kFinePerPixel = 0.0005;

    explicit Knob(ui::Rect bounds);

    bool mouseDown(const ui::MouseEvent& e) override;
    void mouseDrag(const ui::MouseEvent& e) override;
    void mouseUp(const ui::MouseEvent& e) override;
    bool mouseWheel(const ui::MouseEvent& e) override;
    void paint(cairo_t* cr) override;
    void refreshFromModel() override;
    const char* kind() const override { return "knob"; }

    // A fixed label instead of the parameter's ("Gain" over "MasterGain").
    void setFixedLabel(std::string text) {
        fixedLabel_ = std::move(text);
        setLabel(fixedLabel_);
    }
    float value() const noexcept { return value_; }
    const std::string& valueText() const noexcept { return text_; }

private:
    void store(float value, bool single);

    float value_ = 0.0f;
    float minimum_ = 0.0f;
    float maximum_ = 1.0f;
    std::string text_;
    std::string fixedLabel_;
    bool dragging_ = false;
    ui::Point last_{};
};

}  // namespace quenvale::editor
