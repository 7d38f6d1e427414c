// Value-name menus and drawing of enumerated fields.
#include "editor/controls/enum_field.h"

#include <algorithm>

#include "editor/overlays/popup_menu.h"
#include "editor/ui/draw.h"
#include "editor/ui/root_view.h"

namespace quenvale::editor {

using namespace ui;

EnumField::EnumField(Rect bounds) : Control(bounds) {}

void EnumField::setFixedLabel(std::string text) {
    fixedLabel_ = std::move(text);
    setLabel(fixedLabel_);
}

Rect EnumField::fieldRect() const noexcept {
    return {0, kLabelHeight, bounds().w, bounds().h - kLabelHeight};
}

void EnumField::show(int32_t value) {
    value_ = value;
    text_ = model()->displayText(parameter());
    invalidate();
    if (onValue_) onValue_(value_);
}

void EnumField::refreshFromModel() {
    if (!bound()) return;
    const ParameterDescriptor& d = EditorModel::descriptor(parameter());
    minimum_ = valueAsInt(d.minValue);
    maximum_ = valueAsInt(d.maxValue);
    setLabel(fixedLabel_.empty() ? model()->label(parameter()) : fixedLabel_);
    show(model()->integer(parameter()));
}

void EnumField::choose(int32_t item) {
    if (!bound()) return;
    const int32_t value = std::clamp(item, minimum_, maximum_);
    model()->edit(parameter(), makeIntValue(value));
    show(value);
}

bool EnumField::mouseDown(const MouseEvent& e) {
    if (!bound() || e.button != MouseButton::Left) return false;
    RootView* r = root();
    if (r == nullptr) return false;
    const Rect at = fieldRect().translated(windowOrigin());
    openPopupMenu(*r, valueMenuItems(parameter(), value_), {at.x, at.bottom()}, [this](int32_t id) { choose(id); }, {},
                  at.w);
    return true;
}

bool EnumField::mouseWheel(const MouseEvent& e) {
    if (!bound() || e.wheelSteps == 0) return false;
    const int32_t next = std::clamp(value_ - e.wheelSteps, minimum_, maximum_);
    if (next != value_) choose(next);
    return true;
}

void EnumField::paint(cairo_t* cr) {
    const Rect all = localBounds();
    draw::text(cr, {0, 0, all.w, kLabelHeight}, label(), theme::kTextDim, draw::Align::Left, theme::kSmallFontSize);
    const Rect field = fieldRect();
    draw::face(cr, field, hovered(), pressed(), enabled());
    draw::text(cr, {field.x + 4, field.y, field.w - 18, field.h}, text_, enabled() ? theme::kText : theme::kTextDisabled);
    draw::text(cr, {field.right() - 14, field.y, 12, field.h}, "\u25BE", theme::kTextDim);
}

}  // namespace quenvale::editor
