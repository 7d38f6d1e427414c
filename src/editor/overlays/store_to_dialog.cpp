// The "Store To..." dialog.
#include "editor/overlays/store_to_dialog.h"

#include <cstdio>

#include "editor/controls/button.h"
#include "editor/overlays/popup_menu.h"
#include "editor/ui/draw.h"
#include "editor/ui/root_view.h"

namespace quenvale::editor {

using namespace ui;

namespace {
constexpr Rect kBox{(theme::kWindowWidth - 320) / 2, 200, 320, 120};

std::string entry(int index, const std::string& name) {
    char text[40];
    std::snprintf(text, sizeof text, "%03d: %s", index + 1, name.c_str());
    return text;
}
}  // namespace

StoreToDialog::StoreToDialog(std::vector<std::string> programNames, std::function<void(int)> onOk)
    : DialogOverlay(kBox), names_(std::move(programNames)), onOk_(std::move(onOk)) {
    setLabel("Store To...");
    list_ = &add<Button>(Rect{kBox.x + 16, kBox.y + 40, kBox.w - 32, theme::kButtonHeight}, "", [this] { openList(); });
    ok_ = &add<Button>(Rect{kBox.right() - 176, kBox.bottom() - 32, 76, theme::kButtonHeight}, "OK", [this] {
        std::function<void(int)> fn = std::move(onOk_);
        const int chosen = chosen_;
        close();
        if (fn) fn(chosen);
    });
    cancel_ = &add<Button>(Rect{kBox.right() - 92, kBox.bottom() - 32, 76, theme::kButtonHeight}, "Cancel",
                           [this] { close(); });
}

void StoreToDialog::choose(int program) {
    if (program < 0 || program >= static_cast<int>(names_.size())) return;
    chosen_ = program;
    list_->setLabel(entry(program, names_[program]));
}

void StoreToDialog::openList() {
    std::vector<MenuItem> items;
    for (size_t i = 0; i < names_.size(); ++i)
        items.push_back(MenuItem::command(entry(static_cast<int>(i), names_[i]), static_cast<int32_t>(i),
                                          static_cast<int>(i) == chosen_));
    const Rect at = list_->windowRect();
    openPopupMenu(*root(), std::move(items), {at.x, at.bottom()}, [this](int32_t id) { choose(id); }, {}, at.w);
}



}  // namespace quenvale::editor
