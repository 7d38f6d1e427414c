// A one-bar meter of a modulator's output (an envelope, LFO or step sequencer of the monitored voice,
// or a channel LFO): unipolar 0 … 1 from the bottom, or bipolar −1 … 1 from the middle. Repaints
// only when the drawn bar changes.
#pragma once

#include "editor/controls/control.h"

namespace quenvale::editor {

class ModMeter : public Control {
public:
    ModMeter(ui::Rect bounds, bool bipolar) : Control(bounds), bipolar_(bipolar) { setLabel("Output"); }

    void setBipolar(bool bipolar);
    // [editor thread] The output now; non-finite values show as 0.
    void setValue(float value);
    float value() const noexcept { return value_; }
    int barPixels() const noexcept { return pixels_; }
    void paint(cairo_t* cr) override;
    ui::Widget* widgetAt(ui::Point) override { return nullptr; }
    const char* kind() const override { return "meter"; }

private:
    bool bipolar_;
    float value_ = 0.0f;
    int pixels_ = 0;
};

}  // namespace quenvale::editor
