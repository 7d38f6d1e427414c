// The key-mapping editor.
#include "editor/controls/key_map_edit.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "editor/ui/draw.h"

namespace quenvale::editor {

using namespace ui;

namespace {
constexpr int kMargin = 6;
constexpr float kMinLength = 1.0f / 127.0f;  // one key
}  // namespace

KeyMapEdit::KeyMapEdit(Rect bounds) : Control(bounds) {
    setLabel("Key Mapping");
}

void KeyMapEdit::setCurve(const BreakpointCurve& curve) {
    if (dragging_ >= 0) return;
    curve_ = curve;
    curve_.segmentCount = std::clamp(curve_.segmentCount, 0, kMaxCurveSegments);
    invalidate();
}

float KeyMapEdit::pointKey(int i) const noexcept {
    float key = 0.0f;
    for (int s = 0; s < i && s < curve_.segmentCount; ++s) key += curve_.lengths[s];
    return key;
}

float KeyMapEdit::pointValue(int i) const noexcept {
    return i == 0 ? curve_.startValue : curve_.endValues[i - 1];
}

Point KeyMapEdit::pointPosition(int i) const noexcept {
    const int w = bounds().w - 2 * kMargin, h = bounds().h - 2 * kMargin;
    return {kMargin + static_cast<int>(std::lround(pointKey(i) * w)),
            kMargin + static_cast<int>(std::lround((1.0f - pointValue(i) / kMaxValue) * h))};
}

int KeyMapEdit::pointAt(Point local) const noexcept {
    for (int i = pointCount() - 1; i >= 0; --i) {
        const Point p = pointPosition(i);
        if (std::abs(p.x - local.x) <= kHitSlop && std::abs(p.y - local.y) <= kHitSlop) return i;
    }
    return -1;
}

float KeyMapEdit::keyAt(int x) const noexcept {
    return std::clamp(static_cast<float>(x - kMargin) / std::max(1, bounds().w - 2 * kMargin), 0.0f, 1.0f);
}

float KeyMapEdit::valueAt(int y) const noexcept {
    const float t = static_cast<float>(y - kMargin) / std::max(1, bounds().h - 2 * kMargin);
    return std::clamp((1.0f - t) * kMaxValue, 0.0f, kMaxValue);
}

bool KeyMapEdit::movePoint(int i, float key, float value) {
    if (i < 0 || i >= pointCount() || std::isnan(key) || std::isnan(value)) return false;
    value = std::clamp(value, 0.0f, kMaxValue);
    if (i == 0) {
        curve_.startValue = value;
    } else {
        // Between its neighbours, at least one key from each.
        const float before = pointKey(i - 1);
        const float after = i + 1 < pointCount() ? pointKey(i + 1) : 1.0f + kMinLength;
        const float k =
            std::clamp(key, before + kMinLength, std::max(before + kMinLength, after - kMinLength));
        const float oldEnd = pointKey(i);
        curve_.lengths[i - 1] = k - before;
        if (i < curve_.segmentCount) curve_.lengths[i] += oldEnd - k;
        curve_.endValues[i - 1] = value;
    }
    report(false);
    return true;
}

bool KeyMapEdit::insertPoint(float key, float value) {
    if (curve_.segmentCount >= kMaxCurveSegments || curve_.segmentCount < 1) return false;
    int s = 0;  // the segment holding key
    while (s + 1 < curve_.segmentCount && pointKey(s + 1) <= key) ++s;
    const float start = pointKey(s), end = pointKey(s + 1);
    if (key - start < kMinLength || end - key < kMinLength) return false;
    for (int j = curve_.segmentCount; j > s; --j) {
        curve_.lengths[j] = curve_.lengths[j - 1];
        curve_.endValues[j] = curve_.endValues[j - 1];
        curve_.shapes[j] = curve_.shapes[j - 1];
    }
    curve_.lengths[s] = key - start;
    curve_.lengths[s + 1] = end - key;
    curve_.endValues[s] = std::clamp(value, 0.0f, kMaxValue);
    curve_.shapes[s] = curve_.shapes[s + 1] = 0.5f;
    ++curve_.segmentCount;
    report(true);
    return true;
}

bool KeyMapEdit::removePoint(int i) {
    if (i <= 0 || i >= pointCount() || curve_.segmentCount <= 1) return false;
    // Point i ends segment i − 1; the next segment then starts where that one started.
    const int s = i - 1;
    if (s + 1 < curve_.segmentCount) curve_.lengths[s + 1] += curve_.lengths[s];
    for (int j = s; j + 1 < curve_.segmentCount; ++j) {
        curve_.lengths[j] = curve_.lengths[j + 1];
        curve_.endValues[j] = curve_.endValues[j + 1];
        curve_.shapes[j] = curve_.shapes[j + 1];
    }
    --curve_.segmentCount;
    curve_.lengths[curve_.segmentCount] = 0.0f;
    curve_.endValues[curve_.segmentCount] = 0.0f;
    curve_.shapes[curve_.segmentCount] = 0.0f;
    report(true);
    return true;
}

void KeyMapEdit::report(bool structural) {
    invalidate();
    if (onChange_) onChange_(curve_, structural);
}

bool KeyMapEdit::mouseDown(const MouseEvent& e) {
    const int hit = pointAt(e.pos);
    if (e.button == MouseButton::Right) {
        if (hit > 0) removePoint(hit);
        return true;
    }
    if (e.button != MouseButton::Left) return false;
    if (hit < 0) {
        if (e.clickCount == 2) insertPoint(keyAt(e.pos.x), valueAt(e.pos.y));
        return true;
    }
    dragging_ = hit;
    setPressed(true);
    return true;
}

void KeyMapEdit::mouseDrag(const MouseEvent& e) {
    if (dragging_ >= 0) movePoint(dragging_, keyAt(e.pos.x), valueAt(e.pos.y));
}

void KeyMapEdit::mouseUp(const MouseEvent&) {
    dragging_ = -1;
    setPressed(false);
}

void KeyMapEdit::paint(cairo_t* cr) {
    const Rect r = localBounds();
    draw::fillRect(cr, r, theme::kFieldBackground);
    draw::strokeRect(cr, r, theme::kControlBorder);
    const int h = r.h - 2 * kMargin;
    draw::setColour(cr, theme::kFrameBorder);
    cairo_set_line_width(cr, 1.0);
    const double unity = kMargin + h * 0.5 + 0.5;  // gain 1
    cairo_move_to(cr, kMargin, unity);
    cairo_line_to(cr, r.w - kMargin, unity);
    cairo_stroke(cr);
    draw::setColour(cr, theme::kAccent);
    cairo_set_line_width(cr, 1.5);
    for (int i = 0; i < pointCount(); ++i) {
        const Point p = pointPosition(i);
        if (i == 0)
            cairo_move_to(cr, p.x, p.y);
        else
            cairo_line_to(cr, p.x, p.y);
    }
    cairo_stroke(cr);
    for (int i = 0; i < pointCount(); ++i) {
        const Point p = pointPosition(i);
        cairo_rectangle(cr, p.x - 3, p.y - 3, 6, 6);
        cairo_fill(cr);
    }
    draw::text(cr, {kMargin + 2, 2, 120, 14}, "Key Mapping", theme::kTextDim, draw::Align::Left,
               theme::kSmallFontSize);
}

}  // namespace quenvale::editor
