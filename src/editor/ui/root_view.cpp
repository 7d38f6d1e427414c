// Event routing of the whole window: capture, hover, double-clicks, focus, overlays and damage.
#include "editor/ui/root_view.h"

#include <algorithm>
#include <cstdlib>

#include "editor/ui/draw.h"

namespace quenvale::ui {

RootView::RootView() : Panel({0, 0, theme::kWindowWidth, theme::kWindowHeight}) {
    isRoot_ = true;
    damage_ = localBounds();
}

RootView::~RootView() {
    capture_ = hover_ = focus_ = nullptr;
    overlays_.clear();
    closed_.clear();
    // Children are destroyed by ~Panel, when this object is no longer a RootView: they must not find
    // it as their root then (nothing is left to forget them from).
    isRoot_ = false;
}

MouseEvent RootView::eventFor(const Widget& w, Point windowPos, MouseButton button, uint32_t modifiers) const {
    MouseEvent e;
    e.windowPos = windowPos;
    e.pos = windowPos - w.windowOrigin();
    e.button = button;
    e.modifiers = modifiers;
    return e;
}

Widget* RootView::widgetAt(Point local) {
    if (Overlay* top = topOverlay()) return top->widgetAt(local);
    return Panel::widgetAt(local);
}

void RootView::pointerPress(Point pos, MouseButton button, uint32_t modifiers, uint64_t timeMs) {
    ++buttonsDown_;
    if (capture_ != nullptr) {
        // A second button during a drag goes to the widget that holds the pointer.
        MouseEvent e = eventFor(*capture_, pos, button, modifiers);
        capture_->mouseDown(e);
        buryClosed();
        return;
    }
    const bool again = button == lastButton_ && timeMs - lastPressMs_ <= static_cast<uint64_t>(kDoubleClickMs) &&
                       std::abs(pos.x - lastPress_.x) <= kDoubleClickSlop &&
                       std::abs(pos.y - lastPress_.y) <= kDoubleClickSlop && lastClickCount_ == 1;
    lastClickCount_ = again ? 2 : 1;
    lastButton_ = button;
    lastPress_ = pos;
    lastPressMs_ = timeMs;

    Widget* target = widgetAt(pos);
    if (focus_ != nullptr && focus_ != target) setFocus(nullptr);
    Overlay* const topBefore = topOverlay();
    for (Widget* w = target; w != nullptr && w != this; w = w->parent()) {
        MouseEvent e = eventFor(*w, pos, button, modifiers);
        e.clickCount = lastClickCount_;
        if (w->mouseDown(e)) {
            // A widget that opened or closed an overlay (a menu, a dialog) does not hold the pointer.
            if (topOverlay() == topBefore && w->showing()) {
                capture_ = w;
                captureButton_ = button;
            }
            break;
        }
        if (dynamic_cast<Overlay*>(w) != nullptr) break;  // presses never fall through an overlay
    }
    buryClosed();
}

void RootView::pointerRelease(Point pos, MouseButton button, uint32_t modifiers) {
    buttonsDown_ = std::max(0, buttonsDown_ - 1);
    if (capture_ != nullptr) {
        Widget* w = capture_;
        if (buttonsDown_ == 0) capture_ = nullptr;
        w->mouseUp(eventFor(*w, pos, button, modifiers));
    }
    buryClosed();
    pointerMove(pos, modifiers);
}

void RootView::pointerMove(Point pos, uint32_t modifiers) {
    if (capture_ != nullptr) {
        capture_->mouseDrag(eventFor(*capture_, pos, MouseButton::NoButton, modifiers));
        buryClosed();
        return;
    }
    Widget* target = widgetAt(pos);
    setHover(target);
    if (target != nullptr) target->mouseHover(eventFor(*target, pos, MouseButton::NoButton, modifiers));
    buryClosed();
}

void RootView::pointerWheel(Point pos, int steps, uint32_t modifiers) {
    for (Widget* w = capture_ != nullptr ? capture_ : widgetAt(pos); w != nullptr && w != this; w = w->parent()) {
        MouseEvent e = eventFor(*w, pos, MouseButton::NoButton, modifiers);
        e.wheelSteps = steps;
        if (w->mouseWheel(e)) break;
        if (dynamic_cast<Overlay*>(w) != nullptr) break;
    }
    buryClosed();
}

void RootView::pointerLeft() {
    if (capture_ == nullptr) setHover(nullptr);
}

void RootView::keyPress(const KeyEvent& key) {
    bool used = false;
    Overlay* top = topOverlay();
    if (focus_ != nullptr && (top == nullptr || focus_->root() == this)) {
        // Focus inside the top layer only.
        bool inside = top == nullptr;
        for (Widget* w = focus_; w != nullptr && !inside; w = w->parent()) inside = w == top;
        if (inside) used = focus_->keyDown(key);
    }
    if (!used && top != nullptr) top->keyDown(key);
    buryClosed();
}

void RootView::tick() {
    if (tickHandler_) tickHandler_();
    buryClosed();
}

void RootView::setHover(Widget* widget) {
    if (widget == hover_) return;
    Widget* old = hover_;
    hover_ = widget;
    if (old != nullptr) old->mouseLeave();
    if (widget != nullptr) widget->mouseEnter();
}

void RootView::setFocus(Widget* widget) {
    if (widget == focus_) return;
    Widget* old = focus_;
    focus_ = widget;
    if (old != nullptr) {
        old->focusLost();
        old->invalidate();
    }
    if (widget != nullptr) widget->invalidate();
}

void RootView::setServices(PlatformServices* services) noexcept {
    services_ = services != nullptr ? services : &recording_;
}

Rect RootView::takeDamage() noexcept {
    const Rect d = damage_.intersected(localBounds());
    damage_ = {};
    return d;
}

void RootView::addDamage(const Rect& windowRect) noexcept {
    damage_ = damage_.united(windowRect);
}

void RootView::paintBackground(cairo_t* cr) {
    draw::fillRect(cr, localBounds(), theme::kWindowBackground);
}

void RootView::paintArea(cairo_t* cr, const Rect& area) {
    cairo_save(cr);
    cairo_rectangle(cr, area.x, area.y, area.w, area.h);
    cairo_clip(cr);
    Panel::paint(cr);
    for (const auto& overlay : overlays_) {
        cairo_save(cr);
        overlay->paint(cr);
        cairo_restore(cr);
    }
    cairo_restore(cr);
}

cairo_surface_t* RootView::paintToImage() {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, bounds().w, bounds().h);
    cairo_t* cr = cairo_create(surface);
    paintArea(cr, localBounds());
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    return surface;
}

void RootView::pushOverlay(std::unique_ptr<Overlay> overlay) {
    // The drag in progress (if any) ends here: the overlay owns the pointer from now on.
    capture_ = nullptr;
    setHover(nullptr);
    setFocus(nullptr);
    overlay->parent_ = this;
    overlay->open_ = true;
    overlays_.push_back(std::move(overlay));
    addDamage(localBounds());
}

void RootView::closeOverlay(Overlay& overlay) {
    auto it = std::find_if(overlays_.begin(), overlays_.end(), [&](const auto& o) { return o.get() == &overlay; });
    if (it == overlays_.end()) return;
    overlay.open_ = false;
    // Forget pointers into the closing overlay now; it is destroyed after the current event.
    forEachWidget(overlay, [this](Widget& w) {
        if (capture_ == &w) capture_ = nullptr;
        if (hover_ == &w) hover_ = nullptr;
        if (focus_ == &w) focus_ = nullptr;
    });
    closed_.push_back(std::move(*it));
    overlays_.erase(it);
    addDamage(localBounds());
}

void RootView::closeAllOverlays() {
    while (Overlay* top = topOverlay()) closeOverlay(*top);
    buryClosed();
}

void RootView::buryClosed() {
    // Destroying an overlay may run callbacks that close another: loop until none is left.
    while (!closed_.empty()) {
        std::vector<std::unique_ptr<Overlay>> doomed;
        doomed.swap(closed_);
        for (auto& o : doomed) {
            o->parent_ = nullptr;  // detached: its widgets no longer reach this root
            o.reset();
        }
    }
}

void RootView::forEachChild(const std::function<void(Widget&)>& fn) {
    Panel::forEachChild(fn);
    for (const auto& overlay : overlays_) fn(*overlay);
}

void RootView::forget(Widget* widget) noexcept {
    if (capture_ == widget) capture_ = nullptr;
    if (hover_ == widget) hover_ = nullptr;
    if (focus_ == widget) focus_ = nullptr;
}

void RootView::hidden(Widget* widget) noexcept {
    // Anything inside a widget that goes out of sight stops holding the pointer or the keys.
    for (Widget* w : {capture_, hover_, focus_}) {
        if (w == nullptr) continue;
        for (Widget* a = w; a != nullptr; a = a->parent()) {
            if (a != widget) continue;
            forget(w);
            break;
        }
    }
}

}  // namespace quenvale::ui
