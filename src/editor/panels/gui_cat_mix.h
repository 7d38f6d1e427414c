// GuiCatMix: the "Mix" area of the "Voice" page — "Gain" with its modulation, the compressor switch
// and its "Threshold", "Slope", "Attack" and "Release".
#pragma once

#include "editor/panels/editor_context.h"
#include "editor/ui/panel.h"

namespace quenvale::editor {

class CEditNumber;
class EnumField;
class ModNumber;

class GuiCatMix : public ui::Panel {
public:
    GuiCatMix(EditorContext& context, ui::Rect bounds);

    ModNumber& gain() noexcept { return *gain_; }
    EnumField& compressor() noexcept { return *compressor_; }
    CEditNumber& number(int i) noexcept { return *numbers_[i]; }  // Threshold, Slope, Attack, Release

private:
    ModNumber* gain_ = nullptr;
    EnumField* compressor_ = nullptr;
    CEditNumber* numbers_[4] = {};
};

}  // namespace quenvale::editor
