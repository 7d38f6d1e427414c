// The modifier panel (GuiSpectrumMod), shown below the spectrum while the scratchpad is hidden: the
// edited modulator's path and child links (enter with a double-click, ".." back up, "Edit", "Add",
// "/\" and "\/" to reorder, "Rem."), its flags "Shift: Repeat Border" and "Additive", its
// modifier values, and ("Keys") its key-mapping curve.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "editor/panels/editor_context.h"
#include "editor/ui/panel.h"

namespace quenvale {
struct BreakpointCurve;
struct Modulator;
}  // namespace quenvale

namespace quenvale::editor {

class Button;
class CheckBox;
class DragNumber;
class KeyMapEdit;
class GuiSpectrum;
class Label;
class ListBox;

class GuiSpectrumMod : public ui::Panel {
public:
    static constexpr const char* kRemoveQuestion = "Do you really want to delete the selected modulator ?";

    GuiSpectrumMod(EditorContext& context, GuiSpectrum& spectrum, ui::Rect bounds);
    const char* kind() const override { return "modifiers"; }

    // Shows the edited modulator's links, flags and values.
    void sync(Modulator& edited, const std::string& pathText);

    // Commands of the buttons and the list (tests call them too).
    void selectLink(int index);
    void openLink(int index);
    void editLink();
    void addLink();
    void moveLink(int direction);  // −1 up ("/\"), +1 down ("\/")
    void removeLink();             // asks first
    // "Keys": the key-mapping curve in place of the values.
    void showKeyMapping(bool show);

    ListBox& list() noexcept { return *list_; }
    Button& upButton() noexcept { return *up_; }
    Button& downButton() noexcept { return *down_; }
    Button& editButton() noexcept { return *edit_; }
    Button& addButton() noexcept { return *add_; }
    Button& removeButton() noexcept { return *remove_; }
    Button& parentButton() noexcept { return *parent_; }
    CheckBox& repeatBorderBox() noexcept { return *repeatBorder_; }
    CheckBox& additiveBox() noexcept { return *additive_; }
    // The value controls in the order of valueNames().
    DragNumber& value(int i) noexcept { return *values_[i]; }
    static const std::vector<const char*>& valueNames();
    Button& dynamicModeButton() noexcept { return *dynamicMode_; }
    Button& filterModeButton() noexcept { return *filterMode_; }
    KeyMapEdit& keyMap() noexcept { return *keyMap_; }
    Button& keyMapButton() noexcept { return *keyMapButton_; }

private:
    void updateButtons();
    Modulator& edited();
    void changed(bool structural);
    void storeKeyMapping(const BreakpointCurve& curve, bool structural);

    EditorContext& context_;
    GuiSpectrum& spectrum_;
    Label* path_ = nullptr;
    ListBox* list_ = nullptr;
    Button* parent_ = nullptr;
    Button* edit_ = nullptr;
    Button* add_ = nullptr;
    Button* up_ = nullptr;
    Button* down_ = nullptr;
    Button* remove_ = nullptr;
    CheckBox* repeatBorder_ = nullptr;
    CheckBox* additive_ = nullptr;
    Button* dynamicMode_ = nullptr;
    Button* filterMode_ = nullptr;
    std::vector<DragNumber*> values_;
    KeyMapEdit* keyMap_ = nullptr;
    Button* keyMapButton_ = nullptr;
};

}  // namespace quenvale::editor
