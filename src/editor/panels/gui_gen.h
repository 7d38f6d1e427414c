// The "Voice" page: generator controls, the Mix area and the spectrum editor's frame.
#pragma once

#include "editor/panels/page.h"

namespace quenvale::editor {

class GuiSpectrum;

class GuiGen : public Page {
public:
    GuiGen(EditorContext& context, ui::Rect bounds);
    void timerTick() override;
    GuiSpectrum& spectrum() noexcept { return *spectrum_; }

private:
    ui::Frame* generator_ = nullptr;
    ui::Frame* mix_ = nullptr;
    GuiSpectrum* spectrum_ = nullptr;
};

}  // namespace quenvale::editor
