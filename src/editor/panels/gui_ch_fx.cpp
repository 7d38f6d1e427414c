// The channel effect slot page and the per-type meaning of its four parameters.
#include "editor/panels/gui_ch_fx.h"

#include "editor/controls/enum_field.h"
#include "editor/controls/mod_number.h"
#include "params/parameter_index.h"

namespace quenvale::editor {

using namespace instance_layout;
using ui::Rect;

namespace {

constexpr ChFxParamInfo kNotUsed{"Not used", 0.0f, 1.0f, ""};
// Rows: None, Delay, Comb.
constexpr ChFxParamInfo kParamTable[3][4] = {
    {kNotUsed, kNotUsed, kNotUsed, kNotUsed},
    {{"Left Time", 0.0f, 1.0f, "s"}, {"Left Feedback", 0.0f, 1.0f, ""}, {"Right Time", 0.0f, 1.0f, "s"},
     {"Right Feedback", 0.0f, 1.0f, ""}},
    {{"1st Notch Freq", 10.0f, 5000.0f, "Hz"}, {"Feedback", 0.0f, 1.0f, ""}, kNotUsed, kNotUsed},
};
constexpr int32_t kParamMembers[4] = {1, 6, 11, 16};
constexpr int32_t kDryWetMember = 21;

}  // namespace

const ChFxParamInfo& chFxParamInfo(int32_t type, int param) noexcept {
    const int row = type >= 0 && type < 3 ? type : 0;
    return kParamTable[row][param >= 0 && param < 4 ? param : 0];
}

GuiChFx::GuiChFx(EditorContext& context, Rect bounds, int slot) : InstancePage(context, bounds) {
    const int half = (bounds.w - kGap) / 2;
    type_ = &add<EnumField>(Rect{0, 0, half, kRowHeight});
    for (int i = 0; i < 4; ++i) {
        const int row = 1 + i / 2, column = i % 2;
        params_[i] = &add<ModNumber>(Rect{column * (half + kGap), row * (kRowHeight + kGap), half, kRowHeight});
    }
    dryWet_ = &add<ModNumber>(Rect{0, 3 * (kRowHeight + kGap), half, kRowHeight});
    // The labels follow the type, whether the user or the host changed it.
    type_->setOnValue([this](int32_t type) { applyType(type); });
    bindInstance(slot);
}

void GuiChFx::applyType(int32_t type) {
    for (int i = 0; i < 4; ++i) {
        const ChFxParamInfo& info = chFxParamInfo(type, i);
        params_[i]->setFixedLabel(info.label);
        params_[i]->setRange(info.minimum, info.maximum);
        params_[i]->setUnit(info.unit);
    }
}

void GuiChFx::bindInstance(int slot) {
    instance_ = slot;
    const int32_t first = kChFxGroup.first + kChFxGroup.entries * slot;
    auto bindNumber = [&](ModNumber& n, int32_t v) {
        n.bind(context_.model, {v, v + kSlotSource1, v + kSlotAmount1, v + kSlotSource2, v + kSlotAmount2});
    };
    for (int i = 0; i < 4; ++i) bindNumber(*params_[i], first + kParamMembers[i]);
    bindNumber(*dryWet_, first + kDryWetMember);
    type_->bind(context_.model, {first});  // last: applies the type's labels to the bound controls
}

}  // namespace quenvale::editor
