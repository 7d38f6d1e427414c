// Drawing helpers over cairo's toy text API: the fonts come from fontconfig (DejaVu by default).
#include "editor/ui/draw.h"

#include <cmath>
#include <string>

namespace quenvale::ui::draw {

void setColour(cairo_t* cr, const theme::Colour& c) noexcept {
    cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a);
}

void fillRect(cairo_t* cr, const Rect& r, const theme::Colour& c) noexcept {
    setColour(cr, c);
    cairo_rectangle(cr, r.x, r.y, r.w, r.h);
    cairo_fill(cr);
}

void strokeRect(cairo_t* cr, const Rect& r, const theme::Colour& c) noexcept {
    setColour(cr, c);
    cairo_set_line_width(cr, 1.0);
    cairo_rectangle(cr, r.x + 0.5, r.y + 0.5, r.w - 1.0, r.h - 1.0);
    cairo_stroke(cr);
}

void roundedRectPath(cairo_t* cr, const Rect& r, double radius) noexcept {
    const double x = r.x + 0.5, y = r.y + 0.5, w = r.w - 1.0, h = r.h - 1.0;
    const double rad = std::min(radius, std::min(w, h) / 2.0);
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - rad, y + rad, rad, -M_PI / 2, 0);
    cairo_arc(cr, x + w - rad, y + h - rad, rad, 0, M_PI / 2);
    cairo_arc(cr, x + rad, y + h - rad, rad, M_PI / 2, M_PI);
    cairo_arc(cr, x + rad, y + rad, rad, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

void fillRoundedRect(cairo_t* cr, const Rect& r, const theme::Colour& c, double radius) noexcept {
    roundedRectPath(cr, r, radius);
    setColour(cr, c);
    cairo_fill(cr);
}

void face(cairo_t* cr, const Rect& r, bool hovered, bool pressed, bool enabled) noexcept {
    const theme::Colour fill = !enabled ? theme::kPanelBackground
                               : pressed ? theme::kControlPressed
                               : hovered ? theme::kControlHover
                                         : theme::kControlFace;
    roundedRectPath(cr, r, theme::kCornerRadius);
    setColour(cr, fill);
    cairo_fill_preserve(cr);
    setColour(cr, pressed ? theme::kAccent : theme::kControlBorder);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
}

void setFont(cairo_t* cr, double size, bool bold, bool mono) noexcept {
    cairo_select_font_face(cr, mono ? theme::kMonoFamily : theme::kFontFamily, CAIRO_FONT_SLANT_NORMAL,
                           bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);
}

double textWidth(cairo_t* cr, std::string_view text) noexcept {
    const std::string s(text);
    cairo_text_extents_t ext;
    cairo_text_extents(cr, s.c_str(), &ext);
    return ext.x_advance;
}

void text(cairo_t* cr, const Rect& r, std::string_view text, const theme::Colour& c, Align align, double size,
          bool bold) noexcept {
    if (text.empty() || r.empty()) return;
    cairo_save(cr);
    cairo_rectangle(cr, r.x, r.y, r.w, r.h);
    cairo_clip(cr);
    setFont(cr, size, bold);
    const std::string s(text);
    cairo_font_extents_t font;
    cairo_font_extents(cr, &font);
    const double width = textWidth(cr, s);
    double x = r.x + 2.0;
    if (align == Align::Centre) x = r.x + (r.w - width) / 2.0;
    if (align == Align::Right) x = r.right() - 2.0 - width;
    const double y = r.y + (r.h + font.ascent - font.descent) / 2.0;
    cairo_move_to(cr, std::floor(x), std::floor(y));
    setColour(cr, c);
    cairo_show_text(cr, s.c_str());
    cairo_restore(cr);
}

}  // namespace quenvale::ui::draw
