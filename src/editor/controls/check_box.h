// A check box: a box with a tick and its label on the right. A click toggles it and reports the new
// state.
#pragma once

#include <functional>
#include <string>

#include "editor/controls/control.h"

namespace quenvale::editor {

class CheckBox : public Control {
public:
    CheckBox(ui::Rect bounds, std::string text, std::function<void(bool)> onToggle = {});
    void setChecked(bool checked);  // no callback
    bool checked() const noexcept { return checked_; }
    void setOnToggle(std::function<void(bool)> fn) { onToggle_ = std::move(fn); }

    bool mouseDown(const ui::MouseEvent& e) override;
    void mouseUp(const ui::MouseEvent& e) override;
    void paint(cairo_t* cr) override;
    const char* kind() const override { return "checkbox"; }

private:
    bool checked_ = false;
    std::function<void(bool)> onToggle_;
};

}  // namespace quenvale::editor
