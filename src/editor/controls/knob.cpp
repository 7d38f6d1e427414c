// Knob gestures and drawing.
#include "editor/controls/knob.h"

#include <algorithm>
#include <cmath>

#include "editor/ui/draw.h"

namespace quenvale::editor {

using namespace ui;

namespace {
constexpr double kStartAngle = 0.75 * M_PI;  // 7:30 o'clock
constexpr double kSweep = 1.5 * M_PI;
constexpr int kTextHeight = 13;
}  // namespace

Knob::Knob(Rect bounds) : Control(bounds) {}

void Knob::refreshFromModel() {
    if (!bound()) return;
    const ParameterDescriptor& d = EditorModel::descriptor(parameter());
    minimum_ = valueAsFloat(d.minValue);
    maximum_ = valueAsFloat(d.maxValue);
    value_ = model()->number(parameter());
    text_ = model()->displayText(parameter());
    setLabel(fixedLabel_.empty() ? model()->label(parameter()) : fixedLabel_);
    invalidate();
}

void Knob::store(float value, bool single) {
    value = std::clamp(value, minimum_, maximum_);
    if (value == value_ || !bound()) return;
    value_ = value;
    if (single)
        model()->edit(parameter(), makeFloatValue(value));
    else
        model()->setNumber(parameter(), value);
    text_ = model()->displayText(parameter());
    invalidate();
}

bool Knob::mouseDown(const MouseEvent& e) {
    if (!bound()) return false;
    if (e.button == MouseButton::Left && e.clickCount == 2) {
        store(valueAsFloat(EditorModel::descriptor(parameter()).defaultValue), true);
        return true;
    }
    if (e.button != MouseButton::Left) return false;
    dragging_ = true;
    last_ = e.pos;
    model()->beginEdit(parameter());
    setPressed(true);
    return true;
}

void Knob::mouseDrag(const MouseEvent& e) {
    if (!dragging_) return;
    const int pixels = (e.pos.x - last_.x) + (last_.y - e.pos.y);
    last_ = e.pos;
    const double perPixel = (e.modifiers & kModShift) != 0 ? kFinePerPixel : kCoarsePerPixel;
    store(static_cast<float>(value_ + (maximum_ - minimum_) * perPixel * pixels), false);
}

void Knob::mouseUp(const MouseEvent&) {
    if (!dragging_) return;
    dragging_ = false;
    setPressed(false);
    model()->endEdit(parameter());
}

bool Knob::mouseWheel(const MouseEvent& e) {
    if (!bound()) return false;
    store(static_cast<float>(value_ + (maximum_ - minimum_) * 0.01 * e.wheelSteps), true);
    return true;
}

void Knob::paint(cairo_t* cr) {
    const Rect all = localBounds();
    draw::text(cr, {0, 0, all.w, kTextHeight}, label(), theme::kTextDim, draw::Align::Centre, theme::kSmallFontSize);
    const int dial = std::min(all.w, all.h - 2 * kTextHeight) - 4;
    const double cx = all.w / 2.0, cy = kTextHeight + 2 + dial / 2.0, radius = dial / 2.0 - 3;
    const double share = maximum_ > minimum_ ? (value_ - minimum_) / (maximum_ - minimum_) : 0.0;
    cairo_set_line_width(cr, 3.0);
    draw::setColour(cr, theme::kFieldBackground);
    cairo_arc(cr, cx, cy, radius, kStartAngle, kStartAngle + kSweep);
    cairo_stroke(cr);
    draw::setColour(cr, enabled() ? theme::kAccent : theme::kTextDisabled);
    cairo_arc(cr, cx, cy, radius, kStartAngle, kStartAngle + kSweep * share);
    cairo_stroke(cr);
    draw::setColour(cr, hovered() || pressed() ? theme::kControlHover : theme::kControlFace);
    cairo_arc(cr, cx, cy, radius - 4, 0, 2 * M_PI);
    cairo_fill(cr);
    const double angle = kStartAngle + kSweep * share;
    draw::setColour(cr, theme::kText);
    cairo_set_line_width(cr, 2.0);
    cairo_move_to(cr, cx + std::cos(angle) * (radius - 12), cy + std::sin(angle) * (radius - 12));
    cairo_line_to(cr, cx + std::cos(angle) * (radius - 4), cy + std::sin(angle) * (radius - 4));
    cairo_stroke(cr);
    draw::text(cr, {0, all.h - kTextHeight, all.w, kTextHeight}, text_, theme::kText, draw::Align::Centre,
               theme::kSmallFontSize);
}

}  // namespace quenvale::editor
