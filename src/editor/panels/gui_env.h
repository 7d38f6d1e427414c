// GuiEnv: one envelope — its breakpoint editor, "Out" and a meter of its output in the monitored voice.
#pragma once

#include "editor/controls/envelope_control.h"
#include "editor/panels/instance_page.h"

namespace quenvale::editor {

class ModMeter;
class ModNumber;

class GuiEnv : public InstancePage, public EnvelopeControlSink {
public:
    GuiEnv(EditorContext& context, ui::Rect bounds);
    void bindInstance(int envelope) override;
    void timerTick() override;
    void envelopeEdited(int envelope) override;

    EnvelopeControl& editor() noexcept { return *editor_; }
    ModNumber& out() noexcept { return *out_; }
    ModMeter& meter() noexcept { return *meter_; }

private:
    EnvelopeControl* editor_ = nullptr;
    ModNumber* out_ = nullptr;
    ModMeter* meter_ = nullptr;
};

}  // namespace quenvale::editor
