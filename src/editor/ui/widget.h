// The base of everything on screen: a rectangle in its parent, events in its own coordinates, and a
// paint(cairo_t*) kept apart from the event handlers.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "editor/ui/geometry.h"
#include "editor/ui/input_event.h"

namespace quenvale::ui {

class RootView;

// [editor thread] Every widget belongs to the thread that runs the editor (or to a test); nothing here
// is safe to call from another thread.
class Widget {
public:
    explicit Widget(Rect bounds = {}) : bounds_(bounds) {}
    virtual ~Widget();
    Widget(const Widget&) = delete;
    Widget& operator=(const Widget&) = delete;

    // ---- geometry and state ----------------------------------------------------------------------
    const Rect& bounds() const noexcept { return bounds_; }  // in the parent's coordinates
    Rect localBounds() const noexcept { return {0, 0, bounds_.w, bounds_.h}; }
    void setBounds(const Rect& bounds);
    Widget* parent() const noexcept { return parent_; }
    // The window position of this widget's top-left corner, and its rectangle in window coordinates.
    Point windowOrigin() const noexcept;
    Rect windowRect() const noexcept { return localBounds().translated(windowOrigin()); }

    bool visible() const noexcept { return visible_; }
    void setVisible(bool visible);
    // Visible itself and every ancestor visible, and attached to a root.
    bool showing() const noexcept;
    bool enabled() const noexcept { return enabled_; }
    void setEnabled(bool enabled);

    // The root this widget is attached to, or null.
    RootView* root() const noexcept;
    // Asks for a repaint of the whole widget, or of a part given in local coordinates.
    void invalidate() { invalidate(localBounds()); }
    void invalidate(const Rect& local);
    // Keyboard focus: key events go to the focused widget.
    void takeFocus();
    bool hasFocus() const noexcept;

    // ---- events (local coordinates) ----------------------------------------------------------------
    // A press on this widget: return true to take it; the widget then gets every move (mouseDrag) and
    // the release (mouseUp) until all buttons are up, wherever the pointer goes.
    virtual bool mouseDown(const MouseEvent&) { return false; }
    virtual void mouseDrag(const MouseEvent&) {}
    virtual void mouseUp(const MouseEvent&) {}
    // Pointer moves with no button held; enter and leave bracket them.
    virtual void mouseHover(const MouseEvent&) {}
    virtual void mouseEnter() {}
    virtual void mouseLeave() {}
    // Return true when the wheel was used.
    virtual bool mouseWheel(const MouseEvent&) { return false; }
    // Only the focused widget (or the top overlay) gets keys; return true when used.
    virtual bool keyDown(const KeyEvent&) { return false; }
    virtual void focusLost() {}

    // ---- painting ---------------------------------------------------------------------------------
    // Paints in local coordinates, clipped to localBounds(). Never changes state.
    virtual void paint(cairo_t* cr) = 0;

    // ---- tree ---------------------------------------------------------------------------------------
    // The deepest showing, enabled widget under a local point (this one when none of its children is).
    virtual Widget* widgetAt(Point local);
    virtual void forEachChild(const std::function<void(Widget&)>&) {}

    // ---- binding and description (screenshots, maps, tests) --------------------------------------
    // Re-read every bound parameter from the model and repaint if it shows something else now.
    virtual void refreshFromModel() {}
    // The parameter indices this widget shows and edits (empty for most widgets).
    virtual std::span<const int32_t> parameters() const { return {}; }
    // A short word naming the widget's kind in control maps: "button", "knob", "modnumber", …
    virtual const char* kind() const { return "widget"; }
    const std::string& label() const noexcept { return label_; }
    void setLabel(std::string label);

protected:
    // Called after bounds, visibility or enabled state changed.
    virtual void stateChanged() {}

private:
    friend class Panel;
    friend class RootView;
    Rect bounds_;
    Widget* parent_ = nullptr;
    std::string label_;
    bool visible_ = true;
    bool enabled_ = true;
    bool isRoot_ = false;
};

// Calls fn for w and every widget below it, parents before children.
void forEachWidget(Widget& w, const std::function<void(Widget&)>& fn);

}  // namespace quenvale::ui
