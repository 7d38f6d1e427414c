// The "Effects" page: the two channel effect slots and the empty filter frame.
#pragma once

#include "editor/panels/page.h"

namespace quenvale::editor {

class GuiChFx;

class GuiCatFx : public Page {
public:
    GuiCatFx(EditorContext& context, ui::Rect bounds);
    GuiChFx& slot(int i) noexcept { return *pages_[i]; }

private:
    ui::Frame* slots_[2] = {};
    GuiChFx* pages_[2] = {};
};

}  // namespace quenvale::editor
