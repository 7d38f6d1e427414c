// Drawing of one LFO cycle from the engine's wave tables.
#include "editor/controls/wavetable_display.h"

#include <cmath>

#include "editor/ui/draw.h"
#include "engine/lfo/lfo_waves.h"

namespace quenvale::editor {

using namespace ui;

void WavetableDisplay::refreshFromModel() {
    if (!bound()) return;
    type_ = model()->integer(parameter(0));
    phase_ = parameters().size() > 1 ? model()->number(parameter(1)) : 0.0;
    invalidate();
}

void WavetableDisplay::setPosition(double cycles) {
    position_ = cycles;
    const int pixel = cycles < 0.0 ? -1 : static_cast<int>((cycles - std::floor(cycles)) * (bounds().w - 8));
    if (pixel == positionPixel_) return;
    positionPixel_ = pixel;
    invalidate();
}

void WavetableDisplay::paint(cairo_t* cr) {
    const Rect all = localBounds();
    draw::fillRect(cr, all, theme::kFieldBackground);
    const Rect p = all.inset(4);
    const double mid = p.y + p.h / 2.0;
    draw::setColour(cr, theme::kFrameBorder);
    cairo_set_line_width(cr, 1.0);
    cairo_move_to(cr, p.x, std::floor(mid) + 0.5);
    cairo_line_to(cr, p.right(), std::floor(mid) + 0.5);
    cairo_stroke(cr);
    draw::setColour(cr, theme::kAccent);
    cairo_set_line_width(cr, 1.5);
    if (type_ < kLfoSine || type_ >= kLfoTypeCount) {
        cairo_move_to(cr, p.x, mid);
        cairo_line_to(cr, p.right(), mid);
        cairo_stroke(cr);
        draw::text(cr, p, "Off", theme::kTextDim, draw::Align::Centre, theme::kSmallFontSize);
    } else {
        const TableEntry* table = lfoWaveTable(type_);
        for (int x = 0; x <= p.w; ++x) {
            double pos = (static_cast<double>(x) / p.w + phase_) * 128.0;
            pos -= 128.0 * std::floor(pos / 128.0);
            const int n = static_cast<int>(pos) & 127;
            const double v = table[n].value + (pos - std::floor(pos)) * table[n].slope;
            const double y = mid - v * (p.h / 2.0 - 1);
            if (x == 0)
                cairo_move_to(cr, p.x + x, y);
            else
                cairo_line_to(cr, p.x + x, y);
        }
        cairo_stroke(cr);
    }
    if (positionPixel_ >= 0) {
        draw::setColour(cr, theme::kFocus);
        cairo_rectangle(cr, p.x + positionPixel_, p.y, 1, p.h);
        cairo_fill(cr);
    }
}

}  // namespace quenvale::editor
