// Widget geometry, visibility and the links to the root (damage, focus, capture bookkeeping).
#include "editor/ui/widget.h"

#include "editor/ui/root_view.h"

namespace quenvale::ui {

Widget::~Widget() {
    if (RootView* r = root()) r->forget(this);
}

void Widget::setBounds(const Rect& bounds) {
    if (bounds == bounds_) return;
    invalidate();
    bounds_ = bounds;
    invalidate();
    stateChanged();
}

Point Widget::windowOrigin() const noexcept {
    Point p{};
    for (const Widget* w = this; w != nullptr; w = w->parent_) p = p + w->bounds_.origin();
    return p;
}

void Widget::setVisible(bool visible) {
    if (visible == visible_) return;
    if (!visible) {
        invalidate();
        if (RootView* r = root()) r->hidden(this);
    }
    visible_ = visible;
    if (visible) invalidate();
    stateChanged();
}

bool Widget::showing() const noexcept {
    const Widget* w = this;
    for (; w != nullptr; w = w->parent_) {
        if (!w->visible_) return false;
        if (w->isRoot_) return true;
    }
    return false;
}

void Widget::setEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    invalidate();
    stateChanged();
}

RootView* Widget::root() const noexcept {
    const Widget* w = this;
    while (w->parent_ != nullptr) w = w->parent_;
    return w->isRoot_ ? static_cast<RootView*>(const_cast<Widget*>(w)) : nullptr;
}

void Widget::invalidate(const Rect& local) {
    if (RootView* r = root()) r->addDamage(local.intersected(localBounds()).translated(windowOrigin()));
}

void Widget::takeFocus() {
    if (RootView* r = root()) r->setFocus(this);
}

bool Widget::hasFocus() const noexcept {
    const RootView* r = root();
    return r != nullptr && r->focus() == this;
}

Widget* Widget::widgetAt(Point local) {
    return localBounds().contains(local) ? this : nullptr;
}

void Widget::setLabel(std::string label) {
    label_ = std::move(label);
    invalidate();
}

void forEachWidget(Widget& w, const std::function<void(Widget&)>& fn) {
    fn(w);
    w.forEachChild([&](Widget& child) { forEachWidget(child, fn); });
}

}  // namespace quenvale::ui
