// Drawing helpers shared by every control: colours, boxes and text in the theme's fonts.
#pragma once

#include <cairo.h>

#include <string_view>

#include "editor/ui/geometry.h"
#include "editor/ui/theme.h"

namespace quenvale::ui::draw {

enum class Align { Left, Centre, Right };

void setColour(cairo_t* cr, const theme::Colour& c) noexcept;
void fillRect(cairo_t* cr, const Rect& r, const theme::Colour& c) noexcept;
// A one-pixel outline inside r.
void strokeRect(cairo_t* cr, const Rect& r, const theme::Colour& c) noexcept;
void roundedRectPath(cairo_t* cr, const Rect& r, double radius) noexcept;
void fillRoundedRect(cairo_t* cr, const Rect& r, const theme::Colour& c, double radius = theme::kCornerRadius) noexcept;
// A framed face with the state colours of a button-like control.
void face(cairo_t* cr, const Rect& r, bool hovered, bool pressed, bool enabled) noexcept;

void setFont(cairo_t* cr, double size = theme::kFontSize, bool bold = false, bool mono = false) noexcept;
// Width of text in the current font.
double textWidth(cairo_t* cr, std::string_view text) noexcept;
// Draws text vertically centred in r with the given alignment; text that does not fit is clipped at r.
void text(cairo_t* cr, const Rect& r, std::string_view text, const theme::Colour& c, Align align = Align::Left,
          double size = theme::kFontSize, bool bold = false) noexcept;

}  // namespace quenvale::ui::draw
