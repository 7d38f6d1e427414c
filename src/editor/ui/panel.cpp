// Child ownership, painting order and hit testing of panels; titled frames.
#include "editor/ui/panel.h"

#include <algorithm>

#include "editor/ui/draw.h"

namespace quenvale::ui {

Panel::~Panel() {
    // Children go first, newest first, while this panel still links them to the root.
    while (!children_.empty()) children_.pop_back();
}

Widget& Panel::adopt(std::unique_ptr<Widget> child) {
    child->parent_ = this;
    children_.push_back(std::move(child));
    children_.back()->invalidate();
    return *children_.back();
}

void Panel::remove(Widget& child) {
    auto it = std::find_if(children_.begin(), children_.end(), [&](const auto& c) { return c.get() == &child; });
    if (it == children_.end()) return;
    child.invalidate();
    std::unique_ptr<Widget> doomed = std::move(*it);
    children_.erase(it);
    doomed.reset();
}

void Panel::paint(cairo_t* cr) {
    paintBackground(cr);
    paintChildren(cr);
}

void Panel::paintChildren(cairo_t* cr) {
    double x1, y1, x2, y2;
    cairo_clip_extents(cr, &x1, &y1, &x2, &y2);
    const Rect clip{static_cast<int>(x1), static_cast<int>(y1), static_cast<int>(x2 - x1) + 1,
                    static_cast<int>(y2 - y1) + 1};
    for (const auto& child : children_) {
        if (!child->visible() || child->bounds().intersected(clip).empty()) continue;
        cairo_save(cr);
        cairo_translate(cr, child->bounds().x, child->bounds().y);
        cairo_rectangle(cr, 0, 0, child->bounds().w, child->bounds().h);
        cairo_clip(cr);
        child->paint(cr);
        cairo_restore(cr);
    }
}

Widget* Panel::widgetAt(Point local) {
    if (!localBounds().contains(local)) return nullptr;
    for (auto it = children_.rbegin(); it != children_.rend(); ++it) {
        Widget& child = **it;
        if (!child.visible() || !child.enabled()) continue;
        if (Widget* hit = child.widgetAt(local - child.bounds().origin())) return hit;
    }
    return this;
}

void Panel::forEachChild(const std::function<void(Widget&)>& fn) {
    for (const auto& child : children_) fn(*child);
}

void Panel::refreshFromModel() {
    for (const auto& child : children_) child->refreshFromModel();
}

Frame::Frame(Rect bounds, std::string title) : Panel(bounds) {
    setLabel(std::move(title));
}

Rect Frame::contentRect() const noexcept {
    return {theme::kGrid, theme::kFrameTitleHeight, bounds().w - 2 * theme::kGrid,
            bounds().h - theme::kFrameTitleHeight - theme::kGrid};
}

void Frame::paintBackground(cairo_t* cr) {
    draw::fillRoundedRect(cr, localBounds(), theme::kFrameBackground, 4);
    draw::roundedRectPath(cr, localBounds(), 4);
    draw::setColour(cr, theme::kFrameBorder);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
    draw::text(cr, {theme::kGrid * 2, 0, bounds().w - theme::kGrid * 4, theme::kFrameTitleHeight}, label(),
               theme::kFrameTitle, draw::Align::Left, theme::kSmallFontSize, true);
}

void FilledPanel::paintBackground(cairo_t* cr) {
    draw::fillRect(cr, localBounds(), colour_);
}

}  // namespace quenvale::ui
