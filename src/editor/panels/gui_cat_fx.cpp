// The "Effects" page's frames and its two effect slot pages.
#include "editor/panels/gui_cat_fx.h"

#include "editor/panels/gui_ch_fx.h"
#include "editor/panels/layout.h"

namespace quenvale::editor {

GuiCatFx::GuiCatFx(EditorContext& context, ui::Rect bounds) : Page(context, bounds, "Effects") {
    slots_[0] = &add<ui::Frame>(layout::kChFx1Frame, "Channel FX 1");
    slots_[1] = &add<ui::Frame>(layout::kChFx2Frame, "Channel FX 2");
    add<ui::Frame>(layout::kFilterFrame, "Filter goes here !");
    for (int i = 0; i < 2; ++i) pages_[i] = &slots_[i]->add<GuiChFx>(context, slots_[i]->contentRect(), i);
}

}  // namespace quenvale::editor
