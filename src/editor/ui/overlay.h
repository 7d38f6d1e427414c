// A modal layer drawn inside the editor window over everything else: message boxes, menus, dialogs.
//
// While an overlay is open it gets every event (the panels below see none); a press outside its
// content area calls outsidePress(), which by default does nothing (menus close there). An overlay
// ends with close(): it is taken off the screen at once and destroyed after the current event, so it
// may call close() from its own handlers and then run its result callback.
#pragma once

#include "editor/ui/panel.h"

namespace quenvale::ui {

class Overlay : public Panel {
public:
    // The overlay covers the whole window; content is where it draws its box (window coordinates).
    explicit Overlay(Rect content);
    // Takes the overlay off the root; safe to call more than once.
    void close();
    bool isOpen() const noexcept { return open_; }
    Rect content() const noexcept { return content_; }
    void setContent(const Rect& content);

    Widget* widgetAt(Point local) override;
    bool mouseDown(const MouseEvent& e) override;
    void paint(cairo_t* cr) override;
    const char* kind() const override { return "overlay"; }

    // A press outside the content area.
    virtual void outsidePress(const MouseEvent&) {}

protected:
    // Fills the content area with the dialog face; menus draw their own.
    void paintBackground(cairo_t* cr) override;
    // Whether the rest of the window is shaded while this overlay is open.
    bool shade_ = true;

private:
    friend class RootView;
    Rect content_;
    bool open_ = false;
};

}  // namespace quenvale::ui
