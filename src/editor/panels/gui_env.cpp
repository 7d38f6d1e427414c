// The envelope instance page.
#include "editor/panels/gui_env.h"

#include "editor/controls/mod_meter.h"
#include "editor/controls/mod_number.h"
#include "engine/synth_engine.h"
#include "params/parameter_index.h"
#include "params/relaxed_field.h"

namespace quenvale::editor {

using namespace instance_layout;
using ui::Rect;

GuiEnv::GuiEnv(EditorContext& context, Rect bounds) : InstancePage(context, bounds) {
    const int w = bounds.w - kMeterWidth - kGap;
    out_ = &add<ModNumber>(Rect{0, 0, kNumberWidth, kRowHeight});
    editor_ = &add<EnvelopeControl>(Rect{0, kRowHeight + kGap, w, bounds.h - kRowHeight - kGap});
    editor_->setSink(this);
    meter_ = &add<ModMeter>(Rect{w + kGap, 0, kMeterWidth, bounds.h}, false);
    bindInstance(0);
}

void GuiEnv::bindInstance(int envelope) {
    instance_ = envelope;
    const int32_t out = kEnvGroup.first + kEnvGroup.entries * envelope;
    out_->bind(context_.model, {out, out + kSlotSource1, out + kSlotAmount1, out + kSlotSource2, out + kSlotAmount2});
    editor_->setEnvelope(context_.model, envelope);
}

// The audio thread writes the voice's outputs; the meter reads them without a lock.
void GuiEnv::timerTick() {
    const Voice* voice = context_.model.engine().monitoredVoice();
    meter_->setValue(voice != nullptr ? loadRelaxed(voice->env[instance_].output) : 0.0f);
}

void GuiEnv::envelopeEdited(int) {
    context_.main.programEdited();
}

}  // namespace quenvale::editor
