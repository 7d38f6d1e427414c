// A stereo level meter: two bars from −60 dB to +6 dB with a short peak hold, fed by a timer.
#pragma once

#include "editor/controls/control.h"

namespace quenvale::editor {

class LevelMeter : public Control {
public:
    static constexpr double kFloorDb = -60.0;
    static constexpr double kCeilingDb = 6.0;
    // Ticks a peak mark stays before it falls.
    static constexpr int kHoldTicks = 25;

    explicit LevelMeter(ui::Rect bounds) : Control(bounds) {}
    // [editor thread] New peak levels (linear, ≥ 0); repaints only when the drawn bars change.
    void setLevels(float left, float right);
    void paint(cairo_t* cr) override;
    const char* kind() const override { return "meter"; }

    // The bar heights in pixels as drawn (tests).
    int barPixels(int channel) const noexcept { return pixels_[channel]; }

private:
    int toPixels(double level) const noexcept;

    double shown_[2] = {0, 0};  // decaying display level
    double hold_[2] = {0, 0};
    int holdTicks_[2] = {0, 0};
    int pixels_[2] = {0, 0};
    int holdPixels_[2] = {0, 0};
};

}  // namespace quenvale::editor
