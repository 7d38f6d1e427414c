// The base of every control: hover and pressed state, enabled look, and the parameters it is bound to.
//
// A control keeps its interaction state machine in the event handlers (mouseDown, mouseDrag, mouseUp,
// double-clicks via MouseEvent::clickCount) and draws in paint(cairo_t*) from that state only. A bound
// control edits through EditorModel (beginEdit/set/endEdit around a drag, edit for a single change)
// and shows the model's value again in refreshFromModel(), which the timer calls when one of its
// parameters changed elsewhere.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>

#include "editor/model/editor_model.h"
#include "editor/ui/widget.h"

namespace quenvale::editor {

class Control : public ui::Widget {
public:
    explicit Control(ui::Rect bounds = {}) : Widget(bounds) {}

    // Binds the control to up to five parameters (value, source 1, amount 1, source 2, amount 2 for a
    // modulated number; one index for most controls) and shows their current values.
    void bind(EditorModel& model, std::initializer_list<int32_t> indices);
    // Leaves the model; the control shows what it showed last.
    void unbind() noexcept { count_ = 0; }
    bool bound() const noexcept { return model_ != nullptr && count_ > 0; }
    std::span<const int32_t> parameters() const override { return {indices_.data(), static_cast<size_t>(count_)}; }
    int32_t parameter(int i = 0) const noexcept { return i < count_ ? indices_[i] : -1; }

    bool hovered() const noexcept { return hovered_; }
    bool pressed() const noexcept { return pressed_; }
    void mouseEnter() override;
    void mouseLeave() override;

protected:
    EditorModel* model() const noexcept { return model_; }
    void setPressed(bool pressed);

private:
    EditorModel* model_ = nullptr;
    std::array<int32_t, 5> indices_{};
    int count_ = 0;
    bool hovered_ = false;
    bool pressed_ = false;
};

}  // namespace quenvale::editor
