// The seam between the editor and a window system: a child window in the host's window, with its own
// thread that feeds input and the 20 ms timer into a RootView and paints it double-buffered.
#pragma once

#include <memory>

namespace quenvale::ui {
class PlatformServices;
class RootView;
}  // namespace quenvale::ui

namespace quenvale::editor {

// What the window's thread calls, always on that thread.
class WindowClient {
public:
    virtual ~WindowClient() = default;
    // The window exists and is about to be painted; services stay valid until windowClosing returns.
    virtual void windowOpened(ui::PlatformServices& services) = 0;
    virtual void windowClosing() = 0;
};

class PlatformWindow {
public:
    // Destroys the window and joins its thread before returning.
    virtual ~PlatformWindow() = default;
};

// [host UI thread] Makes a child window of parent (an X11 window id) and starts its thread; returns
// once the window is mapped, or null when no display can be reached or the parent is refused. The
// root and the client must outlive the returned window; nothing touches them from this thread while
// the window is open.
std::unique_ptr<PlatformWindow> openPlatformWindow(void* parent, ui::RootView& root, WindowClient& client);

}  // namespace quenvale::editor
