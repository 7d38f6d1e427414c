// The breakpoint strip over the edited modulator: its breakpoints as markers on a time axis from note
// start. A click selects the nearest marker; dragging a marker moves it in time (the breakpoints after
// it keep their times); a double-click between markers inserts a breakpoint there; a right click on a
// marker removes it (never the last one left).
#pragma once

#include <cstdint>
#include <vector>

#include "editor/controls/control.h"

namespace quenvale::editor {

class BreakpointStripSink {
public:
    virtual ~BreakpointStripSink() = default;
    virtual void breakpointSelected(int32_t index) = 0;
    // Insert a breakpoint at `time` seconds from note start.
    virtual void breakpointInserted(float time) = 0;
    // Breakpoint index now starts `time` seconds after note start (a drag step).
    virtual void breakpointMoved(int32_t index, float time) = 0;
    // A drag of a marker ended.
    virtual void breakpointMoveEnded() = 0;
    virtual void breakpointRemoved(int32_t index) = 0;
};

class BreakpointStrip : public Control {
public:
    // Markers within this many pixels of the pointer are hit.
    static constexpr int kHitSlop = 5;
    // Moving a marker keeps at least this distance after its predecessor (the engine's own minimum).
    static constexpr float kMinimumDistance = 0.02f;

    explicit BreakpointStrip(ui::Rect bounds);
    void setSink(BreakpointStripSink* sink) { sink_ = sink; }

    // The breakpoints' times from note start (the running sums of their distances) and the selection.
    void setBreakpoints(std::vector<float> times, int32_t selected);
    const std::vector<float>& times() const noexcept { return times_; }
    int32_t selected() const noexcept { return selected_; }

    // The axis: seconds shown across the width (at least 1 s, a fifth more than the last breakpoint).
    float span() const noexcept;
    int timeToX(float time) const noexcept;
    float xToTime(int x) const noexcept;
    // The marker within kHitSlop of local x, or −1.
    int32_t markerAt(int x) const noexcept;

    bool mouseDown(const ui::MouseEvent& e) override;
    void mouseDrag(const ui::MouseEvent& e) override;
    void mouseUp(const ui::MouseEvent& e) override;
    void paint(cairo_t* cr) override;
    const char* kind() const override { return "breakpoints"; }

private:
    std::vector<float> times_;
    int32_t selected_ = -1;
    int32_t dragging_ = -1;
    float dragSpan_ = 1.0f;  // the axis is held still while a marker moves
    BreakpointStripSink* sink_ = nullptr;
};

}  // namespace quenvale::editor
