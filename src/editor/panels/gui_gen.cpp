// The "Voice" page: the generator's modulated numbers, "PWM Mode", "Glide", the Mix area, and the
// spectrum editor's frame.
#include "editor/panels/gui_gen.h"

#include "editor/controls/enum_field.h"
#include "editor/controls/mod_number.h"
#include "editor/panels/gui_cat_mix.h"
#include "editor/panels/instance_page.h"
#include "editor/panels/layout.h"
#include "editor/panels/spectrum/gui_spectrum.h"
#include "params/parameter_index.h"

namespace quenvale::editor {

namespace {

// The generator frame's two rows, four controls each. index −1 is "Glide" (no modulation slots).
struct GenControl {
    const char* label;
    int32_t member;  // offset from Gen1's first index; −1 for "Glide"
    bool isEnum;
    const char* unit;
};
constexpr GenControl kControls[8] = {
    {"Ratio", 0, false, "x"},       {"Offset", 5, false, "Hz"},     {"Out", 10, false, ""},
    {"Phase", 15, false, "cyc"},    {"PWM Mode", 20, true, ""},     {"PWM Width", 21, false, ""},
    {"PWM Feedback", 26, false, ""}, {"Glide", -1, false, "s"},
};

}  // namespace

GuiGen::GuiGen(EditorContext& context, ui::Rect bounds) : Page(context, bounds, "Voice") {
    generator_ = &add<ui::Frame>(layout::kGeneratorFrame, "Generator");
    mix_ = &add<ui::Frame>(layout::kMixFrame, "Mix");
    spectrum_ = &add<GuiSpectrum>(context, layout::kSpectrumFrame);

    const ui::Rect content = generator_->contentRect();
    const int gap = ui::theme::kGrid;
    const int w = (content.w - 3 * gap) / 4;
    for (int i = 0; i < 8; ++i) {
        const GenControl& c = kControls[i];
        const ui::Rect r{content.x + (i % 4) * (w + gap), content.y + (i / 4) * instance_layout::kRowHeight, w,
                         instance_layout::kRowHeight};
        if (c.isEnum) {
            auto& field = generator_->add<EnumField>(r);
            field.setFixedLabel(c.label);
            field.bind(context.model, {kGenGroup.first + c.member});
            continue;
        }
        if (c.member < 0) {
            auto& glide = generator_->add<ModNumber>(r, false);
            glide.setFixedLabel(c.label);
            glide.setUnit(c.unit);
            glide.bind(context.model, {kParamGlide});
            continue;
        }
        auto& number = generator_->add<ModNumber>(r);
        number.setFixedLabel(c.label);
        number.setUnit(c.unit);
        const int32_t v = kGenGroup.first + c.member;
        number.bind(context.model, {v, v + kSlotSource1, v + kSlotAmount1, v + kSlotSource2, v + kSlotAmount2});
    }
    mixArea_ = &mix_->add<GuiCatMix>(context, mix_->contentRect());
}

void GuiGen::timerTick() {
    spectrum_->timerTick();
}

}  // namespace quenvale::editor
