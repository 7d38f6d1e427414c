// The "Voice" page's frames.
#include "editor/panels/gui_gen.h"

#include "editor/panels/layout.h"
#include "editor/panels/spectrum/gui_spectrum.h"

namespace quenvale::editor {

GuiGen::GuiGen(EditorContext& context, ui::Rect bounds) : Page(context, bounds, "Voice") {
    generator_ = &add<ui::Frame>(layout::kGeneratorFrame, "Generator");
    mix_ = &add<ui::Frame>(layout::kMixFrame, "Mix");
    spectrum_ = &add<GuiSpectrum>(context, layout::kSpectrumFrame);
}

void GuiGen::timerTick() {
    spectrum_->timerTick();
}

}  // namespace quenvale::editor
