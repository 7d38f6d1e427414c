// Points and rectangles in integer pixels: the editor's one coordinate vocabulary.
#pragma once

#include <algorithm>

namespace quenvale::ui {

struct Point {
    int x = 0;
    int y = 0;

    friend constexpr bool operator==(Point, Point) = default;
    constexpr Point operator+(Point o) const noexcept { return {x + o.x, y + o.y}; }
    constexpr Point operator-(Point o) const noexcept { return {x - o.x, y - o.y}; }
};

// Half-open: covers x … x + w − 1 and y … y + h − 1. An empty rectangle has w or h ≤ 0.
struct Rect {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;

    friend constexpr bool operator==(const Rect&, const Rect&) = default;
    constexpr bool empty() const noexcept { return w <= 0 || h <= 0; }
    constexpr int right() const noexcept { return x + w; }
    constexpr int bottom() const noexcept { return y + h; }
    constexpr Point origin() const noexcept { return {x, y}; }
    constexpr bool contains(Point p) const noexcept { return p.x >= x && p.y >= y && p.x < right() && p.y < bottom(); }
    constexpr Rect translated(Point d) const noexcept { return {x + d.x, y + d.y, w, h}; }
    constexpr Rect inset(int d) const noexcept { return {x + d, y + d, w - 2 * d, h - 2 * d}; }

    // The smallest rectangle holding both; an empty side does not count.
    constexpr Rect united(const Rect& o) const noexcept {
        if (empty()) return o;
        if (o.empty()) return *this;
        const int l = std::min(x, o.x), t = std::min(y, o.y);
        return {l, t, std::max(right(), o.right()) - l, std::max(bottom(), o.bottom()) - t};
    }
    constexpr Rect intersected(const Rect& o) const noexcept {
        const int l = std::max(x, o.x), t = std::max(y, o.y);
        const int r = std::min(right(), o.right()), b = std::min(bottom(), o.bottom());
        if (r <= l || b <= t) return {};
        return {l, t, r - l, b - t};
    }
};

}  // namespace quenvale::ui
