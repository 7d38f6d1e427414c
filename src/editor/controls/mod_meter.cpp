// The modulator meter's scaling and drawing.
#include "editor/controls/mod_meter.h"

#include <algorithm>
#include <cmath>

#include "editor/ui/draw.h"

namespace quenvale::editor {

using namespace ui;

void ModMeter::setBipolar(bool bipolar) {
    if (bipolar == bipolar_) return;
    bipolar_ = bipolar;
    pixels_ = -1;
    setValue(value_);
}

void ModMeter::setValue(float value) {
    value_ = std::isfinite(value) ? value : 0.0f;
    const int h = bounds().h - 2;
    const double share = bipolar_ ? std::clamp(value_, -1.0f, 1.0f) / 2.0 : std::clamp(value_, 0.0f, 1.0f);
    const int pixels = static_cast<int>(std::lround(share * h));
    if (pixels == pixels_) return;
    pixels_ = pixels;
    invalidate();
}

void ModMeter::paint(cairo_t* cr) {
    const Rect all = localBounds();
    draw::fillRect(cr, all, theme::kFieldBackground);
    draw::strokeRect(cr, all, theme::kControlBorder);
    const int base = bipolar_ ? all.h / 2 : all.h - 1;
    const int top = base - pixels_;
    draw::fillRect(cr, {2, std::min(base, top), all.w - 4, std::abs(pixels_)}, theme::kMeterLow);
    if (bipolar_) draw::fillRect(cr, {1, base, all.w - 2, 1}, theme::kTextDim);
}

}  // namespace quenvale::editor
