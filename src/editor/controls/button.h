// A push button, optionally a toggle or one of a radio group ("Voice" / "Modulators" / "Effects",
// "64" … "512"). onClick runs on release inside the button.
#pragma once

#include <functional>
#include <string>

#include "editor/controls/control.h"

namespace quenvale::editor {

class Button : public Control {
public:
    Button(ui::Rect bounds, std::string text, std::function<void()> onClick = {});

    void setOnClick(std::function<void()> onClick) { onClick_ = std::move(onClick); }
    // A checked button is drawn lit (radio and toggle buttons).
    void setChecked(bool checked);
    bool checked() const noexcept { return checked_; }

    bool mouseDown(const ui::MouseEvent& e) override;
    void mouseDrag(const ui::MouseEvent& e) override;
    void mouseUp(const ui::MouseEvent& e) override;
    void paint(cairo_t* cr) override;
    const char* kind() const override { return "button"; }

private:
    std::function<void()> onClick_;
    bool checked_ = false;
};

// A fixed text ("Voices", a status line). Not interactive.
class Label : public Control {
public:
    Label(ui::Rect bounds, std::string text, bool dim = false, int align = 0);
    void setText(std::string text) { setLabel(std::move(text)); }
    void paint(cairo_t* cr) override;
    ui::Widget* widgetAt(ui::Point) override { return nullptr; }
    const char* kind() const override { return "label"; }

private:
    bool dim_;
    int align_;  // 0 left, 1 centre, 2 right
};

}  // namespace quenvale::editor
