// "Edit Modulator" (ModEdit): a child link's "Name", "Mode" ("Modulate" or "Add") and "Enabled", with
// OK and Cancel.
#pragma once

#include <functional>
#include <string>

#include "editor/ui/dialog_overlay.h"

namespace quenvale::editor {

class Button;
class CheckBox;
class TextField;

struct ModEditFields {
    std::string name;
    int32_t mode = 1;  // 0 "Modulate", 1 "Add"
    bool enabled = true;
};

class ModEditDialog : public ui::DialogOverlay {
public:
    static constexpr const char* kTitle = "Edit Modulator";
    static constexpr size_t kMaxNameLength = 64;

    ModEditDialog(const ModEditFields& fields, std::function<void(const ModEditFields&)> onOk);

    ModEditFields fields() const;
    void setMode(int32_t mode);
    TextField& nameField() noexcept { return *name_; }
    Button& modeButton() noexcept { return *mode_; }
    CheckBox& enabledBox() noexcept { return *enabled_; }
    Button& okButton() noexcept { return *ok_; }
    Button& cancelButton() noexcept { return *cancel_; }

    const char* kind() const override { return "modedit"; }

private:
    std::function<void(const ModEditFields&)> onOk_;
    int32_t modeValue_ = 1;
    TextField* name_ = nullptr;
    Button* mode_ = nullptr;
    CheckBox* enabled_ = nullptr;
    Button* ok_ = nullptr;
    Button* cancel_ = nullptr;
};

}  // namespace quenvale::editor
