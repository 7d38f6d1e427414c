// GuiChFx: one channel effect slot — "Type", the four parameters and "Dry/Wet". The parameters'
// labels and ranges follow the slot's type as the per-type table below names them.
#pragma once

#include "editor/panels/instance_page.h"

namespace quenvale::editor {

class EnumField;
class ModNumber;

// What the four generic parameters mean for an effect type (a type outside the list reads as "None").
struct ChFxParamInfo {
    const char* label;
    float minimum;
    float maximum;
    const char* unit;
};
const ChFxParamInfo& chFxParamInfo(int32_t type, int param) noexcept;

class GuiChFx : public InstancePage {
public:
    GuiChFx(EditorContext& context, ui::Rect bounds, int slot);
    void bindInstance(int slot) override;

    EnumField& type() noexcept { return *type_; }
    ModNumber& param(int i) noexcept { return *params_[i]; }
    ModNumber& dryWet() noexcept { return *dryWet_; }

private:
    void applyType(int32_t type);

    EnumField* type_ = nullptr;
    ModNumber* params_[4] = {};
    ModNumber* dryWet_ = nullptr;
};

}  // namespace quenvale::editor
