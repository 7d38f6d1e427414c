// The labelled drag number.
#include "editor/controls/drag_number.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "editor/ui/draw.h"

namespace quenvale::editor {

using namespace ui;

DragNumber::DragNumber(Rect bounds, std::string label, float minimum, float maximum, float defaultValue,
                       int decimals)
    : Control(bounds),
      value_(std::clamp(defaultValue, minimum, maximum)),
      minimum_(minimum),
      maximum_(maximum),
      default_(defaultValue),
      decimals_(decimals) {
    setLabel(std::move(label));
}

void DragNumber::setValue(float value) {
    const float v = std::isnan(value) ? minimum_ : std::clamp(value, minimum_, maximum_);
    if (v == value_) return;
    value_ = v;
    invalidate();
}

std::string DragNumber::valueText() const {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals_, static_cast<double>(value_));
    return text;
}

void DragNumber::change(float value) {
    const float before = value_;
    setValue(value);
    if (value_ != before && onChange_) onChange_(value_);
}

bool DragNumber::mouseDown(const MouseEvent& e) {
    if (e.button != MouseButton::Left && e.button != MouseButton::Right) return false;
    if (e.clickCount == 2 && e.button == MouseButton::Left) {
        change(default_);
        if (onCommit_) onCommit_();
        return true;
    }
    dragging_ = true;
    fine_ = e.button == MouseButton::Right || (e.modifiers & kModShift) != 0;
    last_ = e.pos;
    setPressed(true);
    return true;
}

void DragNumber::mouseDrag(const MouseEvent& e) {
    if (!dragging_) return;
    const int steps = (e.pos.x - last_.x) - (e.pos.y - last_.y);
    last_ = e.pos;
    if (steps == 0) return;
    const double perPixel = fine_ ? kFinePerPixel : kCoarsePerPixel;
    change(static_cast<float>(value_ + (static_cast<double>(maximum_) - minimum_) * perPixel * steps));
}

void DragNumber::mouseUp(const MouseEvent&) {
    if (!dragging_) return;
    dragging_ = false;
    setPressed(false);
    if (onCommit_) onCommit_();
}

void DragNumber::paint(cairo_t* cr) {
    const Rect r = localBounds();
    draw::fillRoundedRect(cr, r,
                          pressed()   ? theme::kControlPressed
                          : hovered() ? theme::kControlHover
                                      : theme::kFieldBackground);
    draw::strokeRect(cr, r, theme::kControlBorder);
    const theme::Colour& text = enabled() ? theme::kText : theme::kTextDisabled;
    draw::text(cr, {r.x + 4, r.y, r.w - 8, r.h}, label(), enabled() ? theme::kTextDim : theme::kTextDisabled,
               draw::Align::Left, theme::kSmallFontSize);
    draw::text(cr, {r.x + 4, r.y, r.w - 8, r.h}, valueText(), text, draw::Align::Right);
}

}  // namespace quenvale::editor
