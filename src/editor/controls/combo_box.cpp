// The combo box's drop-down through a popup menu.
#include "editor/controls/combo_box.h"

#include "editor/overlays/popup_menu.h"
#include "editor/ui/root_view.h"

namespace quenvale::editor {

using namespace ui;

ComboBox::ComboBox(Rect bounds, size_t maxLength) : Panel(bounds) {
    const int arrow = bounds.h;
    field_ = &add<TextField>(Rect{0, 0, bounds.w - arrow, bounds.h}, maxLength);
    drop_ = &add<Button>(Rect{bounds.w - arrow, 0, arrow, bounds.h}, "\u25BE", [this] { dropDown(); });
}

void ComboBox::dropDown() {
    RootView* r = root();
    if (r == nullptr || !items_) return;
    const std::vector<std::string> names = items_();
    const int current = selected_ ? selected_() : -1;
    std::vector<MenuItem> items;
    items.reserve(names.size());
    for (size_t i = 0; i < names.size(); ++i)
        items.push_back(MenuItem::command(names[i], static_cast<int32_t>(i), static_cast<int>(i) == current));
    const Rect at = windowRect();
    openPopupMenu(*r, std::move(items), {at.x, at.bottom()}, [this](int32_t id) {
        if (onSelect_) onSelect_(id);
    }, {}, at.w);
}

}  // namespace quenvale::editor
