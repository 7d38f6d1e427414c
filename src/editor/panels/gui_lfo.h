// GuiLfo: one voice LFO — "Type", "Sync", "Ratio", "Offset", "Phase", "Out", the waveform and a meter.
#pragma once

#include "editor/panels/instance_page.h"

namespace quenvale::editor {

class EnumField;
class ModMeter;
class ModNumber;
class WavetableDisplay;

class GuiLfo : public InstancePage {
public:
    GuiLfo(EditorContext& context, ui::Rect bounds);
    void bindInstance(int lfo) override;
    void timerTick() override;

    ModNumber& number(int member) noexcept { return *numbers_[member]; }  // Ratio, Offset, Phase, Out

private:
    EnumField* type_ = nullptr;
    EnumField* sync_ = nullptr;
    ModNumber* numbers_[4] = {};
    WavetableDisplay* wave_ = nullptr;
    ModMeter* meter_ = nullptr;
};

}  // namespace quenvale::editor
