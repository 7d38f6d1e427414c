// Meter ballistics (instant rise, smooth fall, peak hold) and drawing.
#include "editor/controls/level_meter.h"

#include <algorithm>
#include <cmath>

#include "editor/ui/draw.h"

namespace quenvale::editor {

using namespace ui;

int LevelMeter::toPixels(double level) const noexcept {
    if (!(level > 0.0)) return 0;
    const double db = 20.0 * std::log10(level);
    const double share = std::clamp((db - kFloorDb) / (kCeilingDb - kFloorDb), 0.0, 1.0);
    return static_cast<int>(std::lround(share * (bounds().h - 2)));
}

void LevelMeter::setLevels(float left, float right) {
    const float in[2] = {left, right};
    bool repaint = false;
    for (int c = 0; c < 2; ++c) {
        const double level = std::isfinite(in[c]) ? std::max(0.0f, in[c]) : 0.0;
        // About 20 dB per second of fall at 50 ticks a second.
        shown_[c] = std::max(level, shown_[c] * 0.955);
        if (level >= hold_[c]) {
            hold_[c] = level;
            holdTicks_[c] = kHoldTicks;
        } else if (--holdTicks_[c] <= 0) {
            hold_[c] = shown_[c];
        }
        const int px = toPixels(shown_[c]), hp = toPixels(hold_[c]);
        if (px != pixels_[c] || hp != holdPixels_[c]) repaint = true;
        pixels_[c] = px;
        holdPixels_[c] = hp;
    }
    if (repaint) invalidate();
}

void LevelMeter::paint(cairo_t* cr) {
    const Rect all = localBounds();
    draw::fillRect(cr, all, theme::kFieldBackground);
    const int barWidth = (all.w - 3) / 2;
    const int zeroDb = toPixels(1.0), minus12 = toPixels(std::pow(10.0, -12.0 / 20.0));
    for (int c = 0; c < 2; ++c) {
        const int x = 1 + c * (barWidth + 1);
        const int h = pixels_[c];
        const int bottom = all.h - 1;
        // Green up to −12 dB, yellow to 0 dB, red above.
        draw::fillRect(cr, {x, bottom - std::min(h, minus12), barWidth, std::min(h, minus12)}, theme::kMeterLow);
        if (h > minus12)
            draw::fillRect(cr, {x, bottom - std::min(h, zeroDb), barWidth, std::min(h, zeroDb) - minus12}, theme::kMeterMid);
        if (h > zeroDb) draw::fillRect(cr, {x, bottom - h, barWidth, h - zeroDb}, theme::kMeterHigh);
        if (holdPixels_[c] > 0) draw::fillRect(cr, {x, bottom - holdPixels_[c], barWidth, 1}, theme::kText);
    }
    draw::fillRect(cr, {0, all.h - 1 - zeroDb, all.w, 1}, theme::kTextDim);
}

}  // namespace quenvale::editor
