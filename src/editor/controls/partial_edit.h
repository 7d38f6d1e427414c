// PartialEdit: the partial bar graph. Shows a curve (and, as a second curve, the scratchpad's
// preview), draws with the left button and clears with the right, on the partials the selection mask
// selects, and reports every change to its sinks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "editor/controls/control.h"
#include "engine/curve/partial_curve.h"

namespace quenvale::editor {

class PartialEdit;

class PartialEditSink {
public:
    virtual ~PartialEditSink() = default;
    // A gesture set partial (0-based) of the control's curve to value.
    virtual void partialChanged(PartialEdit& edit, int32_t partial, float value) = 0;
};

class PartialEdit : public Control {
public:
    enum class Mode : uint8_t { Idle, Draw, Clear };

    PartialEdit(ui::Rect bounds, std::string label);

    // Shows a copy of values (repaints only when something differs). The partial count follows it.
    void setCurve(const PartialCurve& values);
    const PartialCurve& curve() const noexcept { return curve_; }
    // The second curve (empty: none).
    void setPreview(const PartialCurve& preview);
    void clearPreview();
    const PartialCurve& preview() const noexcept { return preview_; }
    // The selection mask (a partial past its end is unselected).
    void setMask(std::vector<bool> mask);
    // PartialDisplayFlags: bipolar, logarithmic.
    void setFlags(uint32_t flags);
    uint32_t flags() const noexcept { return flags_; }
    void addSink(PartialEditSink* sink) { sinks_.push_back(sink); }
    Mode mode() const noexcept { return mode_; }

    // The partial whose column holds local x, or −1 (left of the graph or past the last column).
    int32_t partialAt(int x) const noexcept;
    // The local x range [left, right) of a partial's column.
    int columnLeft(int32_t partial) const noexcept;
    // The local y of the bar's end for v, and the value drawn at local y.
    double valueToY(float v) const noexcept;
    float yToValue(int y) const noexcept;

    bool mouseDown(const ui::MouseEvent& e) override;
    void mouseDrag(const ui::MouseEvent& e) override;
    void mouseUp(const ui::MouseEvent& e) override;
    void paint(cairo_t* cr) override;
    const char* kind() const override { return "partialedit"; }

private:
    void gesture(ui::Point pos);
    bool selected(int32_t partial) const noexcept;

    PartialCurve curve_;
    PartialCurve preview_;
    std::vector<bool> mask_;
    uint32_t flags_ = 0;
    Mode mode_ = Mode::Idle;
    std::vector<PartialEditSink*> sinks_;
};

}  // namespace quenvale::editor
