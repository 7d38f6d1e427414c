// Modal overlays: the shaded window, the content box, and closing through the root.
#include "editor/ui/overlay.h"

#include "editor/ui/draw.h"
#include "editor/ui/root_view.h"

namespace quenvale::ui {

Overlay::Overlay(Rect content) : Panel({0, 0, theme::kWindowWidth, theme::kWindowHeight}), content_(content) {}

void Overlay::close() {
    if (!open_) return;
    if (RootView* r = root()) r->closeOverlay(*this);
}

void Overlay::setContent(const Rect& content) {
    invalidate(content_);
    content_ = content;
    invalidate(content_);
}

Widget* Overlay::widgetAt(Point local) {
    Widget* hit = Panel::widgetAt(local);
    // Outside the content, the overlay itself takes the press (and turns it into outsidePress).
    return hit != nullptr ? hit : this;
}

bool Overlay::mouseDown(const MouseEvent& e) {
    if (!content_.contains(e.pos)) outsidePress(e);
    return true;
}

void Overlay::paint(cairo_t* cr) {
    if (shade_) draw::fillRect(cr, localBounds(), theme::kOverlayShade);
    paintBackground(cr);
    paintChildren(cr);
}

void Overlay::paintBackground(cairo_t* cr) {
    draw::fillRoundedRect(cr, content_, theme::kDialogBackground, 5);
    draw::roundedRectPath(cr, content_, 5);
    draw::setColour(cr, theme::kFrameBorder);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
}

}  // namespace quenvale::ui
