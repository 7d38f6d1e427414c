// The voice LFO instance page.
#include "editor/panels/gui_lfo.h"

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
// Member offsets of Ratio, Offset, Phase and Out, and their units.
constexpr int32_t kNumberMembers[4] = {2, 7, 12, 17};
constexpr const char* kUnits[4] = {"x key", "Hz", "cyc", ""};
}  // namespace

GuiLfo::GuiLfo(EditorContext& context, Rect bounds) : InstancePage(context, bounds) {
    const int w = bounds.w - kMeterWidth - kGap;
    type_ = &add<EnumField>(Rect{0, 0, kEnumWidth, kRowHeight});
    sync_ = &add<EnumField>(Rect{kEnumWidth + kGap, 0, kEnumWidth, kRowHeight});
    const int left = 2 * (kEnumWidth + kGap);
    const int numberWidth = (w - left - 3 * kGap) / 4;
    for (int m = 0; m < 4; ++m) {
        numbers_[m] = &add<ModNumber>(Rect{left + m * (numberWidth + kGap), 0, numberWidth, kRowHeight});
        numbers_[m]->setUnit(kUnits[m]);
    }
    wave_ = &add<WavetableDisplay>(Rect{0, kRowHeight + kGap, w, bounds.h - kRowHeight - kGap});
    meter_ = &add<ModMeter>(Rect{w + kGap, 0, kMeterWidth, bounds.h}, true);
    bindInstance(0);
}

void GuiLfo::bindInstance(int lfo) {
    instance_ = lfo;
    const int32_t first = kLfoGroup.first + kLfoGroup.entries * lfo;
    type_->bind(context_.model, {first});
    sync_->bind(context_.model, {first + 1});
    for (int m = 0; m < 4; ++m) {
        const int32_t v = first + kNumberMembers[m];
        numbers_[m]->bind(context_.model, {v, v + kSlotSource1, v + kSlotAmount1, v + kSlotSource2, v + kSlotAmount2});
    }
    // The waveform follows the type and the phase.
    wave_->bind(context_.model, {first, first + kNumberMembers[2]});
}

void GuiLfo::timerTick() {
    const Voice* voice = context_.model.engine().monitoredVoice();
    if (voice == nullptr) {
        meter_->setValue(0.0f);
        wave_->setPosition(-1.0);
        return;
    }
    const LfoGroup& group = voice->lfo[instance_ / kLfoGroupSize];
    const int lane = instance_ % kLfoGroupSize;
    meter_->setValue(loadRelaxed(group.output[lane]));
    wave_->setPosition(loadRelaxed(group.lfoPhase[lane]) / 128.0);
}

}  // namespace quenvale::editor
