// Check boxes.
#include "editor/controls/check_box.h"

#include "editor/ui/draw.h"

namespace quenvale::editor {

using namespace ui;

CheckBox::CheckBox(Rect bounds, std::string text, std::function<void(bool)> onToggle)
    : Control(bounds), onToggle_(std::move(onToggle)) {
    setLabel(std::move(text));
}

void CheckBox::setChecked(bool checked) {
    if (checked == checked_) return;
    checked_ = checked;
    invalidate();
}

bool CheckBox::mouseDown(const MouseEvent& e) {
    if (e.button != MouseButton::Left) return false;
    setPressed(true);
    return true;
}

void CheckBox::mouseUp(const MouseEvent& e) {
    const bool inside = pressed() && localBounds().contains(e.pos);
    setPressed(false);
    if (!inside || !enabled()) return;
    checked_ = !checked_;
    invalidate();
    if (onToggle_) onToggle_(checked_);
}

void CheckBox::paint(cairo_t* cr) {
    const Rect r = localBounds();
    const int box = 12;
    const Rect b{1, (r.h - box) / 2, box, box};
    draw::fillRect(cr, b, hovered() && enabled() ? theme::kControlHover : theme::kFieldBackground);
    draw::strokeRect(cr, b, enabled() ? theme::kControlBorder : theme::kTextDisabled);
    if (checked_) {
        draw::setColour(cr, enabled() ? theme::kAccent : theme::kTextDisabled);
        cairo_set_line_width(cr, 2.0);
        cairo_move_to(cr, b.x + 3, b.y + 6);
        cairo_line_to(cr, b.x + 5, b.y + 9);
        cairo_line_to(cr, b.x + 10, b.y + 3);
        cairo_stroke(cr);
    }
    draw::text(cr, {box + 6, 0, r.w - box - 6, r.h}, label(),
               enabled() ? theme::kText : theme::kTextDisabled);
}

}  // namespace quenvale::editor
