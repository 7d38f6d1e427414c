// The "Edit Modulator" dialog.
#include "editor/panels/spectrum/mod_edit_dialog.h"

#include "editor/controls/button.h"
#include "editor/controls/check_box.h"
#include "editor/controls/text_field.h"
#include "editor/overlays/popup_menu.h"
#include "editor/ui/draw.h"
#include "editor/ui/root_view.h"
#include "engine/spectrum/spectrum_modes.h"

namespace quenvale::editor {

using namespace ui;

namespace {
constexpr Rect kBox{(theme::kWindowWidth - 320) / 2, 190, 320, 160};
}

ModEditDialog::ModEditDialog(const ModEditFields& fields, std::function<void(const ModEditFields&)> onOk)
    : DialogOverlay(kBox), onOk_(std::move(onOk)) {
    setLabel(kTitle);
    add<Label>(Rect{kBox.x + 16, kBox.y + 36, 70, 20}, "Name");
    name_ = &add<TextField>(Rect{kBox.x + 90, kBox.y + 36, 210, 20}, kMaxNameLength);
    name_->setText(fields.name);
    add<Label>(Rect{kBox.x + 16, kBox.y + 62, 70, 20}, "Mode");
    mode_ = &add<Button>(Rect{kBox.x + 90, kBox.y + 62, 120, 20}, "");
    mode_->setOnClick([this] {
        const Rect r = mode_->windowRect();
        openPopupMenu(
            *root(),
            {MenuItem::command(combineModeName(kCombineMultiply), kCombineMultiply, modeValue_ == 0),
             MenuItem::command(combineModeName(kCombineAdd), kCombineAdd, modeValue_ == 1)},
            {r.x, r.bottom()}, [this](int32_t id) { setMode(id); }, {}, r.w);
    });
    setMode(fields.mode);
    enabled_ = &add<CheckBox>(Rect{kBox.x + 90, kBox.y + 88, 120, 20}, "Enabled");
    enabled_->setChecked(fields.enabled);
    ok_ = &add<Button>(Rect{kBox.right() - 176, kBox.bottom() - 32, 76, theme::kButtonHeight}, "OK", [this] {
        const ModEditFields f = this->fields();
        auto fn = std::move(onOk_);
        close();
        if (fn) fn(f);
    });
    cancel_ = &add<Button>(Rect{kBox.right() - 92, kBox.bottom() - 32, 76, theme::kButtonHeight}, "Cancel",
                           [this] { close(); });
}

void ModEditDialog::setMode(int32_t mode) {
    modeValue_ = mode == kCombineMultiply ? kCombineMultiply : kCombineAdd;
    mode_->setLabel(combineModeName(modeValue_));
}

ModEditFields ModEditDialog::fields() const {
    return {name_->text(), modeValue_, enabled_->checked()};
}



}  // namespace quenvale::editor
