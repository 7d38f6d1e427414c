// Envelope editing (points, segments, loop markers) and drawing.
#include "editor/controls/envelope_control.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "editor/overlays/popup_menu.h"
#include "editor/ui/draw.h"
#include "editor/ui/root_view.h"
#include "engine/synth_engine.h"
#include "params/parameter_index.h"
#include "params/relaxed_field.h"

namespace quenvale::editor {

using namespace ui;

namespace {

constexpr int kMargin = 8;
constexpr int kHintHeight = 14;

struct ShapePreset {
    const char* name;
    float shape;
};
constexpr ShapePreset kShapePresets[EnvelopeControl::kShapePresetCount] = {
    {"Straight", 0.5f}, {"Slow Start", 0.3f}, {"Fast Start", 0.7f}, {"Very Slow Start", 0.1f}, {"Very Fast Start", 0.9f},
};

// The curve's value after share u (0 … 1) of a segment from y0 to y1 with a shape, as the envelope
// plays it: value − B changes by the factor r over the segment.
double shapedValue(double y0, double y1, float shape, double u) {
    const double c = std::clamp(static_cast<double>(shape), 0.001, 0.999);
    const double e = c <= 0.5 ? 2.0 * c * c : (4.0 - 2.0 * c) * c - 1.0;
    const double d = 1.0 / e - 1.0;
    const double r = d * d;
    if (std::fabs(r - 1.0) < 1e-5) return y0 + (y1 - y0) * u;
    const double b = (y1 - r * y0) / (1.0 - r);
    return b + (y0 - b) * std::pow(r, u);
}

// Curve fields are read by the audio thread while the editor writes them: every write is one relaxed
// 32-bit store (the reader takes the count and loop indices once and clamps them).
void put(float& field, double value) noexcept {
    storeRelaxed(field, static_cast<float>(value));
}
void put(int32_t& field, int32_t value) noexcept {
    storeRelaxed(field, value);
}

}  // namespace

EnvelopeControl::EnvelopeControl(Rect bounds) : Control(bounds) {
    setLabel("Envelope");
}

void EnvelopeControl::setEnvelope(EditorModel& model, int envelope) {
    envelope_ = std::clamp(envelope, 0, kEnvelopeCount - 1);
    drag_ = Drag::None;
    bind(model, {kEnvGroup.first + kEnvGroup.entries * envelope_});  // "EnvN Out"
    updateSpan();
}

BreakpointCurve* EnvelopeControl::curve() const noexcept {
    return bound() ? &model()->engine().channel().env[envelope_].curve : nullptr;
}

Rect EnvelopeControl::plot() const noexcept {
    return {kMargin, kMargin, bounds().w - 2 * kMargin, bounds().h - 2 * kMargin - kHintHeight};
}

double EnvelopeControl::pointTime(int point) const noexcept {
    const BreakpointCurve* c = curve();
    double t = 0.0;
    for (int i = 0; i < point && i < kMaxCurveSegments; ++i) t += std::max(0.0f, c->lengths[i]);
    return t;
}

double EnvelopeControl::pointValue(int point) const noexcept {
    const BreakpointCurve* c = curve();
    return point == 0 ? c->startValue : c->endValues[point - 1];
}

void EnvelopeControl::updateSpan() {
    const BreakpointCurve* c = curve();
    if (c == nullptr) return;
    const int n = std::clamp(c->segmentCount, 0, kMaxCurveSegments);
    span_ = std::max(pointTime(n), 0.05) * 1.2;
}

void EnvelopeControl::refreshFromModel() {
    if (drag_ == Drag::None) updateSpan();
    invalidate();
}

Point EnvelopeControl::pointPosition(int point) const noexcept {
    const Rect p = plot();
    const double x = p.x + pointTime(point) / span_ * p.w;
    const double y = p.bottom() - std::clamp(pointValue(point), 0.0, 1.0) * p.h;
    return {static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y))};
}

double EnvelopeControl::timeAt(int x) const noexcept {
    const Rect p = plot();
    return std::max(0.0, static_cast<double>(x - p.x) / p.w * span_);
}

double EnvelopeControl::valueAt(int y) const noexcept {
    const Rect p = plot();
    return std::clamp(static_cast<double>(p.bottom() - y) / p.h, 0.0, 1.0);
}

int EnvelopeControl::pointAt(Point local) const noexcept {
    const BreakpointCurve* c = curve();
    if (c == nullptr) return -1;
    const int n = std::clamp(c->segmentCount, 0, kMaxCurveSegments);
    int best = -1;
    int bestDistance = kPointRadius * kPointRadius + 1;
    for (int i = 0; i <= n; ++i) {
        const Point p = pointPosition(i);
        const int d = (p.x - local.x) * (p.x - local.x) + (p.y - local.y) * (p.y - local.y);
        if (d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    return best;
}

int EnvelopeControl::segmentAt(int x) const noexcept {
    const BreakpointCurve* c = curve();
    if (c == nullptr) return -1;
    const int n = std::clamp(c->segmentCount, 0, kMaxCurveSegments);
    const double t = timeAt(x);
    for (int s = 0; s < n; ++s)
        if (t < pointTime(s + 1)) return s;
    return -1;
}

void EnvelopeControl::edited() {
    invalidate();
    if (sink_ != nullptr) sink_->envelopeEdited(envelope_);
}

bool EnvelopeControl::addPoint(double time, double value) {
    BreakpointCurve* c = curve();
    if (c == nullptr) return false;
    // Other user-interface threads (a program or bank load) wait; the audio keeps sounding.
    EditGuard::ReadScope scope(model()->engine().editGuard());
    const int n = std::clamp(c->segmentCount, 0, kMaxCurveSegments);
    if (n >= kMaxCurveSegments) return false;
    const double v = std::clamp(value, 0.0, 1.0);
    int s = 0;
    while (s < n && time >= pointTime(s + 1)) ++s;
    if (s == n) {
        put(c->lengths[n], time - pointTime(n));
        put(c->endValues[n], v);
        put(c->shapes[n], 0.5);
    } else {
        const double start = pointTime(s), end = pointTime(s + 1);
        // Upwards from the end, so that every segment the audio thread may meet stays whole.
        for (int j = n; j > s; --j) {
            put(c->lengths[j], c->lengths[j - 1]);
            put(c->endValues[j], c->endValues[j - 1]);
            put(c->shapes[j], c->shapes[j - 1]);
        }
        put(c->lengths[s + 1], end - time);
        put(c->lengths[s], time - start);
        put(c->endValues[s], v);
        // The loop keeps covering the same stretch of time: a loop end (or sustain) in the split
        // segment moves to its second half.
        if (c->loopStart > s || (c->loopStart == s && c->loopEnd == s)) put(c->loopStart, c->loopStart + 1);
        if (c->loopEnd >= s) put(c->loopEnd, c->loopEnd + 1);
    }
    put(c->segmentCount, n + 1);
    edited();
    return true;
}

bool EnvelopeControl::removePoint(int point) {
    BreakpointCurve* c = curve();
    if (c == nullptr) return false;
    EditGuard::ReadScope scope(model()->engine().editGuard());
    const int n = std::clamp(c->segmentCount, 0, kMaxCurveSegments);
    if (point < 1 || point > n || n <= 1) return false;
    const int r = point - 1;
    // The later points keep their times: the next segment takes over the removed one's length.
    if (r < n - 1) put(c->lengths[r + 1], static_cast<double>(c->lengths[r + 1]) + c->lengths[r]);
    for (int j = r; j < n - 1; ++j) {
        put(c->lengths[j], c->lengths[j + 1]);
        put(c->endValues[j], c->endValues[j + 1]);
        put(c->shapes[j], c->shapes[j + 1]);
    }
    put(c->segmentCount, n - 1);
    for (int32_t* marker : {&c->loopStart, &c->loopEnd}) {
        int32_t m = *marker;
        if (m > r) --m;
        if (m > n - 2) m = n - 2;
        put(*marker, m);
    }
    edited();
    return true;
}

void EnvelopeControl::command(int point, int segment, int32_t id) {
    BreakpointCurve* c = curve();
    if (c == nullptr) return;
    if (id == kRemovePoint) {
        removePoint(point);
        return;
    }
    EditGuard::ReadScope scope(model()->engine().editGuard());
    const int n = std::clamp(c->segmentCount, 0, kMaxCurveSegments);
    int32_t loopStart = c->loopStart, loopEnd = c->loopEnd;
    switch (id) {
        case kLoopStartHere:  // the segment that starts at the point
            if (point < 0 || point >= n) return;
            loopStart = point;
            if (loopEnd < point) loopEnd = point;
            break;
        case kLoopEndHere:  // the segment that ends at the point
            if (point < 1 || point > n) return;
            loopEnd = point - 1;
            if (loopStart > point - 1 || loopStart < 0) loopStart = point - 1;
            break;
        case kSustainHere:
            if (point < 1 || point > n) return;
            loopStart = loopEnd = point - 1;
            break;
        case kNoLoop:
            loopStart = loopEnd = -1;
            break;
        default: {
            const int preset = id - kShapeFirst;
            if (preset < 0 || preset >= kShapePresetCount || segment < 0 || segment >= n) return;
            put(c->shapes[segment], kShapePresets[preset].shape);
            break;
        }
    }
    put(c->loopStart, loopStart);
    put(c->loopEnd, loopEnd);
    edited();
}

bool EnvelopeControl::mouseDown(const MouseEvent& e) {
    BreakpointCurve* c = curve();
    if (c == nullptr) return false;
    EditGuard::ReadScope scope(model()->engine().editGuard());
    const int point = pointAt(e.pos);
    const int segment = point < 0 ? segmentAt(e.pos.x) : -1;
    if (e.button == MouseButton::Left && e.clickCount == 2) {
        if (point >= 1)
            removePoint(point);
        else if (point < 0)
            addPoint(timeAt(e.pos.x), valueAt(e.pos.y));
        updateSpan();
        return true;
    }
    if (e.button == MouseButton::Left) {
        if (point >= 0) {
            drag_ = Drag::Point;
            dragIndex_ = point;
        } else if (segment >= 0) {
            drag_ = Drag::Shape;
            dragIndex_ = segment;
            lastY_ = e.pos.y;
        } else {
            return false;
        }
        setPressed(true);
        return true;
    }
    if (e.button == MouseButton::Right) {
        RootView* r = root();
        if (r == nullptr || (point < 0 && segment < 0)) return false;
        std::vector<MenuItem> items;
        const int n = std::clamp(c->segmentCount, 0, kMaxCurveSegments);
        if (point >= 0) {
            if (point >= 1) {
                MenuItem remove = MenuItem::command("Remove Point", kRemovePoint);
                remove.enabled = n > 1;
                items.push_back(remove);
                items.push_back(MenuItem::line());
            }
            if (point < n) items.push_back(MenuItem::command("Loop Start Here", kLoopStartHere, c->loopStart == point && c->loopStart != c->loopEnd));
            if (point >= 1) {
                items.push_back(MenuItem::command("Loop End Here", kLoopEndHere, c->loopEnd == point - 1 && c->loopStart != c->loopEnd));
                items.push_back(MenuItem::command("Sustain Here", kSustainHere, c->loopStart == point - 1 && c->loopEnd == point - 1));
            }
            items.push_back(MenuItem::command("No Loop", kNoLoop, c->loopStart < 0 && c->loopEnd < 0));
        } else {
            for (int i = 0; i < kShapePresetCount; ++i)
                items.push_back(MenuItem::command(kShapePresets[i].name, kShapeFirst + i,
                                                  c->shapes[segment] == kShapePresets[i].shape));
        }
        openPopupMenu(*r, std::move(items), e.windowPos,
                      [this, point, segment](int32_t id) { command(point, segment, id); });
        return true;
    }
    return false;
}

void EnvelopeControl::mouseDrag(const MouseEvent& e) {
    BreakpointCurve* c = curve();
    if (c == nullptr || drag_ == Drag::None) return;
    EditGuard::ReadScope scope(model()->engine().editGuard());
    const int n = std::clamp(c->segmentCount, 0, kMaxCurveSegments);
    if (drag_ == Drag::Point) {
        if (dragIndex_ > n) return;
        const double v = valueAt(e.pos.y);
        if (dragIndex_ == 0) {
            put(c->startValue, v);
        } else {
            put(c->lengths[dragIndex_ - 1], std::max(0.0, timeAt(e.pos.x) - pointTime(dragIndex_ - 1)));
            put(c->endValues[dragIndex_ - 1], v);
        }
        edited();
        return;
    }
    if (dragIndex_ >= n) return;
    const int dy = lastY_ - e.pos.y;
    lastY_ = e.pos.y;
    if (dy == 0) return;
    const bool rising = pointValue(dragIndex_ + 1) >= pointValue(dragIndex_);
    const double change = dy * kShapePerPixel * (rising ? 1.0 : -1.0);
    put(c->shapes[dragIndex_], std::clamp(c->shapes[dragIndex_] + change, 0.001, 0.999));
    edited();
}

void EnvelopeControl::mouseUp(const MouseEvent&) {
    if (drag_ == Drag::None) return;
    drag_ = Drag::None;
    dragIndex_ = -1;
    setPressed(false);
    updateSpan();
    invalidate();
}

void EnvelopeControl::mouseHover(const MouseEvent& e) {
    const int point = pointAt(e.pos);
    if (point == hoverPoint_) return;
    hoverPoint_ = point;
    invalidate();
}

void EnvelopeControl::paint(cairo_t* cr) {
    const Rect all = localBounds();
    draw::fillRect(cr, all, theme::kFieldBackground);
    draw::text(cr, {kMargin, all.h - kHintHeight - 2, all.w - 2 * kMargin, kHintHeight},
               "Drag points and segments \u00B7 double-click adds or removes a point \u00B7 right-click: loop, shape",
               theme::kTextDim, draw::Align::Left, theme::kSmallFontSize);
    const BreakpointCurve* c = curve();
    if (c == nullptr) return;
    // A program load on the host's thread does not rewrite the curve while it is drawn.
    EditGuard::ReadScope scope(model()->engine().editGuard());
    const Rect p = plot();
    const int n = std::clamp(c->segmentCount, 0, kMaxCurveSegments);

    // Time grid: a line per second (per 100 ms for short curves).
    const double step = span_ > 4.0 ? 1.0 : span_ > 0.8 ? 0.1 * std::ceil(span_ / 2.0) : 0.05;
    draw::setColour(cr, theme::kFrameBorder);
    cairo_set_line_width(cr, 1.0);
    for (double t = step; t < span_; t += step) {
        const double x = std::floor(p.x + t / span_ * p.w) + 0.5;
        cairo_move_to(cr, x, p.y);
        cairo_line_to(cr, x, p.bottom());
    }
    cairo_move_to(cr, p.x, p.bottom() + 0.5);
    cairo_line_to(cr, p.right(), p.bottom() + 0.5);
    cairo_stroke(cr);

    // Loop markers: the loop runs from the start of segment loopStart to the end of loopEnd; equal
    // indices hold at the end of that segment.
    auto marker = [&](int point, const char* text, const theme::Colour& colour) {
        if (point < 0 || point > n) return;
        const double x = std::floor(pointPosition(point).x) + 0.5;
        draw::setColour(cr, colour);
        const double dashes[] = {3.0, 3.0};
        cairo_set_dash(cr, dashes, 2, 0);
        cairo_move_to(cr, x, p.y);
        cairo_line_to(cr, x, p.bottom());
        cairo_stroke(cr);
        cairo_set_dash(cr, nullptr, 0, 0);
        draw::text(cr, {static_cast<int>(x) + 2, p.y, 60, 12}, text, colour, draw::Align::Left, theme::kSmallFontSize, true);
    };
    if (c->loopStart >= 0 && c->loopStart < n && c->loopStart == c->loopEnd) {
        marker(c->loopStart + 1, "Sustain", theme::kMeterMid);
    } else {
        if (c->loopStart >= 0 && c->loopStart < n) marker(c->loopStart, "Loop", theme::kMeterLow);
        if (c->loopEnd >= 0 && c->loopEnd < n) marker(c->loopEnd + 1, "End", theme::kMeterLow);
    }

    // The curve as it plays.
    draw::setColour(cr, theme::kAccent);
    cairo_set_line_width(cr, 1.5);
    Point first = pointPosition(0);
    cairo_move_to(cr, first.x, first.y);
    for (int s = 0; s < n; ++s) {
        const Point a = pointPosition(s), b = pointPosition(s + 1);
        const double y0 = pointValue(s), y1 = pointValue(s + 1);
        const int steps = std::max(1, (b.x - a.x) / 2);
        for (int k = 1; k <= steps; ++k) {
            const double u = static_cast<double>(k) / steps;
            const double v = std::clamp(shapedValue(y0, y1, c->shapes[s], u), 0.0, 1.0);
            cairo_line_to(cr, a.x + (b.x - a.x) * u, p.bottom() - v * p.h);
        }
    }
    cairo_stroke(cr);

    for (int i = 0; i <= n; ++i) {
        const Point pt = pointPosition(i);
        const bool hot = i == hoverPoint_ || (drag_ == Drag::Point && i == dragIndex_);
        draw::setColour(cr, hot ? theme::kFocus : theme::kText);
        cairo_arc(cr, pt.x, pt.y, hot ? 4.5 : 3.5, 0, 2 * M_PI);
        cairo_fill(cr);
    }
}

}  // namespace quenvale::editor
