// The channel LFO instance page.
#include "editor/panels/gui_ch_lfo.h"

#include "editor/controls/enum_field.h"
#include "editor/controls/mod_meter.h"
#include "editor/controls/mod_number.h"
#include "editor/controls/wavetable_display.h"
#include "engine/synth_engine.h"
#include "params/parameter_index.h"
#include "params/relaxed_field.h"

namespace quenvale::editor {

using namespace instance_layout;
using ui::Rect;

namespace {
constexpr int32_t kNumberMembers[2] = {2, 7};  // Offset, Out
constexpr const char* kUnits[2] = {"Hz", ""};
}  // namespace

GuiChLfo::GuiChLfo(EditorContext& context, Rect bounds) : InstancePage(context, bounds) {
    const int w = bounds.w - kMeterWidth - kGap;
    type_ = &add<EnumField>(Rect{0, 0, kEnumWidth, kRowHeight});
    sync_ = &add<EnumField>(Rect{kEnumWidth + kGap, 0, kEnumWidth, kRowHeight});
    for (int m = 0; m < 2; ++m) {
        numbers_[m] = &add<ModNumber>(Rect{2 * (kEnumWidth + kGap) + m * (kNumberWidth + kGap), 0, kNumberWidth, kRowHeight});
        numbers_[m]->setUnit(kUnits[m]);
    }
    wave_ = &add<WavetableDisplay>(Rect{0, kRowHeight + kGap, w, bounds.h - kRowHeight - kGap});
    meter_ = &add<ModMeter>(Rect{w + kGap, 0, kMeterWidth, bounds.h}, true);
    bindInstance(0);
}

void GuiChLfo::bindInstance(int lfo) {
    instance_ = lfo;
    const int32_t first = kChLfoGroup.first + kChLfoGroup.entries * lfo;
    type_->bind(context_.model, {first});
    sync_->bind(context_.model, {first + 1});
    for (int m = 0; m < 2; ++m) {
        const int32_t v = first + kNumberMembers[m];
        numbers_[m]->bind(context_.model, {v, v + kSlotSource1, v + kSlotAmount1, v + kSlotSource2, v + kSlotAmount2});
    }
    wave_->bind(context_.model, {first});
}

void GuiChLfo::timerTick() {
    const LfoGroup& group = context_.model.engine().channel().chLfoState;
    meter_->setValue(loadRelaxed(group.output[instance_]));
    wave_->setPosition(loadRelaxed(group.lfoPhase[instance_]) / 128.0);
}

}  // namespace quenvale::editor
