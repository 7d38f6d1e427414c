// Common page construction.
#include "editor/panels/page.h"

namespace quenvale::editor {

Page::Page(EditorContext& context, ui::Rect bounds, std::string name)
    : FilledPanel(bounds, ui::theme::kPanelBackground), context_(context) {
    setLabel(std::move(name));
}

}  // namespace quenvale::editor
