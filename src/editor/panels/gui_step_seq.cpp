// The step sequencer instance page.
#include "editor/panels/gui_step_seq.h"

#include "editor/controls/enum_field.h"
#include "editor/controls/mod_meter.h"
#include "editor/controls/mod_number.h"
#include "engine/synth_engine.h"
#include "params/parameter_index.h"
#include "params/relaxed_field.h"

namespace quenvale::editor {

using namespace instance_layout;
using ui::Rect;

GuiStepSeq::GuiStepSeq(EditorContext& context, Rect bounds) : InstancePage(context, bounds) {
    const int w = bounds.w - kMeterWidth - kGap;
    length_ = &add<EnumField>(Rect{0, 0, kEnumWidth, kRowHeight});
    sync_ = &add<EnumField>(Rect{kEnumWidth + kGap, 0, kEnumWidth, kRowHeight});
    out_ = &add<ModNumber>(Rect{2 * (kEnumWidth + kGap), 0, kNumberWidth, kRowHeight});
    steps_ = &add<StepSeqControl>(Rect{0, kRowHeight + kGap, w, bounds.h - kRowHeight - kGap});
    steps_->setSink(this);
    // A new length redraws the steps at once (the editor's own edits are not echoed by the timer).
    length_->setOnValue([this](int32_t) { steps_->invalidate(); });
    meter_ = &add<ModMeter>(Rect{w + kGap, 0, kMeterWidth, bounds.h}, false);
    bindInstance(0);
}

void GuiStepSeq::bindInstance(int sequencer) {
    instance_ = sequencer;
    const int32_t first = kStepSeqGroup.first + kStepSeqGroup.entries * sequencer;
    sync_->bind(context_.model, {first});
    length_->bind(context_.model, {first + 1});
    const int32_t out = first + 2;
    out_->bind(context_.model, {out, out + kSlotSource1, out + kSlotAmount1, out + kSlotSource2, out + kSlotAmount2});
    steps_->setSequencer(context_.model, sequencer);
}

void GuiStepSeq::timerTick() {
    const Voice* voice = context_.model.engine().monitoredVoice();
    meter_->setValue(voice != nullptr ? loadRelaxed(voice->stepSeq[instance_].output) : 0.0f);
}

void GuiStepSeq::stepsEdited(int) {
    context_.main.programEdited();
}

}  // namespace quenvale::editor
