// Binding bookkeeping and the hover and pressed states shared by all controls.
#include "editor/controls/control.h"

namespace quenvale::editor {

void Control::bind(EditorModel& model, std::initializer_list<int32_t> indices) {
    model_ = &model;
    count_ = 0;
    for (int32_t i : indices) {
        if (count_ == static_cast<int>(indices_.size())) break;
        indices_[count_++] = i;
    }
    refreshFromModel();
    invalidate();
}

void Control::mouseEnter() {
    hovered_ = true;
    invalidate();
}

void Control::mouseLeave() {
    hovered_ = false;
    invalidate();
}

void Control::setPressed(bool pressed) {
    if (pressed == pressed_) return;
    pressed_ = pressed;
    invalidate();
}

}  // namespace quenvale::editor
