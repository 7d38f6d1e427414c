// WavetableDisplay: one cycle of an LFO's or channel LFO's waveform as its type and phase select it,
// with a mark at the playing position of the monitored voice (or of the channel LFO).
#pragma once

#include <cstdint>

#include "editor/controls/control.h"

namespace quenvale::editor {

class WavetableDisplay : public Control {
public:
    explicit WavetableDisplay(ui::Rect bounds) : Control(bounds) { setLabel("Waveform"); }

    // Bind with {Type} or {Type, Phase}; the phase shifts the drawn cycle.
    void refreshFromModel() override;
    // [editor thread] The playing position in cycles (0 … 1), or a negative number for none.
    void setPosition(double cycles);
    int32_t type() const noexcept { return type_; }
    void paint(cairo_t* cr) override;
    ui::Widget* widgetAt(ui::Point) override { return nullptr; }
    const char* kind() const override { return "wave"; }

private:
    int32_t type_ = 0;
    double phase_ = 0.0;
    double position_ = -1.0;
    int positionPixel_ = -1;
};

}  // namespace quenvale::editor
