// The "Mix" area's controls and their bindings.
#include "editor/panels/gui_cat_mix.h"

#include "editor/controls/edit_number.h"
#include "editor/controls/enum_field.h"
#include "editor/controls/mod_number.h"
#include "editor/panels/instance_page.h"
#include "params/parameter_index.h"

namespace quenvale::editor {

using namespace instance_layout;
using ui::Rect;

namespace {

struct CompressorNumber {
    const char* label;
    int32_t index;
    int decimals;
    const char* unit;
};
constexpr CompressorNumber kNumbers[4] = {
    {"Threshold", kParamCompressorThresh, 3, ""},
    {"Slope", kParamCompressorSlope, 3, ""},
    {"Attack", kParamCompressorAttack, 2, "ms"},
    {"Release", kParamCompressorRelease, 0, "ms"},
};

}  // namespace

GuiCatMix::GuiCatMix(EditorContext& context, Rect bounds) : Panel(bounds) {
    const int half = (bounds.w - kGap) / 2;
    gain_ = &add<ModNumber>(Rect{0, 0, half, kRowHeight});
    gain_->setFixedLabel("Gain");
    gain_->bind(context.model, {kParamGain, kParamGain + kSlotSource1, kParamGain + kSlotAmount1,
                                kParamGain + kSlotSource2, kParamGain + kSlotAmount2});
    compressor_ = &add<EnumField>(Rect{half + kGap, 0, bounds.w - half - kGap, kRowHeight});
    compressor_->setFixedLabel("Enable Compressor");
    compressor_->bind(context.model, {kParamCompressorMode});
    const int quarter = (bounds.w - 3 * 4) / 4;
    for (int i = 0; i < 4; ++i) {
        numbers_[i] = &add<CEditNumber>(Rect{i * (quarter + 4), kRowHeight, quarter, kRowHeight}, kNumbers[i].decimals);
        numbers_[i]->setFixedLabel(kNumbers[i].label);
        numbers_[i]->setUnit(kNumbers[i].unit);
        numbers_[i]->bind(context.model, {kNumbers[i].index});
    }
}

}  // namespace quenvale::editor
