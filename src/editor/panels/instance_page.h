// An instance page of the "Modulators" or "Effects" page (GuiEnv, GuiStepSeq, GuiLfo, GuiChLfo,
// GuiChFx): one panel per family whose controls are bound anew to the parameters of the instance
// chosen by the instance buttons (or of the effect slot).
#pragma once

#include "editor/panels/editor_context.h"
#include "editor/ui/panel.h"

namespace quenvale::editor {

class InstancePage : public ui::Panel {
public:
    InstancePage(EditorContext& context, ui::Rect bounds) : Panel(bounds), context_(context) {}

    // Binds every control to instance (0-based) of the family.
    virtual void bindInstance(int instance) = 0;
    int instance() const noexcept { return instance_; }
    // The 20 ms timer while shown (meters, playing positions).
    virtual void timerTick() {}

protected:
    EditorContext& context_;
    int instance_ = 0;
};

// Layout inside an instance page (page-local): one row of controls on top, the meter on the right.
namespace instance_layout {
inline constexpr int kRowHeight = 34;  // label and field
inline constexpr int kGap = 8;
inline constexpr int kMeterWidth = 16;
inline constexpr int kEnumWidth = 96;
inline constexpr int kNumberWidth = 150;
}  // namespace instance_layout

}  // namespace quenvale::editor
