// An enumerated parameter shown by its value name under its label (CLabeledEditEnum). A click opens a
// menu of the value names aligned to the field; the chosen item's number, clamped to the parameter's
// range, becomes the value. The wheel steps through the values.
#pragma once

#include <functional>
#include <string>

#include "editor/controls/control.h"

namespace quenvale::editor {

class EnumField : public Control {
public:
    static constexpr int kLabelHeight = 13;

    explicit EnumField(ui::Rect bounds);

    void refreshFromModel() override;
    void setFixedLabel(std::string text);
    // Runs after the value changed, by the user or from the model (a panel that follows the value).
    void setOnValue(std::function<void(int32_t)> fn) { onValue_ = std::move(fn); }
    // The field's rectangle (below the label), local coordinates.
    ui::Rect fieldRect() const noexcept;

    // The user's choice of menu item i: clamped, stored, reported.
    void choose(int32_t item);
    int32_t value() const noexcept { return value_; }
    const std::string& valueText() const noexcept { return text_; }

    bool mouseDown(const ui::MouseEvent& e) override;
    bool mouseWheel(const ui::MouseEvent& e) override;
    void paint(cairo_t* cr) override;
    const char* kind() const override { return "enum"; }

private:
    void show(int32_t value);

    int32_t value_ = 0;
    int32_t minimum_ = 0;
    int32_t maximum_ = 0;
    std::string text_;
    std::string fixedLabel_;
    std::function<void(int32_t)> onValue_;
};

}  // namespace quenvale::editor
