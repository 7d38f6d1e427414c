// Push, toggle and radio buttons; static labels.
#include "editor/controls/button.h"

#include "editor/ui/draw.h"

namespace quenvale::editor {

using namespace ui;

Button::Button(Rect bounds, std::string text, std::function<void()> onClick)
    : Control(bounds), onClick_(std::move(onClick)) {
    setLabel(std::move(text));
}

void Button::setChecked(bool checked) {
    if (checked == checked_) return;
    checked_ = checked;
    invalidate();
}

bool Button::mouseDown(const MouseEvent& e) {
    if (e.button != MouseButton::Left) return false;
    setPressed(true);
    return true;
}

void Button::mouseDrag(const MouseEvent& e) {
    setPressed(localBounds().contains(e.pos));
}

void Button::mouseUp(const MouseEvent& e) {
    const bool inside = pressed() && localBounds().contains(e.pos);
    setPressed(false);
    if (inside && enabled() && onClick_) onClick_();
}

void Button::paint(cairo_t* cr) {
    draw::face(cr, localBounds(), hovered(), pressed() || checked_, enabled());
    draw::text(cr, localBounds(), label(), enabled() ? theme::kText : theme::kTextDisabled, draw::Align::Centre);
}

Label::Label(Rect bounds, std::string text, bool dim, int align) : Control(bounds), dim_(dim), align_(align) {
    setLabel(std::move(text));
}

void Label::paint(cairo_t* cr) {
    const auto align = align_ == 1 ? draw::Align::Centre : align_ == 2 ? draw::Align::Right : draw::Align::Left;
    draw::text(cr, localBounds(), label(), dim_ ? theme::kTextDim : theme::kText, align);
}

}  // namespace quenvale::editor
