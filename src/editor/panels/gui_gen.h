// The "Voice" page: generator controls, the Mix area and the spectrum editor's frame.
#pragma once

#include "editor/panels/page.h"

namespace quenvale::editor {

class EnumField;
class GuiCatMix;
class GuiSpectrum;
class ModNumber;

class GuiGen : public Page {
public:
    GuiGen(EditorContext& context, ui::Rect bounds);
    void timerTick() override;
    GuiSpectrum& spectrum() noexcept { return *spectrum_; }
    GuiCatMix& mix() noexcept { return *mixArea_; }

private:
    ui::Frame* generator_ = nullptr;
    ui::Frame* mix_ = nullptr;
    GuiCatMix* mixArea_ = nullptr;
    GuiSpectrum* spectrum_ = nullptr;
};

}  // namespace quenvale::editor
