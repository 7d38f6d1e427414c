// GuiStepSeq: one step sequencer — "Length", "Sync", "Out", the step editor and a meter.
#pragma once

#include "editor/controls/step_seq_control.h"
#include "editor/panels/instance_page.h"

namespace quenvale::editor {

class EnumField;
class ModMeter;
class ModNumber;

class GuiStepSeq : public InstancePage, public StepSeqControlSink {
public:
    GuiStepSeq(EditorContext& context, ui::Rect bounds);
    void bindInstance(int sequencer) override;
    void timerTick() override;
    void stepsEdited(int sequencer) override;

    StepSeqControl& steps() noexcept { return *steps_; }
    EnumField& length() noexcept { return *length_; }
    ModNumber& out() noexcept { return *out_; }

private:
    EnumField* length_ = nullptr;
    EnumField* sync_ = nullptr;
    ModNumber* out_ = nullptr;
    StepSeqControl* steps_ = nullptr;
    ModMeter* meter_ = nullptr;
};

}  // namespace quenvale::editor
