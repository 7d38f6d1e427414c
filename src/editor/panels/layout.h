// The window's layout in grid units: where the main panel's bands and each page's frames lie. Panels
// read their rectangles from here, so the whole window can be read as one picture.
#pragma once

#include "editor/ui/geometry.h"
#include "editor/ui/theme.h"

namespace quenvale::editor::layout {

using ui::Rect;
using ui::theme::grid;

// ---- main panel (window coordinates) ------------------------------------------------------------
inline constexpr Rect kPageFrame{0, ui::theme::kPageTop, ui::theme::kWindowWidth, ui::theme::kPageHeight};

// ---- "Voice" page (page coordinates) ----------------------------------------------------------
inline constexpr Rect kGeneratorFrame{grid(1), grid(1), grid(110), grid(22)};
inline constexpr Rect kMixFrame{grid(112), grid(1), grid(80), grid(22)};
// The spectrum editor's frame (GuiSpectrum): everything below the generator row.
inline constexpr Rect kSpectrumFrame{grid(1), grid(24), grid(191), ui::theme::kPageHeight - grid(25)};

// ---- "Modulators" page ------------------------------------------------------------------------------
inline constexpr Rect kEnvelopesFrame{grid(1), grid(1), grid(45), grid(11)};
inline constexpr Rect kStepSeqFrame{grid(47), grid(1), grid(31), grid(11)};
inline constexpr Rect kLfosFrame{grid(79), grid(1), grid(59), grid(11)};
inline constexpr Rect kChLfosFrame{grid(139), grid(1), grid(53), grid(11)};
// Where the chosen instance page is shown.
inline constexpr Rect kInstanceArea{grid(1), grid(13), grid(191), ui::theme::kPageHeight - grid(14)};
inline constexpr int kInstanceButtonSize = grid(6);

// ---- "Effects" page ---------------------------------------------------------------------------------
inline constexpr Rect kChFx1Frame{grid(1), grid(1), grid(95), grid(50)};
inline constexpr Rect kChFx2Frame{grid(97), grid(1), grid(95), grid(50)};
inline constexpr Rect kFilterFrame{grid(1), grid(52), grid(191), ui::theme::kPageHeight - grid(53)};

}  // namespace quenvale::editor::layout
