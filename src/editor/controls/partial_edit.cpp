// The partial bar graph: gestures and painting.
#include "editor/controls/partial_edit.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "editor/controls/partial_display.h"
#include "editor/ui/draw.h"

namespace quenvale::editor {

using namespace ui;

namespace {
constexpr theme::Colour kBar = theme::rgb(0x4FA3E0);
constexpr theme::Colour kBarUnselected = theme::rgb(0x35536D);
constexpr theme::Colour kPreview = theme::rgb(0xE0A84F);
constexpr theme::Colour kGridLine = theme::rgb(0x2E343B);
constexpr theme::Colour kZeroLine = theme::rgb(0x5A626E);

bool sameValues(const PartialCurve& a, const PartialCurve& b) {
    return a.size() == b.size() &&
           (a.size() == 0 ||
            std::memcmp(a.data(), b.data(), static_cast<size_t>(a.size()) * sizeof(float)) == 0);
}
}  // namespace

PartialEdit::PartialEdit(Rect bounds, std::string label) : Control(bounds) {
    setLabel(std::move(label));
}

void PartialEdit::setCurve(const PartialCurve& values) {
    if (sameValues(curve_, values)) return;
    curve_ = values;
    invalidate();
}

void PartialEdit::setPreview(const PartialCurve& preview) {
    if (sameValues(preview_, preview)) return;
    preview_ = preview;
    invalidate();
}

void PartialEdit::clearPreview() {
    if (preview_.size() == 0) return;
    preview_ = PartialCurve();
    invalidate();
}

void PartialEdit::setMask(std::vector<bool> mask) {
    if (mask == mask_) return;
    mask_ = std::move(mask);
    invalidate();
}

void PartialEdit::setFlags(uint32_t flags) {
    if (flags == flags_) return;
    flags_ = flags;
    invalidate();
}

bool PartialEdit::selected(int32_t partial) const noexcept {
    return partial >= 0 && static_cast<size_t>(partial) < mask_.size() && mask_[partial];
}

int PartialEdit::columnLeft(int32_t partial) const noexcept {
    const int32_t n = curve_.size();
    return n <= 0 ? 0 : static_cast<int>(static_cast<int64_t>(partial) * bounds().w / n);
}

int32_t PartialEdit::partialAt(int x) const noexcept {
    const int32_t n = curve_.size();
    if (n <= 0 || x < 0 || x >= bounds().w) return -1;
    // Column k covers [columnLeft(k), columnLeft(k + 1)).
    int32_t k = static_cast<int32_t>(static_cast<int64_t>(x) * n / bounds().w);
    while (k + 1 < n && columnLeft(k + 1) <= x) ++k;
    while (k > 0 && columnLeft(k) > x) --k;
    return k;
}

double PartialEdit::valueToY(float v) const noexcept {
    return partialValueToScreen(v, bounds().h, flags_);
}

float PartialEdit::yToValue(int y) const noexcept {
    return partialScreenToValue(y, bounds().h, flags_);
}

void PartialEdit::gesture(Point pos) {
    const int32_t k = partialAt(pos.x);
    if (k < 0 || !selected(k)) return;
    const float v = mode_ == Mode::Draw ? yToValue(pos.y) : 0.0f;
    curve_[k] = v;
    invalidate();
    for (PartialEditSink* sink : sinks_) sink->partialChanged(*this, k, v);
}

bool PartialEdit::mouseDown(const MouseEvent& e) {
    if (e.button == MouseButton::Left)
        mode_ = Mode::Draw;
    else if (e.button == MouseButton::Right)
        mode_ = Mode::Clear;
    else
        return false;
    gesture(e.pos);
    return true;
}

void PartialEdit::mouseDrag(const MouseEvent& e) {
    if (mode_ != Mode::Idle) gesture(e.pos);
}

void PartialEdit::mouseUp(const MouseEvent& e) {
    if ((mode_ == Mode::Draw && e.button == MouseButton::Left) ||
        (mode_ == Mode::Clear && e.button == MouseButton::Right))
        mode_ = Mode::Idle;
}

void PartialEdit::paint(cairo_t* cr) {
    const Rect r = localBounds();
    draw::fillRect(cr, r, theme::kFieldBackground);
    // Octave lines at harmonics 2, 4, 8, …
    const int32_t n = curve_.size();
    draw::setColour(cr, kGridLine);
    cairo_set_line_width(cr, 1.0);
    for (int32_t h = 2; h <= n; h *= 2) {
        const double x = columnLeft(h - 1) + 0.5;
        cairo_move_to(cr, x, 0);
        cairo_line_to(cr, x, r.h);
    }
    cairo_stroke(cr);
    const double zero = valueToY(0.0f);
    draw::setColour(cr, kZeroLine);
    cairo_move_to(cr, 0, std::floor(zero) + 0.5);
    cairo_line_to(cr, r.w, std::floor(zero) + 0.5);
    cairo_stroke(cr);

    for (int32_t k = 0; k < n; ++k) {
        const int x0 = columnLeft(k), x1 = columnLeft(k + 1);
        const int w = std::max(1, x1 - x0 - (x1 - x0 > 3 ? 1 : 0));
        const double y = valueToY(curve_[k]);
        const double top = std::min(y, zero), bottom = std::max(y, zero);
        draw::setColour(cr, selected(k) ? kBar : kBarUnselected);
        cairo_rectangle(cr, x0, top, w, std::max(1.0, bottom - top));
        cairo_fill(cr);
    }
    if (preview_.size() == n && n > 0) {
        draw::setColour(cr, kPreview);
        cairo_set_line_width(cr, 1.5);
        for (int32_t k = 0; k < n; ++k) {
            const double x = 0.5 * (columnLeft(k) + columnLeft(k + 1));
            const double y = valueToY(preview_[k]);
            if (k == 0)
                cairo_move_to(cr, x, y);
            else
                cairo_line_to(cr, x, y);
        }
        cairo_stroke(cr);
    }
    draw::strokeRect(cr, r, theme::kControlBorder);
}

}  // namespace quenvale::editor
