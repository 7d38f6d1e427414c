// The spectrum editor on the "Voice" page (partial graph, breakpoint strip, modifier panel, scratchpad).
#pragma once

#include "editor/panels/editor_context.h"
#include "editor/ui/panel.h"

namespace quenvale::editor {

class GuiSpectrum : public ui::Frame {
public:
    GuiSpectrum(EditorContext& context, ui::Rect bounds);
    const char* kind() const override { return "spectrum"; }
    // The 20 ms timer while the "Voice" page is visible.
    void timerTick() {}

private:
    [[maybe_unused]] EditorContext& context_;
};

}  // namespace quenvale::editor
