// The breakpoint strip: gestures and painting.
#include "editor/controls/breakpoint_strip.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "editor/ui/draw.h"

namespace quenvale::editor {

using namespace ui;

namespace {
constexpr int kMargin = 6;
}

BreakpointStrip::BreakpointStrip(Rect bounds) : Control(bounds) {
    setLabel("Breakpoints");
}

void BreakpointStrip::setBreakpoints(std::vector<float> times, int32_t selected) {
    if (times == times_ && selected == selected_) return;
    times_ = std::move(times);
    selected_ = selected;
    invalidate();
}

float BreakpointStrip::span() const noexcept {
    if (dragging_ >= 0) return dragSpan_;
    const float last = times_.empty() ? 0.0f : times_.back();
    return std::max(1.0f, last * 1.2f);
}

int BreakpointStrip::timeToX(float time) const noexcept {
    const int w = bounds().w - 2 * kMargin;
    return kMargin + static_cast<int>(std::lround(time / span() * w));
}

float BreakpointStrip::xToTime(int x) const noexcept {
    const int w = std::max(1, bounds().w - 2 * kMargin);
    return std::max(0.0f, static_cast<float>(x - kMargin) / static_cast<float>(w) * span());
}

int32_t BreakpointStrip::markerAt(int x) const noexcept {
    int32_t best = -1;
    int bestDistance = kHitSlop + 1;
    for (size_t i = 0; i < times_.size(); ++i) {
        const int d = std::abs(timeToX(times_[i]) - x);
        if (d < bestDistance) {  // the first of markers on one spot wins
            best = static_cast<int32_t>(i);
            bestDistance = d;
        }
    }
    return best;
}

bool BreakpointStrip::mouseDown(const MouseEvent& e) {
    if (sink_ == nullptr) return false;
    const int32_t hit = markerAt(e.pos.x);
    if (e.button == MouseButton::Right) {
        if (hit >= 0 && times_.size() > 1) sink_->breakpointRemoved(hit);
        return true;
    }
    if (e.button != MouseButton::Left) return false;
    if (hit < 0) {
        if (e.clickCount == 2) sink_->breakpointInserted(xToTime(e.pos.x));
        return true;
    }
    sink_->breakpointSelected(hit);
    dragSpan_ = span();
    dragging_ = hit;
    return true;
}

void BreakpointStrip::mouseDrag(const MouseEvent& e) {
    if (dragging_ < 0 || sink_ == nullptr) return;
    const float earliest =
        dragging_ == 0 ? 0.0f : times_[dragging_ - 1] + (dragging_ > 0 ? kMinimumDistance : 0.0f);
    const float latest =
        static_cast<size_t>(dragging_) + 1 < times_.size() ? times_[dragging_ + 1] - kMinimumDistance : 1e9f;
    const float time = std::clamp(xToTime(e.pos.x), earliest, std::max(earliest, latest));
    sink_->breakpointMoved(dragging_, time);
}

void BreakpointStrip::mouseUp(const MouseEvent&) {
    if (dragging_ < 0) return;
    dragging_ = -1;
    invalidate();
    if (sink_ != nullptr) sink_->breakpointMoveEnded();
}

void BreakpointStrip::paint(cairo_t* cr) {
    const Rect r = localBounds();
    draw::fillRect(cr, r, theme::kFieldBackground);
    draw::strokeRect(cr, r, theme::kControlBorder);
    // Second ticks.
    draw::setColour(cr, theme::kFrameBorder);
    cairo_set_line_width(cr, 1.0);
    const float s = span();
    const float step = s > 20.0f ? 5.0f : 1.0f;
    for (float t = 0.0f; t <= s; t += step) {
        const double x = timeToX(t) + 0.5;
        cairo_move_to(cr, x, r.h - 5);
        cairo_line_to(cr, x, r.h - 1);
    }
    cairo_stroke(cr);
    if (!times_.empty()) {
        draw::setColour(cr, theme::kTextDim);
        cairo_move_to(cr, timeToX(times_.front()), r.h / 2.0);
        cairo_line_to(cr, timeToX(times_.back()), r.h / 2.0);
        cairo_stroke(cr);
    }
    for (size_t i = 0; i < times_.size(); ++i) {
        const double x = timeToX(times_[i]);
        const bool sel = static_cast<int32_t>(i) == selected_;
        draw::setColour(cr, sel ? theme::kAccent : theme::kControlBorder);
        cairo_move_to(cr, x, 3);
        cairo_line_to(cr, x + 5, r.h / 2.0);
        cairo_line_to(cr, x, r.h - 3);
        cairo_line_to(cr, x - 5, r.h / 2.0);
        cairo_close_path(cr);
        cairo_fill(cr);
    }
    if (selected_ >= 0 && static_cast<size_t>(selected_) < times_.size()) {
        char text[48];
        std::snprintf(text, sizeof text, "%d / %zu  %.2f s", selected_ + 1, times_.size(),
                      static_cast<double>(times_[selected_]));
        draw::text(cr, {r.w - 130, 0, 124, r.h}, text, theme::kTextDim, draw::Align::Right,
                   theme::kSmallFontSize);
    }
}

}  // namespace quenvale::editor
