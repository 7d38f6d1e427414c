// The top of the widget tree: the whole window. It turns the platform's raw input into widget events
// (hit testing, pointer capture, hover, double-clicks, focus), keeps the stack of modal overlays, and
// collects the damaged area that the platform repaints.
//
// [editor thread] The platform layer calls the input and paint functions on its own thread; tests call
// them directly, with no display at all.
#pragma once

#include <cairo.h>

#include <functional>
#include <memory>
#include <vector>

#include "editor/ui/overlay.h"
#include "editor/ui/panel.h"
#include "editor/ui/platform_services.h"

namespace quenvale::ui {

class RootView : public Panel {
public:
    RootView();
    ~RootView() override;

    // ---- input from the platform (window coordinates; timeMs any monotonic millisecond clock) ----
    void pointerPress(Point pos, MouseButton button, uint32_t modifiers, uint64_t timeMs);
    void pointerRelease(Point pos, MouseButton button, uint32_t modifiers);
    void pointerMove(Point pos, uint32_t modifiers);
    void pointerWheel(Point pos, int steps, uint32_t modifiers);
    void pointerLeft();
    void keyPress(const KeyEvent& key);
    // The 20 ms timer.
    void tick();
    void setTickHandler(std::function<void()> handler) { tickHandler_ = std::move(handler); }

    // ---- painting -------------------------------------------------------------------------------------
    // The area to repaint since the last call, in window coordinates (empty when nothing changed).
    Rect takeDamage() noexcept;
    void addDamage(const Rect& windowRect) noexcept;
    // Paints the tree and the overlays, clipped to area.
    void paintArea(cairo_t* cr, const Rect& area);
    // Paints the whole window into a new ARGB image (tests, screenshots). The caller destroys it.
    cairo_surface_t* paintToImage();

    // ---- overlays ---------------------------------------------------------------------------------------
    // Opens an overlay on top of the others and returns it.
    template <typename T>
    T& openOverlay(std::unique_ptr<T> overlay) {
        T& ref = *overlay;
        pushOverlay(std::move(overlay));
        return ref;
    }
    void closeOverlay(Overlay& overlay);
    // Closes every overlay and destroys them now (the window is going away).
    void closeAllOverlays();
    Overlay* topOverlay() const noexcept { return overlays_.empty() ? nullptr : overlays_.back().get(); }
    size_t overlayCount() const noexcept { return overlays_.size(); }

    // ---- focus, capture, services --------------------------------------------------------------
    Widget* focus() const noexcept { return focus_; }
    void setFocus(Widget* widget);
    Widget* captured() const noexcept { return capture_; }
    Widget* hovered() const noexcept { return hover_; }
    PlatformServices& services() noexcept { return *services_; }
    // The platform's services while a window is open; null puts back the recording ones.
    void setServices(PlatformServices* services) noexcept;
    RecordingServices& recordingServices() noexcept { return recording_; }

    void forEachChild(const std::function<void(Widget&)>& fn) override;
    Widget* widgetAt(Point local) override;

    // Called by widgets that go away or out of sight.
    void forget(Widget* widget) noexcept;
    void hidden(Widget* widget) noexcept;

protected:
    void paintBackground(cairo_t* cr) override;

private:
    void pushOverlay(std::unique_ptr<Overlay> overlay);
    void setHover(Widget* widget);
    MouseEvent eventFor(const Widget& w, Point windowPos, MouseButton button, uint32_t modifiers) const;
    void buryClosed();

    std::vector<std::unique_ptr<Overlay>> overlays_;
    std::vector<std::unique_ptr<Overlay>> closed_;  // destroyed after the event that closed them
    Widget* capture_ = nullptr;
    Widget* hover_ = nullptr;
    Widget* focus_ = nullptr;
    MouseButton captureButton_ = MouseButton::NoButton;
    int buttonsDown_ = 0;
    // Double-click detection.
    MouseButton lastButton_ = MouseButton::NoButton;
    Point lastPress_{};
    uint64_t lastPressMs_ = 0;
    int lastClickCount_ = 0;
    Rect damage_{};
    RecordingServices recording_;
    PlatformServices* services_ = &recording_;
    std::function<void()> tickHandler_;
};

}  // namespace quenvale::ui
