// The spectrum editor's frame; its contents follow.
#include "editor/panels/spectrum/gui_spectrum.h"

namespace quenvale::editor {

GuiSpectrum::GuiSpectrum(EditorContext& context, ui::Rect bounds) : Frame(bounds, "Spectrum"), context_(context) {}

}  // namespace quenvale::editor
