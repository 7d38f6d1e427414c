// EnvelopeControl: the breakpoint curve of one envelope (up to 32 segments) as points joined by its
// shaped segments, with the loop markers.
//
// Gestures (the hint line at the bottom names them):
// - drag a point: sideways changes the length of the segment that ends there (later points move
//   along), up and down its value (0 … 1); the first point moves only up and down;
// - drag a segment between points: bends it (up bulges the curve upwards);
// - double-click on empty space adds a point there (splitting the segment under it, or appending
//   after the last point); double-click on a point removes it (its two segments merge);
// - right-click on a point: "Remove Point", "Loop Start Here", "Loop End Here", "Sustain Here",
//   "No Loop"; right-click on a segment: its shape ("Straight", "Slow Start", …).
// Curve edits write the channel's curve directly in an order that keeps every index the audio thread
// may read inside the curve, and are reported to the sink.
#pragma once

#include <cstdint>

#include "editor/controls/control.h"

namespace quenvale {
struct BreakpointCurve;
}

namespace quenvale::editor {

class EnvelopeControlSink {
public:
    virtual ~EnvelopeControlSink() = default;
    virtual void envelopeEdited(int envelope) = 0;
};

class EnvelopeControl : public Control {
public:
    static constexpr int kPointRadius = 6;  // pick distance of a point
    static constexpr double kShapePerPixel = 0.005;
    enum MenuCommand : int32_t {
        kRemovePoint = 1,
        kLoopStartHere,
        kLoopEndHere,
        kSustainHere,
        kNoLoop,
        kShapeFirst = 10,  // + index into the shape presets
    };
    static constexpr int kShapePresetCount = 5;

    explicit EnvelopeControl(ui::Rect bounds);

    // Shows and edits envelope (0 … 5); bound to its "Out" so that program changes redraw it.
    void setEnvelope(EditorModel& model, int envelope);
    void setSink(EnvelopeControlSink* sink) noexcept { sink_ = sink; }
    int envelope() const noexcept { return envelope_; }

    // Geometry, in local coordinates, with the current time span.
    ui::Point pointPosition(int point) const noexcept;
    int pointAt(ui::Point local) const noexcept;
    // The segment whose time range holds local x, or −1 beyond the last point.
    int segmentAt(int x) const noexcept;
    double timeAt(int x) const noexcept;
    double valueAt(int y) const noexcept;
    double timeSpan() const noexcept { return span_; }

    // Edits (also the menu commands); false when refused (a full curve, the last segment).
    bool addPoint(double time, double value);
    bool removePoint(int point);
    void command(int point, int segment, int32_t id);

    bool mouseDown(const ui::MouseEvent& e) override;
    void mouseDrag(const ui::MouseEvent& e) override;
    void mouseUp(const ui::MouseEvent& e) override;
    void mouseHover(const ui::MouseEvent& e) override;
    void refreshFromModel() override;
    void paint(cairo_t* cr) override;
    const char* kind() const override { return "envelope"; }

private:
    BreakpointCurve* curve() const noexcept;
    ui::Rect plot() const noexcept;
    double pointTime(int point) const noexcept;
    double pointValue(int point) const noexcept;
    void updateSpan();
    void edited();

    int envelope_ = 0;
    EnvelopeControlSink* sink_ = nullptr;
    double span_ = 1.0;
    enum class Drag { None, Point, Shape } drag_ = Drag::None;
    int dragIndex_ = -1;
    int lastY_ = 0;
    int hoverPoint_ = -1;
};

}  // namespace quenvale::editor
